#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tessaly::testing {

// Every row of the three tables (AutoID included), one text line per row, table by table: two
// databases hold the same data exactly when their dumps are equal.
inline QStringList dumpTables(const QSqlDatabase& db) {
    QStringList lines;
    for (const char* table : {"MusicTab", "MusicReadTab", "SysTab"}) {
        lines.append(QStringLiteral("== %1").arg(QLatin1String(table)));
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(
                QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table)))) {
            lines.append(QStringLiteral("unreadable"));
            continue;
        }
        const int columns = query.record().count();
        while (query.next()) {
            QStringList fields;
            for (int i = 0; i < columns; ++i)
                fields.append(query.isNull(i) ? QStringLiteral("NULL") : query.value(i).toString());
            lines.append(fields.join(QLatin1Char('|')));
        }
    }
    return lines;
}

// A program's times in MusicTab in every form they are stored, and its order number:
// "8 0 0 9 0 0 08:00:00 09:00:00 001".
inline QString storedTimes(const QSqlDatabase& db, qint64 autoId) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT KS1, KS2, KS3, JS1, JS2, JS3, KSTime, JSTime, OrderNo "
                                 "FROM MusicTab WHERE AutoID = ?"));
    query.addBindValue(autoId);
    if (!query.exec() || !query.next())
        return QStringLiteral("missing");
    QStringList fields;
    for (int i = 0; i < query.record().count(); ++i)
        fields.append(query.value(i).toString());
    return fields.join(QLatin1Char(' '));
}

} // namespace tessaly::testing
