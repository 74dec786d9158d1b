#include "DbTesting.h"
#include "EnglishInterface.h"
#include "ProgramStore.h"
#include "Prompter.h"
#include "TestApplication.h"
#include "TimetableWindow.h"
#include "WeekSamples.h"
#include "WeekText.h"
#include "WeekView.h"

#include <QComboBox>
#include <QTest>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

class TimetableEnglishTest : public PlayerDbTest {
protected:
    void SetUp() override {
        testApplication();
        PlayerDbTest::SetUp();
        ProgramStore store(module.database());
        for (const auto& program : sampleWeek(1))
            ASSERT_TRUE(store.insert(ProgramTable::MusicTab, program));
    }

    ScriptedPrompter prompter;
};

} // namespace

TEST_F(TimetableEnglishTest, TheWeekOfASetReadsInEnglishAndFits) {
    const EnglishInterface english;
    ASSERT_TRUE(english.loaded());
    TimetableWindow window(prompter, module.database(), ProgramTable::MusicTab, 1);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(window.windowTitle(), "Weekly timetable - Set 1");
    EXPECT_EQ(window.findChild<QComboBox*>("cmbSet")->itemText(3), "Set 4");
    EXPECT_EQ(englishFaultsIn(&window), QStringList{});

    // The blocks' names and tooltips, and the rows of the printed list: the stored set label
    // and priority marker show in their English form.
    const WeekView* view = window.view();
    const WeekPicture& picture = view->picture();
    ASSERT_FALSE(picture.layout().blocks.isEmpty());
    EXPECT_EQ(view->blockName(0), "Monday 06:00:00 to 06:25:00 No. 001");
    EXPECT_TRUE(view->blockToolTip(0).contains("Set: Set 1\nPriority: yes\nDays: Mon–Fri"))
        << view->blockToolTip(0).toStdString();
    for (int i = 0; i < picture.layout().blocks.size(); ++i) {
        const ProgramRecord& program = picture.sheet().programs[picture.layout().blocks[i].program];
        const QString texts = QStringList{view->blockName(i), view->blockToolTip(i),
                                          weekText::blockLines(program).join('\n'),
                                          weekText::tableRow(program).join('\t')}
                                  .join('\n');
        EXPECT_FALSE(holdsChinese(texts)) << texts.toStdString();
    }
    EXPECT_FALSE(holdsChinese(weekText::tableHeader().join(' ')));

    // The other sets, the empty one included.
    window.showSet(2);
    EXPECT_EQ(window.windowTitle(), "Weekly timetable - Set 2");
    EXPECT_EQ(englishFaultsIn(&window), QStringList{});

    TimetableWindow readBack(prompter, module.database(), ProgramTable::MusicReadTab, 1);
    EXPECT_EQ(readBack.windowTitle(), "Weekly timetable - Set 1 (read from the player)");
}
