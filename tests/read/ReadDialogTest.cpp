#include "ReadDialog.h"
#include "AccessibleText.h"
#include "EnglishInterface.h"
#include "LinkIndicator.h"
#include "MainWindow.h"
#include "MainWindowStart.h"
#include "ProgramStore.h"
#include "ReadTesting.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

class ReadDialogTest : public ReadTest {
protected:
    void open() {
        dialog = std::make_unique<ReadDialog>(
            ReadDialogServices{clock, channel, prompter, session, module.database()});
        QObject::connect(dialog.get(), &ReadDialog::viewerOpened, [this](QWidget* viewer) {
            viewerTitles.append(viewer->windowTitle());
            QTimer::singleShot(0, viewer, [viewer] { static_cast<QDialog*>(viewer)->reject(); });
        });
        dialog->show();
        clock.advance(600);
    }
    void TearDown() override {
        dialog.reset();
        clock.advance(20000); // lets a cancelled read unwind
    }

    template <typename T = QWidget> T* control(const char* name) {
        auto* found = dialog->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* name) { return control<QLabel>(name)->text(); }
    bool enabled(const char* name) { return control(name)->isEnabled(); }
    bool panelShown() { return control("Pan_Mess")->isVisible(); }

    void readSetOne() {
        control<QPushButton>("sbJM1")->click();
        ASSERT_TRUE(clock.runUntil([&] { return !dialog->isReading(); }, 60000));
    }

    std::unique_ptr<ReadDialog> dialog;
    QStringList viewerTitles;
};

} // namespace

TEST_F(ReadDialogTest, ACompletedReadAndItsProgress) {
    serial.player().setPrograms(1, storedSet(1, 3));
    open();
    EXPECT_EQ(dialog->windowTitle(), "程序读取");
    EXPECT_EQ(text("Lb_Mess"), "连接成功");
    EXPECT_EQ(control<LinkIndicator>("SP_State")->fill(), LinkIndicator::Connected);
    EXPECT_FALSE(enabled("sbXianshi"));

    control<QPushButton>("sbJM1")->click();
    clock.advance(600);
    for (const char* name : {"sbJM1", "sbJM2", "sbJM3", "sbJM4", "sbExit"})
        EXPECT_FALSE(enabled(name)) << name;
    ASSERT_TRUE(clock.runUntil([&] { return !dialog->isReading(); }, 60000));

    EXPECT_EQ(text("Lb_down"), "程序读取完毕！");
    EXPECT_EQ(text("Lb_Total"), "3");
    EXPECT_EQ(text("Lb_Left"), "0");
    EXPECT_EQ(control<QProgressBar>("PBar_Pro")->maximum(), 99);
    EXPECT_EQ(control<QProgressBar>("PBar_Pro")->value(), 99);
    EXPECT_FALSE(panelShown());
    for (const char* name : {"sbJM1", "sbJM2", "sbJM3", "sbJM4", "sbExit", "sbXianshi"})
        EXPECT_TRUE(enabled(name)) << name;
    EXPECT_EQ(prompter.shownTexts(), QStringList{"程序读取完毕！"});
    EXPECT_EQ(dialog->ReadSet(), 1);
    // A screen reader reads the values, not the names of what they count.
    EXPECT_EQ(spokenName(control("Lb_down")), "程序读取完毕！");
    EXPECT_EQ(spokenName(control("Lb_Total")), "3");
    EXPECT_EQ(spokenName(control("Lb_Mess")), "连接成功");
    EXPECT_EQ(labelsNotReadAsShown(dialog.get()), QStringList{});
    EXPECT_FALSE(spokenName(control("SP_State")).isEmpty());
    control<QPushButton>("sbXianshi")->click();
    EXPECT_EQ(viewerTitles, QStringList{"读取播放器节目数据"});
}

// A set button clicked while the opening probe waits would probe the port a second time and
// spoil the first probe's answer: the buttons are off until the probe has ended.
TEST_F(ReadDialogTest, SetButtonsWaitForTheOpeningProbe) {
    serial.player().setPrograms(2, storedSet(2, 1));
    dialog = std::make_unique<ReadDialog>(
        ReadDialogServices{clock, channel, prompter, session, module.database()});
    dialog->show();
    clock.advance(100); // the probe command is out, its answer not yet read
    for (const char* name : {"sbJM1", "sbJM2", "sbJM3", "sbJM4"}) {
        EXPECT_FALSE(enabled(name)) << name;
        control<QPushButton>(name)->click();
    }
    EXPECT_TRUE(enabled("sbExit")) << "the dialog can still be closed";
    EXPECT_FALSE(dialog->isReading());
    clock.advance(600);
    EXPECT_EQ(text("Lb_Mess"), "连接成功");
    EXPECT_TRUE(prompter.shown().isEmpty());
    for (const char* name : {"sbJM1", "sbJM2", "sbJM3", "sbJM4"})
        EXPECT_TRUE(enabled(name)) << name;

    control<QPushButton>("sbJM2")->click();
    ASSERT_TRUE(clock.runUntil([&] { return !dialog->isReading(); }, 60000));
    EXPECT_EQ(prompter.shownTexts(), QStringList{"程序读取完毕！"});
}

// Each end after an earlier successful read, as the operator sees it.
TEST_F(ReadDialogTest, EndsOfARead) {
    auto& player = serial.player();
    struct Case {
        const char* name;
        std::function<void()> prepare;
        QString status;
        bool panel;
        bool showButton;
        bool link = true;
    };
    const std::vector<Case> cases{
        {"set without programs", [&] { player.setPrograms(1, {}); }, "读取播放器记录错误！", false,
         false},
        {"second program cannot be stored",
         [&] {
             auto frames = storedSet(1, 3);
             frames[1][15] = 10;
             player.setPrograms(1, frames);
         },
         "数据读取失败！", true, false},
        {"reply stops", [&] { player.setOptions({.cutAfter = 5}); }, "程序读取失败！", true, false},
        {"pre-heat and delay unanswered", [&] { player.setOptions({.noPreheatReply = true}); },
         "程序读取完毕！", false, true},
        {"no link", [&] { player.setOptions({.silent = true}); }, "程序读取完毕！", false, true,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        player.setOptions({});
        player.setPrograms(1, storedSet(1, 3));
        open();
        readSetOne();
        ASSERT_EQ(text("Lb_down"), "程序读取完毕！");
        c.prepare();
        readSetOne();
        EXPECT_EQ(text("Lb_down"), c.status);
        EXPECT_EQ(panelShown(), c.panel);
        EXPECT_EQ(enabled("sbXianshi"), c.showButton);
        for (const char* name : {"sbJM1", "sbJM2", "sbJM3", "sbJM4", "sbExit"})
            EXPECT_TRUE(enabled(name)) << name;
        EXPECT_EQ(text("Lb_Mess"), c.link ? "连接成功" : "连接失败");
        EXPECT_EQ(session.link.LinkUp, c.link);
        dialog.reset();
    }
}

// A serial device server that drops the connection ends the read within moments, not at the end
// of its waits; the window's message says why on a second line.
TEST_F(ReadDialogTest, ADroppedConnectionEndsTheReadWithItsCause) {
    const QString cause = "原因：网络串口 192.0.2.7:7003 断开了连接。";
    struct Case {
        const char* name;
        PlayerOptions options;
        std::function<bool()> dropNow;
        QString message;
        QString status;
    };
    const std::vector<Case> cases{
        {"during the pre-heat and delay query",
         {.noPreheatReply = true},
         [&] { return !enabled("sbExit"); },
         "读取预热和延时时间失败！",
         ""},
        {"during the reply",
         {.cutAfter = 5},
         [&] { return text("Lb_Total") == "3"; },
         "程序读取失败！",
         "程序读取失败！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        serial.player().setOptions(c.options);
        serial.player().setPrograms(1, storedSet(1, 3));
        open();
        prompter = {};
        control<QPushButton>("sbJM1")->click();
        ASSERT_TRUE(clock.runUntil(c.dropNow, 60000));
        serial.dropConnection(cause);
        const qint64 dropped = clock.nowMs();
        ASSERT_TRUE(clock.runUntil([&] { return !dialog->isReading(); }, 60000));
        EXPECT_LT(clock.nowMs() - dropped, 3000);
        EXPECT_EQ(prompter.shownTexts(), QStringList{c.message + "\n" + cause});
        EXPECT_EQ(text("Lb_down"), c.status);
        for (const char* name : {"sbJM1", "sbJM2", "sbJM3", "sbJM4", "sbExit"})
            EXPECT_TRUE(enabled(name)) << name;
        dialog.reset();
    }
}

// A running read is never abandoned by Escape; afterwards Escape closes. Destroying the dialog
// (the program ending) still stops the read safely.
TEST_F(ReadDialogTest, EscapeIsRefusedWhileAReadRuns) {
    const auto pressEscape = [this] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(dialog.get(), &press);
    };
    serial.player().setPrograms(1, storedSet(1, 40));
    open();
    control<QPushButton>("sbJM1")->click();
    clock.advance(2000);
    ASSERT_TRUE(dialog->isReading());
    pressEscape();
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_TRUE(clock.runUntil([&] { return !dialog->isReading(); }, 60000));
    EXPECT_EQ(prompter.shownTexts(), QStringList{"程序读取完毕！"});
    EXPECT_EQ(table(ProgramTable::MusicReadTab).size(), 40);
    pressEscape();
    EXPECT_FALSE(dialog->isVisible());

    prompter = {};
    open();
    control<QPushButton>("sbJM1")->click();
    clock.advance(2000);
    ASSERT_TRUE(dialog->isReading());
    dialog.reset();
    clock.advance(20000);
    EXPECT_TRUE(prompter.shownTexts().isEmpty());
    EXPECT_EQ(clock.pendingWaits(), 0);
}

// The title-bar close during a read, at any step of it, ends the read: no message, the
// read-back table empty (an earlier read's programs gone too), the PC's programs untouched, the
// port free for the next operation.
TEST_F(ReadDialogTest, TheTitleBarCloseEndsARunningRead) {
    const struct {
        const char* step;
        int afterMs; // from the click
    } steps[] = {{"probing", 100}, {"asking for pre-heat and delay", 700}, {"collecting", 3000}};
    serial.player().setPrograms(1, storedSet(1, 60));
    fillMusicTab({sampleProgram(7, "第二套")});
    const auto pcPrograms = table(ProgramTable::MusicTab);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        ProgramStore store(module.database());
        ASSERT_TRUE(store.insert(ProgramTable::MusicReadTab, sampleProgram(9, "第三套")));
        prompter = {};
        open();
        control<QPushButton>("sbJM1")->click();
        clock.advance(step.afterMs);
        ASSERT_TRUE(dialog->isReading());
        EXPECT_TRUE(dialog->close());
        EXPECT_FALSE(dialog->isVisible());
        clock.advance(20000);
        EXPECT_EQ(clock.pendingWaits(), 0);
        EXPECT_FALSE(channel.isClaimed());
        EXPECT_TRUE(prompter.shownTexts().isEmpty())
            << prompter.shownTexts().join('|').toStdString();
        EXPECT_TRUE(table(ProgramTable::MusicReadTab).isEmpty());
        EXPECT_EQ(table(ProgramTable::MusicTab), pcPrograms);
        dialog.reset();
    }
}

namespace {

// The main window on the same database and player.
class WholeDeviceReadWindowTest : public ReadTest {
protected:
    void SetUp() override {
        ReadTest::SetUp();
        window = std::make_unique<MainWindow>(
            MainWindowServices{clock, channel, prompter, windowData,
                               PortMap({{1, "/dev/pts/sim"}}, {}), dir.path() + "/"},
            session);
        ASSERT_EQ(showAndStart(*window), true);
        clock.advance(MainWindow::StartupCheckDelayMs + 100);
    }
    void TearDown() override {
        window.reset();
        clock.advance(20000);
    }
    template <typename T = QWidget> T* control(const char* name) {
        return window->findChild<T*>(QLatin1String(name));
    }

    DataModule windowData;
    std::unique_ptr<MainWindow> window;
};

} // namespace

TEST_F(WholeDeviceReadWindowTest, ReadsSetAfterSetOnTheProgressPanel) {
    serial.player().setPrograms(1, storedSet(1, 2));
    serial.player().setPrograms(3, storedSet(3, 1));
    const QStringList seven{"sbEdit",       "sbDown", "sbRead", "sbPcDown",
                            "sbMachinDown", "sbSet",  "sbExit"};
    QStringList labels;
    QList<bool> buttonsDuring;
    // What the operator sees behind each message: the panel, and whether the buttons are back.
    QStringList behindMessages;
    prompter.onShow([&](const MessageBox& box) {
        behindMessages.append(QStringLiteral("%1 panel=%2 buttons=%3")
                                  .arg(box.text)
                                  .arg(control("Pan_Mess")->isVisible())
                                  .arg(control("sbEdit")->isEnabled()));
    });
    control<QPushButton>("sbMachinDown")->click();
    EXPECT_TRUE(clock.runUntil(
        [&] {
            const QString set = control<QLabel>("LbJM")->text();
            if (!set.isEmpty() && (labels.isEmpty() || labels.last() != set)) {
                labels.append(set);
                buttonsDuring.append(control("sbEdit")->isEnabled());
                EXPECT_TRUE(control("Pan_Mess")->isVisible());
            }
            return prompter.shownTexts().contains("数据同步完毕！");
        },
        60000));
    EXPECT_EQ(labels, (QStringList{"第一套", "第二套", "第三套", "第四套"}));
    EXPECT_EQ(buttonsDuring, (QList<bool>{false, false, false, false}));
    EXPECT_EQ(behindMessages.last(), "数据同步完毕！ panel=0 buttons=0")
        << "the panel goes first, the buttons come back after the message";
    EXPECT_EQ(control<QLabel>("LabMess")->text(),
              "正在进行数据同步，将机器数据装载到电脑中，请稍候...");
    for (const auto& name : seven)
        EXPECT_TRUE(control(qPrintable(name))->isEnabled()) << name.toStdString();
    EXPECT_FALSE(control("Pan_Mess")->isVisible());
    EXPECT_EQ(table(ProgramTable::MusicTab).size(), 3);
    EXPECT_EQ(labelsNotReadAsShown(window.get()), QStringList{});
}

// The window's read goes through to its end whatever an empty set is answered with.
TEST_F(WholeDeviceReadWindowTest, CompletesWhateverAnEmptySetIsAnsweredWith) {
    const QString confirm =
        "将机器数据同步到电脑中,系统将自动覆盖电脑中所有的程序记录,确实要进行该同步操作吗？";
    const QString empty = "该套节目无编程记录！";
    serial.player().setPrograms(3, storedSet(3, 2));
    for (const EmptyAnswer shape : allEmptyAnswers()) {
        SCOPED_TRACE(emptyAnswerName(shape).toStdString());
        serial.player().setOptions({.emptyAnswer = shape});
        prompter = {};
        control<QPushButton>("sbMachinDown")->click();
        ASSERT_TRUE(clock.runUntil(
            [&] { return control("sbMachinDown")->isEnabled() && prompter.shown().size() > 1; },
            60000));
        EXPECT_EQ(prompter.shownTexts(),
                  (QStringList{confirm, empty, empty, empty, "数据同步完毕！"}));
        EXPECT_EQ(table(ProgramTable::MusicTab).size(), 2);
        EXPECT_FALSE(control("Pan_Mess")->isVisible());
    }
}

// A connection dropped while the sets are read ends the synchronisation at once, its cause under
// the message, and the PC's programs stay as they were.
TEST_F(WholeDeviceReadWindowTest, ADroppedConnectionEndsItWithItsCause) {
    const QString cause = "原因：网络串口 192.0.2.7:7003 断开了连接。";
    serial.player().setPrograms(1, storedSet(1, 2));
    serial.player().setOptions({.cutAfter = 5});
    const auto before = table(ProgramTable::MusicTab);
    control<QPushButton>("sbMachinDown")->click();
    ASSERT_TRUE(clock.runUntil([&] { return control("Pan_Mess")->isVisible(); }, 60000));
    serial.dropConnection(cause);
    const qint64 dropped = clock.nowMs();
    ASSERT_TRUE(clock.runUntil([&] { return control("sbMachinDown")->isEnabled(); }, 60000));
    EXPECT_LT(clock.nowMs() - dropped, 3000);
    ASSERT_EQ(prompter.shownTexts().size(), 2);
    EXPECT_EQ(prompter.shownTexts().last(), "数据同步失败！\n" + cause);
    EXPECT_EQ(table(ProgramTable::MusicTab), before);
}

// In English the window reads in English and fits, linked or not, while reading and after.
TEST_F(ReadDialogTest, EnglishTextsFit) {
    EnglishInterface english;
    ASSERT_TRUE(english.loaded());
    const auto expectEnglishThatFits = [this](const char* state) {
        SCOPED_TRACE(state);
        EXPECT_EQ(englishFaultsIn(dialog.get()), QStringList{});
    };
    serial.player().setPrograms(1, storedSet(1, 3));
    open();
    EXPECT_EQ(dialog->windowTitle(), "Read programs");
    EXPECT_EQ(control<QPushButton>("sbJM1")->text(), "Read set 1");
    expectEnglishThatFits("connected");
    control<QPushButton>("sbJM1")->click();
    ASSERT_TRUE(clock.runUntil([&] { return panelShown(); }, 60000));
    expectEnglishThatFits("reading");
    ASSERT_TRUE(clock.runUntil([&] { return !dialog->isReading(); }, 60000));
    EXPECT_EQ(text("Lb_down"), "Programs read.");
    expectEnglishThatFits("read");

    serial.player().setOptions({.silent = true});
    readSetOne();
    EXPECT_EQ(text("Lb_Mess"), "Connection failed");
    expectEnglishThatFits("not connected");
}
