#include "BackupFolder.h"

#include "ArchiveFile.h"
#include "Backups.h"
#include "SqlSupport.h"
#include "WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlQuery>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tessaly {

namespace {

const QString backupSuffix = QStringLiteral(".mdb");
const QString stampFormat = QStringLiteral("yyyyMMdd-HHmmss");
// Temporary files are <base>-backup-XXXXXX.part in a hidden folder of the program's own inside
// the backups folder, so that no operator's file is ever taken for one; one older than this was
// left by a backup that was killed, and no running backup takes that long.
const QString partFolderName = QStringLiteral(".incomplete");
const QString partMarker = QStringLiteral("-backup-");
const QString partSuffix = QStringLiteral(".part");
constexpr qint64 AbandonedAfterSeconds = 3600;
constexpr int TagLength = 6;
constexpr int MaxNameAttempts = 999;

QRegularExpression partPattern(const QString& base) {
    return QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(base + partMarker) +
                              QStringLiteral("[A-Za-z0-9]{%1}").arg(TagLength) +
                              QRegularExpression::escape(partSuffix) +
                              QStringLiteral("(-journal)?$"));
}

QRegularExpression namePattern(const QString& base) {
    return QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(base) +
                              QStringLiteral("-\\d{8}-\\d{6}-[a-z]+(?:-[a-z]+)*(?:-\\d+)?") +
                              QRegularExpression::escape(backupSuffix) + QLatin1Char('$'));
}

QString randomTag() {
    static const QLatin1StringView letters("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                           "0123456789");
    QString tag;
    for (int i = 0; i < TagLength; ++i)
        tag.append(letters.at(QRandomGenerator::global()->bounded(int(letters.size()))));
    return tag;
}

bool newerFirst(const BackupFolder::Backup& a, const BackupFolder::Backup& b) {
    if (a.marker.sequence != b.marker.sequence)
        return a.marker.sequence > b.marker.sequence;
    if (a.marker.taken != b.marker.taken)
        return a.marker.taken > b.marker.taken;
    return a.path > b.path;
}

// The snapshot must be on disk before the change it guards is.
void flushToDisk(const QString& path) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

// A temporary file of this program's naming, made by an exclusive create so that no other
// backup writes into it; removed with the object (once named, the backup keeps its own link).
class PartFile {
public:
    PartFile(const QString& folder, const QString& base) {
        for (int attempt = 0; attempt < MaxNameAttempts && m_path.isEmpty(); ++attempt) {
            const QString candidate =
                QDir(folder).filePath(base + partMarker + randomTag() + partSuffix);
            QFile file(candidate);
            if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
                m_path = candidate;
            } else if (!QFileInfo::exists(candidate)) {
                m_error = writeFailureText(file); // the folder refuses new files
                return;
            }
        }
    }
    ~PartFile() {
        if (m_path.isEmpty())
            return;
        QFile::remove(m_path);
        QFile::remove(m_path + QStringLiteral("-journal"));
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    const QString& path() const { return m_path; }
    const QString& errorText() const { return m_error; }

private:
    QString m_path;
    QString m_error;
};

enum class Naming { Named, Taken, Failed };

// Gives `from` the name `to` unless a file has it already, whoever made it meanwhile.
Naming nameWithoutReplacing(const QString& from, const QString& to) {
#ifdef Q_OS_UNIX
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return Naming::Named;
    if (errno == EEXIST)
        return Naming::Taken;
        // A file system without hard links: Qt's rename does not replace an existing file either.
#endif
    if (QFile::rename(from, to))
        return Naming::Named;
    return QFileInfo::exists(to) ? Naming::Taken : Naming::Failed;
}

bool snapshot(const QSqlDatabase& db, const QString& into, QString* error) {
    QSqlQuery vacuum(db);
    vacuum.prepare(QStringLiteral("VACUUM main INTO ?"));
    vacuum.addBindValue(into);
    return execPrepared(vacuum, error);
}

// Makes the folder where it is missing; why it cannot be made or written into, if so.
QString folderProblem(const QString& folder) {
    if (const QFileInfo info(folder); info.exists() && !info.isDir())
        return QCoreApplication::translate("Backups", "%1不是文件夹")
            .arg(QDir::toNativeSeparators(folder));
    if (!QDir().mkpath(folder)) {
        QString existing = QFileInfo(folder).absolutePath();
        while (!QFileInfo::exists(existing) && !QDir(existing).isRoot())
            existing = QFileInfo(existing).absolutePath();
        const QString why = writeAccessProblem(existing);
        if (why.isEmpty())
            return QCoreApplication::translate("Backups", "无法创建文件夹%1")
                .arg(QDir::toNativeSeparators(folder));
        return QCoreApplication::translate("Backups", "无法创建文件夹%1：%2")
            .arg(QDir::toNativeSeparators(folder), why);
    }
    return writeAccessProblem(folder);
}

} // namespace

QString backupFailedText(const QString& folder, const QString& why) {
    if (why.isEmpty())
        return QCoreApplication::translate("Backups", "无法写入备份：%1，操作已取消。")
            .arg(QDir::toNativeSeparators(folder));
    return QCoreApplication::translate("Backups", "无法写入备份：%1（%2），操作已取消。")
        .arg(QDir::toNativeSeparators(folder), why);
}

BackupFolder::BackupFolder(const QString& databasePath)
    : BackupFolder(QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backups")),
                   QFileInfo(databasePath).fileName()) {}

BackupFolder::BackupFolder(const QString& folder, const QString& databaseName)
    : m_folder(folder), m_databaseName(databaseName),
      m_base(QFileInfo(databaseName).completeBaseName()) {}

QList<BackupFolder::Backup> BackupFolder::backups() const {
    const QRegularExpression pattern = namePattern(m_base);
    const QDir dir(m_folder);
    QList<Backup> found;
    for (const QString& file : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (!pattern.match(file).hasMatch())
            continue;
        const QString path = dir.filePath(file);
        const FileConnection connection(path);
        if (const auto marker = readMarker(connection.db());
            marker && marker->database == m_databaseName)
            found.append({path, *marker});
    }
    std::sort(found.begin(), found.end(), newerFirst);
    return found;
}

QString BackupFolder::nameStem(const QString& operation, const QDateTime& now) const {
    return m_base + QLatin1Char('-') + now.toString(stampFormat) + QLatin1Char('-') + operation;
}

QString BackupFolder::partFolder() const {
    return QDir(m_folder).filePath(partFolderName);
}

std::optional<BackupFolder::Written> BackupFolder::write(const QSqlDatabase& db,
                                                         const QString& operation,
                                                         const QDateTime& now,
                                                         QString* error) const {
    const auto failed = [error](const QString& why) {
        setError(error, why);
        return std::nullopt;
    };
    // Another word would give a backup that no listing finds and no pruning removes.
    if (!isOperationWord(operation))
        return failed(QStringLiteral("not an operation word: %1").arg(operation));
    for (const QString& folder : {m_folder, partFolder()})
        if (QString problem = folderProblem(folder); !problem.isEmpty())
            return failed(problem);
    const PartFile part(partFolder(), m_base);
    if (part.path().isEmpty())
        return failed(part.errorText());
    if (!snapshot(db, part.path(), error))
        return std::nullopt;
    Written written{{}, backups()};
    const qint64 sequence =
        written.earlier.isEmpty() ? 1 : written.earlier.first().marker.sequence + 1;
    if (!writeMarker(part.path(), {m_databaseName, operation, now, sequence}, error))
        return std::nullopt;
    flushToDisk(part.path());
    const auto path = publish(part.path(), nameStem(operation, now));
    if (!path)
        return failed(QCoreApplication::translate("Backups", "无法命名备份文件"));
    flushToDisk(m_folder);
    written.path = *path;
    return written;
}

void BackupFolder::discard(const Written& written) const {
    QFile::remove(written.path);
}

// The first free name of stem.mdb, stem-2.mdb, ...: two processes backing up in one second
// each get a name of their own.
std::optional<QString> BackupFolder::publish(const QString& part, const QString& stem) const {
    const QDir dir(m_folder);
    for (int counter = 1; counter <= MaxNameAttempts; ++counter) {
        const QString name =
            counter == 1 ? stem : stem + QLatin1Char('-') + QString::number(counter);
        switch (nameWithoutReplacing(part, dir.filePath(name + backupSuffix))) {
        case Naming::Named:
            return dir.filePath(name + backupSuffix);
        case Naming::Taken:
            continue;
        case Naming::Failed:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void BackupFolder::prune(const Written& written, const QStringList& spared) const {
    const auto& earlier = written.earlier;
    for (qsizetype i = KeptBackups - 1; i < earlier.size(); ++i)
        if (std::none_of(spared.begin(), spared.end(),
                         [&](const QString& path) { return sameFile(path, earlier[i].path); }))
            QFile::remove(earlier[i].path);
    removeAbandonedParts();
}

void BackupFolder::removeAbandonedParts() const {
    const QRegularExpression pattern = partPattern(m_base);
    const QDateTime abandoned = QDateTime::currentDateTime().addSecs(-AbandonedAfterSeconds);
    for (const QFileInfo& file : QDir(partFolder()).entryInfoList(QDir::Files | QDir::Hidden))
        if (pattern.match(file.fileName()).hasMatch() && file.lastModified() < abandoned)
            QFile::remove(file.absoluteFilePath());
}

} // namespace tessaly
