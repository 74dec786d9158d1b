#include "TimetableWindow.h"
#include "DataModule.h"
#include "DbTesting.h"
#include "EditorWindow.h"
#include "FullFileSystem.h"
#include "PlayerDatabase.h"
#include "ProgramListModel.h"
#include "ProgramStore.h"
#include "Prompter.h"
#include "QtPrinters.h"
#include "ReadDataWindow.h"
#include "Session.h"
#include "TestApplication.h"
#include "VirtualClock.h"
#include "WeekPicture.h"
#include "WeekSamples.h"
#include "WeekView.h"

#include <QAccessible>
#include <QAction>
#include <QInputDevice>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// The sample week in set 1 of a fresh database, the editor or the read-back viewer over it.
class TimetableWindowTest : public PlayerDbTest {
protected:
    void SetUp() override {
        testApplication();
        PlayerDbTest::SetUp();
        fill(ProgramTable::MusicTab, sampleWeek(1));
    }
    void TearDown() override {
        editor.reset();
        viewer.reset();
        for (const QInputDevice* device : QInputDevice::devices())
            if (device->type() == QInputDevice::DeviceType::Keyboard)
                delete device;
    }

    void fill(ProgramTable table, const QList<ProgramRecord>& programs) {
        ProgramStore store(module.database());
        for (const auto& program : programs)
            ASSERT_TRUE(store.insert(table, program));
    }
    // The timetable as the context menu of the window's grid opens it.
    TimetableWindow* openFromGrid(QWidget* window, const QString& entry) {
        auto* grid = window->findChild<QTableView*>(QStringLiteral("grid"));
        EXPECT_EQ(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
        // The week comes first in the menu; the editor's menu goes on with export and import.
        EXPECT_FALSE(grid->actions().isEmpty());
        EXPECT_EQ(grid->actions().value(0)->text(), entry);
        grid->actions().value(0)->trigger();
        auto* timetable = window->findChild<TimetableWindow*>();
        EXPECT_NE(timetable, nullptr);
        if (timetable)
            EXPECT_TRUE(QTest::qWaitForWindowExposed(timetable));
        return timetable;
    }
    void openEditor() {
        editor = std::make_unique<EditorWindow>(clock, prompter, module.database(), session);
        editor->show();
    }
    int blockCount(TimetableWindow* timetable) {
        return int(timetable->view()->picture().layout().blocks.size());
    }
    const WeekBlock& block(TimetableWindow* timetable, int index) {
        return timetable->view()->picture().layout().blocks[index];
    }
    const ProgramRecord& programOf(TimetableWindow* timetable, int index) {
        return timetable->view()->picture().sheet().programs[block(timetable, index).program];
    }

    VirtualClock clock;
    Session session;
    ScriptedPrompter prompter;
    std::unique_ptr<EditorWindow> editor;
    std::unique_ptr<ReadDataWindow> viewer;
};

} // namespace

TEST_F(TimetableWindowTest, EditorGridOpensTheWeekOfItsSetAndTheWeekFollowsTheDatabase) {
    openEditor();
    TimetableWindow* timetable = openFromGrid(editor.get(), QStringLiteral("周节目表…"));
    ASSERT_NE(timetable, nullptr);
    EXPECT_EQ(timetable->windowTitle(), "周节目表 - 第一套");
    const int blocks = int(layOutWeek(sampleWeek(1)).blocks.size());
    EXPECT_EQ(blockCount(timetable), blocks);

    // A program added behind the window's back shows on refresh, on its one weekday.
    fill(ProgramTable::MusicTab,
         {timedProgram(1, 41, QTime(23, 0), QTime(23, 30), {false, false, false, true})});
    timetable->refresh();
    EXPECT_EQ(blockCount(timetable), blocks + 1);

    timetable->showSet(2);
    EXPECT_EQ(timetable->windowTitle(), "周节目表 - 第二套");
    EXPECT_EQ(blockCount(timetable), 0);
}

TEST_F(TimetableWindowTest, ArrowsWalkTheBlocksEnterEditsEscapeCloses) {
    openEditor();
    TimetableWindow* timetable = openFromGrid(editor.get(), QStringLiteral("周节目表…"));
    ASSERT_NE(timetable, nullptr);
    WeekView* view = timetable->view();
    view->setFocus();

    QTest::keyClick(view, Qt::Key_Down); // nothing selected: the first block of the week
    EXPECT_EQ(view->selectedBlock(), 0);
    QTest::keyClick(view, Qt::Key_Up); // nothing above the first block of Monday
    EXPECT_EQ(view->selectedBlock(), 0);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(view->selectedBlock(), 1);
    EXPECT_EQ(block(timetable, 1).day, 0);
    QTest::keyClick(view, Qt::Key_Right);
    const int tuesday = view->selectedBlock();
    EXPECT_EQ(block(timetable, tuesday).day, 1);
    EXPECT_EQ(block(timetable, tuesday).startSecond, block(timetable, 1).startSecond);
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_EQ(view->selectedBlock(), 1);

    const qint64 chosen = programOf(timetable, 1).AutoID;
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(editor->mode(), EditorWindow::Mode::Edit);
    const auto& list = editor->list();
    ASSERT_GE(list.rowOf(chosen), 0);
    EXPECT_EQ(editor->findChild<QTableView*>("grid")->currentIndex().row(), list.rowOf(chosen));
    EXPECT_FALSE(timetable->isVisible());

    // While a program is being edited the editor keeps it; the week stays open.
    TimetableWindow* again = editor->openTimetable();
    QTest::keyClick(again->view(), Qt::Key_Down);
    QTest::keyClick(again->view(), Qt::Key_Return);
    EXPECT_TRUE(again->isVisible());
    QTest::keyClick(again->view(), Qt::Key_Escape);
    EXPECT_FALSE(again->isVisible());
}

TEST_F(TimetableWindowTest, DoubleClickOnABlockEditsItsProgram) {
    openEditor();
    TimetableWindow* timetable = openFromGrid(editor.get(), QStringLiteral("周节目表…"));
    ASSERT_NE(timetable, nullptr);
    // The program of Saturday's first block, which the editor's list does not start on.
    int saturday = -1;
    for (int i = 0; i < blockCount(timetable) && saturday < 0; ++i)
        if (block(timetable, i).day == 5)
            saturday = i;
    ASSERT_GE(saturday, 0);
    const QRect area = timetable->view()->blockRect(saturday);
    QTest::mouseDClick(timetable->view(), Qt::LeftButton, {}, area.center());
    EXPECT_EQ(editor->mode(), EditorWindow::Mode::Edit);
    EXPECT_EQ(editor->findChild<QTableView*>("grid")->currentIndex().row(),
              editor->list().rowOf(programOf(timetable, saturday).AutoID));
}

TEST_F(TimetableWindowTest, EveryBlockIsAnAccessibleItemWithItsTimesAndFaults) {
    openEditor();
    TimetableWindow* timetable = openFromGrid(editor.get(), QStringLiteral("周节目表…"));
    ASSERT_NE(timetable, nullptr);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(timetable->view());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), blockCount(timetable));
    QAccessibleInterface* first = list->child(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->role(), QAccessible::ListItem);
    EXPECT_EQ(first->text(QAccessible::Name), "星期一 06:00:00 至 06:25:00 序号 001");
    EXPECT_EQ(list->indexOfChild(first), 0);
    EXPECT_EQ(first->parent(), list);

    QStringList markers, collisions;
    for (int i = 0; i < list->childCount(); ++i) {
        const QString tip = list->child(i)->text(QAccessible::Description);
        EXPECT_TRUE(tip.contains("开始时间：") && tip.contains("分区：1")) << tip.toStdString();
        if (tip.contains("结束时间不晚于开始时间"))
            markers.append(list->child(i)->text(QAccessible::Name));
        if (tip.contains("在同一时间开始"))
            collisions.append(tip.section('\n', 0, 0) + " " + tip.section('\n', -1));
    }
    EXPECT_EQ(markers.size(), 5);
    EXPECT_EQ(markers.value(0), "星期一 20:00:35 至 19:00:00 序号 035");
    // The longer of the two stands first.
    EXPECT_EQ(collisions, QStringList({"序号：038 与同类节目 037 在同一时间开始",
                                       "序号：037 与同类节目 038 在同一时间开始"}));
}

TEST_F(TimetableWindowTest, ReadBackViewerShowsTheReadProgramsWeek) {
    QList<ProgramRecord> read{timedProgram(2, 1, QTime(8, 0), QTime(9, 0)),
                              timedProgram(2, 2, QTime(10, 0), QTime(11, 0), {false, true})};
    fill(ProgramTable::MusicReadTab, read);
    viewer = std::make_unique<ReadDataWindow>(clock, prompter, module.database(), session);
    viewer->show();
    TimetableWindow* timetable =
        openFromGrid(viewer.get(), QStringLiteral("周节目表（读取数据）…"));
    ASSERT_NE(timetable, nullptr);
    timetable->showSet(2);
    EXPECT_EQ(timetable->windowTitle(), "周节目表 - 第二套（读取数据）");
    EXPECT_TRUE(timetable->view()->picture().sheet().readBack); // the printed page says so too
    ASSERT_EQ(blockCount(timetable), 2);
    EXPECT_EQ(programOf(timetable, 1).OrderNo, "002");

    QTest::mouseDClick(timetable->view(), Qt::LeftButton, {},
                       timetable->view()->blockRect(1).center());
    auto* grid = viewer->findChild<QTableView*>("grid");
    EXPECT_EQ(grid->model()->rowCount(), 2); // the viewer now lists set 2
    EXPECT_EQ(grid->model()->index(grid->currentIndex().row(), 0).data().toString(), "002");
}

// An export the disk cannot take says why, and the file it was to replace stays as it was.
TEST_F(TimetableWindowTest, AnExportTheDiskCannotTakeSaysWhyAndKeepsTheEarlierFile) {
    const FullFileSystem disk(dir.filePath("disk"));
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    TimetableWindow timetable(prompter, module.database(), ProgramTable::MusicTab, 1);
    const QByteArray earlier = "an earlier file\n";
    const std::pair<QString, void (TimetableWindow::*)()> exports[] = {
        {disk.filePath("week.pdf"), &TimetableWindow::exportPdf},
        {disk.filePath("week.png"), &TimetableWindow::exportPng}};
    for (const auto& [path, exportTo] : exports) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(earlier);
    }
    disk.fill();
    for (const auto& [path, exportTo] : exports) {
        SCOPED_TRACE(path.toStdString());
        timetable.setFileChooser([path](const QString&, const QString&) { return path; });
        (timetable.*exportTo)();
        ASSERT_FALSE(prompter.shown().isEmpty());
        EXPECT_EQ(prompter.shown().last().text, "导出失败：磁盘空间不足");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), earlier);
    }
}

// The end of an export names the file written and its pages; a PNG of a long list says that
// its pages stand one below the other.
TEST_F(TimetableWindowTest, AnExportNamesTheFileWritten) {
    fill(ProgramTable::MusicTab, denseSet(2, 255));
    fill(ProgramTable::MusicTab, schoolWeek(3)); // one page: the week and its list beside it
    TimetableWindow timetable(prompter, module.database(), ProgramTable::MusicTab, 3);
    const QString pdf = dir.filePath("week.pdf");
    const QString png = dir.filePath("week.png");
    const auto exportTo = [&](const QString& path, void (TimetableWindow::*exporter)()) {
        timetable.setFileChooser([path](const QString&, const QString&) { return path; });
        (timetable.*exporter)();
        return prompter.shown().isEmpty() ? QString() : prompter.shown().last().text;
    };
    const QString pdfPath = QDir::toNativeSeparators(pdf);
    const QString pngPath = QDir::toNativeSeparators(png);
    EXPECT_EQ(exportTo(pdf, &TimetableWindow::exportPdf),
              "导出完成：已写入" + pdfPath + "（共1页）。");
    EXPECT_EQ(exportTo(png, &TimetableWindow::exportPng), "导出完成：已写入" + pngPath + "。");
    timetable.showSet(2);
    int pages = 0; // as many as the list of 255 programs takes with the fonts of this machine
    ASSERT_TRUE(writeWeekPdf(dir.filePath("pages.pdf"), {{setLabel(2), denseSet(2, 255)}}, {},
                             nullptr, &pages));
    ASSERT_GT(pages, 1);
    EXPECT_EQ(exportTo(pdf, &TimetableWindow::exportPdf),
              "导出完成：已写入" + pdfPath + QStringLiteral("（共%1页）。").arg(pages));
    EXPECT_EQ(exportTo(png, &TimetableWindow::exportPng),
              "导出完成：已写入" + pngPath +
                  QStringLiteral("（节目列表较长，%1页上下相连在这一张图中）。").arg(pages));
}
