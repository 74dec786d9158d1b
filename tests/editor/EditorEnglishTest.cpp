#include "EditorTesting.h"
#include "EnglishInterface.h"

#include "BatchAddDialog.h"
#include "ProgramListModel.h"
#include "ProgramSet.h"
#include "ScheduleEditor.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QTableView>

#include <optional>

using namespace tessaly;
using tessaly::testing::englishFaultsIn;

namespace {

const QString Set1 = "第一套";
const QString Set2 = "第二套";

// The editor in English: every text translated and none cut off, in each of its states.
class EditorEnglishTest : public EditorTest {
protected:
    void expectEnglish(const char* state) {
        EXPECT_EQ(englishFaultsIn(window.get()), QStringList{}) << state;
    }

    // After the application exists: a translator needs it.
    void SetUp() override {
        EditorTest::SetUp();
        english.emplace();
        ASSERT_TRUE(english->loaded());
    }
    void TearDown() override {
        EditorTest::TearDown();
        english.reset();
    }

    std::optional<tessaly::testing::EnglishInterface> english;
};

TEST_F(EditorEnglishTest, EveryStateReadsInEnglishAndFits) {
    store(Set2, QTime(7, 0), true);
    store(Set2, QTime(8, 0));
    open();
    EXPECT_EQ(window->windowTitle(), "Program editor");
    EXPECT_EQ(control<QAbstractButton>("chJM2")->text(), "Set 2");
    EXPECT_EQ(control<QAbstractButton>("sbexit")->text(), "Close");
    const auto& list = window->list();
    EXPECT_EQ(list.data(list.index(0, ProgramListModel::SetColumn), Qt::DisplayRole), "Set 2");
    EXPECT_EQ(list.data(list.index(0, ProgramListModel::PriorityColumn), Qt::DisplayRole),
              "Priority");
    EXPECT_EQ(list.data(list.index(1, ProgramListModel::PriorityColumn), Qt::DisplayRole), "");
    EXPECT_EQ(text("LbNumUnit"), "programs");
    QStringList menu;
    for (QAction* action : control<QTableView>("grid")->actions())
        menu.append(action->text());
    EXPECT_EQ(menu, (QStringList{"Weekly timetable…", "Export this set…", "Import into this set…",
                                 "Add several…", "Copy program…"}));
    expectEnglish("browsing, grid and its menu");

    BatchAddDialog* batch = window->batchAddClick();
    ASSERT_NE(batch, nullptr);
    EXPECT_EQ(batch->windowTitle(), "Add several - Set 2");
    batch->findChild<QPlainTextEdit*>("edtStartTimes")->setPlainText("8:00\n25:00");
    EXPECT_EQ(batch->preview().lines[0].verdict,
              "A program already starts at this time. Please set another start time.");
    EXPECT_EQ(batch->preview().lines[1].message(),
              "line 2: “25:00”: the hour cannot be greater than 23");
    EXPECT_EQ(englishFaultsIn(batch), QStringList{}) << "several programs at once";
    batch->close();
    BatchAddDialog* copy = window->copyProgramClick();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->windowTitle(), "Copy program - Set 2");
    EXPECT_EQ(englishFaultsIn(copy), QStringList{}) << "a program to new starts";
    copy->close();

    click("sbCopy");
    expectEnglish("copy panel");
    click("SpeedButton2");

    click("sbAdd");
    expectEnglish("adding");
    EXPECT_EQ(control<QAbstractButton>("chAllOpen")->text(), "All on");
    EXPECT_EQ(control<QAbstractButton>("chAllClose")->text(), "All off");
    prompter.answerNext(MessageBox::Button::Ok);
    click("sbCancel");
    EXPECT_EQ(prompter.shownTexts().last(), "Discard the changes?");

    execute("update MusicTab set MP3 = 0, ShouYin = 1, QuMu1 = '087'");
    reopen();
    EXPECT_EQ(text("LbQM"), "Station:");
    click("sbedit");
    expectEnglish("editing a radio program");
}

// Sets and the priority mark are shown and named by their display names, and stored as they are
// in Chinese.
TEST_F(EditorEnglishTest, MessagesNameSetsAsShownAndWhatIsStoredStaysChinese) {
    open();
    tick("chJM1");
    click("sbAdd");
    setTimes("07:00:00", "08:00:00");
    tick("chJM0");
    click("sbSave");
    EXPECT_EQ(text("LbNumUnit"), "program") << "one program";
    {
        QSqlQuery query(data.database());
        ASSERT_TRUE(query.exec("select JMTaoNo, YXCX from MusicTab") && query.next());
        EXPECT_EQ(query.value(0).toString(), Set1);
        EXPECT_EQ(query.value(1).toString(), "优先");
    }

    click("sbCopy");
    control<QComboBox>("cmbSource")->setCurrentText("Set 1");
    control<QComboBox>("cmbObject")->setCurrentText("Set 2");
    click("SpeedButton1");
    EXPECT_EQ(prompter.shownTexts().first(), "Copy Set 1 to Set 2?");
    EXPECT_EQ(lastMessage(), "Set 1 has been copied to Set 2.");
    EXPECT_EQ(storedCount(Set2), 1) << "the copy is stored under the set's label";

    EXPECT_EQ(setFullMessage(Set2), "Set 2 already holds 999 programs; no more can be added.");
}

} // namespace
