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
        {"permission denied",
         {usb, true, EACCES},
         {usb, "dialout", "sudo usermod -aG dialout $USER", "重新登录"}},
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

TEST(PortDiagnosis, HoldersAndPackagesAreReadFromTheirFolders) {
    QTemporaryDir root;
    const QString device = root.filePath("ttyUSB0");
    writeFile(device, {});
    writeFile(root.filePath("proc/812/comm"), "minicom\n");
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
              QStringList{"minicom（进程 812）"});

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

TEST(PortDiagnosis, AFileWithoutPermissionIsPermissionDenied) {
    QTemporaryDir root;
    QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ExeGroup | QFile::ExeOther);
    const QString device = root.filePath("ttyS9");
    writeFile(device, {});
    QFile::setPermissions(device, QFile::ReadOwner | QFile::WriteOwner);
    const int error = openErrorAsUser(device);
    EXPECT_EQ(error, EACCES);
    PortFacts facts{device, true, error};
    EXPECT_TRUE(portCauseLine(facts).contains("sudo usermod -aG dialout $USER"));
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
    const PortFacts denied{"/dev/ttyUSB0", true, EACCES};
    EXPECT_EQ(portCauseLine(denied),
              "Cause: no permission to open /dev/ttyUSB0; the current user is not in the dialout "
              "group. Run sudo usermod -aG dialout $USER, then log out and log in again.");
}
