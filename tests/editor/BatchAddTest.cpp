#include "EditorTesting.h"

#include "BatchAdd.h"
#include "ProgramSet.h"
#include "ScheduleEditor.h"

using namespace tessaly;

namespace {

const QString Set1 = "第一套";
const QString Set2 = "第二套";
const QString Taken = "输入任务已存在，请重新设置！";

// The batch engine over a real database; no window is opened.
class BatchAddTest : public EditorTest {
protected:
    BatchTemplate bells(const QString& set = Set1, bool priority = false) {
        BatchTemplate shared;
        shared.program = newProgramDefaults();
        shared.program.JMTaoNo = set;
        shared.program.YXCX = priority ? priorityMarker() : QString("");
        shared.program.QuMu = {"12", "7", "000", "000", "000", "000"};
        shared.program.YinLiang = 30;
        shared.program.FQ[2] = true;
        return shared;
    }
    // Each line as "line verdict", "ok" for a line that can be added.
    QStringList verdicts(const BatchCheck& check) {
        QStringList lines;
        for (const BatchLine& line : check.lines)
            lines.append(QString::number(line.item.line) + " " +
                         (line.accepted() ? QString("ok") : line.verdict));
        return lines;
    }
    ScheduleEditor editor{data.database(), session};
};

TEST_F(BatchAddTest, AddsEveryProgramWithItsEndAndNumbersTheSetByStart) {
    store(Set1, QTime(9, 0), false, {true}, "001");
    store(Set2, QTime(8, 0));
    const BatchOutcome outcome = editor.addBatch(bells(), "8:00\n10:00-10:45\n23:59:50");
    ASSERT_TRUE(outcome.succeeded()) << outcome.error.toStdString();
    EXPECT_EQ(outcome.added, 3);
    EXPECT_TRUE(editor.ProgramsChanged) << "the close reminds of the load";
    EXPECT_EQ(numbering(Set1),
              (QStringList{"08:00:00=001", "09:00:00=002", "10:00:00=003", "23:59:50=004"}));
    EXPECT_EQ(storedCount(Set2), 1);

    const QList<ProgramRecord> programs = stored(Set1);
    ProgramRecord expected = bells().program;
    expected.AutoID = programs[0].AutoID;
    expected.OrderNo = "001";
    applyTimes(expected, {"08", "00", "00", "08", "00", "30"});
    EXPECT_EQ(programs[0], expected) << "the shared fields, and 30 seconds";
    EXPECT_EQ(programs[2].JSTime, QTime(10, 45)) << "the end its line gives";
    EXPECT_EQ(programs[3].JSTime, QTime(0, 0, 20)) << "a duration runs on past midnight";
}

TEST_F(BatchAddTest, RefusesEachLineAsTheEditorWouldAndAddsNothing) {
    store(Set1, QTime(8, 0), false, {true}); // Monday
    store(Set1, QTime(9, 0), true, {true});  // priority, Monday
    store(Set1, QTime(10, 0), false, {false, false, false, false, false, false, true});
    store(Set2, QTime(11, 0));
    const QString times = "8:00\n9:00\n10:00\n11:00\n12:00\nnoon\n12:00\n08:00:00";
    const BatchOutcome outcome = editor.addBatch(bells(), times);
    EXPECT_EQ(verdicts(outcome.check), (QStringList{
                                           "1 " + Taken,
                                           "2 ok", // the stored one has priority
                                           "3 ok", // no common weekday
                                           "4 ok", // another set
                                           "5 ok",
                                           "6 “noon”不是时间（可写作8:00、08:00:00、8.00或0800）",
                                           "7 " + Taken, // line 5 took it
                                           "8 " + Taken,
                                       }));
    EXPECT_EQ(outcome.check.lines[5].message(),
              "第6行：“noon”不是时间（可写作8:00、08:00:00、8.00或0800）");
    EXPECT_EQ(outcome.added, 0);
    EXPECT_FALSE(outcome.succeeded());
    EXPECT_FALSE(editor.ProgramsChanged);
    EXPECT_EQ(storedCount(Set1), 3);

    EXPECT_EQ(verdicts(editor.addBatch(bells(Set1, true), "8:00\n9:00").check),
              (QStringList{"1 ok", "2 " + Taken}))
        << "a priority batch clashes with priority programs only";
}

TEST_F(BatchAddTest, SharedFieldsTheEditorRefusesRefuseEveryLine) {
    BatchTemplate noDays = bells();
    noDays.program.Week = {};
    EXPECT_EQ(verdicts(checkBatch(noDays, "8:00,9:00", {})),
              (QStringList{"1 播放星期不能全部为空！", "1 播放星期不能全部为空！"}));
    BatchTemplate noVolume = bells();
    noVolume.volumeChosen = false;
    EXPECT_EQ(verdicts(checkBatch(noVolume, "8:00", {})), QStringList{"1 音量不能为空！"});
    EXPECT_FALSE(checkBatch(bells(), " \n ", {}).canAdd()) << "nothing to add";
}

TEST_F(BatchAddTest, ASetHoldsNoMoreThan999Programs) {
    QList<ProgramRecord> full;
    for (int i = 0; i < ScheduleEditor::MaxProgramsPerSet - 1; ++i) {
        ProgramRecord program = bells().program;
        applyTimes(program, {QString::number(i / 60), QString::number(i % 60), "0", "0", "0", "0"});
        full.append(program);
    }
    EXPECT_EQ(verdicts(checkBatch(bells(), "20:00\n21:00", full)),
              (QStringList{"1 ok", "2 [第一套]已有999个程序，无法再增加！"}));
}

TEST_F(BatchAddTest, ACopyKeepsTheProgramAndItsDurationAtNewStarts) {
    ProgramRecord radio = bells(Set2, true).program;
    radio.MP3 = false;
    radio.ShouYin = true;
    radio.QuMu = {"95", "", "", "", "", ""};
    applyTimes(radio, {"23", "50", "00", "00", "10", "00"}); // twenty minutes over midnight
    radio.OrderNo = "001";
    ASSERT_TRUE(ProgramStore(data.database()).insert(ProgramTable::MusicTab, radio));
    const ProgramRecord original = stored(Set2).first();

    EXPECT_EQ(verdicts(checkBatch(copyTemplate(original), "23:50", stored(Set2))),
              QStringList{"1 " + Taken})
        << "its own start is taken";
    const BatchOutcome outcome = editor.addBatch(copyTemplate(original), "6:00\n12:00-12:05:30");
    ASSERT_TRUE(outcome.succeeded()) << outcome.error.toStdString();
    const QList<ProgramRecord> programs = stored(Set2);
    ASSERT_EQ(programs.size(), 3);
    EXPECT_EQ(programs[0].KSTime, QTime(6, 0));
    EXPECT_EQ(programs[0].JSTime, QTime(6, 20));
    EXPECT_EQ(programs[1].JSTime, QTime(12, 5, 30));
    ProgramRecord copy = programs[0];
    copy.AutoID = original.AutoID;
    copy.OrderNo = original.OrderNo;
    applyTimes(copy, {"23", "50", "00", "00", "10", "00"});
    EXPECT_EQ(copy, original) << "every other field as the original's";
}

TEST_F(BatchAddTest, ADatabaseFailureMidwayAddsNothing) {
    store(Set1, QTime(7, 0));
    execute("create trigger refuse before insert on MusicTab when new.KS1 = 12 "
            "begin select raise(abort, 'refused by the test'); end");
    const BatchOutcome outcome = editor.addBatch(bells(), "8:00\n12:00");
    EXPECT_TRUE(outcome.check.canAdd());
    EXPECT_EQ(outcome.added, 0);
    EXPECT_TRUE(outcome.error.contains("refused by the test")) << outcome.error.toStdString();
    EXPECT_FALSE(editor.ProgramsChanged);
    EXPECT_EQ(numbering(Set1), QStringList{"07:00:00=001"});
}

} // namespace
