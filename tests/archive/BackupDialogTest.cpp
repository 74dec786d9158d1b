#include "BackupDialog.h"
#include "Backups.h"
#include "DataModule.h"
#include "DatabaseDump.h"
#include "PlayerDatabase.h"
#include "ProgramSamples.h"
#include "ProgramStore.h"

#include "QtPrinters.h"
#include "TestApplication.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// Root reads every folder, so a folder's mode only shows as nobody: the real and effective ids
// become nobody's while the saved one keeps the way back to root. Nothing to do for other users.
class AsUnprivilegedUser {
public:
    AsUnprivilegedUser() {
        if (::geteuid() != 0)
            return;
        const passwd* nobody = ::getpwnam("nobody");
        m_switched = nobody && ::setresuid(nobody->pw_uid, nobody->pw_uid, 0) == 0;
        m_failed = !m_switched;
    }
    ~AsUnprivilegedUser() {
        if (m_switched)
            (void)::setresuid(0, 0, 0);
    }
    AsUnprivilegedUser(const AsUnprivilegedUser&) = delete;
    AsUnprivilegedUser& operator=(const AsUnprivilegedUser&) = delete;
    bool failed() const { return m_failed; }

private:
    bool m_switched = false;
    bool m_failed = false;
};

class BackupDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        ASSERT_TRUE(folder.isValid());
        QString error;
        ASSERT_TRUE(createPlayerDatabase(folder.filePath(databaseFileName()), &error));
        ASSERT_TRUE(data.ConnectDatabase(prompter, folder.path()));
    }

    QStringList row(int index) const {
        QStringList cells;
        for (int column = 0; column < table()->columnCount(); ++column)
            cells.append(table()->item(index, column)->text());
        return cells;
    }
    QTableWidget* table() const { return dialog->findChild<QTableWidget*>("gridBackups"); }
    void click(const char* name) { dialog->findChild<QPushButton*>(name)->click(); }

    QTemporaryDir folder;
    ScriptedPrompter prompter;
    DataModule data;
    std::unique_ptr<BackupDialog> dialog;
};

TEST_F(BackupDialogTest, ListsTheBackupsAndRestoresTheChosenOneAfterAsking) {
    ProgramStore store(data.database());
    ASSERT_TRUE(store.insert(ProgramTable::MusicTab, sampleProgram(2, "001", 8)));
    const QStringList before = dumpTables(data.database());
    const QDateTime morning(QDate(2026, 12, 1), QTime(9, 30, 5));
    QString error;
    ASSERT_TRUE(takeBackup(data.database(), "delete-all", &error, morning));
    ASSERT_TRUE(store.insert(ProgramTable::MusicTab, sampleProgram(4, "001", 9)));
    ASSERT_TRUE(store.insert(ProgramTable::MusicReadTab, sampleProgram(4, "001", 9)));
    ASSERT_TRUE(takeBackup(data.database(), "copy", &error, morning.addDays(1)));
    ASSERT_TRUE(store.deleteAll(ProgramTable::MusicTab));

    dialog = std::make_unique<BackupDialog>(prompter, data.database());
    EXPECT_EQ(dialog->windowTitle(), "备份与恢复");
    QStringList headers;
    for (int column = 0; column < table()->columnCount(); ++column)
        headers.append(table()->horizontalHeaderItem(column)->text());
    EXPECT_EQ(headers, (QStringList{"文件", "时间", "操作", "第一套", "第二套", "第三套", "第四套",
                                    "读回"}));
    ASSERT_EQ(table()->rowCount(), 2);
    EXPECT_EQ(row(0), (QStringList{"PlayerDB-20261202-093005-copy.mdb", "2026-12-02 09:30:05",
                                   "套复制", "0", "1", "0", "1", "1"}));
    EXPECT_EQ(row(1), (QStringList{"PlayerDB-20261201-093005-delete-all.mdb", "2026-12-01 09:30:05",
                                   "全部删除", "0", "1", "0", "0", "0"}));
    EXPECT_EQ(dialog->findChild<QPushButton*>("sbClose")->text(), "关闭");

    table()->selectRow(1);
    // What the backup holds, and what it replaces: the one read-back program of the database.
    const QString question = "备份PlayerDB-20261201-093005-delete-all.mdb含第一套0个、第二套1个、"
                             "第三套0个、第四套0个程序，将替换电脑中现有的0个程序。读回的程序："
                             "备份中0个，将替换现有的1个。继续吗？恢复前会先备份当前数据。";
    prompter.answerNext(MessageBox::Button::Cancel);
    click("sbRestore");
    EXPECT_EQ(prompter.shownTexts(), QStringList{question});
    EXPECT_EQ(table()->rowCount(), 2) << "declined: no backup, nothing restored";
    EXPECT_EQ(ProgramStore(data.database()).count(ProgramTable::MusicTab), 0);

    bool restored = false;
    QObject::connect(dialog.get(), &BackupDialog::restored, [&] { restored = true; });
    table()->selectRow(1);
    click("sbRestore");
    EXPECT_EQ(prompter.shownTexts().mid(1), (QStringList{question, "数据恢复完毕！"}));
    EXPECT_TRUE(restored);
    EXPECT_EQ(dumpTables(data.database()), before);
    ASSERT_EQ(table()->rowCount(), 3);
    EXPECT_EQ(row(0)[2], "恢复");
    EXPECT_EQ(row(0).mid(3), (QStringList{"0", "0", "0", "0", "1"})) << "what the restore replaced";
}

TEST_F(BackupDialogTest, WithoutBackupsThereIsNothingToRestore) {
    dialog = std::make_unique<BackupDialog>(prompter, data.database());
    EXPECT_EQ(table()->rowCount(), 0);
    EXPECT_FALSE(dialog->findChild<QPushButton*>("sbRestore")->isEnabled());
}

// The backup is there but the folder cannot be read: the window names the folder and why, as
// `backups` does, rather than an empty list that reads as "no backups".
TEST_F(BackupDialogTest, AnUnreadableBackupsFolderIsNamedWithItsCause) {
    QString error;
    ASSERT_TRUE(takeBackup(data.database(), "copy", &error));
    const QString backups = folder.filePath("backups");
    const auto open = QFile::permissions(backups);
    // Only the backups folder is closed, so that it is the one named.
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFile::permissions(folder.path()) |
                                                         QFileDevice::ExeGroup |
                                                         QFileDevice::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(backups, QFileDevice::Permissions()));
    {
        const AsUnprivilegedUser user;
        if (user.failed()) {
            QFile::setPermissions(backups, open);
            GTEST_SKIP() << "cannot run as an unprivileged user";
        }
        dialog = std::make_unique<BackupDialog>(prompter, data.database());
    }
    const auto* problem = dialog->findChild<QLabel*>("lblProblem");
    ASSERT_TRUE(problem);
    EXPECT_FALSE(problem->isHidden());
    EXPECT_EQ(problem->text(), "无法读取备份文件夹" + backups + "（没有权限）");
    EXPECT_EQ(table()->rowCount(), 0);
    EXPECT_FALSE(dialog->findChild<QPushButton*>("sbRestore")->isEnabled());
    EXPECT_TRUE(prompter.shownTexts().isEmpty());

    // Readable again: the list is back and the cause gone.
    ASSERT_TRUE(QFile::setPermissions(backups, open));
    dialog->refresh();
    EXPECT_TRUE(problem->isHidden());
    EXPECT_EQ(table()->rowCount(), 1);
    EXPECT_TRUE(dialog->findChild<QPushButton*>("sbRestore")->isEnabled());
}

} // namespace
