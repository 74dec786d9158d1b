#include "ProtectedFiles.h"

#include "ArchiveFile.h"
#include "BackupFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <optional>

#include <sys/stat.h>

namespace tessaly {

namespace {

struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileId&) const = default;
};

std::optional<FileId> idOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileId{status.st_dev, status.st_ino};
}

// The path a write to `path` would reach: every symbolic link followed, a dangling one too,
// since writing through it would create the file it names.
QString writtenPath(const QString& path) {
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            break;
        current = QFileInfo(info.symLinkTarget()).absoluteFilePath();
    }
    return current;
}

// The folder holding `path`, and every folder above it, as device and inode.
QList<FileId> foldersAbove(const QString& path) {
    QList<FileId> ids;
    QString folder = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
    while (!folder.isEmpty()) {
        if (const auto id = idOf(folder))
            ids.append(*id);
        QDir dir(folder);
        if (dir.isRoot() || !dir.cdUp())
            break;
        folder = dir.canonicalPath();
    }
    return ids;
}

bool isAmongFiles(const FileId& id, const QString& folder) {
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        if (idOf(files.next()) == id)
            return true;
    return false;
}

enum class Guarded { No, Database, Backup };

Guarded guardedBy(const QString& databasePath, const QString& target) {
    const QString written = writtenPath(target);
    const auto targetId = idOf(written);
    const QFileInfo database(databasePath);
    // SQLite keeps its side files beside the database as named and, for a link, as resolved.
    QStringList databaseFiles;
    for (const QString& base : {database.absoluteFilePath(), database.canonicalFilePath()})
        if (!base.isEmpty())
            for (const char* suffix : {"", "-wal", "-shm", "-journal"})
                databaseFiles.append(base + QLatin1String(suffix));
    const QList<FileId> above = foldersAbove(written);
    const QString name = QFileInfo(written).fileName();
    for (const QString& file : databaseFiles) {
        if (targetId) {
            if (idOf(file) == targetId)
                return Guarded::Database;
        } else if (const auto folder = idOf(QFileInfo(file).absolutePath());
                   folder && !above.isEmpty() && above.first() == *folder &&
                   QFileInfo(file).fileName() == name) {
            return Guarded::Database;
        }
    }
    const QString backups = BackupFolder(databasePath).path();
    if (const auto folder = idOf(backups)) {
        if (above.contains(*folder))
            return Guarded::Backup;
        // A second name, elsewhere, of a file in the backups folder.
        if (targetId && isAmongFiles(*targetId, backups))
            return Guarded::Backup;
    }
    return Guarded::No;
}

} // namespace

QString protectedFileRefusal(const QString& databasePath, const QString& target) {
    if (databasePath.isEmpty() || target.isEmpty())
        return {};
    const QString shown = QDir::toNativeSeparators(target);
    switch (guardedBy(databasePath, target)) {
    case Guarded::Database:
        return QCoreApplication::translate("ProtectedFiles", "不能写入正在使用的数据库：%1")
            .arg(shown);
    case Guarded::Backup:
        return QCoreApplication::translate("ProtectedFiles", "不能覆盖备份：%1").arg(shown);
    case Guarded::No:
        break;
    }
    return {};
}

QString protectedFileRefusal(const QSqlDatabase& db, const QString& target) {
    return protectedFileRefusal(databaseFile(db), target);
}

} // namespace tessaly
