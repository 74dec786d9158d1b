#include "DatabaseDump.h"
#include "DbTesting.h"
#include "EditorWindow.h"
#include "ProgramListModel.h"
#include "ProgramStore.h"
#include "Prompter.h"
#include "ReadDataWindow.h"
#include "Session.h"
#include "TestApplication.h"
#include "TimetableWindow.h"
#include "VirtualClock.h"
#include "WeekSamples.h"
#include "WeekView.h"

#include <QAccessible>
#include <QCheckBox>
#include <QInputDevice>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// The editor over set 1 with its week open: A plays the working week from 08:00 to 09:00, B on
// Monday from 08:01, C on Saturday at a volume the editor does not offer.
class TimetableEditTest : public PlayerDbTest {
protected:
    void SetUp() override {
        testApplication();
        PlayerDbTest::SetUp();
        ProgramRecord loud = timedProgram(1, 3, QTime(12, 0), QTime(13, 0), {});
        loud.Week[5] = true;
        loud.YinLiang = 50;
        for (const ProgramRecord& program :
             {timedProgram(1, 1, QTime(8, 0), QTime(9, 0), WorkingWeek),
              timedProgram(1, 2, QTime(8, 1), QTime(8, 20), MondayOnly), loud})
            ids.append(*ProgramStore(module.database()).insert(ProgramTable::MusicTab, program));
        editor = std::make_unique<EditorWindow>(clock, prompter, module.database(), session);
        editor->show();
        timetable = editor->openTimetable();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(timetable));
        view = timetable->view();
    }
    void TearDown() override {
        editor.reset();
        for (const QInputDevice* device : QInputDevice::devices())
            if (device->type() == QInputDevice::DeviceType::Keyboard)
                delete device;
    }

    int blockOf(qint64 id, int day) const {
        const auto& blocks = view->picture().layout().blocks;
        for (int i = 0; i < int(blocks.size()); ++i)
            if (blocks[i].day == day &&
                view->picture().sheet().programs[blocks[i].program].AutoID == id)
                return i;
        return -1;
    }
    void send(QEvent::Type type, QPoint at, Qt::MouseButtons held,
              Qt::KeyboardModifiers modifiers) {
        QMouseEvent event(type, at, view->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          modifiers);
        QApplication::sendEvent(view, &event);
    }
    // Drags the block `down` pixels; `held` looks at the view before the button is let go.
    void drag(int block, int down, Qt::KeyboardModifiers modifiers = {},
              const std::function<void()>& held = {}) {
        const QPoint from = view->blockRect(block).center();
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
        send(QEvent::MouseMove, from + QPoint(0, down / 2), Qt::LeftButton, modifiers);
        send(QEvent::MouseMove, from + QPoint(0, down), Qt::LeftButton, modifiers);
        if (held)
            held();
        send(QEvent::MouseButtonRelease, from + QPoint(0, down), Qt::NoButton, modifiers);
    }
    QString startOf(qint64 id) {
        return rawRow("SELECT KSTime FROM MusicTab WHERE AutoID = ?", {id}).value(0).toString();
    }
    QString timesOf(qint64 id) { return storedTimes(module.database(), id); }
    QStringList tables() { return dumpTables(module.database()); }
    QString boxText(const char* name) {
        return editor->findChild<QLineEdit*>(QLatin1String(name))->text();
    }
    // The editor's closing reminder: whether the moves armed it.
    bool remindsOnClose() {
        const qsizetype before = prompter.shown().size();
        editor->close();
        return prompter.shownTexts().mid(before).contains(
            "程序内容已发生变化，请重新进行程序装载！");
    }

    VirtualClock clock;
    Session session;
    ScriptedPrompter prompter;
    std::unique_ptr<EditorWindow> editor;
    TimetableWindow* timetable = nullptr;
    WeekView* view = nullptr;
    QList<qint64> ids; // A, B, C
};

} // namespace

TEST_F(TimetableEditTest, ADraggedBlockMovesItsProgramOnEveryWeekdayAsTheEditorSavesIt) {
    ASSERT_TRUE(timetable->isEditable());
    const int tuesday = blockOf(ids[0], 1);
    int shown = 0;
    drag(tuesday, 12, {}, [&] {
        EXPECT_TRUE(view->isDragging());
        shown = view->dragSeconds();
        // It says where it goes and that the whole working week goes with it.
        EXPECT_EQ(view->dragLabel().value(1), QTime(8, 0).addSecs(shown).toString("hh:mm:ss") +
                                                  QChar(u'–') +
                                                  QTime(9, 0).addSecs(shown).toString("hh:mm:ss"));
        EXPECT_EQ(view->dragLabel().value(2), "周一至周五 同时移动");
    });
    ASSERT_GT(shown, 0);
    EXPECT_EQ(shown % 60, 0);
    EXPECT_FALSE(view->isDragging());
    EXPECT_TRUE(prompter.shown().isEmpty()) << prompter.shownTexts().join(' ').toStdString();
    const QTime start = QTime(8, 0).addSecs(shown);
    const QTime end = QTime(9, 0).addSecs(shown);
    EXPECT_EQ(timesOf(ids[0]), QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 002")
                                   .arg(start.hour())
                                   .arg(start.minute())
                                   .arg(start.second())
                                   .arg(end.hour())
                                   .arg(end.minute())
                                   .arg(end.second())
                                   .arg(start.toString("hh:mm:ss"), end.toString("hh:mm:ss")));
    // Every weekday's block shows the new time; the editor's list follows, renumbered.
    for (int day = 0; day < 5; ++day)
        EXPECT_EQ(view->picture().layout().blocks[blockOf(ids[0], day)].startSecond,
                  8 * 3600 + shown);
    EXPECT_EQ(editor->list().record(editor->list().rowOf(ids[0])).KSTime, start);
    EXPECT_EQ(editor->list().record(editor->list().rowOf(ids[0])).OrderNo, "002");

    // Shift moves by the second, to where whole minutes would round.
    drag(blockOf(ids[0], 1), 17, Qt::ShiftModifier, [&] { shown = view->dragSeconds(); });
    EXPECT_NE(shown % 60, 0);
    EXPECT_EQ(startOf(ids[0]), start.addSecs(shown).toString("hh:mm:ss"));
    EXPECT_TRUE(remindsOnClose());
}

// The hours shown end an hour after the last program; a program dragged past them is stored
// and the hours grow to show it.
TEST_F(TimetableEditTest, AProgramDraggedPastTheHoursShownWidensThem) {
    EXPECT_EQ(view->picture().layout().lastHour, 14);
    drag(blockOf(ids[1], 0), view->height());
    EXPECT_TRUE(prompter.shown().isEmpty()) << prompter.shownTexts().join(' ').toStdString();
    const QTime start = QTime::fromString(startOf(ids[1]), "hh:mm:ss");
    ASSERT_GT(start, QTime(14, 0));
    EXPECT_EQ(view->picture().layout().lastHour, start.addSecs(19 * 60).hour() + 1);
    EXPECT_TRUE(view->rect().contains(view->blockRect(blockOf(ids[1], 0))));
}

TEST_F(TimetableEditTest, ARefusedDropSpringsBackAndShowsTheRule) {
    const QStringList before = tables();
    const int saturday = blockOf(ids[2], 5);
    const QRect place = view->blockRect(saturday);
    drag(saturday, 20);
    EXPECT_EQ(prompter.shownTexts(), QStringList{"音量不能为空！"});
    EXPECT_FALSE(view->isDragging());
    EXPECT_EQ(view->blockRect(saturday), place);
    EXPECT_EQ(tables(), before);

    // While the editor holds a program of its own, the week waits for it.
    editor->sbeditClick();
    drag(blockOf(ids[0], 0), 20);
    EXPECT_EQ(prompter.shownTexts().last(), "请先保存或取消编辑器中正在编辑的程序！");
    EXPECT_EQ(tables(), before);
    editor->sbCancelClick(); // answered OK by the prompter's default
    EXPECT_FALSE(remindsOnClose());
}

TEST_F(TimetableEditTest, AltArrowsMoveTheSelectedBlockAnnouncedAndCtrlZUndoesTheMoves) {
    // What the accessibility bus is told of blocks whose name changed.
    QStringList announced;
    view->setAnnouncer([&announced](QAccessibleEvent* event) {
        if (event->type() == QAccessible::NameChanged)
            if (QAccessibleInterface* item = event->accessibleInterface())
                announced.append(item->text(QAccessible::Name));
    });
    timetable->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(timetable));
    view->setFocus();
    view->selectBlock(blockOf(ids[0], 0));

    QTest::keyClick(view, Qt::Key_Down, Qt::AltModifier); // onto B on Monday
    EXPECT_EQ(prompter.shownTexts(), QStringList{"输入任务已存在，请重新设置！"});
    EXPECT_EQ(startOf(ids[0]), "08:00:00");
    EXPECT_TRUE(announced.isEmpty());

    QTest::keyClick(view, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(timesOf(ids[0]), "7 59 0 8 59 0 07:59:00 08:59:00 001");
    QTest::keyClick(view, Qt::Key_Up, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(startOf(ids[0]), "07:49:00");
    EXPECT_EQ(announced, QStringList({"星期一 07:59:00 至 08:59:00 序号 001",
                                      "星期一 07:49:00 至 08:49:00 序号 001"}));
    EXPECT_EQ(view->blockName(view->selectedBlock()), announced.last());

    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(startOf(ids[0]), "07:59:00");
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(timesOf(ids[0]), "8 0 0 9 0 0 08:00:00 09:00:00 001");
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier); // nothing left to undo
    EXPECT_EQ(startOf(ids[0]), "08:00:00");
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(startOf(ids[0]), "07:59:00");
    EXPECT_EQ(announced.last(), "星期一 07:59:00 至 08:59:00 序号 001");
    EXPECT_EQ(prompter.shown().size(), 1);
}

TEST_F(TimetableEditTest, DoubleClickOnAnEmptyPlaceStartsAProgramThereInTheEditor) {
    // Wednesday, some 4 hours below the top of A's block, which lasts one hour.
    const QRect a = view->blockRect(blockOf(ids[0], 2));
    QTest::mouseDClick(view, Qt::LeftButton, {}, QPoint(a.center().x(), a.top() + a.height() * 4));
    ASSERT_EQ(editor->mode(), EditorWindow::Mode::Add);
    EXPECT_FALSE(timetable->isVisible());
    const QTime start(boxText("edtKS1").toInt(), boxText("edtKS2").toInt(),
                      boxText("edtKS3").toInt());
    EXPECT_NEAR(start.msecsSinceStartOfDay() / 1000, 12 * 3600, 10 * 60);
    EXPECT_EQ(start.minute() % 5, 0);
    EXPECT_EQ(boxText("edtKS3"), "00");
    const QTime end = start.addSecs(5 * 60);
    EXPECT_EQ(QStringList({boxText("edtJS1"), boxText("edtJS2"), boxText("edtJS3")}),
              end.toString("hh:mm:ss").split(':'));
    for (int day = 1; day <= 7; ++day)
        EXPECT_EQ(editor->findChild<QCheckBox*>(QStringLiteral("chXQ%1").arg(day))->isChecked(),
                  day == 3);

    editor->sbSaveClick();
    EXPECT_EQ(editor->mode(), EditorWindow::Mode::Browse);
    EXPECT_EQ(rawRow("SELECT Week3, Week1, JMTaoNo FROM MusicTab WHERE KSTime = ?",
                     {start.toString("hh:mm:ss")}),
              QVariantList({1, 0, "第一套"}));
}

TEST_F(TimetableEditTest, TheReadBackWeekCannotBeEdited) {
    editor.reset();
    ProgramStore(module.database())
        .insert(ProgramTable::MusicReadTab,
                timedProgram(1, 1, QTime(8, 0), QTime(9, 0), WorkingWeek));
    ReadDataWindow viewer(clock, prompter, module.database(), session);
    viewer.show();
    TimetableWindow* readBack = viewer.openTimetable();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(readBack));
    EXPECT_FALSE(readBack->isEditable());
    view = readBack->view();
    const QStringList before = tables();

    drag(0, 30, {}, [&] { EXPECT_FALSE(view->isDragging()); });
    view->selectBlock(0);
    QTest::keyClick(view, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    const QRect block = view->blockRect(0);
    QTest::mouseDClick(view, Qt::LeftButton, {},
                       QPoint(block.center().x(), block.top() + block.height() * 6));
    EXPECT_EQ(tables(), before);
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_TRUE(readBack->isVisible());
}
