#include "PortDiagnosis.h"
#include "PosixSerialLink.h"

#include "PseudoTerminal.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTranslator>

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tessaly;
using tessaly::testing::PseudoTerminal;

namespace {

struct CauseCase {
    const char* why;
    PortFacts facts;
    QStringList expected; // every one appears in the line; none: no line at all
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// errno of opening `path` as an unprivileged user: a child process gives up root first, since
// root opens any file.
int openErrorAsUser(const QString& path) {
    if (::geteuid() != 0) {
        return gatherPortFacts(path, {}).openError;
    }
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        int error = -1;
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) {
            const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
            error = descriptor < 0 ? errno : 0;
        }
        [[maybe_unused]] const auto written = ::write(pipeEnds[1], &error, sizeof error);
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    int error = -1;
    [[maybe_unused]] const auto read = ::read(pipeEnds[0], &error, sizeof error);
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    return error;
}

} // namespace

TEST(PortDiagnosis, EachCauseHasItsLine) {
    const QString usb = "/dev/ttyUSB0";
    const CauseCase cases[] = {
        {"no device for the COM number", {"", false}, {"没有对应的串口设备"}},
        {"the device is gone", {usb, false}, {usb, "不存在"}},
        {"gone with brltty installed",
         {usb, false, 0, false, false, {}, true},
         {"brltty", "sudo apt remove brltty"}},
        {"permission denied, not in dialout",
         {.device = usb, .exists = true, .openError = EACCES, .group = "dialout"},
         {usb, "dialout", "sudo usermod -aG dialout $USER", "重新登录"}},
        {"a pseudo-terminal left in exclusive mode; its other side holds it",
         {.device = "/dev/pts/4",
          .exists = true,
          .openError = EBUSY,
          .holders = {"tessaly-player-sim（进程 7）"},
          .staleExclusive = true},
         {"/dev/pts/4", "独占模式", "已不存在", "tessaly-player-sim（进程 7）"}},
        {"held in exclusive mode",
         {usb, true, EBUSY, false, false, {"minicom（进程 812）"}},
         {"被 minicom（进程 812）占用", "请先关闭它。"}},
        {"locked by another copy",
         {usb, true, 0, false, true, {"tessaly（进程 9）", "cat（进程 10）"}},
         {"tessaly（进程 9）、cat（进程 10）", "请先关闭这些程序。"}},
        {"busy, holder unknown", {usb, true, 0, false, true}, {"正被其他程序占用"}},
        {"not a terminal", {"/tmp/file", true, 0, true}, {"不是串口设备"}},
        {"another error", {usb, true, EIO}, {usb, QString::fromLocal8Bit(strerror(EIO))}},
        {"it opens: no cause to tell", {usb, true}, {}},
    };
    for (const auto& cause : cases) {
        const QString line = portCauseLine(cause.facts);
        if (cause.expected.isEmpty())
            EXPECT_EQ(line, "") << cause.why;
        for (const QString& part : cause.expected)
            EXPECT_TRUE(line.contains(part)) << cause.why << ": " << line.toStdString();
        EXPECT_FALSE(line.contains('\n')) << cause.why;
    }
}

// Permission denied is told apart: the dialout advice only when the device belongs to dialout
// and the user is not in it; a file that is no device is said to be none.
TEST(PortDiagnosis, TheDialoutAdviceOnlyWhereItHelps) {
    const QString usb = "/dev/ttyUSB0";
    const QString advice = "sudo usermod -aG dialout $USER";
    const struct {
        const char* why;
        PortFacts facts;
        QString expected;
        bool advised;
    } cases[] = {
        {"not in dialout",
         {.device = usb, .exists = true, .openError = EACCES, .group = "dialout"},
         "当前用户不在 dialout 组",
         true},
        {"already in dialout",
         {.device = usb, .exists = true, .openError = EACCES, .group = "dialout", .inGroup = true},
         "（组 dialout），当前用户无权读写它",
         false},
        {"added to dialout, not logged in again",
         {.device = usb,
          .exists = true,
          .openError = EACCES,
          .group = "dialout",
          .listedInGroup = true},
         "注销并重新登录后才生效",
         false},
        {"a device of another group",
         {.device = usb, .exists = true, .openError = EACCES, .group = "root"},
         "（组 root）",
         false},
        {"a plain file",
         {.device = "/home/op/port",
          .exists = true,
          .openError = EACCES,
          .characterDevice = false,
          .group = "dialout"},
         "原因：/home/op/port 不是串口设备。",
         false},
    };
    for (const auto& c : cases) {
        const QString line = portCauseLine(c.facts);
        EXPECT_TRUE(line.contains(c.expected)) << c.why << ": " << line.toStdString();
        EXPECT_EQ(line.contains(advice), c.advised) << c.why << ": " << line.toStdString();
    }
}

TEST(PortDiagnosis, HoldersAndPackagesAreReadFromTheirFolders) {
    QTemporaryDir root;
    const QString device = root.filePath("ttyUSB0");
    writeFile(device, {});
    writeFile(root.filePath("proc/812/comm"), "minicom\n");
    writeFile(root.filePath("proc/815/comm"), "tessaly-player-\n"); // the kernel's 15 characters
    writeFile(root.filePath("proc/815/cmdline"),
              QByteArray("/usr/bin/tessaly-player-sim") + '\0' + "--state" + '\0');
    QDir().mkpath(root.filePath("proc/815/fd"));
    QFile::link(device, root.filePath("proc/815/fd/4"));
    QFile::link("/dev/ptmx", root.filePath("proc/815/fd/3"));
    writeFile(root.filePath("proc/815/fdinfo/3"), "pos:\t0\nflags:\t02\ntty-index:\t6\n");
    QDir().mkpath(root.filePath("proc/812/fd"));
    QFile::link("/dev/null", root.filePath("proc/812/fd/0"));
    QFile::link(device, root.filePath("proc/812/fd/3"));
    writeFile(root.filePath("proc/900/comm"), "bash\n"); // holds something else
    QDir().mkpath(root.filePath("proc/900/fd"));
    QFile::link("/dev/tty1", root.filePath("proc/900/fd/0"));
    writeFile(root.filePath("proc/77/comm"), "tessaly\n"); // this process, left out
    QDir().mkpath(root.filePath("proc/77/fd"));
    QFile::link(device, root.filePath("proc/77/fd/5"));
    QDir().mkpath(root.filePath("proc/self/fd"));
    QFile::link(device, root.filePath("proc/self/fd/5"));

    EXPECT_EQ(processesHolding(device, root.filePath("proc"), 77),
              (QStringList{"minicom（进程 812）", "tessaly-player-sim（进程 815）"}));
    EXPECT_EQ(processesHoldingMaster(6, root.filePath("proc")),
              QStringList{"tessaly-player-sim（进程 815）"});
    EXPECT_TRUE(processesHoldingMaster(5, root.filePath("proc")).isEmpty());

    EXPECT_FALSE(packageInstalled("brltty", root.filePath("info")));
    writeFile(root.filePath("info/brltty.list"), "/usr/bin/brltty\n");
    EXPECT_TRUE(packageInstalled("brltty", root.filePath("info")));
}

// The facts of real devices: a pseudo-terminal another link holds, a plain file, a missing one.
TEST(PortDiagnosis, GathersTheFactsOfRealDevices) {
    PseudoTerminal terminal;
    PosixSerialLink holder(PortMap({{1, terminal.device()}}, {}));
    ASSERT_EQ(holder.open(1), 0);
    QTemporaryDir root;
    const SystemPlaces places{"/proc", root.filePath("info"), -1};

    const PortFacts busy = gatherPortFacts(terminal.device(), places);
    EXPECT_TRUE(busy.lockHeld || busy.openError == EBUSY);
    const QString self = QStringLiteral("（进程 %1）").arg(QCoreApplication::applicationPid());
    ASSERT_EQ(busy.holders.size(), 1);
    EXPECT_TRUE(busy.holders.first().endsWith(self)) << busy.holders.first().toStdString();
    EXPECT_TRUE(portCauseLine(busy).contains(busy.holders.first()));

    writeFile(root.filePath("file"), "not a port");
    EXPECT_TRUE(gatherPortFacts(root.filePath("file"), places).notTerminal);
    EXPECT_FALSE(gatherPortFacts(root.filePath("missing"), places).exists);
    writeFile(root.filePath("info/brltty.list"), {});
    EXPECT_TRUE(
        portCauseLine(gatherPortFacts(root.filePath("missing"), places)).contains("brltty"));
}

// A plain file, readable or not, and a character device that is no terminal are no ports:
// said as such, never the dialout advice.
TEST(PortDiagnosis, AFileThatIsNoPortIsNamedAsSuch) {
    QTemporaryDir root;
    QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ExeGroup | QFile::ExeOther);
    const QString file = root.filePath("ttyS9");
    writeFile(file, {});
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(openErrorAsUser(file), EACCES);
    for (const QString& device : {file, QStringLiteral("/dev/zero")}) {
        const QString line = portCauseLine(gatherPortFacts(device, {}));
        EXPECT_EQ(line, QStringLiteral("原因：%1 不是串口设备。").arg(device));
    }
    PortFacts denied = gatherPortFacts(file, {});
    denied.openError = EACCES; // as the user above found it
    EXPECT_EQ(portCauseLine(denied), QStringLiteral("原因：%1 不是串口设备。").arg(file));
}

// The cause lines are read by the operator in the window and on standard error: in English too.
TEST(PortDiagnosis, CauseLinesInEnglish) {
    int argc = 0;
    QCoreApplication application(argc, nullptr);
    QTranslator english;
    ASSERT_TRUE(english.load(":/i18n/tessaly_en.qm"));
    QCoreApplication::installTranslator(&english);
    const PortFacts busy{"/dev/ttyUSB0", true,  EBUSY,
                         false,          false, {"minicom (PID 42)", "screen (PID 43)"}};
    EXPECT_EQ(
        portCauseLine(busy),
        "Cause: /dev/ttyUSB0 is held by minicom (PID 42), screen (PID 43); close them first.");
    const PortFacts denied{
        .device = "/dev/ttyUSB0", .exists = true, .openError = EACCES, .group = "dialout"};
    EXPECT_EQ(portCauseLine(denied),
              "Cause: no permission to open /dev/ttyUSB0; the current user is not in the dialout "
              "group. Run sudo usermod -aG dialout $USER, then log out and log in again.");
}
