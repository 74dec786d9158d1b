#include "LoadDialog.h"
#include "AccessibleText.h"
#include "EnglishInterface.h"
#include "LinkIndicator.h"
#include "LoadTesting.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

const QStringList FiveButtons{"sbJM1", "sbJM2", "sbJM3", "sbJM4", "sbExit"};

// The load window over the fixture's database and a simulated player, in virtual time.
class LoadDialogTest : public LoadFixture {
protected:
    void TearDown() override {
        dialog.reset();
        line.reset();
    }

    void open(PlayerOptions options = {}) {
        line = std::make_unique<PlayerLine>(options);
        dialog = std::make_unique<LoadDialog>(line->context(data.database()), prompter);
        dialog->show();
    }

    template <typename T = QWidget> T* control(const char* name) {
        auto* found = dialog->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* label) { return control<QLabel>(label)->text(); }
    QColor indicator() { return control<LinkIndicator>("SP_State")->fill(); }
    QStringList enabledButtons() {
        QStringList enabled;
        for (const QString& name : FiveButtons)
            if (control(qPrintable(name))->isEnabled())
                enabled << name;
        return enabled;
    }
    void advance(qint64 ms) { line->clock.advance(ms); }
    void runToEnd() {
        line->clock.runUntil([&] { return !dialog->isLoading(); });
    }

    ScriptedPrompter prompter;
    std::unique_ptr<PlayerLine> line;
    std::unique_ptr<LoadDialog> dialog;
};

TEST_F(LoadDialogTest, ShowsItsControlsAndProbesOnShowing) {
    open();
    EXPECT_EQ(dialog->windowTitle(), "程序装载");
    EXPECT_EQ(dialog->size(), QSize(689, 486));
    EXPECT_TRUE(dialog->isModal());
    const std::vector<std::pair<const char*, QString>> captions{{"sbJM1", "第一套程序装载"},
                                                                {"sbJM2", "第二套程序装载"},
                                                                {"sbJM3", "第三套程序装载"},
                                                                {"sbJM4", "第四套程序装载"},
                                                                {"sbExit", "退出页面"}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(control<QPushButton>(name)->text(), caption) << name;
    EXPECT_TRUE(control("Pan_Mess")->isVisible());
    EXPECT_EQ(text("Lb_Total"), "0");
    EXPECT_EQ(text("Lb_Left"), "0");
    EXPECT_EQ(text("Lb_down"), "");
    // Controls without text of their own are named; labels are read out by what they show.
    for (const char* unlabelled : {"PBar_Pro", "SP_State"})
        EXPECT_FALSE(spokenName(control(unlabelled)).isEmpty()) << unlabelled;

    EXPECT_EQ(indicator(), QColor(255, 0, 0));
    EXPECT_EQ(text("Lb_Mess"), "") << "emptied while the probe runs";
    EXPECT_EQ(enabledButtons(), QStringList{"sbExit"});
    advance(560);
    EXPECT_EQ(indicator(), QColor(0, 255, 0));
    EXPECT_EQ(text("Lb_Mess"), "连接成功");
    EXPECT_TRUE(line->session.link.LinkUp);
    EXPECT_EQ(enabledButtons(), FiveButtons);
}

TEST_F(LoadDialogTest, SilentPlayerShowsRedAndTheButtonsStayUsable) {
    PlayerOptions silent;
    silent.silent = true;
    open(silent);
    advance(560);
    EXPECT_EQ(indicator(), QColor(255, 0, 0));
    EXPECT_EQ(text("Lb_Mess"), "连接失败");
    EXPECT_EQ(enabledButtons(), FiveButtons);

    control<QPushButton>("sbJM1")->click();
    runToEnd();
    EXPECT_EQ(prompter.shownTexts(), QStringList{"软件与播放器尚未连接，无法进行程序装载！"});
    EXPECT_EQ(prompter.shown().last().caption, "信息提示：");
    EXPECT_EQ(prompter.shown().last().icon, MessageBox::Icon::Information);
    EXPECT_EQ(enabledButtons(), FiveButtons);
    EXPECT_EQ(line->serial.player().received().size(), 2) << "two probes, nothing else";
}

TEST_F(LoadDialogTest, LoadShowsItsProgressAndTheWindowStaysUntilItEnds) {
    addProgram(sampleProgram(2, "001", 7));
    addProgram(sampleProgram(2, "002", 8));
    addProgram(sampleProgram(2, "003", 9));
    open();
    advance(560);

    control<QPushButton>("sbJM2")->click();
    EXPECT_TRUE(enabledButtons().isEmpty());
    advance(560 + 500); // probe, then halfway to the clear command
    EXPECT_EQ(text("Lb_down"), "正在清除记录，请稍候...");
    dialog->close();
    dialog->reject(); // Escape
    EXPECT_TRUE(dialog->isVisible()) << "no close while the player is being cleared";

    advance(500 + 1000); // the first poll sees the answer; the first program goes out
    EXPECT_EQ(text("Lb_Total"), "3");
    EXPECT_EQ(text("Lb_Left"), "3");
    EXPECT_EQ(text("Lb_down"), "");
    QStringList left;
    for (int i = 0; i < 3; ++i) {
        advance(500);
        left << text("Lb_Left");
    }
    EXPECT_EQ(left, (QStringList{"2", "1", "0"}));
    auto* bar = control<QProgressBar>("PBar_Pro");
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(bar->maximum(), 3);
    EXPECT_EQ(prompter.shownTexts(), QStringList{"程序装载完毕！"});
    EXPECT_EQ(enabledButtons(), FiveButtons);
    EXPECT_EQ(line->serial.player().programs(2), expectedFrames(2));
    EXPECT_EQ(spokenName(control("Lb_down")), text("Lb_down"));
    EXPECT_EQ(spokenName(control("Lb_Total")), "3");
    EXPECT_EQ(spokenName(control("Lb_Mess")), "连接成功");
    EXPECT_EQ(labelsNotReadAsShown(dialog.get()), QStringList{});

    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(LoadDialogTest, EveryFailedLoadEndsWithItsMessageAndAUsableWindow) {
    addProgram(sampleProgram(1, "001", 7));
    addProgram(sampleProgram(1, "002", 8));
    addProgram(sampleProgram(4, "001", 7, "9x")); // cannot be encoded
    struct Case {
        const char* name;
        int set;
        std::function<void(PlayerLine&)> fault;
        QString message;
        QString status;
    };
    const std::vector<Case> cases{
        {"clear timeout", 1,
         [](PlayerLine& l) {
             PlayerOptions slow;
             slow.clearDelayMs = 10 * 60 * 1000;
             l.serial.player().setOptions(slow);
         },
         "记录清除超时，第一套程序装载失败！", "正在清除记录，请稍候..."},
        {"connection dropped during the clear", 1,
         [](PlayerLine& l) {
             PlayerOptions slow;
             slow.clearDelayMs = 10 * 60 * 1000;
             l.serial.player().setOptions(slow);
             l.clock.advance(1600);
             l.serial.dropConnection("原因：网络串口 socket://127.0.0.1:7003 断开了连接。");
         },
         "程序装载失败！\n原因：网络串口 socket://127.0.0.1:7003 断开了连接。", "程序装载失败！"},
        {"write fails", 1,
         [](PlayerLine& l) {
             // Pulled out while the player clears.
             l.clock.advance(1600);
             l.serial.setWriteFails(true);
         },
         "程序装载失败！", "程序装载失败！"},
        {"unencodable", 4, [](PlayerLine&) {}, "", ""},
    };
    for (const auto& c : cases) {
        prompter = ScriptedPrompter();
        open();
        advance(560);
        control<QPushButton>(qPrintable(QStringLiteral("sbJM%1").arg(c.set)))->click();
        c.fault(*line);
        runToEnd();
        ASSERT_EQ(prompter.shown().size(), 1) << c.name;
        if (c.message.isEmpty())
            EXPECT_TRUE(prompter.shownTexts()[0].contains("第四套")) << c.name;
        else
            EXPECT_EQ(prompter.shownTexts()[0], c.message) << c.name;
        EXPECT_EQ(text("Lb_down"), c.status) << c.name;
        EXPECT_EQ(enabledButtons(), FiveButtons) << c.name;
        EXPECT_EQ(line->recordFramesReceived(), 0) << c.name;
    }
}

TEST_F(LoadDialogTest, ClosingDuringTheShowProbeEndsIt) {
    open();
    advance(100);
    dialog->close();
    dialog.reset();
    const int writes = line->serial.writeCount();
    advance(2000);
    EXPECT_EQ(line->serial.writeCount(), writes) << "nothing runs on after the window";
}

} // namespace

// In English the window and its messages read in English, fit, and name the set as shown.
TEST_F(LoadDialogTest, EnglishTextsFitAndNameTheSet) {
    EnglishInterface english;
    ASSERT_TRUE(english.loaded());
    addProgram(sampleProgram(2, "001", 7));
    open();
    advance(560);
    EXPECT_EQ(dialog->windowTitle(), "Load programs");
    EXPECT_EQ(control<QPushButton>("sbJM2")->text(), "Load set 2");
    EXPECT_EQ(text("Lb_Mess"), "Connected");
    EXPECT_EQ(englishFaultsIn(dialog.get()), QStringList{});

    control<QPushButton>("sbJM2")->click();
    advance(560 + 500);
    EXPECT_EQ(text("Lb_down"), "Clearing the records, please wait...");
    EXPECT_EQ(englishFaultsIn(dialog.get()), QStringList{});
    runToEnd();
    EXPECT_EQ(prompter.shownTexts(), QStringList{"Programs loaded."});
    EXPECT_EQ(setLoadMessage({LoadOutcome::ClearTimedOut, {}}, 2),
              "Set 2: clearing the records timed out, loading failed!");
}
