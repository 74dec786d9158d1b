#include "DataModule.h"

#include "PlayerDatabase.h"
#include "SqlSupport.h"
#include "WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <atomic>

namespace tessaly {

namespace {
QString uniqueConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("tessaly-data-%1").arg(++counter);
}

QString withTrailingSeparator(const QString& dir) {
    const QString absolute = QDir(dir).absolutePath();
    return absolute.endsWith(QLatin1Char('/')) ? absolute : absolute + QLatin1Char('/');
}

QString fileUri(const QString& path, const QString& mode) {
    // QUrl percent-encodes UTF-8, blanks, '?', '#' and '%' in the path, as SQLite expects.
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(QStringLiteral("mode=") + mode);
    return QString::fromLatin1(url.toEncoded());
}
} // namespace

MessageBox databaseFailureBox(const QString& cause) {
    return {QCoreApplication::translate("DataModule", "提示信息"),
            QCoreApplication::translate("DataModule", "连接数据库失败！请设置数据库"),
            MessageBox::Icon::None,
            {MessageBox::Button::Ok},
            MessageBox::Button::Ok,
            cause};
}

QString openExistingUri(const QString& path) {
    return fileUri(path, QStringLiteral("rw"));
}

QString openReadOnlyUri(const QString& path) {
    return fileUri(path, QStringLiteral("ro"));
}

DataModule::DataModule() : m_connectionName(uniqueConnectionName()) {}

DataModule::~DataModule() {
    if (!m_added)
        return;
    m_db.close();
    // The connection may only be removed once no handle to it is left.
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase& DataModule::connection() const {
    if (!m_added) {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        m_added = true;
    }
    return m_db;
}

QString DataModule::databasePath() const {
    return m_appDir + m_fileName;
}

bool DataModule::ConnectDatabase(Prompter& prompter) {
    return ConnectDatabase(prompter, QCoreApplication::applicationDirPath());
}

bool DataModule::ConnectDatabase(Prompter& prompter, const QString& appDir) {
    m_appDir = withTrailingSeparator(appDir);
    m_fileName = databaseFileName();
    return openOrReport(prompter);
}

bool DataModule::ConnectDatabaseFile(Prompter& prompter, const QString& filePath) {
    const QFileInfo file(filePath);
    m_appDir = withTrailingSeparator(file.absolutePath());
    m_fileName = file.fileName();
    return openOrReport(prompter);
}

bool DataModule::openOrReport(Prompter& prompter) {
    m_error.clear();
    if (open())
        return true;
    connection().close();
    // The details name the file, whatever the cause.
    m_error = QCoreApplication::translate("DataModule", "%1：%2")
                  .arg(QDir::toNativeSeparators(databasePath()), m_error);
    prompter.show(databaseFailureBox(m_error));
    return false;
}

bool DataModule::open() {
    QSqlDatabase& db = connection();
    db.close();
    // SQLite words a file it may not read as one it cannot open, or as no database at all.
    if (QFileInfo(databasePath()).isFile())
        if (const QString why = readAccessProblem(databasePath()); !why.isEmpty()) {
            m_error =
                QCoreApplication::translate("DataModule", "无法读取数据库文件（%1）").arg(why);
            return false;
        }
    // mode=rw: a missing file is an error, never an empty new database.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    db.setDatabaseName(openExistingUri(databasePath()));
    if (!db.open()) {
        m_error = describeSqlError(db.lastError());
        return false;
    }
    // SQLite reads the file only on first use: a file of garbage (or one locked by another
    // program) opens fine and fails here, often already while the query is prepared.
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                                      "AND name IN ('MusicTab', 'MusicReadTab', 'SysTab')")) ||
        !query.exec() || !query.next()) {
        m_error = describeSqlError(query.lastError());
        return false;
    }
    if (query.value(0).toInt() != 3) {
        m_error = QCoreApplication::translate(
            "DataModule", "数据库中没有节目表（MusicTab、MusicReadTab、SysTab）");
        return false;
    }
    return true;
}

} // namespace tessaly
