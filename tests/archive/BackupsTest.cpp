#include "Backups.h"
#include "DatabaseDump.h"
#include "DbTesting.h"
#include "PlayerDatabase.h"
#include "ProgramSamples.h"
#include "ProgramStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

const QDateTime noon(QDate(2026, 12, 10), QTime(12, 0, 0));

// Runs statements on the database file at `path` over a connection of its own, as another
// program would; `whileOpen` runs before the connection closes.
void onFile(const QString& path, const QStringList& statements,
            const std::function<void()>& whileOpen = {}) {
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other-file");
        other.setDatabaseName(path);
        EXPECT_TRUE(other.open());
        for (const QString& statement : statements)
            EXPECT_TRUE(QSqlQuery(other).exec(statement)) << statement.toStdString();
        if (whileOpen)
            whileOpen();
        other.close();
    }
    QSqlDatabase::removeDatabase("other-file");
}

// A fresh database at `path` changed by `statements`.
QString laidDatabase(const QString& path, const QStringList& statements = {}) {
    QString error;
    EXPECT_TRUE(createPlayerDatabase(path, &error)) << error.toStdString();
    onFile(path, statements);
    return path;
}

QStringList hundredsOfRows() {
    QStringList inserts{"BEGIN"};
    for (int i = 0; i < 300; ++i)
        inserts.append(QStringLiteral("INSERT INTO MusicTab (OrderNo, YXCX) VALUES ('%1', "
                                      "'abcdefgh')")
                           .arg(i % 999));
    inserts.append("COMMIT");
    return inserts;
}

// The bytes of the database file and of every side file SQLite keeps beside it.
QMap<QString, QByteArray> filesOf(const QString& path) {
    QMap<QString, QByteArray> bytes;
    for (const QString& suffix : {"", "-journal", "-wal"}) {
        QFile file(path + suffix);
        if (QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly))
            bytes.insert(suffix, file.readAll());
    }
    return bytes;
}

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
    QString inFolder(const QString& name) const { return QDir(folder()).filePath(name); }

    QString backup(const QString& operation, const QDateTime& at = noon) {
        QString error;
        const auto path = takeBackup(db(), operation, &error, at);
        EXPECT_TRUE(path) << error.toStdString();
        return path.value_or(QString());
    }
    // `count` backups one second apart from `from`.
    void backups(int count, const QDateTime& from) {
        for (int i = 0; i < count; ++i)
            backup("copy", from.addSecs(i));
    }

    QStringList listedNames(const QString& databaseName = databaseFileName()) const {
        QStringList names;
        for (const auto& entry : listBackups(folder(), databaseName))
            names.append(entry.fileName);
        return names;
    }

    // A file in the backups folder (or a folder of it), last written `ageSeconds` ago.
    void lay(const QString& name, qint64 ageSeconds, const QByteArray& bytes = "x") {
        QDir().mkpath(QFileInfo(inFolder(name)).absolutePath());
        QFile file(inFolder(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.flush();
        file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                         QFileDevice::FileModificationTime);
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
    EXPECT_EQ(first, inFolder("PlayerDB-20261210-120000-read-all.mdb"));
    backup("read-all"); // the same name: a counter follows
    backup("delete-all");
    backup("save-read", noon.addSecs(1));

    EXPECT_EQ(listedNames(), QStringList({"PlayerDB-20261210-120001-save-read.mdb",
                                          "PlayerDB-20261210-120000-delete-all.mdb",
                                          "PlayerDB-20261210-120000-read-all-2.mdb",
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

// A clock set back, or a folder from a PC whose clock ran ahead: the backup just taken is the
// newest all the same, and the oldest taken goes.
TEST_F(BackupsTest, KeepsTheNewestThirtyInTheOrderTakenWhateverTheClockSaid) {
    const QDateTime ahead = noon.addYears(1);
    backups(KeptBackups, ahead);
    const QString taken = backup("read-all", noon);
    auto names = listedNames();
    ASSERT_EQ(names.size(), KeptBackups);
    EXPECT_EQ(names.first(), "PlayerDB-20261210-120000-read-all.mdb");
    EXPECT_TRUE(QFile::exists(taken));
    EXPECT_EQ(names[1], "PlayerDB-20271210-120029-copy.mdb");
    EXPECT_EQ(names.last(), "PlayerDB-20271210-120001-copy.mdb") << "the first one taken went";

    // A backup that fails half-way removes none of the old ones, and leaves no file behind.
    rawExec("CREATE VIEW TessalyBackup AS SELECT 1"); // where the mark of a backup goes
    const QStringList files = QDir(folder()).entryList(QDir::Files);
    QString error;
    EXPECT_FALSE(takeBackup(db(), "copy", &error, noon.addSecs(60)));
    // It says why.
    EXPECT_TRUE(error.startsWith(QStringLiteral("无法写入备份：%1（").arg(folder())))
        << error.toStdString();
    EXPECT_TRUE(error.contains("TessalyBackup") && error.endsWith("），操作已取消。"))
        << error.toStdString();
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), files);
    EXPECT_TRUE(QDir(inFolder(".incomplete")).isEmpty());
}

TEST_F(BackupsTest, AFolderThatCannotBeMadeStopsWithItsName) {
    QFile file(folder()); // a file where the folder would go
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QString error;
    EXPECT_FALSE(takeBackup(db(), "read-all", &error));
    EXPECT_EQ(error,
              QStringLiteral("无法写入备份：%1（%1不是文件夹），操作已取消。").arg(folder()));
}

TEST_F(BackupsTest, PruningTakesOnlyThisDatabasesOwnBackups) {
    // Another database in the same folder, with a backup of its own; an operator's copies under
    // backup-like names, one under the very name of a temporary file; temporary files: this
    // program's own in its hidden folder (an hour old, and new) and others'.
    DataModule school;
    ScriptedPrompter prompter;
    ASSERT_TRUE(school.ConnectDatabaseFile(prompter, laidDatabase(dir.filePath("school.mdb"))));
    QString error;
    ASSERT_TRUE(takeBackup(school.database(), "import", &error, noon.addYears(-1)));
    ASSERT_TRUE(
        QFile::copy(dir.filePath("PlayerDB.mdb"), inFolder("PlayerDB-20200101-000000-mycopy.mdb")));
    ASSERT_TRUE(QFile::copy(dir.filePath("PlayerDB.mdb"),
                            inFolder("PlayerDB-20200101-000000-before-upgrade.mdb")));
    QFile database(dir.filePath("PlayerDB.mdb"));
    ASSERT_TRUE(database.open(QIODevice::ReadOnly));
    lay("PlayerDB-backup-ABCDEF.part", 7200, database.readAll());
    lay(".incomplete/PlayerDB-backup-Ab12Cd.part", 7200);
    lay(".incomplete/PlayerDB-backup-Ef34Gh.part", 60);
    lay(".incomplete/notes.part", 7200);
    lay(".incomplete/school-backup-Ab12Cd.part", 7200);

    backups(KeptBackups, noon);

    EXPECT_EQ(listedNames().size(), KeptBackups);
    EXPECT_EQ(listedNames("school.mdb"), QStringList{"school-20251210-120000-import.mdb"});
    for (const char* kept :
         {"PlayerDB-20200101-000000-mycopy.mdb", "PlayerDB-20200101-000000-before-upgrade.mdb",
          "PlayerDB-backup-ABCDEF.part", ".incomplete/PlayerDB-backup-Ef34Gh.part",
          ".incomplete/notes.part", ".incomplete/school-backup-Ab12Cd.part"})
        EXPECT_TRUE(QFile::exists(inFolder(kept))) << kept;
    EXPECT_FALSE(QFile::exists(inFolder(".incomplete/PlayerDB-backup-Ab12Cd.part")));
}

TEST_F(BackupsTest, RestoreBringsBackTheTablesExactlyAndBacksUpWhatItReplaces) {
    const QStringList before = dumpTables(db());
    const QString saved = backup("delete-all");
    const auto savedBytes = filesOf(saved);
    changeEverything();
    const QStringList changed = dumpTables(db());

    auto result = restoreBackup(db(), saved, noon.addSecs(60));
    ASSERT_EQ(result.end, RestoreEnd::Restored) << result.detail.toStdString();
    EXPECT_EQ(result.message, "数据恢复完毕！");
    EXPECT_EQ(dumpTables(db()), before);
    EXPECT_TRUE(rawRow("SELECT name FROM sqlite_master WHERE name = 'TessalyBackup'").isEmpty())
        << "the mark of the backup stays in the backup";
    EXPECT_EQ(filesOf(saved), savedBytes);

    const auto entries = listBackups(folder());
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].fileName, "PlayerDB-20261210-120100-restore.mdb");
    DataModule replaced;
    ScriptedPrompter prompter;
    ASSERT_TRUE(replaced.ConnectDatabaseFile(prompter, entries[0].path));
    EXPECT_EQ(dumpTables(replaced.database()), changed);

    // Restored again, it changes nothing and takes no backup.
    result = restoreBackup(db(), saved, noon.addSecs(120));
    EXPECT_EQ(result.end, RestoreEnd::Restored);
    EXPECT_EQ(listBackups(folder()).size(), 2);
}

TEST_F(BackupsTest, RestoreReadsItsSourceWithoutEverWritingIt) {
    // A database in WAL mode whose last change is still in its -wal file: reading it must not
    // fold that change into the file.
    const QString source = dir.filePath("wal.mdb");
    const QString original = laidDatabase(dir.filePath("other.mdb"));
    onFile(original,
           {"PRAGMA journal_mode=WAL", "PRAGMA wal_autocheckpoint=0",
            "INSERT INTO MusicTab (OrderNo, JMTaoNo, YXCX) VALUES ('001', '第四套', '')"},
           [&] {
               ASSERT_TRUE(QFile::copy(original, source));
               ASSERT_TRUE(QFile::copy(original + "-wal", source + "-wal"));
           });
    const auto bytes = filesOf(source);
    ASSERT_TRUE(bytes.contains("-wal"));
    // Nothing is made beside it either: without its -shm, a reader of a WAL file would make one.
    const QStringList beside = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    ASSERT_FALSE(beside.contains("wal.mdb-shm"));

    const auto result = restoreBackup(db(), source);
    ASSERT_EQ(result.end, RestoreEnd::Restored) << result.detail.toStdString();
    EXPECT_EQ(rawRow("SELECT count(*), min(JMTaoNo) FROM MusicTab"), (QVariantList{1, "第四套"}));
    EXPECT_EQ(filesOf(source), bytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), beside);
}

// Makes the kind of file a restore must refuse, in `dir`.
using BadFile = QString (*)(const QDir& dir);

QString corruptedDatabase(const QDir& dir) {
    const QString path = laidDatabase(dir.filePath("other.mdb"), hundredsOfRows());
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

// The file and journal of a database as a crash in the middle of a change leaves them.
QString interruptedDatabase(const QDir& dir) {
    const QString path = laidDatabase(dir.filePath("other.mdb"), hundredsOfRows());
    const QString copy = dir.filePath("interrupted.mdb");
    onFile(path, {"PRAGMA cache_size=1", "BEGIN", "UPDATE MusicTab SET YXCX = 'changed'"}, [&] {
        ASSERT_TRUE(QFile::copy(path, copy));
        ASSERT_TRUE(QFile::copy(path + "-journal", copy + "-journal"));
    });
    return copy;
}

TEST_F(BackupsTest, RestoreRefusesWhatIsNoTessalyDatabaseAndChangesNothing) {
    const struct {
        const char* name;
        BadFile make;
        const char* reason;
    } cases[] = {
        {"missing", [](const QDir& d) { return d.filePath("nowhere.mdb"); }, "文件不存在"},
        {"a folder",
         [](const QDir& d) {
             d.mkpath("folder.mdb");
             return d.filePath("folder.mdb");
         },
         "这是一个文件夹，不是文件"},
        {"a FIFO",
         [](const QDir& d) {
             ::mkfifo(QFile::encodeName(d.filePath("fifo.mdb")).constData(), 0600);
             return d.filePath("fifo.mdb");
         },
         "这是一个管道（FIFO），不是文件"},
        {"a device", [](const QDir&) { return QStringLiteral("/dev/null"); },
         "这是一个设备，不是文件"},
        {"a device whose name could be a file's",
         [](const QDir&) { return QStringLiteral("/dev/zero"); }, "这是一个设备，不是文件"},
        {"an empty file",
         [](const QDir& d) {
             QFile f(d.filePath("empty.mdb"));
             f.open(QIODevice::WriteOnly);
             return f.fileName();
         },
         "不是数据库文件"},
        {"garbage",
         [](const QDir& d) {
             QFile f(d.filePath("garbage.mdb"));
             f.open(QIODevice::WriteOnly);
             f.write(QByteArray(8192, 'x'));
             return f.fileName();
         },
         "不是数据库文件"},
        {"an unfinished change", interruptedDatabase,
         "文件有未完成的改动（interrupted.mdb-journal）"},
        {"no read-back table",
         [](const QDir& d) {
             return laidDatabase(d.filePath("other.mdb"), {"DROP TABLE MusicReadTab"});
         },
         "缺少表MusicReadTab"},
        {"a missing column",
         [](const QDir& d) {
             return laidDatabase(d.filePath("other.mdb"), {"ALTER TABLE SysTab DROP COLUMN JM4YS"});
         },
         "表SysTab缺少列JM4YS"},
        {"no settings row",
         [](const QDir& d) {
             return laidDatabase(d.filePath("other.mdb"), {"DELETE FROM SysTab"});
         },
         "表SysTab中有0行设置，应为1行"},
        {"two settings rows",
         [](const QDir& d) {
             return laidDatabase(d.filePath("other.mdb"),
                                 {"INSERT INTO SysTab SELECT * FROM SysTab"});
         },
         "表SysTab中有2行设置，应为1行"},
        {"the database itself", [](const QDir& d) { return d.filePath("PlayerDB.mdb"); },
         "这是正在使用的数据库"},
    };
    const QStringList before = dumpTables(db());
    for (const auto& c : cases) {
        const QString path = c.make(QDir(dir.path()));
        const auto bytes = filesOf(path);
        const auto result = restoreBackup(db(), path);
        EXPECT_EQ(result.end, RestoreEnd::Refused) << c.name;
        // The whole path: "zero" alone would name nothing.
        EXPECT_EQ(result.message,
                  QStringLiteral("无法恢复%1：%2。").arg(path, QString::fromUtf8(c.reason)))
            << c.name;
        EXPECT_EQ(dumpTables(db()), before) << c.name;
        EXPECT_EQ(filesOf(path), bytes) << c.name;
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

TEST_F(BackupsTest, InAFullFolderAFailedRestorePrunesNothingAndItsSourceIsNeverPruned) {
    backups(KeptBackups, noon);
    const QStringList before = dumpTables(db());
    changeEverything();
    const QStringList changed = dumpTables(db());

    // Its tables pass every check but cannot be copied: an order number too long for MusicTab.
    const QString uncopyable =
        laidDatabase(dir.filePath("other.mdb"),
                     {"DROP TABLE MusicTab", "CREATE TABLE MusicTab AS SELECT * FROM MusicReadTab",
                      "INSERT INTO MusicTab (AutoID, OrderNo) VALUES (1, '12345')"});
    auto result = restoreBackup(db(), uncopyable, noon.addSecs(100));
    EXPECT_EQ(result.end, RestoreEnd::Failed);
    EXPECT_EQ(result.message, "数据恢复失败！");
    EXPECT_EQ(dumpTables(db()), changed);
    // Its own backup goes with it, and no other is lost.
    EXPECT_EQ(listBackups(folder()).size(), KeptBackups);

    const QString oldest = listBackups(folder()).last().path;
    result = restoreBackup(db(), oldest, noon.addSecs(101));
    ASSERT_EQ(result.end, RestoreEnd::Restored) << result.detail.toStdString();
    EXPECT_EQ(dumpTables(db()), before);
    EXPECT_TRUE(QFile::exists(oldest));
}

TEST_F(BackupsTest, ARestoreWhoseBackupCannotBeWrittenChangesNothing) {
    const QString saved = backup("copy");
    changeEverything();
    rawExec("CREATE VIEW TessalyBackup AS SELECT 1"); // where the mark of a backup goes
    const QStringList before = dumpTables(db());
    const auto result = restoreBackup(db(), saved, noon.addSecs(60));
    EXPECT_EQ(result.end, RestoreEnd::BackupFailed);
    EXPECT_TRUE(result.message.startsWith(QStringLiteral("无法写入备份：%1（").arg(folder())))
        << result.message.toStdString();
    EXPECT_EQ(dumpTables(db()), before);
}

} // namespace
