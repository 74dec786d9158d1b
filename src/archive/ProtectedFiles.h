#pragma once

#include <QSqlDatabase>
#include <QString>

namespace tessaly {

// Why no output may be written at `target`: it is the database at `databasePath` or one of the
// files SQLite keeps beside it (-wal, -shm, -journal), or a file in the database's backups
// folder. Files are compared by device and inode once links are followed, so a symbolic link
// or a second name of the same file is caught, and so is a name that does not exist yet but
// would create one of them. "不能写入正在使用的数据库：<target>" or "不能覆盖备份：<target>";
// empty when the target may be written.
QString protectedFileRefusal(const QString& databasePath, const QString& target);
// The same for the database open on `db`.
QString protectedFileRefusal(const QSqlDatabase& db, const QString& target);

} // namespace tessaly
