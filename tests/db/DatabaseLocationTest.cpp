#include "DatabaseLocation.h"
#include "PlayerDatabase.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

using namespace tessaly;

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// An executable's folder, a user data folder and a template, all in one temporary folder.
class DatabaseLocationTest : public ::testing::Test {
protected:
    QString path(const QString& relative) const { return root.filePath(relative); }
    DatabaseLocation locate() const {
        return locateDatabase(path("bin"), path("data/Tessaly"), path("share/PlayerDB.mdb"));
    }

    QTemporaryDir root;
};

} // namespace

TEST_F(DatabaseLocationTest, TheDatabaseBesideTheProgramComesFirst) {
    write(path("bin/PlayerDB.mdb"), "portable");
    write(path("data/Tessaly/PlayerDB.mdb"), "installed");
    const auto found = locate();
    EXPECT_EQ(found.path, path("bin/PlayerDB.mdb"));
    EXPECT_EQ(found.folder, path("bin"));
    EXPECT_FALSE(found.laidFresh);
}

// A database that is there, even a damaged one, is left as it is: opening it reports the fault.
TEST_F(DatabaseLocationTest, AnExistingUserDatabaseIsNeverReplaced) {
    write(path("share/PlayerDB.mdb"), "template");
    write(path("data/Tessaly/PlayerDB.mdb"), "damaged");
    const auto found = locate();
    EXPECT_EQ(found.path, path("data/Tessaly/PlayerDB.mdb"));
    EXPECT_FALSE(found.laidFresh);
    EXPECT_EQ(contents(found.path), "damaged");
}

TEST_F(DatabaseLocationTest, TheFirstRunLaysAWritableCopyOfTheTemplate) {
    write(path("share/PlayerDB.mdb"), "template");
    QFile::setPermissions(path("share/PlayerDB.mdb"), QFile::ReadOwner | QFile::ReadOther);
    auto found = locate();
    EXPECT_TRUE(found.laidFresh);
    EXPECT_TRUE(found.error.isEmpty()) << found.error.toStdString();
    EXPECT_EQ(found.path, path("data/Tessaly/PlayerDB.mdb"));
    EXPECT_EQ(contents(found.path), "template");
    EXPECT_TRUE(QFile::permissions(found.path) & QFile::WriteOwner);
    EXPECT_FALSE(QFile::exists(found.path + ".new"));

    found = locate(); // the second run finds it
    EXPECT_FALSE(found.laidFresh);
}

TEST_F(DatabaseLocationTest, WithoutATemplateTheBuiltInSchemaIsLaid) {
    const auto found = locate();
    ASSERT_TRUE(found.laidFresh) << found.error.toStdString();
    QString error;
    EXPECT_FALSE(createPlayerDatabase(found.path, &error)); // refuses: a database is there
    EXPECT_TRUE(contents(found.path).startsWith("SQLite format 3"));
}

TEST_F(DatabaseLocationTest, AFolderThatCannotBeMadeIsReported) {
    write(path("data"), "a file where the folder should be");
    const auto found = locate();
    EXPECT_FALSE(found.laidFresh);
    EXPECT_FALSE(found.error.isEmpty());
    EXPECT_FALSE(QFile::exists(found.path));
}

// Tessaly's data folder whatever the running program is named (tessaly-cli included).
TEST(UserDataFolder, FollowsXdgDataHomeWithTheApplicationNameTessaly) {
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");
    const QByteArray savedHome = qgetenv("HOME");
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    EXPECT_EQ(userDataFolder(), home.filePath("Tessaly"));
    // Without HOME the account's own home folder stands in; never the root's /.local/share.
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("HOME");
    const passwd* account = ::getpwuid(::getuid());
    ASSERT_NE(account, nullptr);
    QString error;
    const QString folder = userDataFolder(&error);
    if (QDir::isAbsolutePath(account->pw_dir) && !QDir(account->pw_dir).isRoot())
        EXPECT_EQ(folder, QDir(account->pw_dir).filePath(".local/share/Tessaly"));
    EXPECT_FALSE(folder.startsWith("/.local")) << folder.toStdString();
    for (const auto& [name, value] : {std::pair{"XDG_DATA_HOME", savedData}, {"HOME", savedHome}})
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
}

// XDG_DATA_HOME counts only when absolute, as the XDG rules say; the home folder is HOME when
// that is an absolute path to a folder other than the root, else the account's; without
// either there is no data folder, and the reason says so.
TEST(UserDataFolder, IsNeverLaidAtTheRootOrARelativePath) {
    QTemporaryDir root;
    const QString data = root.filePath("data");
    const QString home = root.filePath("home");
    const QString account = root.filePath("account");
    for (const QString& folder : {data, home, account})
        ASSERT_TRUE(QDir().mkpath(folder));
    const auto under = [](const QString& homeFolder) {
        return homeFolder + "/.local/share/Tessaly";
    };
    const struct {
        const char* name;
        QString xdgDataHome, home, accountHome, expected;
    } cases[] = {
        {"XDG_DATA_HOME", data, home, account, data + "/Tessaly"},
        {"XDG_DATA_HOME without a home", data, "", "", data + "/Tessaly"},
        {"relative XDG_DATA_HOME is ignored", "data", home, account, under(home)},
        {"no XDG_DATA_HOME", "", home, account, under(home)},
        {"HOME unset", "", "", account, under(account)},
        {"relative HOME", "", "home", account, under(account)},
        {"HOME is the root", "", "/", account, under(account)},
        {"HOME is no folder", "", root.filePath("gone"), account, under(account)},
        {"no home at all", "", "", "", ""},
        {"the root only", "", "/", "/", ""},
        {"a relative XDG_DATA_HOME and no home", "data", "", "", ""},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_EQ(userDataFolder(c.xdgDataHome, c.home, c.accountHome, &error), c.expected)
            << c.name;
        EXPECT_EQ(error.isEmpty(), !c.expected.isEmpty()) << c.name << ": " << error.toStdString();
    }
}
