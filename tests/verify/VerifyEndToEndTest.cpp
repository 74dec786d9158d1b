// The window against tessaly-player-sim on a real pseudo-terminal, in real time.
#include "VerifyDialog.h"

#include "DbTesting.h"
#include "DeviceChannel.h"
#include "PlayerProcess.h"
#include "PlayerSimulator.h"
#include "PosixSerialLink.h"
#include "ProgramStore.h"
#include "Prompter.h"
#include "ReadTesting.h"
#include "RealClock.h"
#include "Session.h"
#include "TestApplication.h"

#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

class VerifyEndToEndTest : public PlayerDbTest {
protected:
    void SetUp() override {
        testApplication();
        PlayerDbTest::SetUp();
    }

    // Serves events until the window is idle again; false after `seconds`.
    static bool waitUntilIdle(const VerifyDialog& dialog, int seconds) {
        const QDeadlineTimer deadline(seconds * 1000);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        while (dialog.isBusy() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return !dialog.isBusy();
    }
};

} // namespace

TEST_F(VerifyEndToEndTest, FindsTheDifferenceAndMendsIt) {
    QList<ProgramRecord> programs;
    for (int i = 1; i <= 2; ++i)
        programs.append(sampleProgram(i, setLabel(2)));
    ProgramStore store(module.database());
    for (const auto& program : programs)
        ASSERT_TRUE(store.insert(ProgramTable::MusicTab, program));
    const QString state = dir.filePath("player.json");
    {
        PlayerSimulator player;
        auto frames = storedSet(2, 2);
        frames[1][14] = 33;
        player.setPrograms(2, frames);
        ASSERT_TRUE(player.saveState(state));
    }
    PlayerProcess player(TESSALY_PLAYER_SIM, {"--state", state});
    ASSERT_FALSE(player.device().isEmpty());

    RealClock clock;
    PosixSerialLink serial(PortMap({{1, player.device()}}, {}));
    Session session;
    session.link.PortNumber = 1;
    DeviceChannel channel(serial, session.link);
    ScriptedPrompter prompter;
    VerifyDialog dialog({clock, channel, prompter, session, module.database()});
    dialog.show();
    const auto summary = [&] { return dialog.findChild<QLabel*>("LbSummary")->text(); };

    dialog.findChild<QPushButton*>("sbStart")->click();
    ASSERT_TRUE(waitUntilIdle(dialog, 30));
    EXPECT_EQ(summary(), "共1处不同");
    EXPECT_EQ(dialog.result().differences,
              (QList<ProgramDifference>{{2, "002", "YinLiang", "2", "33"}}));

    dialog.findChild<QPushButton*>("sbReload")->click();
    ASSERT_TRUE(waitUntilIdle(dialog, 60));
    EXPECT_EQ(prompter.shownTexts(),
              QStringList{"将重新装载第二套，播放器中该套的原有程序将被清除，继续吗？"});
    EXPECT_EQ(summary(), "播放器中的程序与电脑一致");
    EXPECT_TRUE(store.allPrograms(ProgramTable::MusicReadTab).value().isEmpty());
}
