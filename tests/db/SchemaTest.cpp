#include "DbTesting.h"
#include "PlayerDatabase.h"

#include <QFile>
#include <QSqlQuery>

using namespace tessaly;

namespace {

using Columns = QList<std::pair<QString, QString>>; // name, declared type

void appendNumbered(Columns& columns, const QString& stem, int last, const QString& type) {
    for (int i = 1; i <= last; ++i)
        columns.emplaceBack(stem + QString::number(i), type);
}

Columns programTableColumns() {
    Columns columns{{"AutoID", "INTEGER"},  {"OrderNo", "TEXT"},    {"KSTime", "TEXT"},
                    {"JSTime", "TEXT"},     {"JMTaoNo", "TEXT"},    {"YXCX", "TEXT"},
                    {"MP3", "BOOLEAN"},     {"ShouYin", "BOOLEAN"}, {"YuRe", "SMALLINT"},
                    {"YuanShi", "SMALLINT"}};
    appendNumbered(columns, "KS", 3, "INTEGER");
    appendNumbered(columns, "JS", 3, "INTEGER");
    appendNumbered(columns, "Week", 7, "BOOLEAN");
    appendNumbered(columns, "QuMu", 6, "TEXT");
    columns.emplaceBack("YinLiang", "INTEGER");
    appendNumbered(columns, "FQ", 32, "BOOLEAN");
    return columns;
}

} // namespace

class Schema : public PlayerDbTest {
protected:
    Columns tableInfo(const QString& table) {
        QSqlQuery query(module.database());
        EXPECT_TRUE(query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)));
        Columns columns;
        while (query.next())
            columns.emplaceBack(query.value("name").toString(), query.value("type").toString());
        return columns;
    }

    // Whether a row holding only this value in this column is accepted.
    bool accepts(const QString& table, const QString& column, const QVariant& value) {
        QSqlQuery query(module.database());
        query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(table, column));
        query.addBindValue(value);
        return query.exec();
    }
};

TEST_F(Schema, TablesHaveTheirColumnsInOrderWithTheirDeclaredTypes) {
    const Columns program = programTableColumns();
    ASSERT_EQ(program.size(), 62);
    const QList<std::pair<QString, Columns>> expected{
        {"MusicTab", program},
        {"MusicReadTab", program},
        {"SysTab",
         {{"Com", "INTEGER"},
          {"JM1YR", "INTEGER"},
          {"JM1YS", "INTEGER"},
          {"JM2YR", "INTEGER"},
          {"JM2YS", "INTEGER"},
          {"JM3YR", "INTEGER"},
          {"JM3YS", "INTEGER"},
          {"JM4YR", "INTEGER"},
          {"JM4YS", "INTEGER"}}},
    };
    for (const auto& [table, columns] : expected)
        EXPECT_EQ(tableInfo(table), columns) << table.toStdString();

    // AutoID numbers are never reused, not even after the newest row is deleted.
    EXPECT_EQ(rawRow("SELECT count(*) FROM sqlite_master WHERE name = 'sqlite_sequence'"),
              QVariantList{1});
}

TEST_F(Schema, FreshDatabaseHoldsOnlyTheSettingsRow) {
    EXPECT_EQ(rawRow("SELECT count(*), Com, JM1YR, JM1YS, JM2YR + JM2YS + JM3YR + JM3YS + JM4YR "
                     "+ JM4YS FROM SysTab"),
              (QVariantList{1, 1, 0, 0, 0}));
    EXPECT_EQ(rawRow("SELECT (SELECT count(*) FROM MusicTab) + (SELECT count(*) FROM "
                     "MusicReadTab)"),
              QVariantList{0});
}

TEST_F(Schema, ColumnsRejectValuesOutsideTheirDomain) {
    const struct {
        const char* column;
        QVariant value;
        bool accepted;
    } cases[] = {
        // Widths count characters, not bytes.
        {"OrderNo", "001", true},
        {"OrderNo", "0001", false},
        {"JMTaoNo", "第一套", true},
        {"JMTaoNo", "第一套第一套", true},
        {"JMTaoNo", "第一套第一套一", false},
        {"YXCX", "优先优先优先优先", true},
        {"YXCX", "优先优先优先优先优", false},
        {"QuMu1", "999", true},
        {"QuMu1", "1234", false},
        {"QuMu6", "1234", false},
        // Times are 'HH:MM:SS' within the day, so text order is time order.
        {"KSTime", "00:00:00", true},
        {"KSTime", "23:59:59", true},
        {"KSTime", "24:00:00", false},
        {"KSTime", "7:00:00", false},
        {"JSTime", "12:60:00", false},
        {"JSTime", "12:00", false},
        {"JSTime", QVariant(), true},
        {"MP3", 1, true},
        {"MP3", 2, false},
        {"FQ32", -1, false},
        {"Week7", QVariant(), true},
        {"YuRe", -32768, true},
        {"YuRe", 32767, true},
        {"YuRe", 32768, false},
        {"YuanShi", -32769, false},
        {"KS1", 2147483647LL, true},
        {"KS1", 2147483648LL, false},
        {"JS3", "x", false},
        {"YinLiang", 1.5, false},
    };
    for (const QString table : {"MusicTab", "MusicReadTab"}) {
        for (const auto& c : cases) {
            EXPECT_EQ(accepts(table, c.column, c.value), c.accepted)
                << table.toStdString() << "." << c.column << " = "
                << c.value.toString().toStdString();
        }
    }
}

TEST(CreatePlayerDatabase, RefusesAnExistingPathAndLeavesItAlone) {
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(databaseFileName());
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("operator data");
    }

    QString error;
    EXPECT_FALSE(createPlayerDatabase(path, &error));
    EXPECT_TRUE(error.contains(path)) << error.toStdString();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "operator data");
}

TEST(CreatePlayerDatabase, ReportsAFolderThatDoesNotExist) {
    const QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(createPlayerDatabase(dir.filePath("missing/PlayerDB.mdb"), &error));
    EXPECT_FALSE(error.isEmpty());
}
