#include "PortDiagnosis.h"

#include "NetworkTarget.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tessaly {

namespace {

const QString DialoutFix = QStringLiteral("sudo usermod -aG dialout $USER");

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The kernel keeps 15 characters of a name ("tessaly-player-"); the program's file name, when
// it begins so, is the whole of it.
QString processName(const QString& processFolder) {
    const QString comm =
        QString::fromLocal8Bit(readAll(processFolder + QStringLiteral("/comm"))).trimmed();
    const QByteArray commandLine = readAll(processFolder + QStringLiteral("/cmdline"));
    const QString program =
        QFileInfo(QString::fromLocal8Bit(commandLine.left(commandLine.indexOf('\0')))).fileName();
    if (!comm.isEmpty() && program.startsWith(comm))
        return program;
    return comm.isEmpty() ? QStringLiteral("?") : comm;
}

QStringList processFolders(const QString& procRoot, qint64 ownPid) {
    QStringList folders;
    const QDir proc(procRoot);
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const qint64 number = pid.toLongLong(&numeric);
        if (numeric && number != ownPid)
            folders.append(pid);
    }
    return folders;
}

bool refersTo(const QString& link, const QStringList& names) {
    const QString target = QFile::symLinkTarget(link);
    return !target.isEmpty() && names.contains(target);
}

// Short enough that one holder fits the settings panel on one line in Chinese; the ending
// follows the number of holders.
QString busyLine(const PortFacts& facts) {
    if (facts.holders.isEmpty())
        return QCoreApplication::translate("PortDiagnosis",
                                           "原因：%1 正被其他程序占用，请先关闭该程序。")
            .arg(facts.device);
    const QString holders = facts.holders.join(QCoreApplication::translate("PortDiagnosis", "、"));
    if (facts.holders.size() == 1)
        return QCoreApplication::translate("PortDiagnosis", "原因：%1 被 %2占用，请先关闭它。")
            .arg(facts.device, holders);
    return QCoreApplication::translate("PortDiagnosis", "原因：%1 被 %2占用，请先关闭这些程序。")
        .arg(facts.device, holders);
}

QString holderFormat() {
    return QCoreApplication::translate("PortDiagnosis", "%1（进程 %2）");
}

QString missingLine(const PortFacts& facts) {
    if (facts.brlttyInstalled)
        return QCoreApplication::translate(
                   "PortDiagnosis",
                   "原因：找不到串口设备%1。本机装有 brltty（盲文显示器服务），它常在 "
                   "USB 串口适配器插入后立即将其占走：请运行 sudo apt remove "
                   "brltty，再重新插入适配器。")
            .arg(facts.device.isEmpty() ? QString() : QStringLiteral(" ") + facts.device);
    if (facts.device.isEmpty())
        return QCoreApplication::translate(
            "PortDiagnosis", "原因：此端口没有对应的串口设备，请检查适配器是否插好。");
    return QCoreApplication::translate("PortDiagnosis",
                                       "原因：串口设备 %1 不存在，请检查适配器是否插好。")
        .arg(facts.device);
}

QString groupName(gid_t gid) {
    const group* entry = ::getgrgid(gid);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(gid);
}

bool processHasGroup(gid_t gid) {
    if (::getegid() == gid)
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
    const int got = ::getgroups(count, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, gid) != groups.begin() + got;
}

// The user's groups as the group database lists them: what the next login will have.
bool userListedInGroup(gid_t gid) {
    const passwd* user = ::getpwuid(::geteuid());
    if (!user)
        return false;
    int count = 64;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    if (::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0) {
        groups.resize(std::size_t(count));
        if (::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0)
            return false;
    }
    return std::find(groups.begin(), groups.begin() + count, gid) != groups.begin() + count;
}

QString notSerialLine(const PortFacts& facts) {
    return QCoreApplication::translate("PortDiagnosis", "原因：%1 不是串口设备。")
        .arg(facts.device);
}

// The dialout advice only where it helps: the device belongs to dialout and the user is not
// in it. A user who was added but has not logged in again is told just that.
QString permissionLine(const PortFacts& facts) {
    const bool dialout = facts.group == QLatin1String("dialout");
    if (dialout && !facts.inGroup && !facts.listedInGroup)
        return QCoreApplication::translate("PortDiagnosis",
                                           "原因：没有权限打开 %1，当前用户不在 dialout 组。请运行 "
                                           "%2，然后注销并重新登录。")
            .arg(facts.device, DialoutFix);
    if (dialout && !facts.inGroup)
        return QCoreApplication::translate(
                   "PortDiagnosis",
                   "原因：没有权限打开 %1：当前用户已加入 dialout 组，但要注销并重新登录后才生效。")
            .arg(facts.device);
    return QCoreApplication::translate("PortDiagnosis",
                                       "原因：没有权限打开 %1（组 %2），当前用户无权读写它。")
        .arg(facts.device, facts.group);
}

QString staleExclusiveLine(const PortFacts& facts) {
    if (facts.holders.isEmpty())
        return QCoreApplication::translate("PortDiagnosis",
                                           "原因：%1 仍处于独占模式，但设置它的程序已不存在。")
            .arg(facts.device);
    return QCoreApplication::translate("PortDiagnosis",
                                       "原因：%1 仍处于独占模式，但设置它的程序已不存在；"
                                       "另一端 %2仍打开着它，请重新启动另一端。")
        .arg(facts.device, facts.holders.join(QCoreApplication::translate("PortDiagnosis", "、")));
}

} // namespace

QStringList processesHolding(const QString& device, const QString& procRoot, qint64 ownPid) {
    QStringList names{QFileInfo(device).absoluteFilePath()};
    if (const QString canonical = QFileInfo(device).canonicalFilePath(); !canonical.isEmpty())
        names.append(canonical);

    QStringList holders;
    const QDir proc(procRoot);
    for (const QString& pid : processFolders(procRoot, ownPid)) {
        const QDir fds(proc.filePath(pid + QStringLiteral("/fd")));
        const QStringList entries =
            fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& fd : entries)
            if (refersTo(fds.filePath(fd), names)) {
                holders.append(holderFormat().arg(processName(proc.filePath(pid)), pid));
                break;
            }
    }
    return holders;
}

QStringList processesHoldingMaster(int index, const QString& procRoot) {
    const QStringList masters{QStringLiteral("/dev/ptmx"), QStringLiteral("/dev/pts/ptmx")};
    const QByteArray indexLine = "tty-index:\t" + QByteArray::number(index) + '\n';
    QStringList holders;
    const QDir proc(procRoot);
    for (const QString& pid : processFolders(procRoot, -1)) {
        const QDir fds(proc.filePath(pid + QStringLiteral("/fd")));
        const QStringList entries =
            fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& fd : entries)
            if (refersTo(fds.filePath(fd), masters) &&
                readAll(proc.filePath(pid + QStringLiteral("/fdinfo/") + fd)).contains(indexLine)) {
                holders.append(holderFormat().arg(processName(proc.filePath(pid)), pid));
                break;
            }
    }
    return holders;
}

QRegularExpression holderPattern() {
    const QStringList around = holderFormat().split(QStringLiteral("%1"));
    const QString afterName = around.value(1).section(QStringLiteral("%2"), 0, 0);
    const QString afterPid = around.value(1).section(QStringLiteral("%2"), 1);
    return QRegularExpression(QRegularExpression::escape(around.value(0)) +
                              QStringLiteral("[^\\s、,，：:;；]+") +
                              QRegularExpression::escape(afterName) + QStringLiteral("\\d+") +
                              QRegularExpression::escape(afterPid));
}

bool packageInstalled(const QString& package, const QString& dpkgInfo) {
    return QFileInfo::exists(QDir(dpkgInfo).filePath(package + QStringLiteral(".list"))) ||
           QFileInfo::exists(QDir(dpkgInfo).filePath(package + QStringLiteral(":amd64.list")));
}

PortFacts gatherPortFacts(const QString& device, const SystemPlaces& places) {
    PortFacts facts;
    facts.device = device;
    facts.brlttyInstalled = packageInstalled(QStringLiteral("brltty"), places.dpkgInfo);
    facts.exists = !device.isEmpty() && QFileInfo::exists(device);
    if (!facts.exists)
        return facts;
    struct stat status {};
    if (::stat(QFile::encodeName(device).constData(), &status) == 0) {
        facts.characterDevice = S_ISCHR(status.st_mode);
        facts.group = groupName(status.st_gid);
        facts.inGroup = processHasGroup(status.st_gid);
        facts.listedInGroup = userListedInGroup(status.st_gid);
    }
    const int descriptor =
        ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        facts.openError = errno;
    } else {
        facts.notTerminal = !::isatty(descriptor);
        facts.lockHeld = ::flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        ::close(descriptor);
    }
    if (facts.openError == EBUSY || facts.lockHeld)
        facts.holders = processesHolding(device, places.proc, places.ownPid);
    static const QRegularExpression pseudoTerminal(QStringLiteral("^/dev/pts/(\\d+)$"));
    if (const auto match = pseudoTerminal.match(QFileInfo(device).canonicalFilePath());
        facts.openError == EBUSY && match.hasMatch()) {
        // Only when the other side is seen: another user's processes cannot be looked into.
        const QStringList otherSide =
            processesHoldingMaster(match.captured(1).toInt(), places.proc);
        facts.staleExclusive =
            !otherSide.isEmpty() &&
            std::all_of(facts.holders.begin(), facts.holders.end(),
                        [&](const QString& holder) { return otherSide.contains(holder); });
    }
    return facts;
}

QString portCauseLine(const PortFacts& facts) {
    if (!facts.exists)
        return missingLine(facts);
    if (!facts.characterDevice)
        return notSerialLine(facts);
    switch (facts.openError) {
    case 0:
        break;
    case EACCES:
    case EPERM:
        return permissionLine(facts);
    case EBUSY:
        return facts.staleExclusive ? staleExclusiveLine(facts) : busyLine(facts);
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return missingLine(facts);
    default:
        return QCoreApplication::translate("PortDiagnosis", "原因：无法打开 %1：%2")
            .arg(facts.device, QString::fromLocal8Bit(std::strerror(facts.openError)));
    }
    if (facts.lockHeld)
        return busyLine(facts);
    if (facts.notTerminal)
        return notSerialLine(facts);
    return {};
}

QString diagnosePort(const QString& device) {
    SystemPlaces places;
    places.ownPid = QCoreApplication::applicationPid();
    return portCauseLine(gatherPortFacts(device, places));
}

QString explainProbeFailure(DeviceChannel& channel, const PortMap& portMap, int port, bool opened) {
    const QString device = portMap.deviceFor(port);
    if (looksLikeNetworkUrl(device))
        return channel.failureCause(port);
    return opened ? QString() : diagnosePort(device);
}

} // namespace tessaly
