#include "DbTesting.h"

#include "PlayerDatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace tessaly;

void PlayerDbTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    QString error;
    ASSERT_TRUE(createPlayerDatabase(dir.filePath(databaseFileName()), &error))
        << error.toStdString();
    ScriptedPrompter prompter;
    ASSERT_TRUE(module.ConnectDatabase(prompter, dir.path())) << module.errorText().toStdString();
}

namespace {
QSqlQuery runRaw(const QSqlDatabase& db, const QString& sql, const QVariantList& values) {
    QSqlQuery query(db);
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    EXPECT_TRUE(query.exec()) << sql.toStdString() << ": "
                              << query.lastError().text().toStdString();
    return query;
}
} // namespace

QVariantList PlayerDbTest::rawRow(const QString& sql, const QVariantList& values) {
    QSqlQuery query = runRaw(module.database(), sql, values);
    QVariantList row;
    if (query.next()) {
        for (int i = 0; i < query.record().count(); ++i)
            row.append(query.value(i));
    }
    return row;
}

void PlayerDbTest::rawExec(const QString& sql, const QVariantList& values) {
    runRaw(module.database(), sql, values);
}
