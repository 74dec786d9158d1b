#include "AccessibleText.h"
#include "EditorTesting.h"

#include "ProgramListModel.h"
#include "ProgramSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableView>

using namespace tessaly;

namespace {

const QString Set1 = "第一套";
const QString Set2 = "第二套";
const QString Set3 = "第三套";
const QString Set4 = "第四套";

TEST_F(EditorTest, OpensOnTheFirstSetHoldingPrograms) {
    session.PreheatMinutes = 12;
    session.DelayMinutes = 3;
    open();
    EXPECT_EQ(window->windowTitle(), "程序编辑器");
    EXPECT_TRUE(window->isModal());
    EXPECT_TRUE(checked("chJM4")) << "all sets empty";
    EXPECT_FALSE(checked("chJM1"));
    EXPECT_EQ(text("LbNum"), "0");
    EXPECT_EQ(text("cmbYR"), "12");
    EXPECT_EQ(text("cmbYS"), "3");

    store(Set2, QTime(7, 5, 9), true);
    store(Set3, QTime(9, 0, 0));
    reopen();
    EXPECT_TRUE(checked("chJM2"));
    EXPECT_FALSE(checked("chJM4"));
    EXPECT_EQ(text("LbNum"), "1");
    EXPECT_EQ(text("edtKS1") + text("edtKS2") + text("edtKS3"), "070509");
    EXPECT_TRUE(checked("chJM0")) << "the first program's marker";
    EXPECT_EQ(window->list().data(window->list().index(0, 1), Qt::DisplayRole), "07:05:09");
    EXPECT_EQ(window->list().headerData(4, Qt::Horizontal, Qt::DisplayRole), "优先");
    // The last title stands inside the grid like the others, not against its edge.
    const QHeaderView* header = control<QTableView>("grid")->horizontalHeader();
    EXPECT_LT(header->sectionViewportPosition(4) + header->sectionSize(4),
              header->viewport()->width());
}

TEST_F(EditorTest, ControlStatesOfTheModes) {
    store(Set1, QTime(8, 0, 0));
    open();
    const auto expectBrowse = [&](bool browse) {
        EXPECT_EQ(control("Pan_Edt")->isEnabled(), !browse);
        EXPECT_EQ(control("Pan_Taoshu")->isEnabled(), browse);
        EXPECT_EQ(control("grid")->isEnabled(), browse);
        for (const char* name : {"sbAdd", "sbexit", "sbCopy", "sbDelAll"})
            EXPECT_EQ(control(name)->isEnabled(), browse) << name;
        for (const char* name : {"sbedit", "sbDel"})
            EXPECT_EQ(control(name)->isVisible(), browse) << name;
        for (const char* name : {"sbSave", "sbCancel"})
            EXPECT_EQ(control(name)->isVisible(), !browse) << name;
        EXPECT_TRUE(control("chJM0")->isEnabled());
        EXPECT_TRUE(control("cmbYR")->isEnabled());
    };
    expectBrowse(true);
    click("sbCopy");
    click("sbedit");
    expectBrowse(false);
    EXPECT_FALSE(control("Pan_Copy")->isVisible());
    prompter.answerNext(MessageBox::Button::Cancel);
    click("sbCancel");
    EXPECT_EQ(window->mode(), EditorWindow::Mode::Edit) << "only OK cancels";
    click("sbCancel");
    expectBrowse(true);
    EXPECT_EQ(prompter.shownTexts(), (QStringList{"确实要取消吗？", "确实要取消吗？"}));
    EXPECT_EQ(prompter.shown()[0].defaultButton, MessageBox::Button::Cancel);
}

TEST_F(EditorTest, NewProgramDefaultsKeepTimesAndPriority) {
    store(Set1, QTime(6, 30, 0), true, {false, false, false, false, false, true, true});
    execute("update MusicTab set FQ1 = 1, QuMu1 = '12', YinLiang = 5");
    open();
    click("sbAdd");
    EXPECT_EQ(text("edtKS1") + ":" + text("edtKS2"), "06:30") << "times stay";
    EXPECT_TRUE(checked("chJM0")) << "priority stays";
    EXPECT_EQ(text("edtQM1"), "000");
    EXPECT_EQ(text("cmbYL"), "22");
    EXPECT_TRUE(checked("chXQ1") && checked("chXQ5"));
    EXPECT_FALSE(checked("chXQ6") || checked("chXQ7"));
    EXPECT_FALSE(checked("chFQ1"));
    EXPECT_EQ(text("LbQM"), "曲目:");
    EXPECT_EQ(focused(), "edtKS1");
}

struct CheckCase {
    const char* box;
    QString value;
    QString message;
    QString focus; // empty: the focus stays
};

TEST_F(EditorTest, SaveChecksInOrderWithMessageAndFocus) {
    const std::vector<CheckCase> cases{
        {"edtKS1", "", "开始时间小时不能为空！", "edtKS1"},
        {"edtKS1", "24", "开始时间小时不能大于23", "edtKS1"},
        {"edtKS2", "", "开始时间分钟不能为空！", "edtKS2"},
        {"edtKS2", "60", "开始时间分钟不能大于59", "edtKS2"},
        {"edtKS3", "", "开始时间秒钟不能为空！", "edtKS3"},
        {"edtKS3", "60", "开始时间秒钟不能大于59", "edtKS3"},
        {"edtJS1", "", "结束时间小时不能为空！", "edtJS1"},
        {"edtJS1", "24", "结束时间小时不能大于23", "edtJS1"},
        {"edtJS2", "", "结束时间分钟不能为空！", "edtJS2"},
        {"edtJS2", "60", "结束时间分钟不能大于59", "edtJS2"},
        {"edtJS3", "", "结束时间秒钟不能为空！", "edtJS3"},
        {"edtJS3", "60", "结束时间秒钟不能大于59！", "edtJS3"},
        {"cmbYL", "", "音量不能为空！", "cmbYL"},
        {"cmbYR", "", "预热时间不能为空！", "cmbYR"},
        {"cmbYR", "60", "预热时间不能超过59分钟！", "cmbYR"},
        {"cmbYR", "99999999999", "预热时间不能超过59分钟！", "cmbYR"},
        {"cmbYS", "", "延时时间不能为空！", "cmbYS"},
        {"cmbYS", "75", "延时时间不能超过59分钟！", "cmbYS"},
        {"chXQ", "", "播放星期不能全部为空！", ""},
    };
    open();
    click("sbAdd");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.box) + "=" + c.value.toStdString());
        setTimes("07:00:00", "08:00:00");
        control<QComboBox>("cmbYL")->setCurrentIndex(22);
        setText("cmbYR", "10");
        setText("cmbYS", "5");
        for (int day = 1; day <= 7; ++day)
            control<QCheckBox>(QString("chXQ%1").arg(day))->setChecked(day == 1);
        if (QString(c.box) == "cmbYL")
            control<QComboBox>("cmbYL")->setCurrentIndex(-1);
        else if (QString(c.box) == "chXQ")
            control<QCheckBox>("chXQ1")->setChecked(false);
        else
            setText(c.box, c.value);
        control("edtQM3")->setFocus();
        click("sbSave");
        EXPECT_EQ(lastMessage(), c.message);
        EXPECT_EQ(prompter.shown().last().caption, "信息提示：");
        EXPECT_EQ(prompter.shown().last().icon, MessageBox::Icon::Information);
        EXPECT_EQ(focused(), c.focus.isEmpty() ? "edtQM3" : c.focus);
        EXPECT_EQ(window->mode(), EditorWindow::Mode::Add);
    }
    EXPECT_EQ(storedCount(Set4), 0);
    EXPECT_EQ(session.PreheatMinutes, 10) << "handed over before the delay check failed";

    // An end before the start and a one-digit hour are fine.
    setTimes("7:59:59", "00:00:00");
    setText("cmbYS", "5");
    tick("chXQ7");
    click("sbSave");
    EXPECT_EQ(window->mode(), EditorWindow::Mode::Browse) << lastMessage().toStdString();
    EXPECT_EQ(numbering(Set4), QStringList{"07:59:59=001"}) << "the set it opened on";
    EXPECT_EQ(session.DelayMinutes, 5);
}

struct DuplicateCase {
    const char* what;
    QString set;
    bool priority;
    int weekday; // 1..7
    QString start;
    bool refused;
};

TEST_F(EditorTest, DuplicateStartsAreRefusedWithinSetAndClass) {
    const std::vector<DuplicateCase> cases{
        {"same set, class, start and day", Set1, false, 1, "08:00:00", true},
        {"typed with one digit", Set1, false, 1, "8:0:0", true},
        {"priority beside a normal one", Set1, true, 1, "08:00:00", false},
        {"no common weekday", Set1, false, 2, "08:00:00", false},
        {"another set", Set2, false, 1, "08:00:00", false},
        {"another second", Set1, false, 1, "08:00:01", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        execute("delete from MusicTab");
        store(Set1, QTime(8, 0, 0));
        store(Set2, QTime(12, 0, 0)); // set 2 is not empty either
        reopen();
        tick(c.set == Set1 ? "chJM1" : "chJM2");
        click("sbAdd");
        control<QCheckBox>("chJM0")->setChecked(c.priority);
        for (int day = 1; day <= 7; ++day)
            control<QCheckBox>(QString("chXQ%1").arg(day))->setChecked(day == c.weekday);
        setTimes(c.start, "09:00:00");
        click("sbSave");
        if (c.refused) {
            EXPECT_EQ(lastMessage(), "输入任务已存在，请重新设置！");
            EXPECT_EQ(focused(), "edtKS1");
            EXPECT_EQ(storedCount(c.set), 1);
        } else {
            EXPECT_EQ(window->mode(), EditorWindow::Mode::Browse) << lastMessage().toStdString();
            EXPECT_EQ(storedCount(c.set), 2);
        }
    }
}

TEST_F(EditorTest, EditingAProgramThatKeepsItsStartIsNotADuplicate) {
    store(Set1, QTime(8, 0, 0), false, {true});
    store(Set1, QTime(8, 0, 0), false, {false, true}, "002");
    store(Set1, QTime(9, 0, 0), false, {true}, "003");
    open();
    control<QTableView>("grid")->selectRow(1);
    click("sbedit");
    tick("chXQ1"); // now shares Monday with the first, at the same start
    tick("chJM0");
    click("sbSave");
    EXPECT_EQ(window->mode(), EditorWindow::Mode::Browse) << lastMessage().toStdString();
    QSqlQuery query(data.database());
    query.exec("select count(*) from MusicTab where Week1 = 1 and Week2 = 1 and YXCX = '优先'");
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), 1);

    // A new start that another program of the class holds is refused.
    control<QTableView>("grid")->selectRow(0);
    ASSERT_EQ(text("edtKS1"), "08");
    click("sbedit");
    setTimes("09:00:00", "10:00:00");
    click("sbSave");
    EXPECT_EQ(lastMessage(), "输入任务已存在，请重新设置！");
}

TEST_F(EditorTest, SavesRenumberTheSetByStartTime) {
    open(); // set 4, empty
    tick("chJM1");
    for (const QString start : {"09:00:00", "07:00:00", "08:00:00"}) {
        click("sbAdd");
        setTimes(start, "10:00:00");
        click("sbSave");
        ASSERT_EQ(window->mode(), EditorWindow::Mode::Browse) << lastMessage().toStdString();
        if (start == "09:00:00") {
            EXPECT_EQ(numbering(Set1), QStringList{"09:00:00=001"});
        }
    }
    EXPECT_EQ(numbering(Set1), (QStringList{"07:00:00=001", "08:00:00=002", "09:00:00=003"}));
    EXPECT_EQ(text("LbNum"), "3");
    EXPECT_EQ(control<QTableView>("grid")->currentIndex().row(), 2) << "on the last program";
    EXPECT_EQ(text("edtKS1"), "09");
    EXPECT_TRUE(window->editor().ProgramsChanged);

    // A save with the priority filter on lists the whole set afterwards.
    store(Set1, QTime(6, 0, 0), true, {true}, "004");
    tick("chJM0");
    EXPECT_EQ(text("LbNum"), "1");
    click("sbAdd");
    setTimes("05:00:00");
    click("sbSave");
    EXPECT_EQ(text("LbNum"), "5");
    EXPECT_EQ(numbering(Set1).first(), "05:00:00=001");
}

TEST_F(EditorTest, PriorityFilterAndItsMarker) {
    store(Set1, QTime(7, 0, 0), true);
    store(Set1, QTime(8, 0, 0), false, {true}, "002");
    store(Set1, QTime(9, 0, 0), true, {true}, "003");
    open();
    EXPECT_TRUE(checked("chJM0")) << "the first program is a priority program";
    tick("chJM0"); // unticked: the whole set, and the box again shows the first marker
    EXPECT_EQ(text("LbNum"), "3");
    EXPECT_TRUE(checked("chJM0"));
    execute("update MusicTab set YXCX = '' where OrderNo = '001'");
    tick("chJM1");
    EXPECT_FALSE(checked("chJM0"));
    tick("chJM0");
    EXPECT_EQ(text("LbNum"), "1") << "only the priority programs";
    tick("chJM2");
    EXPECT_EQ(text("LbNum"), "0") << "a set box lists the whole set";
    tick("chJM2");
    EXPECT_TRUE(checked("chJM2")) << "a click on the ticked box keeps it";
}

TEST_F(EditorTest, DeleteRenumbersAndTheLastDeleteEmptiesTheList) {
    store(Set1, QTime(7, 0, 0), false, {true}, "001");
    store(Set1, QTime(8, 0, 0), false, {true}, "002");
    store(Set1, QTime(9, 0, 0), false, {true}, "003");
    open();
    control<QTableView>("grid")->selectRow(1);
    prompter.answerNext(MessageBox::Button::Cancel);
    click("sbDel");
    EXPECT_EQ(storedCount(Set1), 3);
    EXPECT_FALSE(window->editor().ProgramsChanged);
    EXPECT_EQ(prompter.shownTexts(), QStringList{"确实要删除该记录吗？"});

    click("sbDel");
    EXPECT_EQ(numbering(Set1), (QStringList{"07:00:00=001", "09:00:00=002"}));
    EXPECT_EQ(text("LbNum"), "2");
    EXPECT_TRUE(window->editor().ProgramsChanged);

    execute("delete from MusicTab where KS1 = 7");
    tick("chJM1");
    click("sbDel");
    EXPECT_EQ(text("LbNum"), "0");
    for (const char* box : {"edtKS1", "edtKS2", "edtKS3", "edtJS1", "edtJS2", "edtJS3"})
        EXPECT_EQ(text(box), "00") << box;
}

TEST_F(EditorTest, DeleteAllTakesTheWholeSetWithoutAsking) {
    store(Set1, QTime(7, 0, 0), true);
    store(Set1, QTime(8, 0, 0), false, {true}, "002");
    store(Set2, QTime(8, 0, 0));
    open();
    tick("chJM0");
    tick("chJM0");
    click("sbDelAll");
    EXPECT_TRUE(prompter.shown().isEmpty());
    const auto taken = backups();
    ASSERT_EQ(taken.size(), 1);
    EXPECT_EQ(taken[0].operation, "delete-all");
    EXPECT_EQ(taken[0].setCounts, (std::array<int, 4>{2, 1, 0, 0})) << "what was deleted";
    EXPECT_EQ(storedCount(Set1), 0);
    EXPECT_EQ(storedCount(Set2), 1);
    EXPECT_EQ(text("LbNum"), "0");
    EXPECT_EQ(text("edtJS1"), "00");
    EXPECT_FALSE(window->editor().ProgramsChanged);

    // Idle clicks on the empty set take no backup that would push out the one that matters.
    click("sbDelAll");
    EXPECT_EQ(backups().size(), 1);
}

TEST_F(EditorTest, FullSetRefusesANewProgram) {
    QSqlQuery query(data.database());
    execute("begin");
    store(Set1, QTime(0, 0, 0));
    execute("create temp table n(i integer)");
    execute("with recursive c(i) as (select 1 union all select i + 1 from c where i < 998) "
            "insert into n select i from c");
    execute("insert into MusicTab (OrderNo, KSTime, JMTaoNo, YXCX, MP3, ShouYin, KS1, KS2, KS3) "
            "select printf('%03d', i + 1), '00:00:00', '第一套', '', 1, 0, 0, 0, 0 from n");
    execute("commit");
    open();
    EXPECT_EQ(text("LbNum"), "999");
    click("sbAdd");
    EXPECT_EQ(lastMessage(), "[第一套]已有999个程序，无法再增加！");
    EXPECT_EQ(window->mode(), EditorWindow::Mode::Browse);
}

TEST_F(EditorTest, CopyReplacesTheTargetSet) {
    store(Set1, QTime(7, 0, 0), false, {true}, "001");
    store(Set1, QTime(8, 0, 0), true, {true}, "002");
    store(Set1, QTime(9, 0, 0), false, {true}, "003");
    for (int i = 0; i < 5; ++i)
        store(Set2, QTime(10 + i, 0, 0), false, {true}, formatOrderNo(i + 1));
    open();
    tick("chJM2");
    click("sbCopy");
    EXPECT_TRUE(control("Pan_Copy")->isVisible());

    click("SpeedButton1");
    EXPECT_EQ(lastMessage(), "请选择需要复制的节目源和目标！");
    control<QComboBox>("cmbSource")->setCurrentText(Set1);
    control<QComboBox>("cmbObject")->setCurrentText(Set1);
    click("SpeedButton1");
    EXPECT_EQ(lastMessage(), "节目源和目标相同无法复制！");
    control<QComboBox>("cmbObject")->setCurrentText(Set2);
    prompter.answerNext(MessageBox::Button::Ok);
    prompter.answerNext(MessageBox::Button::Cancel);
    click("SpeedButton1");
    EXPECT_EQ(lastMessage(), "该操作将覆盖[第二套]中原有的所有数据，确实需要进行该复制操作吗？");
    EXPECT_EQ(storedCount(Set2), 5);
    EXPECT_TRUE(backups().isEmpty()) << "a declined copy leaves no backup";

    const int before = int(prompter.shown().size());
    click("SpeedButton1");
    EXPECT_EQ(prompter.shownTexts().mid(before),
              (QStringList{"确实需要将[第一套]复制到[第二套]吗？",
                           "该操作将覆盖[第二套]中原有的所有数据，确实需要进行该复制操作吗？",
                           "从[第一套]复制到[第二套]完成！"}));
    EXPECT_EQ(numbering(Set2), (QStringList{"07:00:00=001", "08:00:00=002", "09:00:00=003"}));
    ASSERT_EQ(backups().size(), 1);
    EXPECT_EQ(backups()[0].operation, "copy");
    EXPECT_EQ(backups()[0].setCounts, (std::array<int, 4>{3, 5, 0, 0}));
    {
        QSqlQuery query(data.database());
        query.exec("select count(*) from MusicTab where JMTaoNo = '第二套' and YXCX = '优先'");
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toInt(), 1);
    }
    EXPECT_EQ(storedCount(Set1), 3);
    EXPECT_EQ(text("LbNum"), "5") << "the list is not reloaded";
    EXPECT_TRUE(control("Pan_Copy")->isVisible());
    EXPECT_FALSE(window->editor().ProgramsChanged);
    click("SpeedButton2");
    EXPECT_FALSE(control("Pan_Copy")->isVisible());

    // The same copy again changes nothing and takes no backup.
    click("sbCopy");
    click("SpeedButton1");
    EXPECT_EQ(lastMessage(), "从[第一套]复制到[第二套]完成！");
    EXPECT_EQ(numbering(Set2), (QStringList{"07:00:00=001", "08:00:00=002", "09:00:00=003"}));
    EXPECT_EQ(backups().size(), 1);
}

TEST_F(EditorTest, CopyFromAnEmptySetAsksAndEmptiesTheTarget) {
    store(Set2, QTime(7, 0, 0));
    open();
    click("sbCopy");
    control<QComboBox>("cmbSource")->setCurrentText(Set3);
    control<QComboBox>("cmbObject")->setCurrentText(Set2);
    prompter.answerNext(MessageBox::Button::Ok);
    prompter.answerNext(MessageBox::Button::Ok);
    prompter.answerNext(MessageBox::Button::Cancel);
    click("SpeedButton1");
    EXPECT_EQ(lastMessage(), "[第三套]没有记录，还需要复制吗？");
    EXPECT_EQ(storedCount(Set2), 1);
    click("SpeedButton1");
    EXPECT_EQ(lastMessage(), "从[第三套]复制到[第二套]完成！");
    EXPECT_EQ(storedCount(Set2), 0);
}

TEST_F(EditorTest, FailedCopyIsRolledBackAndSaysSo) {
    store(Set1, QTime(7, 0, 0), false, {true}, "001");
    store(Set1, QTime(13, 0, 0), false, {true}, "002");
    store(Set2, QTime(10, 0, 0));
    execute("create trigger refuse before insert on MusicTab when new.KS1 = 13 "
            "begin select raise(abort, 'refused'); end");
    open();
    click("sbCopy");
    control<QComboBox>("cmbSource")->setCurrentText(Set1);
    control<QComboBox>("cmbObject")->setCurrentText(Set2);
    click("SpeedButton1");
    EXPECT_EQ(lastMessage(), "从[第一套]复制到[第二套]失败，[第二套]的程序没有改动！");
    EXPECT_EQ(numbering(Set2), QStringList{"10:00:00=001"});
}

TEST_F(EditorTest, NoBackupNoDeleteAllAndNoCopy) {
    store(Set1, QTime(7, 0, 0));
    store(Set2, QTime(10, 0, 0));
    QFile blocker(folder.filePath("backups")); // a file where the folder would go
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const QString refused = QStringLiteral("无法写入备份：%1（%1不是文件夹），操作已取消。")
                                .arg(folder.filePath("backups"));
    open();
    click("sbDelAll");
    EXPECT_EQ(lastMessage(), refused);
    EXPECT_EQ(storedCount(Set1), 1);
    EXPECT_EQ(text("LbNum"), "1");

    click("sbCopy");
    control<QComboBox>("cmbSource")->setCurrentText(Set1);
    control<QComboBox>("cmbObject")->setCurrentText(Set2);
    click("SpeedButton1");
    EXPECT_EQ(lastMessage(), refused);
    EXPECT_EQ(numbering(Set2), QStringList{"10:00:00=001"});
}

TEST_F(EditorTest, CloseStoresThePairAndRemindsAfterChanges) {
    execute("update SysTab set JM1YR = 4, JM1YS = 6, JM2YR = 7, JM4YS = 9");
    session.PreheatMinutes = 4;
    session.DelayMinutes = 6;
    const auto stored = [&] {
        QSqlQuery query(data.database());
        query.exec("select JM1YR, JM1YS, JM2YR + JM2YS + JM3YR + JM3YS + JM4YR + JM4YS "
                   "from SysTab");
        EXPECT_TRUE(query.next());
        return QString("%1/%2/%3")
            .arg(query.value(0).toInt())
            .arg(query.value(1).toInt())
            .arg(query.value(2).toInt());
    };
    open();
    window->close();
    EXPECT_TRUE(prompter.shown().isEmpty()) << "no changes, no reminder";
    EXPECT_EQ(stored(), "4/6/0");

    reopen();
    setText("cmbYR", "75"); // typed, never saved: still taken
    click("sbexit");
    EXPECT_EQ(session.PreheatMinutes, 75);
    EXPECT_EQ(stored(), "75/6/0");

    for (const QString& kept : {QString(""), QString("99999999999")}) {
        reopen();
        setText("cmbYS", kept);
        window->close();
        EXPECT_EQ(stored(), "75/6/0") << kept.toStdString();
        EXPECT_EQ(session.DelayMinutes, 6);
    }

    reopen();
    click("sbAdd");
    setTimes("07:00:00");
    setText("cmbYR", "5");
    click("sbSave");
    window->close();
    EXPECT_EQ(prompter.shownTexts(), QStringList{"程序内容已发生变化，请重新进行程序装载！"});

    reopen();
    click("sbDelAll");
    window->close();
    EXPECT_EQ(prompter.shown().size(), 1) << "delete-all brings no reminder";

    execute("delete from SysTab");
    reopen();
    setText("cmbYR", "8");
    window->close();
    EXPECT_EQ(session.PreheatMinutes, 8) << "without a settings row only the session changes";
}

TEST_F(EditorTest, TitleBarCloseWhileAddingDiscardsTheProgram) {
    open();
    click("sbAdd");
    setTimes("07:00:00", "08:00:00");
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    QSqlQuery query(data.database());
    query.exec("select count(*) from MusicTab");
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), 0);
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_F(EditorTest, ZoneButtonsTickZonesOneToSixAndUntickAfterThreeSeconds) {
    store(Set1, QTime(7, 0, 0));
    execute("update MusicTab set FQ7 = 1, FQ32 = 1");
    open();
    click("sbedit");
    tick("chAllOpen");
    for (int zone = 1; zone <= 6; ++zone)
        EXPECT_TRUE(checked(QString("chFQ%1").arg(zone))) << zone;
    EXPECT_FALSE(control("chFQ7")->isVisible());
    clock.advance(1000);
    tick("chAllClose");
    for (int zone = 1; zone <= 6; ++zone)
        EXPECT_FALSE(checked(QString("chFQ%1").arg(zone))) << zone;
    clock.advance(1999);
    EXPECT_TRUE(checked("chAllOpen") && checked("chAllClose"));
    clock.advance(1);
    EXPECT_FALSE(checked("chAllOpen") || checked("chAllClose"));

    tick("chAllOpen");
    click("sbSave");
    QSqlQuery query(data.database());
    query.exec("select FQ1 + FQ2 + FQ3 + FQ4 + FQ5 + FQ6, FQ7, FQ32 from MusicTab");
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), 6);
    EXPECT_EQ(query.value(1).toInt() + query.value(2).toInt(), 2) << "zones 7 to 32 untouched";
}

TEST_F(EditorTest, RadioProgramShowsOneStationBoxAndSavesWithoutTracks) {
    store(Set1, QTime(7, 0, 0));
    execute("update MusicTab set MP3 = 0, ShouYin = 1, QuMu1 = '087', QuMu2 = '000', "
            "YinLiang = 40");
    open();
    EXPECT_EQ(text("LbQM"), "电台:");
    EXPECT_TRUE(control("edtQM1")->isVisible());
    for (const char* hidden : {"edtQM2", "edtQM6", "Lb2", "Lb6"})
        EXPECT_FALSE(control(hidden)->isVisible()) << hidden;
    EXPECT_EQ(text("cmbYL"), "") << "a volume outside the list shows none";

    click("sbedit");
    click("sbSave");
    EXPECT_EQ(lastMessage(), "音量不能为空！");
    control<QComboBox>("cmbYL")->setCurrentIndex(10);
    click("sbSave");
    QSqlQuery query(data.database());
    query.exec("select QuMu1, QuMu2, QuMu6, YinLiang, MP3 from MusicTab");
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString(), "087");
    EXPECT_EQ(query.value(1).toString(), "");
    EXPECT_EQ(query.value(2).toString(), "");
    EXPECT_EQ(query.value(3).toInt(), 10);
    EXPECT_EQ(query.value(4).toInt(), 0);
}

TEST_F(EditorTest, OnlyDigitsReachTheBoxesAndEnterMovesOn) {
    open();
    click("sbAdd");
    for (const char* name : {"edtKS1", "edtJS3", "edtQM1", "edtQM6"}) {
        auto* box = control<QLineEdit>(name);
        box->setText("");
        typeKeys(box, "1a");
        QApplication::clipboard()->setText("x2");
        box->paste();
        QApplication::clipboard()->setText("3");
        box->paste();
        EXPECT_EQ(box->text(), "13") << name;
    }
    EXPECT_EQ(control<QLineEdit>("edtKS1")->maxLength(), 2);
    EXPECT_EQ(control<QLineEdit>("edtQM1")->maxLength(), 3);
    for (const char* name : {"cmbYR", "cmbYS"}) {
        auto* edit = control<QComboBox>(name)->lineEdit();
        edit->setText("");
        QApplication::clipboard()->setText("1五");
        edit->paste();
        typeKeys(edit, "b42");
        EXPECT_EQ(edit->text(), "42") << name;
    }

    control("edtKS3")->setFocus();
    pressKey(control("edtKS3"), Qt::Key_Return);
    EXPECT_EQ(focused(), "edtJS1");
    control("edtJS3")->setFocus();
    pressKey(control("edtJS3"), Qt::Key_Enter);
    EXPECT_EQ(focused(), "edtQM1");
    EXPECT_EQ(window->mode(), EditorWindow::Mode::Add) << "Enter never saves or closes";
    EXPECT_TRUE(window->isVisible());

    auto* up = control("UpDown1")->findChild<QAbstractButton*>("Up");
    ASSERT_NE(up, nullptr);
    setText("edtKS1", "22");
    up->click();
    up->click();
    EXPECT_EQ(text("edtKS1"), "23") << "the spinner stops at 23";
}

TEST_F(EditorTest, AccessibleNamesOfControlsWithoutText) {
    open();
    const std::vector<std::pair<const char*, QString>> names{
        {"grid", "节目列表"},     {"edtKS1", "开始 时"},   {"edtKS2", "开始 分"},
        {"edtKS3", "开始 秒"},    {"edtJS1", "结束 时"},   {"edtJS2", "结束 分"},
        {"edtJS3", "结束 秒"},    {"edtQM1", "曲目1"},     {"edtQM6", "曲目6"},
        {"cmbYL", "音量"},        {"cmbYR", "预热"},       {"cmbYS", "延时"},
        {"cmbSource", "复制 从"}, {"cmbObject", "复制 到"}};
    for (const auto& [name, spoken] : names)
        EXPECT_EQ(control(name)->accessibleName(), spoken) << name;
    EXPECT_EQ(tessaly::testing::labelsNotReadAsShown(window.get()), QStringList{})
        << "labels read as they show";
}

} // namespace
