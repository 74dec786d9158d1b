#include "CliDatabaseTest.h"
#include "FileContents.h"
#include "FullFileSystem.h"
#include "WeekSamples.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/stat.h>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// A database whose set 1 holds the sample week.
class WriteFailureCli : public CliDatabaseTest {
protected:
    void SetUp() override {
        CliDatabaseTest::SetUp();
        store(ProgramTable::MusicTab, sampleWeek(1));
    }

    // tessaly-cli on the database with its standard output going into `stdoutFile`.
    CliRun cliInto(const QString& stdoutFile, const QStringList& arguments) {
        QProcess process;
        process.setStandardOutputFile(stdoutFile);
        process.start(TESSALY_CLI, QStringList{"--db", database()} + arguments);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(), {}, QString::fromUtf8(process.readAllStandardError())};
    }
};

} // namespace

// On a full disk every file that tessaly-cli writes fails with the reason, the file it was to
// replace stays as it was, and nothing half written is left beside it.
TEST_F(WriteFailureCli, OnAFullDiskAWriteFailsAndTheEarlierFileStays) {
    const FullFileSystem disk(folder.filePath("disk"));
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    const QString csv = disk.filePath("programs.csv");
    const QString json = disk.filePath("programs.json");
    const struct {
        QStringList arguments;
        QString message;
    } cases[] = {
        {{"export", "--output", csv}, "tessaly-cli：" + csv + "：磁盘空间不足"},
        {{"export", "--output", json}, "tessaly-cli：" + json + "：磁盘空间不足"},
        {{"timetable", "--set", "1", "--output", disk.filePath("week.pdf")},
         "周节目表导出失败：磁盘空间不足"},
        {{"timetable", "--output", disk.filePath("all.pdf")}, "周节目表导出失败：磁盘空间不足"},
        {{"timetable", "--set", "1", "--output", disk.filePath("week.png")},
         "周节目表导出失败：磁盘空间不足"},
        {{"--lang", "en", "timetable", "--set", "1", "--output", disk.filePath("english.png")},
         "Weekly timetable export failed: not enough disk space"},
    };
    const QByteArray earlier = "an earlier file\n";
    for (const auto& c : cases)
        write(c.arguments.last(), earlier);
    disk.fill();
    const QStringList before = QDir(disk.filePath({})).entryList(QDir::Files);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun run = cliOnDatabase(c.arguments, {{"QT_QPA_PLATFORM", "offscreen"}});
        EXPECT_EQ(run.exitCode, 1);
        const QString said = run.out + run.err;
        EXPECT_TRUE(said.startsWith(c.message + '\n')) << said.toStdString();
        EXPECT_EQ(contents(c.arguments.last()), earlier);
        EXPECT_EQ(QDir(disk.filePath({})).entryList(QDir::Files), before);
    }
}

// Standard output that does not take what a command writes (here /dev/full) fails the
// command; the data written there included (an export to standard output).
TEST_F(WriteFailureCli, StandardOutputThatIsFullFailsTheCommand) {
    const struct {
        QStringList arguments;
        QString message;
    } cases[] = {
        {{"export"}, "tessaly-cli：标准输出：磁盘空间不足\n"},
        {{"export", "--format", "json", "--set", "1"}, "tessaly-cli：标准输出：磁盘空间不足\n"},
        {{"list"}, "tessaly-cli：无法写入标准输出：磁盘空间不足\n"},
        {{"--help"}, "tessaly-cli：无法写入标准输出：磁盘空间不足\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun run = cliInto("/dev/full", c.arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.message);
    }
}

// A pipe or a device named as the output is written into, never replaced by a plain file.
TEST_F(WriteFailureCli, AnExportIntoAPipeGoesThroughIt) {
    const QString fifo = folder.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess reader;
    reader.start("cat", {fifo});
    ASSERT_TRUE(reader.waitForStarted());
    const CliRun run = cliOnDatabase({"export", "--set", "1", "--output", fifo});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_TRUE(reader.waitForFinished(10000));
    const QString file = folder.filePath("set1.csv");
    ASSERT_EQ(cliOnDatabase({"export", "--set", "1", "--output", file}).exitCode, 0);
    EXPECT_EQ(reader.readAllStandardOutput(), contents(file));
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode)) << "still the pipe";
}
