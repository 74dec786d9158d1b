#include "CliProcess.h"
#include "DataModule.h"
#include "DatabaseDump.h"
#include "PlayerDatabase.h"
#include "ProgramSamples.h"
#include "ProgramStore.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

class BackupCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        lay(database(), 3);
        lay(folder.filePath("other.mdb"), 1);
    }

    // A database whose sets hold `perSet` programs each.
    static void lay(const QString& path, int perSet) {
        QString error;
        ASSERT_TRUE(createPlayerDatabase(path, &error)) << error.toStdString();
        DataModule data;
        ScriptedPrompter prompter;
        ASSERT_TRUE(data.ConnectDatabaseFile(prompter, path));
        ProgramStore store(data.database());
        for (int set = 1; set <= 4; ++set)
            for (int i = 1; i <= perSet; ++i)
                ASSERT_TRUE(store.insert(ProgramTable::MusicTab,
                                         sampleProgram(set, formatOrderNo(i), 6 + i)));
    }

    QStringList contents() {
        DataModule data;
        ScriptedPrompter prompter;
        EXPECT_TRUE(data.ConnectDatabaseFile(prompter, database()));
        return dumpTables(data.database());
    }

    CliRun cli(QStringList arguments) {
        arguments.prepend(database());
        arguments.prepend("--db");
        return runCli(TESSALY_CLI, arguments);
    }

    QString database() const { return folder.filePath(databaseFileName()); }
    QTemporaryDir folder;
};

TEST_F(BackupCliTest, RestoreBacksUpFirstAndTheBackupBringsTheProgramsBack) {
    EXPECT_EQ(cli({"backups"}).out, "没有备份。\n");
    const QStringList original = contents();

    auto run = cli({"restore", folder.filePath("other.mdb")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "数据恢复完毕！\n");
    EXPECT_NE(contents(), original);

    run = cli({"backups"});
    EXPECT_EQ(run.exitCode, 0);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
    EXPECT_EQ(lines[0], "文件  时间  操作  第一套  第二套  第三套  第四套  读回");
    const QRegularExpression row("^(PlayerDB-\\d{8}-\\d{6}-restore\\.mdb)  "
                                 "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d  恢复  3  3  3  3  0$");
    const auto match = row.match(lines[1]);
    ASSERT_TRUE(match.hasMatch()) << lines[1].toStdString();

    // A name from the list is found among the backups.
    run = cli({"restore", match.captured(1)});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_EQ(contents(), original);
    EXPECT_EQ(cli({"backups"}).out.split('\n', Qt::SkipEmptyParts).size(), 3)
        << "the heading and two backups";
}

// An import backs up once its rows have passed; a file with a bad row leaves no backup.
TEST_F(BackupCliTest, AnImportLeavesOneBackupAndARefusedOneNone) {
    const QString file = folder.filePath("set1.csv");
    auto run = runCli(TESSALY_CLI, {"--db", folder.filePath("other.mdb"), "export", "--set", "1",
                                    "--output", file});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile bad(folder.filePath("bad.csv"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    QFile good(file);
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    bad.write(good.readAll().replace(",20,", ",99,")); // a volume above 38
    bad.close();

    run = cli({"import", bad.fileName()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(cli({"backups"}).out, "没有备份。\n");

    run = cli({"import", "--replace", file});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    const QStringList lines = cli({"backups"}).out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].contains("-import.mdb")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains("  导入  3  3  3  3  0")) << lines[1].toStdString();
}

// Each database keeps its backups under its own name, and a bare name restores only from them.
TEST_F(BackupCliTest, TwoDatabasesInOneFolderKeepTheirBackupsApart) {
    const QString other = folder.filePath("other.mdb");
    ASSERT_EQ(cli({"restore", other}).exitCode, 0);
    const QString ourBackup = QDir(folder.filePath("backups")).entryList(QDir::Files).value(0);
    const auto otherRun =
        runCli(TESSALY_CLI, {"--db", other, "restore", folder.filePath("backups/" + ourBackup)});
    ASSERT_EQ(otherRun.exitCode, 0) << otherRun.out.toStdString();

    const QStringList ours = cli({"backups"}).out.split('\n', Qt::SkipEmptyParts);
    const QStringList theirs =
        runCli(TESSALY_CLI, {"--db", other, "backups"}).out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(ours.size(), 2);
    ASSERT_EQ(theirs.size(), 2);
    EXPECT_TRUE(ours[1].startsWith("PlayerDB-")) << ours[1].toStdString();
    EXPECT_TRUE(theirs[1].startsWith("other-")) << theirs[1].toStdString();

    const QString theirBackup = theirs[1].section("  ", 0, 0);
    const auto run = cli({"restore", theirBackup});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QStringLiteral("无法恢复%1：文件不存在。\n").arg(theirBackup));
}

// Commands started together each write a backup of their own under a name of its own.
TEST_F(BackupCliTest, CommandsBackingUpAtTheSameMomentAllSucceed) {
    constexpr int Commands = 8;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < Commands; ++i) {
        // A source of its own for each, so that every restore changes something.
        const QString source = folder.filePath(QStringLiteral("source%1.mdb").arg(i));
        lay(source, 1);
        DataModule data;
        ScriptedPrompter prompter;
        ASSERT_TRUE(data.ConnectDatabaseFile(prompter, source));
        ASSERT_TRUE(
            QSqlQuery(data.database()).exec(QStringLiteral("UPDATE SysTab SET JM1YR = %1").arg(i)));
    }
    for (int i = 0; i < Commands; ++i) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->start(TESSALY_CLI,
                                {"--db", database(), "restore",
                                 folder.filePath(QStringLiteral("source%1.mdb").arg(i))});
    }
    for (const auto& process : processes) {
        ASSERT_TRUE(process->waitForFinished(60000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardOutput().toStdString()
                                          << process->readAllStandardError().toStdString();
    }
    const QStringList lines = cli({"backups"}).out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), Commands + 1) << "the heading and a backup per command";
    EXPECT_EQ(QDir(folder.filePath("backups/.incomplete")).entryList(QDir::Files), QStringList{});
}

TEST_F(BackupCliTest, RefusalsChangeNothing) {
    QFile garbage(folder.filePath("garbage.mdb"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    const QStringList original = contents();

    auto run = cli({"restore", garbage.fileName()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QStringLiteral("无法恢复%1：不是数据库文件。\n").arg(garbage.fileName()));

    QFile blocker(folder.filePath("backups")); // a file where the folder would go
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    run = cli({"restore", folder.filePath("other.mdb")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QStringLiteral("无法写入备份：%1（%1不是文件夹），操作已取消。\n")
                           .arg(folder.filePath("backups")));
    EXPECT_EQ(contents(), original);

    EXPECT_EQ(cli({"restore"}).exitCode, 2);
    EXPECT_EQ(cli({"backups", "extra.mdb"}).exitCode, 2);
}

} // namespace
