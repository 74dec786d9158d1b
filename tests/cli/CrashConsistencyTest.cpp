// tessaly-cli killed (SIGKILL) at random moments of a command that rewrites many rows: the
// database must afterwards pass its integrity check and hold exactly what it held before the
// command or exactly what the command leaves, never a mix, and every backup listed must be
// complete.

#include "Backups.h"
#include "DataModule.h"
#include "DatabaseDump.h"
#include "InterchangeExport.h"
#include "PlayerDatabase.h"
#include "PlayerProcess.h"
#include "PlayerSimulator.h"
#include "ProgramSamples.h"
#include "ProgramStore.h"
#include "RecordFrame.h"
#include "SettingsStore.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <memory>
#include <random>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// A program of `set` numbered `index`, its start spread over the day; `salt` tells two
// generations apart.
ProgramRecord program(int set, int index, int salt) {
    ProgramRecord record = sampleProgram(set, formatOrderNo(index % 999 + 1), index % 24,
                                         QString::number((index + salt) % 1000));
    record.KS2 = index / 24 % 60;
    record.KSTime = timeOfDay(record.KS1, record.KS2, 0);
    record.YinLiang = (index + salt) % 39;
    return record;
}

// Lays PlayerDB.mdb (or `name`) in folder with `perSet` programs in each of the four sets and
// `readBack` programs of set 2 in the read-back table.
void layDatabase(const QDir& folder, int perSet, int readBack, int salt,
                 const QString& name = databaseFileName()) {
    QString error;
    ASSERT_TRUE(createPlayerDatabase(folder.filePath(name), &error)) << error.toStdString();
    DataModule data;
    ScriptedPrompter prompter;
    ASSERT_TRUE(data.ConnectDatabaseFile(prompter, folder.filePath(name)));
    ProgramStore store(data.database());
    Transaction transaction = store.beginTransaction();
    for (int set = FirstSet; set <= LastSet; ++set)
        for (int i = 0; i < perSet; ++i)
            ASSERT_TRUE(store.insert(ProgramTable::MusicTab, program(set, i, salt)));
    for (int i = 0; i < readBack; ++i)
        ASSERT_TRUE(store.insert(ProgramTable::MusicReadTab, program(2, i, salt + 7)));
    ASSERT_TRUE(SettingsStore(data.database()).writeJM1(salt % 60, salt % 50, &error));
    ASSERT_TRUE(transaction.commit());
}

// The player's state file: `perSet` programs in each set, pre-heat 5 and delay 10.
void layPlayer(const QDir& folder, int perSet) {
    PlayerSimulator player;
    for (int set = FirstSet; set <= LastSet; ++set) {
        std::vector<RecordFrame> frames;
        for (int i = 0; i < perSet; ++i)
            frames.push_back(
                BuildRecordFrame(program(set, i, 500), perSet, i + 1, set).frame.value());
        player.setPrograms(set, frames);
    }
    player.setPreheatDelay(5, 10);
    QString error;
    ASSERT_TRUE(player.saveState(folder.filePath("player.json"), &error)) << error.toStdString();
}

// A CSV of every program of the database `source` in folder, as `export` writes it.
void layImportFile(const QDir& folder, const QString& source, const QString& name) {
    DataModule data;
    ScriptedPrompter prompter;
    ASSERT_TRUE(data.ConnectDatabaseFile(prompter, folder.filePath(source)));
    QString error;
    const auto programs =
        programsForExport(data.database(), ProgramTable::MusicTab, std::nullopt, &error);
    ASSERT_TRUE(programs) << error.toStdString();
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(writePrograms(*programs, InterchangeFormat::Csv));
}

// One command that rewrites many rows, and what it starts from. To cover another command, add
// a row to killScenarios().
struct KillScenario {
    const char* name;
    QStringList command; // after --db and --port; runs in the folder that prepare() filled
    int kills;
    bool talksToPlayer;
    // Lays PlayerDB.mdb as it is before the command, and whatever else the command reads.
    void (*prepare)(const QDir& folder);
};

// Tests are named by their command, not by the scenario's bytes.
void PrintTo(const KillScenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

std::vector<KillScenario> killScenarios() {
    return {
        {"read_all",
         {"read", "--all"},
         30,
         true,
         [](const QDir& folder) {
             layDatabase(folder, 120, 30, 1);
             layPlayer(folder, 10);
         }},
        {"save_read",
         {"save-read"},
         30,
         true,
         [](const QDir& folder) {
             layDatabase(folder, 150, 250, 2);
             layPlayer(folder, 0);
         }},
        {"restore",
         {"restore", "other.mdb"},
         50,
         false,
         [](const QDir& folder) {
             layDatabase(folder, 300, 255, 3);
             layDatabase(folder, 200, 100, 4, "other.mdb");
         }},
        {"import_replace",
         {"import", "--replace", "programs.csv"},
         30,
         false,
         [](const QDir& folder) {
             layDatabase(folder, 150, 20, 5);
             layDatabase(folder, 200, 0, 6, "source.mdb");
             layImportFile(folder, "source.mdb", "programs.csv");
         }},
    };
}

QStringList dumpFile(const QString& path, QString* integrity) {
    static int counter = 0;
    const QString name = QStringLiteral("crash-check-%1").arg(++counter);
    QStringList dump;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path); // read-write, so that a hot journal is rolled back
        if (db.open()) {
            QSqlQuery check(db);
            *integrity = check.exec("PRAGMA integrity_check") && check.next()
                             ? check.value(0).toString()
                             : QStringLiteral("no answer");
            dump = dumpTables(db);
        } else {
            *integrity = QStringLiteral("cannot open");
        }
    }
    QSqlDatabase::removeDatabase(name);
    return dump;
}

// One run of the command in a folder of its own, on a player of its own.
class KilledRun {
public:
    KilledRun(const QString& templateFolder, const QString& folder, const KillScenario& scenario)
        : m_folder(folder) {
        QDir().mkpath(folder);
        for (const QString& file : QDir(templateFolder).entryList(QDir::Files))
            QFile::copy(QDir(templateFolder).filePath(file), QDir(folder).filePath(file));
        QStringList environment = QProcess::systemEnvironment();
        if (scenario.talksToPlayer) {
            m_player = std::make_unique<PlayerProcess>(
                TESSALY_PLAYER_SIM, QStringList{"--state", QDir(folder).filePath("player.json")});
            environment.append("TESSALY_COM1=" + m_player->device());
        }
        m_process.setEnvironment(environment);
        m_process.setWorkingDirectory(folder);
        m_process.setStandardOutputFile(QDir(folder).filePath("out.txt"));
        m_process.setStandardErrorFile(QDir(folder).filePath("err.txt"));
        m_started = QDateTime::currentDateTime();
        m_clock.start();
        m_process.start(TESSALY_CLI,
                        QStringList{"--db", databaseFileName(), "--port", "1"} + scenario.command);
        m_process.waitForStarted(5000);
    }
    ~KilledRun() {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    qint64 elapsedMs() const { return m_clock.elapsed(); }
    void killAt(qint64 ms) { m_killAtMs = ms; }
    void killAfterBackupBegins(qint64 ms) { m_afterBackupMs = ms; }
    // Kills the process when its moment has come; false once it is over.
    bool poll() {
        if (m_process.state() == QProcess::NotRunning || m_process.waitForFinished(0))
            return false;
        if (m_killAtMs < 0 && backupBegun())
            m_killAtMs = elapsedMs() + m_afterBackupMs;
        if (m_killAtMs >= 0 && elapsedMs() >= m_killAtMs) {
            ::kill(pid_t(m_process.processId()), SIGKILL);
            m_process.waitForFinished(5000);
            return false;
        }
        return true;
    }
    bool finish() {
        return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(60000);
    }
    bool wasKilled() const { return m_process.exitStatus() == QProcess::CrashExit; }
    int exitCode() const { return m_process.exitCode(); }
    QString output() const {
        QFile out(QDir(m_folder).filePath("out.txt"));
        out.open(QIODevice::ReadOnly);
        return QString::fromUtf8(out.readAll());
    }

    QString database() const { return QDir(m_folder).filePath(databaseFileName()); }
    QString backups() const { return QDir(m_folder).filePath("backups"); }
    // Milliseconds from the start until the backup was complete; -1 when there is none.
    qint64 backupDoneMs() const {
        const auto entries = listBackups(backups());
        if (entries.isEmpty())
            return -1;
        return m_started.msecsTo(QFileInfo(entries.first().path).lastModified());
    }
    bool backupBegun() const {
        return !QDir(backups()).entryList({"PlayerDB-*"}, QDir::Files).isEmpty();
    }
    // A transaction or a backup was cut short.
    bool leftWorkHalfDone() const {
        return QFileInfo(database() + "-journal").size() > 0 ||
               !QDir(backups() + "/.incomplete").entryList(QDir::Files).isEmpty();
    }

private:
    QString m_folder;
    std::unique_ptr<PlayerProcess> m_player;
    QProcess m_process;
    QDateTime m_started;
    QElapsedTimer m_clock;
    qint64 m_killAtMs = -1;
    qint64 m_afterBackupMs = 0;
};

class CrashConsistencyTest : public ::testing::TestWithParam<KillScenario> {};

TEST_P(CrashConsistencyTest, KilledAnywhereLeavesBeforeOrAfterAndOnlyWholeBackups) {
    const KillScenario& scenario = GetParam();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString templateFolder = root.filePath("template");
    QDir().mkpath(templateFolder);
    scenario.prepare(QDir(templateFolder));
    if (HasFatalFailure())
        return;
    QString integrity;
    const QStringList before =
        dumpFile(QDir(templateFolder).filePath(databaseFileName()), &integrity);

    // An uninterrupted run gives the contents after, the run's length and the moment its
    // backup was complete, which is when the rewrite begins.
    QStringList after;
    qint64 lengthMs = 0;
    qint64 backupMs = 0;
    {
        KilledRun clean(templateFolder, root.filePath("clean"), scenario);
        ASSERT_TRUE(clean.finish());
        lengthMs = clean.elapsedMs();
        ASSERT_EQ(clean.exitCode(), 0) << clean.output().toStdString();
        after = dumpFile(clean.database(), &integrity);
        backupMs = clean.backupDoneMs();
        ASSERT_GE(backupMs, 0);
    }
    ASSERT_NE(after, before);

    // A quarter of the kills fall anywhere in the run; the rest a random moment after the
    // backup began, which the run shows by its temporary file, so that the backup and the
    // rewrite after it are hit whatever the machine's load.
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    const qint64 rewriteMs = (lengthMs - backupMs) * 3 + 20;

    int endedBefore = 0, endedAfter = 0, halfDone = 0, killed = 0;
    constexpr int Parallel = 5;
    for (int first = 0; first < scenario.kills; first += Parallel) {
        std::vector<std::unique_ptr<KilledRun>> runs;
        for (int i = first; i < std::min(first + Parallel, scenario.kills); ++i) {
            runs.push_back(std::make_unique<KilledRun>(
                templateFolder, root.filePath(QString::number(i)), scenario));
            if (std::uniform_int_distribution<int>(0, 3)(random) == 0)
                runs.back()->killAt(
                    std::uniform_int_distribution<qint64>(0, lengthMs * 11 / 10)(random));
            else
                runs.back()->killAfterBackupBegins(
                    std::uniform_int_distribution<qint64>(0, rewriteMs)(random));
        }
        for (bool running = true; running;) {
            running = false;
            for (const auto& run : runs)
                running = run->poll() || running;
            QThread::msleep(1);
        }
        for (const auto& run : runs) {
            SCOPED_TRACE(QStringLiteral("seed %1, run folder %2")
                             .arg(seed)
                             .arg(QFileInfo(run->database()).path())
                             .toStdString());
            ASSERT_TRUE(run->finish());
            killed += run->wasKilled();
            halfDone += run->leftWorkHalfDone();
            const QStringList found = dumpFile(run->database(), &integrity);
            EXPECT_EQ(integrity, "ok");
            EXPECT_TRUE(found == before || found == after) << "a mix of before and after";
            endedBefore += found == before;
            endedAfter += found == after;
            const auto listed = listBackups(run->backups());
            EXPECT_LE(listed.size(), 1);
            for (const auto& backup : listed) {
                EXPECT_EQ(dumpFile(backup.path, &integrity), before) << backup.path.toStdString();
                EXPECT_EQ(integrity, "ok") << backup.path.toStdString();
            }
        }
    }
    std::printf("%s: %d runs, %d killed, %d left before, %d after, %d cut a transaction or a "
                "backup short (run %lld ms, backup done at %lld ms, seed %u)\n",
                scenario.name, scenario.kills, killed, endedBefore, endedAfter, halfDone, lengthMs,
                backupMs, seed);
    // The kills spanned the rewrite: some came before it, some after.
    EXPECT_GT(endedBefore, 0);
    EXPECT_GT(endedAfter, 0);
}

INSTANTIATE_TEST_SUITE_P(Commands, CrashConsistencyTest, ::testing::ValuesIn(killScenarios()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
