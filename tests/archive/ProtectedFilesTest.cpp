#include "ProtectedFiles.h"
#include "Backups.h"
#include "DbTesting.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

using namespace tessaly;

namespace {

class ProtectedFilesTest : public PlayerDbTest {
protected:
    QString database() const { return dir.filePath("PlayerDB.mdb"); }
    QString at(const QString& name) const { return dir.filePath(name); }
    QString refusal(const QString& target) const {
        return protectedFileRefusal(module.database(), target);
    }
    static void link(const QString& from, const QString& to) {
        ASSERT_EQ(::symlink(QFile::encodeName(to).constData(), QFile::encodeName(from).constData()),
                  0);
    }
    static void hardLink(const QString& from, const QString& to) {
        ASSERT_EQ(::link(QFile::encodeName(to).constData(), QFile::encodeName(from).constData()),
                  0);
    }
};

TEST_F(ProtectedFilesTest, TheDatabaseItsSideFilesAndItsBackupsAreRefusedByAnyName) {
    QString error;
    const auto backup = takeBackup(module.database(), "copy", &error);
    ASSERT_TRUE(backup) << error.toStdString();
    ASSERT_TRUE(QDir().mkpath(at("elsewhere")));
    ASSERT_TRUE(QDir().mkpath(at("hidden")));
    link(at("week.csv"), database());
    link(at("elsewhere/log.txt"), database() + "-journal"); // names no file yet
    link(at("same-folder"), dir.path());
    link(at("to-backups"), at("backups"));
    hardLink(at("second-name.mdb"), database());
    hardLink(at("hidden/old.mdb"), *backup);

    const QString inUse = QStringLiteral("不能写入正在使用的数据库：%1");
    const QString aBackup = QStringLiteral("不能覆盖备份：%1");
    const struct {
        QString target;
        QString expected;
    } cases[] = {
        {database(), inUse},
        {at("week.csv"), inUse},
        {at("second-name.mdb"), inUse},
        {at("same-folder/PlayerDB.mdb"), inUse},
        {at("./elsewhere/../PlayerDB.mdb"), inUse},
        // Files SQLite would take for its own, whether or not they are there now.
        {database() + "-wal", inUse},
        {database() + "-shm", inUse},
        {at("same-folder/PlayerDB.mdb-journal"), inUse},
        {at("elsewhere/log.txt"), inUse},
        {*backup, aBackup},
        {at("to-backups/") + QFileInfo(*backup).fileName(), aBackup},
        {at("hidden/old.mdb"), aBackup},
        {at("backups/new.csv"), aBackup},
        {at("backups/.incomplete/x.part"), aBackup},
        // What may be written.
        {at("week2.csv"), {}},
        {at("PlayerDB.mdb.csv"), {}},
        {at("elsewhere/PlayerDB.mdb"), {}},
        {at("backups.csv"), {}},
        {"/dev/null", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(refusal(c.target), c.expected.isEmpty() ? QString() : c.expected.arg(c.target))
            << c.target.toStdString();
}

} // namespace
