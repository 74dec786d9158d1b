// Outputs never go over the database or its backups; a change that cannot happen keeps no
// backup; what stands in the way is named, with its path. Where permissions matter the commands
// run as a user who may not write what root may.

#include "Backups.h"
#include "CliDatabaseTest.h"
#include "FullFileSystem.h"
#include "ProgramSamples.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTime>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void setMode(const QString& path, mode_t mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

class SafeFilesCli : public CliDatabaseTest {
protected:
    void SetUp() override {
        CliDatabaseTest::SetUp();
        QList<ProgramRecord> programs;
        for (int set = 1; set <= 2; ++set)
            programs.append(sampleProgram(set, "001", 8));
        store(ProgramTable::MusicTab, programs);
    }
    void TearDown() override {
        // Whatever a test locked, the folder must still go.
        ::chmod(QFile::encodeName(folder.path()).constData(), 0700);
        for (const QString& path : {database(), backups()})
            ::chmod(QFile::encodeName(path).constData(), 0700);
    }

    QString backups() const { return folder.filePath("backups"); }
    QString at(const QString& name) const { return folder.filePath(name); }

    QList<BackupEntry> listed() const { return listBackups(backups()); }

    // A CSV of the database's programs, which `import --replace` takes in place of them.
    QString exported() const {
        const QString path = at("programs.csv");
        const CliRun run = cliOnDatabase({"export", "--output", path});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return path;
    }

    // tessaly-cli as a user that cannot write what is not theirs: the tests themselves when
    // they are one, nobody (through setpriv) when they run as root. Nothing when neither can be.
    std::optional<CliRun> cliAsUser(const QStringList& arguments) const {
        const QStringList cli = QStringList{"--db", database()} + arguments;
        if (::geteuid() != 0)
            return runCli(TESSALY_CLI, cli);
        const QString setpriv = QStandardPaths::findExecutable("setpriv");
        if (setpriv.isEmpty())
            return std::nullopt;
        return runCli(setpriv, QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                           "--", TESSALY_CLI} +
                                   cli);
    }
    bool canRunAsUser() const {
        const auto run = cliAsUser({"list"});
        return run && run->exitCode == 0;
    }
};

TEST_F(SafeFilesCli, NoOutputGoesOverTheDatabaseItsSideFilesOrABackup) {
    const auto backup =
        runCli(TESSALY_CLI, {"--db", database(), "import", "--replace", exported()});
    ASSERT_EQ(backup.exitCode, 0) << backup.err.toStdString();
    ASSERT_EQ(listed().size(), 1);
    const QString taken = listed().first().path;
    ASSERT_EQ(::symlink(QFile::encodeName(database()).constData(),
                        QFile::encodeName(at("week.csv")).constData()),
              0);
    ASSERT_EQ(::symlink(QFile::encodeName(taken).constData(),
                        QFile::encodeName(at("week.pdf")).constData()),
              0);
    const QString inUse = QStringLiteral("不能写入正在使用的数据库：%1");
    const QString aBackup = QStringLiteral("不能覆盖备份：%1");
    const struct {
        QStringList arguments;
        QString said;
    } cases[] = {
        {{"export", "--output", database()}, inUse.arg(database())},
        {{"export", "--output", at("week.csv")}, inUse.arg(at("week.csv"))},
        {{"export", "--set", "1", "--output", database() + "-journal"},
         inUse.arg(database() + "-journal")},
        {{"export", "--output", taken}, aBackup.arg(taken)},
        {{"timetable", "--set", "1", "--output", at("week.pdf")}, aBackup.arg(at("week.pdf"))},
        {{"--trace", database(), "list"}, inUse.arg(database())},
        {{"--trace", at("week.csv"), "backups"}, inUse.arg(at("week.csv"))},
        {{"--trace", at("backups/trace.log"), "list"}, aBackup.arg(at("backups/trace.log"))},
    };
    const QByteArray databaseBytes = bytesOf(database());
    const QByteArray backupBytes = bytesOf(taken);
    const QStringList files = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    const QStringList backupFiles = QDir(backups()).entryList(QDir::Files | QDir::Hidden);
    for (const auto& c : cases) {
        const QString what = c.arguments.join(' ');
        const CliRun run = cliOnDatabase(c.arguments);
        EXPECT_EQ(run.exitCode, 1) << what.toStdString();
        EXPECT_TRUE(run.err.contains(c.said)) << what.toStdString() << "\n"
                                              << run.err.toStdString();
        EXPECT_EQ(run.out, "") << what.toStdString();
        EXPECT_EQ(bytesOf(database()), databaseBytes) << what.toStdString();
        EXPECT_EQ(bytesOf(taken), backupBytes) << what.toStdString();
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), files);
        EXPECT_EQ(QDir(backups()).entryList(QDir::Files | QDir::Hidden), backupFiles);
    }
    EXPECT_EQ(listed().size(), 1);
}

TEST_F(SafeFilesCli, AChangeThatCannotBeWrittenKeepsNoBackupAndPrunesNone) {
    const QString file = exported();
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(runCli(TESSALY_CLI, {"--db", database(), "import", "--replace", file}).exitCode,
                  0);
    const auto before = listed();
    ASSERT_EQ(before.size(), 2);
    // The folders open to anyone, so that only the database itself stands in the way.
    for (const QString& path : {folder.path(), backups(), backups() + "/.incomplete"})
        if (QFileInfo::exists(path))
            setMode(path, 0777);
    setMode(file, 0644);
    setMode(database(), 0444);
    if (!canRunAsUser())
        GTEST_SKIP() << "no user to run tessaly-cli as who cannot write the database";

    for (int i = 0; i <= KeptBackups; ++i) {
        const auto run = cliAsUser({"import", "--replace", file});
        ASSERT_TRUE(run);
        ASSERT_EQ(run->exitCode, 1) << run->out.toStdString() << run->err.toStdString();
        if (i == 0)
            EXPECT_TRUE(run->out.contains(
                QStringLiteral("无法写入数据库%1（没有权限），操作已取消。").arg(database())))
                << run->out.toStdString();
    }
    const auto after = listed();
    ASSERT_EQ(after.size(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(after[i].path, before[i].path);

    // The database may be written, its folder not: SQLite could make no journal there.
    setMode(database(), 0666);
    setMode(folder.path(), 0555);
    const auto run = cliAsUser({"import", "--replace", file});
    ASSERT_TRUE(run);
    EXPECT_EQ(run->exitCode, 1);
    EXPECT_TRUE(run->out.contains(
        QStringLiteral("无法在数据库所在的文件夹%1中写入（没有权限）").arg(folder.path())))
        << run->out.toStdString();
    EXPECT_FALSE(run->out.contains("数据库只读")) << run->out.toStdString();
    EXPECT_EQ(listed().size(), 2);
}

// A CSV of `count` programs of set 1, a minute apart.
QString programsFile(const QString& path, int count) {
    QStringList lines{"OrderNo,KSTime,JSTime,JMTaoNo,YXCX,MP3,ShouYin,YuRe,YuanShi,KS1,KS2,KS3,JS1,"
                      "JS2,JS3,Week1,Week2,Week3,Week4,Week5,Week6,Week7,QuMu1,QuMu2,QuMu3,QuMu4,"
                      "QuMu5,QuMu6,YinLiang,FQ1,FQ2,FQ3,FQ4,FQ5,FQ6,FQ7,FQ8,FQ9,FQ10,FQ11,FQ12,"
                      "FQ13,FQ14,FQ15,FQ16,FQ17,FQ18,FQ19,FQ20,FQ21,FQ22,FQ23,FQ24,FQ25,FQ26,FQ27,"
                      "FQ28,FQ29,FQ30,FQ31,FQ32"};
    for (int i = 0; i < count; ++i) {
        const QTime start = QTime(6, 0).addSecs(60 * i);
        const QTime end = start.addSecs(30);
        lines.append(QStringLiteral("%1,%2,%3,第一套,,1,0,1,1,%4,%5,%6,%7,%8,%9,1,1,1,1,1,1,1,"
                                    "001,002,003,000,000,000,20")
                         .arg(i % 250 + 1, 3, 10, QLatin1Char('0'))
                         .arg(start.toString("HH:mm:ss"), end.toString("HH:mm:ss"))
                         .arg(start.hour())
                         .arg(start.minute())
                         .arg(start.second())
                         .arg(end.hour())
                         .arg(end.minute())
                         .arg(end.second()) +
                     QString(",1").repeated(32));
    }
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines.join("\r\n").toUtf8());
    return path;
}

// A full disk where the backup fits and the import does not: the import's backup goes with it.
TEST_F(SafeFilesCli, AnImportThatFillsTheDiskLeavesNoBackupOfItsOwn) {
    const FullFileSystem disk(at("disk"));
    if (!disk.mounted())
        GTEST_SKIP() << "a small file system can be mounted only by root";
    const QString onDisk = disk.filePath(databaseFileName());
    QString error;
    ASSERT_TRUE(createPlayerDatabase(onDisk, &error)) << error.toStdString();
    const auto cli = [&](const QStringList& arguments) {
        return runCli(TESSALY_CLI, QStringList{"--db", onDisk} + arguments);
    };
    ASSERT_EQ(cli({"import", programsFile(at("one.csv"), 1)}).exitCode, 0);
    const auto before = listBackups(disk.filePath("backups"));
    ASSERT_EQ(before.size(), 1);

    const QString many = programsFile(at("many.csv"), 240);
    disk.fillLeaving(2 * QFileInfo(onDisk).size() + 16 * 1024);
    const CliRun run = cli({"import", "--set", "2", many});
    EXPECT_EQ(run.exitCode, 1);
    // Said with the file it concerns.
    EXPECT_TRUE(run.out.contains(onDisk + "：磁盘已满")) << run.out.toStdString();
    const auto after = listBackups(disk.filePath("backups"));
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after.first().path, before.first().path);
    EXPECT_TRUE(QDir(disk.filePath("backups/.incomplete")).isEmpty());
}

TEST_F(SafeFilesCli, WhatCannotBeReadIsSaidSoWithItsPath) {
    ASSERT_EQ(runCli(TESSALY_CLI, {"--db", database(), "import", "--replace", exported()}).exitCode,
              0);
    const QString backup = listed().first().path;
    setMode(folder.path(), 0755);
    setMode(backups(), 0);
    if (!canRunAsUser())
        GTEST_SKIP() << "no user to run tessaly-cli as who cannot read the backups";

    auto run = cliAsUser({"backups"});
    ASSERT_TRUE(run);
    EXPECT_EQ(run->exitCode, 1);
    EXPECT_EQ(run->out, QStringLiteral("无法读取备份文件夹%1（没有权限）\n").arg(backups()));

    run = cliAsUser({"restore", backup});
    ASSERT_TRUE(run);
    EXPECT_EQ(run->exitCode, 1);
    EXPECT_EQ(run->out, QStringLiteral("无法恢复%1：无法读取文件（没有权限）。\n").arg(backup));

    setMode(database(), 0);
    run = cliAsUser({"list"});
    ASSERT_TRUE(run);
    EXPECT_EQ(run->exitCode, 2);
    EXPECT_TRUE(
        run->err.contains(QStringLiteral("%1：无法读取数据库文件（没有权限）").arg(database())))
        << run->err.toStdString();
}

TEST_F(SafeFilesCli, ARelativeConfigHomeIsIgnored) {
    const QTemporaryDir home;
    const QString relative = QStringLiteral("relative-config-%1").arg(::getpid());
    const CliRun run = runCli(TESSALY_CLI, {"ports", "--set", "3", "socket://127.0.0.1:9"},
                              {{"HOME", home.path()}, {"XDG_CONFIG_HOME", relative}});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(QDir(home.path()).filePath(".config/Tessaly/Tessaly.conf")));
    EXPECT_FALSE(QFileInfo::exists(relative));
    QDir(relative).removeRecursively();
}

} // namespace
