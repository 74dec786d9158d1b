#include "DbTesting.h"
#include "PlayerDatabase.h"
#include "ProgramStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <functional>
#include <optional>

using namespace tessaly;

namespace {

void writeGarbage(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, '\x5a'));
}

// A real SQLite database, but not the player's.
void writeForeignDatabase(const QString& path) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("CREATE TABLE Other (x INTEGER)");
    }
    QSqlDatabase::removeDatabase("foreign");
}

} // namespace

// The box keeps its text; its details say why, for whoever sets the database up.
TEST(DataModule, FailsWithTheSetUpBoxWhenTheDatabaseIsUnusable) {
    const MessageBox expectedBox{"提示信息",
                                 "连接数据库失败！请设置数据库",
                                 MessageBox::Icon::None,
                                 {MessageBox::Button::Ok},
                                 MessageBox::Button::Ok};
    // Another program's exclusive transaction, held while the module opens the file.
    std::optional<QSqlDatabase> locker;
    const auto lockDatabase = [&](const QString& path) {
        QString error;
        ASSERT_TRUE(createPlayerDatabase(path, &error)) << error.toStdString();
        locker = QSqlDatabase::addDatabase("QSQLITE", "locker");
        locker->setDatabaseName(path);
        locker->setConnectOptions("QSQLITE_BUSY_TIMEOUT=0");
        ASSERT_TRUE(locker->open());
        ASSERT_TRUE(QSqlQuery(*locker).exec("BEGIN EXCLUSIVE"));
    };
    struct Case {
        const char* name;
        std::function<void(const QString&)> prepare;
        const char* cause;
    };
    const QList<Case> cases{
        {"missing file", [](const QString&) {}, "无法打开数据库文件"},
        {"garbage file", writeGarbage, "文件不是数据库"},
        {"database without the program tables", writeForeignDatabase, "没有节目表"},
        {"locked by another program", lockDatabase, "数据库被其他程序锁定"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(databaseFileName());
        c.prepare(path);
        const bool existed = QFile::exists(path);

        ScriptedPrompter prompter;
        {
            DataModule module;
            EXPECT_FALSE(module.ConnectDatabase(prompter, dir.path()));
            EXPECT_FALSE(module.isConnected());
        }
        ASSERT_EQ(prompter.shown().size(), 1);
        MessageBox shown = prompter.shown().first();
        EXPECT_TRUE(shown.details.contains(QString::fromUtf8(c.cause)))
            << shown.details.toStdString();
        EXPECT_TRUE(shown.details.startsWith(path + "：")) << shown.details.toStdString();
        shown.details.clear();
        EXPECT_EQ(shown, expectedBox);
        // Opening never lays a database of its own.
        EXPECT_EQ(QFile::exists(path), existed);
        if (locker) {
            locker->close();
            locker.reset();
            QSqlDatabase::removeDatabase("locker");
        }
    }
}

TEST(DataModule, OpensADatabaseInAFolderWithChineseBlanksAndUriCharacters) {
    const QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QString folder = base.filePath("节目 数据 #1 100%?");
    ASSERT_TRUE(QDir().mkpath(folder));
    QString error;
    ASSERT_TRUE(createPlayerDatabase(folder + "/" + databaseFileName(), &error))
        << error.toStdString();

    ScriptedPrompter prompter;
    DataModule module;
    ASSERT_TRUE(module.ConnectDatabase(prompter, folder)) << module.errorText().toStdString();
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(module.AppDir(), folder + "/");
    EXPECT_EQ(module.databasePath(), folder + "/PlayerDB.mdb");
    EXPECT_EQ(ProgramStore(module.database()).count(ProgramTable::MusicTab), 0);
}

TEST(DataModule, LooksBesideTheRunningExecutableByDefault) {
    ScriptedPrompter prompter;
    DataModule module;
    module.ConnectDatabase(prompter); // whether a database lies there does not matter here
    EXPECT_EQ(module.AppDir(), QCoreApplication::applicationDirPath() + "/");
}

TEST(DataModule, InstancesHaveConnectionsOfTheirOwn) {
    const QTemporaryDir dir;
    ASSERT_TRUE(createPlayerDatabase(dir.filePath(databaseFileName()), nullptr));
    ScriptedPrompter prompter;
    DataModule first;
    ASSERT_TRUE(first.ConnectDatabase(prompter, dir.path()));
    {
        DataModule second;
        ASSERT_TRUE(second.ConnectDatabase(prompter, dir.path()));
        EXPECT_NE(first.database().connectionName(), second.database().connectionName());
    }
    EXPECT_TRUE(first.isConnected());
    EXPECT_EQ(ProgramStore(first.database()).count(ProgramTable::MusicReadTab), 0);
}
