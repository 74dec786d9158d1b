#include "EditorTesting.h"

#include "FullFileSystem.h"
#include "MachineSettings.h"

#include "ProgramSet.h"
#include "TimetableWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTableView>

using namespace tessaly;

namespace {

const QString Set1 = "第一套";
const QString Set2 = "第二套";

class EditorMenuTest : public EditorTest {
protected:
    // The grid's menu entry `name`, run with `path` as the file the dialog would give.
    void runMenu(const QString& name, const QString& path) {
        window->setFileChooser([this, path](bool, const QString& caption, const QString& start) {
            dialogs.append({caption, start});
            return path;
        });
        auto* grid = control<QTableView>("grid");
        ASSERT_EQ(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
        QAction* action = nullptr;
        for (QAction* candidate : grid->actions())
            if (candidate->objectName() == name)
                action = candidate;
        ASSERT_NE(action, nullptr) << name.toStdString();
        action->trigger();
    }

    // The caption and the suggested file or folder of each file dialog asked for.
    QList<std::pair<QString, QString>> dialogs;

    QByteArray fileText(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
};

TEST_F(EditorMenuTest, TheGridMenuExportsTheShownSetAndImportsIntoIt) {
    store(Set1, QTime(9, 0), false, {true}, "001");
    store(Set1, QTime(7, 0), true, {true}, "002");
    store(Set2, QTime(8, 0));
    open();
    const auto grid = control<QTableView>("grid");
    QStringList captions;
    for (QAction* action : grid->actions())
        captions.append(action->text());
    EXPECT_EQ(captions.mid(0, 3), (QStringList{"周节目表…", "导出本套…", "导入到本套…"}));

    const QString csv = folder.filePath("set1.csv");
    runMenu("actExportSet", csv);
    EXPECT_EQ(lastMessage(), "导出完成：共2个程序，已写入" + csv + "。");
    EXPECT_EQ(fileText(csv).count("第一套"), 2);
    EXPECT_FALSE(fileText(csv).contains("第二套"));

    tick("chJM2");
    runMenu("actImportSet", csv);
    EXPECT_EQ(lastMessage(), "导入完成：共2个程序。");
    EXPECT_EQ(numbering(Set2), (QStringList{"07:00:00=001", "08:00:00=002", "09:00:00=003"}));
    EXPECT_EQ(text("LbNum"), "3") << "the grid shows the imported programs";

    const int before = int(prompter.shown().size());
    window->close();
    EXPECT_EQ(prompter.shownTexts().mid(before),
              QStringList{"程序内容已发生变化，请重新进行程序装载！"})
        << "an import reminds of the load as a save does";
}

TEST_F(EditorMenuTest, AnImportWithBadRowsListsThemAndChangesNothing) {
    store(Set1, QTime(7, 0));
    open();
    const QString csv = folder.filePath("set1.csv");
    runMenu("actExportSet", csv);
    const QList<QByteArray> lines = fileText(csv).split('\n');
    QByteArray late = lines[1];
    late.replace(",23:00:00,", ",,").replace(",7,0,0,23,0,0,", ",7,0,0,25,0,0,");
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(lines[0] + '\n' + late + '\n' + lines[1] + '\n');
    file.close();

    runMenu("actImportSet", csv);
    ASSERT_FALSE(prompter.shown().isEmpty());
    EXPECT_EQ(prompter.shown().last().icon, MessageBox::Icon::Warning);
    EXPECT_EQ(lastMessage(), "导入失败，2行有错误，未导入任何程序：\n"
                             "第2行：结束时间小时不能大于23\n"
                             "第3行：输入任务已存在，请重新设置！");
    EXPECT_EQ(storedCount(Set1), 1);

    window->setImportGuard([](QString* error) {
        *error = "no backup";
        return false;
    });
    const QString good = folder.filePath("good.csv");
    runMenu("actExportSet", good);
    tick("chJM2");
    runMenu("actImportSet", folder.filePath("missing.csv"));
    EXPECT_EQ(lastMessage(), "导入失败，未导入任何程序！");
    runMenu("actImportSet", good);
    EXPECT_EQ(lastMessage(), "导入失败，未导入任何程序！");
    EXPECT_EQ(prompter.shown().last().details, "no backup");
    EXPECT_EQ(storedCount(Set2), 0);
}

TEST_F(EditorMenuTest, AFileWithoutProgramsIsRefusedAndChangesNothing) {
    store(Set1, QTime(7, 0));
    open();
    const QString csv = folder.filePath("set1.csv");
    runMenu("actExportSet", csv);
    QFile file(csv);
    const QByteArray header = fileText(csv).split('\n').first();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(header + '\n');
    file.close();

    runMenu("actImportSet", csv);
    EXPECT_EQ(lastMessage(), "文件中没有程序，未导入。");
    EXPECT_EQ(prompter.shown().last().icon, MessageBox::Icon::Warning);
    EXPECT_EQ(storedCount(Set1), 1);
}

TEST_F(EditorMenuTest, AFileTooLargeForAScheduleIsRefusedWithItsSize) {
    open();
    QFile big(folder.filePath("big.csv"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(50 * 1000 * 1000)); // sparse
    big.close();
    runMenu("actImportSet", big.fileName());
    EXPECT_EQ(lastMessage(), "导入失败，未导入任何程序！");
    EXPECT_EQ(prompter.shown().last().details,
              "文件" + big.fileName() + "有47.7 MB，不是节目文件（节目文件不超过8 MB），未导入。");
}

// A Chinese spreadsheet's plain CSV is GB18030: the window says how it read the file.
TEST_F(EditorMenuTest, AGb18030FileImportsAndTheWindowSaysHowItWasRead) {
    store(Set1, QTime(7, 0), true);
    open();
    const QString csv = folder.filePath("set1.csv");
    runMenu("actExportSet", csv);
    const QString text = QString::fromUtf8(fileText(csv).mid(3));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QStringEncoder("GB18030").encode(text));
    file.close();

    tick("chJM2");
    runMenu("actImportSet", csv);
    EXPECT_EQ(lastMessage(), "文件不是UTF-8编码，已按GB18030编码读取。\n导入完成：共1个程序。");
    EXPECT_EQ(numbering(Set2), QStringList{"07:00:00=001"});
}

} // namespace

// An export the disk cannot take fails with the reason, and the earlier file stays whole.
TEST_F(EditorMenuTest, AnExportTheDiskCannotTakeFailsAndKeepsTheEarlierFile) {
    const tessaly::testing::FullFileSystem disk(folder.filePath("disk"));
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    store(Set1, QTime(7, 0));
    open();
    const QString csv = disk.filePath("set1.csv");
    QFile earlier(csv);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("an earlier file\n");
    earlier.close();
    disk.fill();

    runMenu("actExportSet", csv);
    EXPECT_EQ(lastMessage(), "导出失败！");
    EXPECT_EQ(prompter.shown().last().details, csv + "：磁盘空间不足");
    EXPECT_EQ(fileText(csv), "an earlier file\n");
}

// No file chosen in a dialog goes over the database in use or a backup of it, by any name.
TEST_F(EditorMenuTest, ExportsRefuseTheDatabaseAndItsBackups) {
    store(Set1, QTime(7, 0));
    open();
    const QString database = folder.filePath("PlayerDB.mdb");
    QString error;
    const auto backup = tessaly::takeBackup(data.database(), "copy", &error);
    ASSERT_TRUE(backup) << error.toStdString();
    const QString link = folder.filePath("week.csv");
    ASSERT_TRUE(QFile::link(database, link));
    const QByteArray databaseBytes = fileText(database);
    const QByteArray backupBytes = fileText(*backup);

    runMenu("actExportSet", link);
    EXPECT_EQ(lastMessage(), "不能写入正在使用的数据库：" + link);
    runMenu("actExportSet", *backup);
    EXPECT_EQ(lastMessage(), "不能覆盖备份：" + *backup);

    TimetableWindow* timetable = window->openTimetable();
    ASSERT_NE(timetable, nullptr);
    timetable->setFileChooser([&](const QString&, const QString&) { return database + "-wal"; });
    timetable->exportPdf();
    EXPECT_EQ(lastMessage(), "不能写入正在使用的数据库：" + database + "-wal");
    timetable->setFileChooser(
        [&](const QString&, const QString&) { return folder.filePath("backups/week.png"); });
    timetable->exportPng();
    EXPECT_EQ(lastMessage(), "不能覆盖备份：" + folder.filePath("backups/week.png"));

    EXPECT_EQ(fileText(database), databaseBytes);
    EXPECT_EQ(fileText(*backup), backupBytes);
    EXPECT_FALSE(QFile::exists(database + "-wal"));
    EXPECT_FALSE(QFile::exists(folder.filePath("backups/week.png")));
}

// Each file dialog suggests a name (the set, and for an export the day's date) and starts in the
// folder of the last file chosen, as this machine remembers it: the export's, then the
// import's, then the timetable's.
TEST_F(EditorMenuTest, FileDialogsSuggestANameAndStartInTheLastFolder) {
    tessaly::testing::FreshMachineSettings machine;
    store(Set1, QTime(7, 0));
    open();
    window->setToday([] { return QDate(2026, 12, 10); });

    const QString csv = folder.filePath("set1.csv");
    runMenu("actExportSet", csv);
    EXPECT_EQ(dialogs.last(), std::pair(QString("导出[第一套]"),
                                        QDir::home().filePath("第一套节目-2026-12-10.csv")))
        << "nothing remembered yet: the home folder";
    EXPECT_EQ(lastMessage(), "导出完成：共1个程序，已写入" + csv + "。");
    runMenu("actExportSet", csv);
    EXPECT_EQ(dialogs.last().second, folder.filePath("第一套节目-2026-12-10.csv"));

    tick("chJM2");
    runMenu("actImportSet", csv);
    EXPECT_EQ(dialogs.last(), std::pair(QString("导入到[第二套]"), folder.path()));

    TimetableWindow* timetable = window->openTimetable();
    ASSERT_NE(timetable, nullptr);
    QString suggested;
    const QString png = folder.filePath("pictures/week.png");
    QDir(folder.path()).mkpath("pictures");
    timetable->setFileChooser([&](const QString&, const QString& start) {
        suggested = start;
        return png;
    });
    timetable->exportPng();
    EXPECT_EQ(suggested, folder.filePath("周节目表-第二套.png"));
    timetable->exportPng();
    EXPECT_EQ(suggested, folder.filePath("pictures/周节目表-第二套.png"));
}
