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

} // namespace tessaly::testing
