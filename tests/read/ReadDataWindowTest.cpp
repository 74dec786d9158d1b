#include "ReadDataWindow.h"
#include "AccessibleText.h"
#include "EnglishInterface.h"
#include "ReadTesting.h"
#include "SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

class ReadDataWindowTest : public ReadTest {
protected:
    void fill(ProgramTable table, const QList<ProgramRecord>& records) {
        ProgramStore store(module.database());
        for (const auto& record : records)
            ASSERT_TRUE(store.insert(table, record));
    }
    void open() {
        window = std::make_unique<ReadDataWindow>(clock, prompter, module.database(), session);
        window->show();
    }
    template <typename T = QWidget> T* control(const char* name) {
        auto* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    bool ticked(const char* box) { return control<QCheckBox>(box)->isChecked(); }
    QStringList musicTab() {
        QStringList rows;
        for (const auto& record : table(ProgramTable::MusicTab))
            rows.append(record.JMTaoNo + record.OrderNo + (isPriority(record) ? "优" : ""));
        return rows;
    }

    std::unique_ptr<ReadDataWindow> window;
};

} // namespace

TEST_F(ReadDataWindowTest, EmptyReadBackTableHasNothingToSave) {
    open();
    EXPECT_EQ(window->windowTitle(), "读取播放器节目数据");
    EXPECT_TRUE(ticked("chJM1"));
    EXPECT_EQ(control<QLabel>("LbNum")->text(), "0");
    control<QPushButton>("sbSave")->click();
    EXPECT_EQ(prompter.shownTexts(), QStringList{"[第一套]没有记录，无需保存！"});
}

TEST_F(ReadDataWindowTest, SavesTheListedSetWithThePreheatAndDelayRead) {
    fill(ProgramTable::MusicTab,
         {sampleProgram(1, "第三套", false), sampleProgram(2, "第三套", true),
          sampleProgram(3, "第一套", false)});
    QList<ProgramRecord> read;
    for (int i = 11; i <= 15; ++i)
        read.append(sampleProgram(i, "第三套", false));
    fill(ProgramTable::MusicReadTab, read);
    session.ReadPreheatMinutes = 7;
    session.ReadDelayMinutes = 8;
    open();
    EXPECT_TRUE(ticked("chJM3"));
    EXPECT_FALSE(ticked("chJM1"));
    EXPECT_EQ(control<QLabel>("LbNum")->text(), "5");
    EXPECT_EQ(control<QComboBox>("cmbYR")->currentText(), "7");
    EXPECT_EQ(control<QComboBox>("cmbYS")->currentText(), "8");
    EXPECT_FALSE(control("Pan_Edt")->isEnabled()) << "the viewer never edits";
    EXPECT_EQ(labelsNotReadAsShown(window.get()), QStringList{});
    control<QComboBox>("cmbYR")->setCurrentText("33"); // typed values are not used

    control<QPushButton>("sbSave")->click();
    EXPECT_EQ(prompter.shownTexts().last(), "[第三套]数据保存成功！");
    EXPECT_EQ(musicTab(), (QStringList{"第一套003", "第三套011", "第三套012", "第三套013",
                                       "第三套014", "第三套015"}));
    EXPECT_EQ(SettingsStore(module.database()).readSettings()->JM1YR, 7);
    EXPECT_EQ(session.PreheatMinutes, 7);
    EXPECT_EQ(session.DelayMinutes, 8);
}

TEST_F(ReadDataWindowTest, SaveFollowsTheChosenFilterNotTheCurrentProgramsMarker) {
    fill(ProgramTable::MusicTab,
         {sampleProgram(1, "第三套", false), sampleProgram(2, "第三套", true)});
    fill(ProgramTable::MusicReadTab,
         {sampleProgram(21, "第三套", true), sampleProgram(22, "第三套", false),
          sampleProgram(23, "第三套", true)});
    open();
    // The first program is a priority one: the box shows its marker, but the whole set is listed.
    EXPECT_TRUE(ticked("chJM0"));
    EXPECT_EQ(control<QLabel>("LbNum")->text(), "3");
    control<QPushButton>("sbSave")->click();
    EXPECT_EQ(musicTab(), (QStringList{"第三套021优", "第三套022", "第三套023优"}))
        << "the whole set replaced, nothing duplicated";

    // Now the priority filter, chosen: only the priority programs are replaced.
    prompter = {};
    // The box follows the current program: on a normal one it is unticked, and a click chooses
    // the filter.
    auto* grid = control<QTableView>("grid");
    grid->setCurrentIndex(grid->model()->index(1, 0));
    ASSERT_FALSE(ticked("chJM0"));
    control<QCheckBox>("chJM0")->click();
    ASSERT_TRUE(window->priorityFilter());
    EXPECT_EQ(control<QLabel>("LbNum")->text(), "2");
    control<QPushButton>("sbSave")->click();
    EXPECT_EQ(prompter.shownTexts(),
              (QStringList{"确实需要保存[第三套优先]数据到软件中吗？",
                           "该操作将覆盖软件中[第三套优先]原有的数据，确实需要保存该数据吗？",
                           "[第三套优先]数据保存成功！"}));
    EXPECT_EQ(musicTab(), (QStringList{"第三套021优", "第三套022", "第三套023优"}));
}

// Programs whose set byte is none of the four tick no set box: the save names no set, replaces
// none of the PC's sets and adds nothing.
TEST_F(ReadDataWindowTest, ProgramsWithoutASetReplaceNoSetOfThePcs) {
    fill(ProgramTable::MusicTab, {sampleProgram(1, "第一套"), sampleProgram(2, "第一套")});
    RecordFrame frame = frameOf(sampleProgram(31, "第一套"), 1, 1, 1);
    frame[1] = frame::RecordAnswer;
    frame[4] = 7;
    const auto decoded = decodeRecordFrame(frame).record.value();
    fill(ProgramTable::MusicReadTab, {decoded});
    open();
    for (const char* box : {"chJM1", "chJM2", "chJM3", "chJM4"})
        EXPECT_FALSE(ticked(box)) << box;
    control<QPushButton>("sbSave")->click();
    EXPECT_EQ(prompter.shownTexts(), QStringList{"[]没有记录，无需保存！"});
    EXPECT_EQ(musicTab(), (QStringList{"第一套001优", "第一套002"}));
}

// A program of another set read with the set is listed, but the save writes only the set it
// replaces.
TEST_F(ReadDataWindowTest, SaveWritesOnlyTheProgramsOfTheSetItReplaces) {
    fill(ProgramTable::MusicTab, {sampleProgram(1, "第三套"), sampleProgram(5, "第一套")});
    fill(ProgramTable::MusicReadTab,
         {sampleProgram(21, "第三套", false), sampleProgram(22, "第三套", false),
          sampleProgram(23, "第一套", false)});
    open();
    EXPECT_TRUE(ticked("chJM3"));
    EXPECT_EQ(control<QLabel>("LbNum")->text(), "3");
    control<QPushButton>("sbSave")->click();
    EXPECT_EQ(prompter.shownTexts().last(), "[第三套]数据保存成功！");
    EXPECT_EQ(musicTab(), (QStringList{"第一套005优", "第三套021", "第三套022"}));
}

// In English the viewer's own texts are English and fit, and its messages name the set as the
// operator reads it. The program panels it shares with the editor are checked with the editor.
TEST_F(ReadDataWindowTest, EnglishTextsFitAndNameTheSet) {
    EnglishInterface english;
    ASSERT_TRUE(english.loaded());
    fill(ProgramTable::MusicReadTab,
         {sampleProgram(21, "第三套", true), sampleProgram(22, "第三套", false)});
    open();
    EXPECT_EQ(window->windowTitle(), "Programs read from the player");
    const auto ownTexts = [this](QStringList (*find)(QWidget*)) {
        QStringList texts = find(window.get());
        for (const char* panel : {"ProgramListPanel", "ProgramFilterPanel", "ProgramDetailPanel"})
            for (QWidget* shared : window->findChildren<QWidget*>())
                if (shared->inherits(QByteArray("tessaly::") + panel))
                    for (const QString& text : find(shared))
                        texts.removeAll(text);
        return texts;
    };
    EXPECT_EQ(ownTexts(chineseTextsIn), QStringList{});
    EXPECT_EQ(ownTexts(clippedTextsIn), QStringList{});
    const auto actions = control<QTableView>("grid")->actions();
    ASSERT_FALSE(actions.isEmpty());
    EXPECT_EQ(actions.last()->text(), "Weekly timetable (read data)…");

    auto* grid = control<QTableView>("grid");
    grid->setCurrentIndex(grid->model()->index(1, 0)); // a normal program: the box unticks
    control<QCheckBox>("chJM0")->click();
    ASSERT_TRUE(window->priorityFilter());
    control<QPushButton>("sbSave")->click();
    EXPECT_EQ(prompter.shownTexts().last(), "The Set 3 Priority data was saved.");
}
