#include "Backups.h"
#include "DatabaseDump.h"
#include "DbTesting.h"
#include "PlayerDatabase.h"
#include "ProgramSamples.h"
#include "ProgramStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

const QDateTime noon(QDate(2026, 12, 10), QTime(12, 0, 0));

class BackupsTest : public PlayerDbTest {
protected:
    void SetUp() override {
        PlayerDbTest::SetUp();
        ProgramStore store(db());
        for (int set = 1; set <= 4; ++set)
            for (int i = 1; i <= set; ++i)
                ASSERT_TRUE(store.insert(ProgramTable::MusicTab,
                                         sampleProgram(set, formatOrderNo(i), 6 + i)));
        ASSERT_TRUE(store.insert(ProgramTable::MusicReadTab, sampleProgram(2, "001", 9)));
    }

    QSqlDatabase db() const { return module.database(); }
    QString folder() const { return dir.filePath("backups"); }

    QString backup(const QString& operation, const QDateTime& at = noon) {
        QString error;
        const auto path = takeBackup(db(), operation, &error, at);
        EXPECT_TRUE(path) << error.toStdString();
        return path.value_or(QString());
    }

    QStringList listedNames() const {
        QStringList names;
        for (const auto& entry : listBackups(folder()))
            names.append(entry.fileName);
        return names;
    }

    // A second, different state of the three tables.
    void changeEverything() {
        ProgramStore store(db());
        ASSERT_TRUE(store.deleteAll(ProgramTable::MusicTab));
        ASSERT_TRUE(store.deleteAll(ProgramTable::MusicReadTab));
        ASSERT_TRUE(store.insert(ProgramTable::MusicTab, sampleProgram(3, "001", 20, "777")));
        rawExec("UPDATE SysTab SET Com = 4, JM1YR = 9");
    }
};

TEST_F(BackupsTest, NamedByTimeAndOperationListedNewestFirstWithTheirCounts) {
    const QString first = backup("read-all");
    EXPECT_EQ(first, QDir(folder()).filePath("PlayerDB-20261210-120000-read-all.mdb"));
    backup("copy");       // the same second: a counter follows
    backup("delete-all"); // and another
    backup("save-read", noon.addSecs(1));
    // What a backup killed while writing leaves behind is no backup.
    QFile part(QDir(folder()).filePath("PlayerDB-20261210-120002-import.mdb.part"));
    ASSERT_TRUE(part.open(QIODevice::WriteOnly));
    part.write("half a database");
    part.close();

    EXPECT_EQ(listedNames(), QStringList({"PlayerDB-20261210-120001-save-read.mdb",
                                          "PlayerDB-20261210-120000-delete-all-3.mdb",
                                          "PlayerDB-20261210-120000-copy-2.mdb",
                                          "PlayerDB-20261210-120000-read-all.mdb"}));
    const auto entries = listBackups(folder());
    EXPECT_EQ(entries[1].operation, "delete-all");
    EXPECT_EQ(entries[0].taken, noon.addSecs(1));
    ASSERT_TRUE(entries[0].setCounts);
    EXPECT_EQ(*entries[0].setCounts, (std::array<int, 4>{1, 2, 3, 4}));
    EXPECT_EQ(entries[0].readBackCount, 1);

    // The snapshot is the whole database, exactly.
    DataModule copy;
    ScriptedPrompter prompter;
    ASSERT_TRUE(copy.ConnectDatabaseFile(prompter, first));
    EXPECT_EQ(dumpTables(copy.database()), dumpTables(db()));
}

TEST_F(BackupsTest, KeepsTheNewestThirtyAndPrunesOnlyAfterASuccess) {
    for (int i = 0; i < 32; ++i)
        backup("copy", noon.addSecs(i));
    auto names = listedNames();
    ASSERT_EQ(names.size(), 30);
    EXPECT_EQ(names.first(), "PlayerDB-20261210-120031-copy.mdb");
    EXPECT_EQ(names.last(), "PlayerDB-20261210-120002-copy.mdb");

    // A backup that cannot be written removes none of the old ones.
    const QString blocked = QDir(folder()).filePath("PlayerDB-20261210-130000-copy.mdb.part");
    ASSERT_TRUE(QDir().mkpath(blocked + "/in-the-way"));
    QString error;
    EXPECT_FALSE(takeBackup(db(), "copy", &error, noon.addSecs(3600)));
    EXPECT_EQ(error, QStringLiteral("无法写入备份：%1，操作已取消。").arg(folder()));
    EXPECT_EQ(listedNames(), names);
}

TEST_F(BackupsTest, AFolderThatCannotBeMadeStopsWithItsName) {
    QFile file(folder()); // a file where the folder would go
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QString error;
    EXPECT_FALSE(takeBackup(db(), "read-all", &error));
    EXPECT_EQ(error, QStringLiteral("无法写入备份：%1，操作已取消。").arg(folder()));
}

TEST_F(BackupsTest, RestoreBringsBackTheTablesExactlyAndBacksUpWhatItReplaces) {
    const QStringList before = dumpTables(db());
    const QString saved = backup("delete-all");
    changeEverything();
    const QStringList changed = dumpTables(db());

    const auto result = restoreBackup(db(), saved, noon.addSecs(60));
    ASSERT_EQ(result.end, RestoreEnd::Restored) << result.detail.toStdString();
    EXPECT_EQ(result.message, "数据恢复完毕！");
    EXPECT_EQ(dumpTables(db()), before);

    const auto entries = listBackups(folder());
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].fileName, "PlayerDB-20261210-120100-restore.mdb");
    DataModule replaced;
    ScriptedPrompter prompter;
    ASSERT_TRUE(replaced.ConnectDatabaseFile(prompter, entries[0].path));
    EXPECT_EQ(dumpTables(replaced.database()), changed);
}

TEST_F(BackupsTest, RestoringTheOldestOfAFullFolderStillFindsIt) {
    for (int i = 0; i < KeptBackups; ++i)
        backup("copy", noon.addSecs(i));
    const QStringList before = dumpTables(db());
    changeEverything();
    const QString oldest = listBackups(folder()).last().path;
    const auto result = restoreBackup(db(), oldest, noon.addSecs(100));
    ASSERT_EQ(result.end, RestoreEnd::Restored) << result.detail.toStdString();
    EXPECT_EQ(dumpTables(db()), before);
    EXPECT_EQ(listBackups(folder()).size(), KeptBackups);
}

// Makes the kind of file a restore must refuse, in `dir`.
using BadFile = QString (*)(const QDir& dir);

QString laidDatabase(const QDir& dir, const QStringList& extraStatements) {
    const QString path = dir.filePath("other.mdb");
    QString error;
    EXPECT_TRUE(createPlayerDatabase(path, &error)) << error.toStdString();
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "bad-file");
        other.setDatabaseName(path);
        EXPECT_TRUE(other.open());
        for (const QString& statement : extraStatements)
            EXPECT_TRUE(QSqlQuery(other).exec(statement)) << statement.toStdString();
        other.close();
    }
    QSqlDatabase::removeDatabase("bad-file");
    return path;
}

QString corruptedDatabase(const QDir& dir) {
    QStringList inserts{"BEGIN"};
    for (int i = 0; i < 300; ++i)
        inserts.append(QStringLiteral("INSERT INTO MusicTab (OrderNo, YXCX) VALUES ('%1', "
                                      "'abcdefgh')")
                           .arg(i % 999));
    inserts.append("COMMIT");
    const QString path = laidDatabase(dir, inserts);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    // Inside the table's pages, past the schema page: a b-tree whose cells no longer add up.
    for (qsizetype i = 4096 + 8; i < 4096 + 40; ++i)
        bytes[i] = char(0x7f);
    file.seek(0);
    file.write(bytes);
    return path;
}

TEST_F(BackupsTest, RestoreRefusesWhatIsNoTessalyDatabaseAndChangesNothing) {
    const struct {
        const char* name;
        BadFile make;
        const char* reason;
    } cases[] = {
        {"missing", [](const QDir& d) { return d.filePath("nowhere.mdb"); }, "文件不存在"},
        {"garbage",
         [](const QDir& d) {
             QFile f(d.filePath("garbage.mdb"));
             f.open(QIODevice::WriteOnly);
             f.write(QByteArray(8192, 'x'));
             return f.fileName();
         },
         "不是数据库文件"},
        {"no read-back table",
         [](const QDir& d) { return laidDatabase(d, {"DROP TABLE MusicReadTab"}); },
         "缺少表MusicReadTab"},
        {"a missing column",
         [](const QDir& d) { return laidDatabase(d, {"ALTER TABLE SysTab DROP COLUMN JM4YS"}); },
         "表SysTab缺少列JM4YS"},
        {"the database itself", [](const QDir& d) { return d.filePath("PlayerDB.mdb"); },
         "这是正在使用的数据库"},
    };
    const QStringList before = dumpTables(db());
    for (const auto& c : cases) {
        const QString path = c.make(QDir(dir.path()));
        const auto result = restoreBackup(db(), path);
        EXPECT_EQ(result.end, RestoreEnd::Refused) << c.name;
        EXPECT_EQ(result.message, QStringLiteral("无法恢复%1：%2。")
                                      .arg(QFileInfo(path).fileName(), QString::fromUtf8(c.reason)))
            << c.name;
        EXPECT_EQ(dumpTables(db()), before) << c.name;
        QFile::remove(dir.filePath("other.mdb"));
    }

    const QString corrupted = corruptedDatabase(QDir(dir.path()));
    const auto result = restoreBackup(db(), corrupted);
    EXPECT_EQ(result.end, RestoreEnd::Refused);
    EXPECT_TRUE(result.message.contains("完整性检查未通过") ||
                result.message.contains("不是数据库文件"))
        << result.message.toStdString();
    EXPECT_EQ(dumpTables(db()), before);
    EXPECT_TRUE(listBackups(folder()).isEmpty()) << "a refused restore takes no backup";
}

TEST_F(BackupsTest, ARestoreWhoseBackupCannotBeWrittenChangesNothing) {
    const QString saved = backup("copy");
    changeEverything();
    const QStringList before = dumpTables(db());
    const QString blocked =
        QDir(folder()).filePath("PlayerDB-20261210-120100-restore.mdb.part/in-the-way");
    ASSERT_TRUE(QDir().mkpath(blocked));
    const auto result = restoreBackup(db(), saved, noon.addSecs(60));
    EXPECT_EQ(result.end, RestoreEnd::BackupFailed);
    EXPECT_EQ(result.message, QStringLiteral("无法写入备份：%1，操作已取消。").arg(folder()));
    EXPECT_EQ(dumpTables(db()), before);
}

} // namespace
