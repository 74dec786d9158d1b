#include "LoadTesting.h"
#include "MainWindow.h"
#include "MainWindowStart.h"

#include <QLabel>
#include <QPushButton>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

const QStringList SevenButtons{"sbEdit",       "sbDown", "sbRead", "sbPcDown",
                               "sbMachinDown", "sbSet",  "sbExit"};

// The main window over the fixture's database, with a simulated player on COM1.
class DeviceLoadPanelTest : public LoadFixture {
protected:
    void TearDown() override {
        window.reset();
        line->clock.advance(5000); // let a cancelled sequence unwind
    }

    void start(PlayerOptions options = {}) {
        line = std::make_unique<PlayerLine>(options);
        window = std::make_unique<MainWindow>(
            MainWindowServices{line->clock, line->channel, prompter, windowData,
                               PortMap({{1, "/dev/pts/sim"}}, {}), folder.path() + "/"},
            line->session);
        ASSERT_EQ(showAndStart(*window), true);
        line->clock.advance(MainWindow::StartupCheckDelayMs + 100);
    }

    template <typename T = QWidget> T* control(const char* name) {
        auto* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* label) { return control<QLabel>(label)->text(); }
    QString progress() {
        return QStringLiteral("%1 %2/%3").arg(text("LbJM"), text("Lb_Left"), text("Lb_Total"));
    }
    int enabledButtons() {
        int enabled = 0;
        for (const QString& name : SevenButtons)
            enabled += control(qPrintable(name))->isEnabled();
        return enabled;
    }
    bool panelShown() { return control("Pan_Mess")->isVisible(); }

    ScriptedPrompter prompter;
    DataModule windowData;
    std::unique_ptr<PlayerLine> line;
    std::unique_ptr<MainWindow> window;
};

TEST_F(DeviceLoadPanelTest, CancelAtTheQuestionTouchesNothing) {
    start();
    const auto before = line->serial.player().received().size();
    prompter.answerNext(MessageBox::Button::Cancel);
    control<QPushButton>("sbPcDown")->click();
    line->clock.advance(5000);
    EXPECT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].icon, MessageBox::Icon::Question);
    EXPECT_EQ(prompter.shown()[0].defaultButton, MessageBox::Button::Cancel);
    EXPECT_EQ(prompter.shownTexts()[0], "将电脑数据同步到机器中,系统将自动覆盖机器中所有的程序"
                                        "记录,确实要进行该同步操作吗？");
    EXPECT_EQ(line->serial.player().received().size(), before);
    EXPECT_EQ(enabledButtons(), 7);
}

TEST_F(DeviceLoadPanelTest, LoadRunsOnTheProgressPanelWithTheButtonsHeld) {
    addProgram(sampleProgram(1, "001", 7));
    addProgram(sampleProgram(3, "001", 8));
    addProgram(sampleProgram(3, "002", 9));
    start();
    control<QPushButton>("sbPcDown")->click();
    EXPECT_EQ(enabledButtons(), 0) << "held from the probe on";
    EXPECT_FALSE(panelShown());

    line->clock.advance(660 + 500); // probe; the clear is on its way
    EXPECT_TRUE(panelShown());
    EXPECT_FALSE(control("PanSet")->isVisible());
    EXPECT_EQ(text("LabMess"), "正在清除播放器中程序记录，请稍候...");
    EXPECT_EQ(progress(), " 0/0");
    EXPECT_EQ(enabledButtons(), 0);

    line->clock.advance(500 + 1000); // the first poll sees the answer; set 1 starts
    EXPECT_EQ(text("LabMess"), "正在进行数据同步，将电脑数据装载到机器中，请稍候...");
    EXPECT_EQ(progress(), "第一套 1/1");
    line->clock.advance(500);
    EXPECT_EQ(progress(), "第一套 0/1");
    line->clock.advance(2000);
    EXPECT_EQ(progress(), "第二套 0/0");
    line->clock.advance(2000 + 500);
    EXPECT_EQ(progress(), "第三套 1/2");
    EXPECT_TRUE(prompter.shown().size() == 1) << "only the question so far";
    // The buttons come back under the message; the panel goes once it is closed.
    QString behindTheEnd;
    prompter.onShow([&](const MessageBox&) {
        behindTheEnd =
            QStringLiteral("panel=%1 buttons=%2").arg(panelShown()).arg(enabledButtons());
    });

    line->clock.runUntil([&] { return prompter.shown().size() == 2; });
    EXPECT_EQ(prompter.shownTexts().last(), "数据同步完毕！");
    EXPECT_EQ(behindTheEnd, "panel=1 buttons=7");
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(enabledButtons(), 7);
    for (int set = FirstSet; set <= LastSet; ++set)
        EXPECT_EQ(line->serial.player().programs(set), expectedFrames(set)) << set;
}

TEST_F(DeviceLoadPanelTest, ClosingTheMainWindowStopsTheLoad) {
    addProgram(sampleProgram(1, "001", 7));
    addProgram(sampleProgram(1, "002", 8));
    start();
    control<QPushButton>("sbPcDown")->click();
    line->clock.advance(660 + 2000 + 100); // the first program is out
    window->close();
    window.reset();
    line->clock.advance(10000);
    EXPECT_EQ(line->recordFramesReceived(), 1);
    EXPECT_EQ(line->framesReceived().last(), "FE0200FF") << "the close notice comes last";
}

TEST_F(DeviceLoadPanelTest, EndsThatAreNotSuccess) {
    addProgram(sampleProgram(2, "001", 7));
    PlayerOptions silent, failedClear;
    silent.silent = true;
    failedClear.clearFails = true;
    struct Case {
        const char* name;
        PlayerOptions options;
        bool pullOut; // the adapter goes while the player clears
        QString message;
    };
    const std::vector<Case> cases{
        {"no link", silent, false, "软件与播放器尚未连接，无法进行数据同步操作！"},
        {"clear fails", failedClear, false, "记录清除失败，数据同步失败！"},
        {"write fails", {}, true, "数据同步失败！"},
    };
    for (const auto& c : cases) {
        prompter = ScriptedPrompter();
        start(c.options);
        control<QPushButton>("sbPcDown")->click();
        if (c.pullOut) {
            line->clock.advance(2000);
            line->serial.setWriteFails(true);
        }
        line->clock.runUntil([&] { return prompter.shown().size() == 2; }, 200000);
        EXPECT_EQ(prompter.shownTexts().value(1), c.message) << c.name;
        EXPECT_FALSE(panelShown()) << c.name;
        EXPECT_EQ(enabledButtons(), 7) << c.name;
        EXPECT_EQ(line->recordFramesReceived(), 0) << c.name;
        TearDown();
    }
}

} // namespace
