#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace tessaly {

// A connection of its own to another database file (a backup, a file to restore), removed with
// the object. Read-only unless asked otherwise: reading a file never changes it, not even by
// rolling back its journal.
class FileConnection {
public:
    enum class Access { ReadOnly, ReadWrite };

    explicit FileConnection(const QString& path, Access access = Access::ReadOnly);
    ~FileConnection();
    FileConnection(const FileConnection&) = delete;
    FileConnection& operator=(const FileConnection&) = delete;

    const QSqlDatabase& db() const { return m_db; }
    bool isOpen() const { return m_db.isOpen(); }

private:
    QString m_name;
    QSqlDatabase m_db;
};

// Column names of `table` in `schema` ("main", or an attached name); empty when there is no
// such table.
QStringList columnsOf(const QSqlDatabase& db, const QString& table,
                      const QString& schema = QStringLiteral("main"));

// Both paths name one existing file (through links, relative parts, ...).
bool sameFile(const QString& a, const QString& b);

// The file of the connection's main database; empty for one that has none.
QString databaseFile(const QSqlDatabase& db);

} // namespace tessaly
