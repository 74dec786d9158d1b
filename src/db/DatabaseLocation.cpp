#include "DatabaseLocation.h"

#include "PlayerDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

namespace tessaly {

namespace {

// Copies the template, or builds the schema where there is no template. The copy goes to a
// side file first, so that an interrupted first run leaves no half database to be found.
bool layFresh(const QString& path, const QString& templatePath, QString* error) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error = QCoreApplication::translate("DatabaseLocation", "无法创建文件夹%1")
                     .arg(QFileInfo(path).absolutePath());
        return false;
    }
    if (!QFileInfo::exists(templatePath))
        return createPlayerDatabase(path, error);
    const QString partial = path + QStringLiteral(".new");
    QFile::remove(partial);
    QFile source(templatePath);
    if (!source.copy(partial)) {
        *error = QCoreApplication::translate("DatabaseLocation", "无法复制%1：%2")
                     .arg(templatePath, source.errorString());
        return false;
    }
    // The template is installed read-only; the operator's copy must be writable.
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                       QFile::ReadOther);
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        *error = QCoreApplication::translate("DatabaseLocation", "无法创建%1").arg(path);
        return false;
    }
    return true;
}

} // namespace

DatabaseLocation locateDatabase(const QString& executableFolder, const QString& userDataFolder,
                                const QString& templatePath) {
    const QString beside = QDir(executableFolder).filePath(databaseFileName());
    if (QFileInfo::exists(beside))
        return {QDir(executableFolder).absolutePath(), beside};

    DatabaseLocation location{QDir(userDataFolder).absolutePath(),
                              QDir(userDataFolder).filePath(databaseFileName())};
    if (QFileInfo::exists(location.path))
        return location;
    location.laidFresh = layFresh(location.path, templatePath, &location.error);
    return location;
}

DatabaseLocation locateDatabase() {
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString beside = QDir(executableFolder).filePath(databaseFileName());
    QString error;
    const QString dataFolder = userDataFolder(&error);
    if (dataFolder.isEmpty() && !QFileInfo::exists(beside))
        return {{}, {}, false, error};
    return locateDatabase(
        executableFolder, dataFolder,
        QDir(executableFolder).filePath(QStringLiteral("../share/tessaly/") + databaseFileName()));
}

QString userDataFolder(QString* error) {
    const passwd* account = ::getpwuid(::getuid());
    return userDataFolder(
        qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("HOME"),
        account && account->pw_dir ? QFile::decodeName(account->pw_dir) : QString(), error);
}

QString userDataFolder(const QString& xdgDataHome, const QString& home, const QString& accountHome,
                       QString* error) {
    const QString tessaly = QStringLiteral("Tessaly");
    if (QDir::isAbsolutePath(xdgDataHome))
        return QDir(xdgDataHome).filePath(tessaly);
    // The root is no one's home: a database there would be everyone's, or no one could write it.
    const auto usable = [](const QString& folder) {
        return QDir::isAbsolutePath(folder) && !QDir(folder).isRoot() && QFileInfo(folder).isDir();
    };
    const QString homeFolder = usable(home) ? home : usable(accountHome) ? accountHome : QString();
    if (homeFolder.isEmpty()) {
        if (error)
            *error = QCoreApplication::translate(
                "DatabaseLocation",
                "找不到用户的主文件夹（HOME未设置或不可用），无法确定节目数据库的位置");
        return {};
    }
    return QDir(homeFolder).filePath(QStringLiteral(".local/share/") + tessaly);
}

QString freshDatabaseNotice(const QString& path) {
    return QCoreApplication::translate(
               "DatabaseLocation",
               "首次运行，已新建节目数据库：\n%1\n节目与通讯设置都保存在此文件中。")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace tessaly
