#include "CliProcess.h"
#include "PlayerDatabase.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// tessaly-cli copied into a folder without a database beside it, as an installed program is,
// with its own HOME and XDG_DATA_HOME.
class InstalledCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        QDir().mkpath(root.filePath("bin"));
        ASSERT_TRUE(QFile::copy(TESSALY_CLI, executable()));
    }

    QString executable() const { return root.filePath("bin/tessaly-cli"); }
    QString userDatabase() const { return root.filePath("data/Tessaly/PlayerDB.mdb"); }

    CliRun cli(const QStringList& arguments) const {
        return runCli(executable(), arguments,
                      {{"HOME", root.filePath("home")}, {"XDG_DATA_HOME", root.filePath("data")}});
    }

    QTemporaryDir root;
};

} // namespace

TEST_F(InstalledCliTest, TheFirstRunLaysTheDatabaseInTheUserDataFolderAndSaysWhere) {
    auto run = cli({"list"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(userDatabase()));
    EXPECT_TRUE(run.err.contains("首次运行") && run.err.contains(userDatabase()))
        << run.err.toStdString();

    run = cli({"--verbose", "list"}); // found now: no second notice, the path on request
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("首次运行")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("数据库：" + userDatabase())) << run.err.toStdString();
}

TEST_F(InstalledCliTest, ADamagedUserDatabaseStaysAndFailsAsAnyDatabaseDoes) {
    QDir().mkpath(root.filePath("data/Tessaly"));
    QFile damaged(userDatabase());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, 'x'));
    damaged.close();

    const auto run = cli({"list"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.contains("连接数据库失败！请设置数据库"));
    EXPECT_EQ(QFileInfo(userDatabase()).size(), 4096);
}

TEST_F(InstalledCliTest, ADatabaseBesideTheProgramOrNamedWithDbComesFirst) {
    QString error;
    ASSERT_TRUE(createPlayerDatabase(root.filePath("named.mdb"), &error));
    auto run = cli({"--verbose", "--db", root.filePath("named.mdb"), "list"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("数据库：" + root.filePath("named.mdb")));

    ASSERT_TRUE(createPlayerDatabase(root.filePath("bin/PlayerDB.mdb"), &error));
    run = cli({"--verbose", "list"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(root.filePath("bin/PlayerDB.mdb"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(userDatabase()));
}
