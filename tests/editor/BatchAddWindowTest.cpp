#include "EditorTesting.h"

#include "BatchAddDialog.h"
#include "ProgramSet.h"
#include "ProgramStore.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTreeWidget>

using namespace tessaly;

namespace {

const QString Set1 = "第一套";
const QString Set2 = "第二套";
const QString Taken = "输入任务已存在，请重新设置！";

class BatchAddWindowTest : public EditorTest {
protected:
    QAction* menuAction(const QString& name) {
        for (QAction* action : control<QTableView>("grid")->actions())
            if (action->objectName() == name)
                return action;
        ADD_FAILURE() << name.toStdString();
        return nullptr;
    }
    template <typename T = QWidget> T* in(BatchAddDialog* dialog, const QString& name) {
        auto* found = dialog->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    // The preview as "line start end verdict" rows.
    QStringList preview(BatchAddDialog* dialog) {
        QStringList rows;
        auto* list = in<QTreeWidget>(dialog, "lvPreview");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            rows.append(QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}
                            .join(' ')
                            .trimmed());
        }
        return rows;
    }
};

TEST_F(BatchAddWindowTest, TheGridMenuOffersBothBesideTheExport) {
    open();
    QStringList captions;
    for (QAction* action : control<QTableView>("grid")->actions())
        captions.append(action->text());
    EXPECT_EQ(captions,
              (QStringList{"周节目表…", "导出本套…", "导入到本套…", "批量添加…", "复制节目…"}));
    EXPECT_TRUE(menuAction("actBatchAdd")->isEnabled());
    EXPECT_FALSE(menuAction("actCopyProgram")->isEnabled()) << "no program to copy";
    EXPECT_EQ(window->copyProgramClick(), nullptr);
}

TEST_F(BatchAddWindowTest, AddsTheBellsOfADayWithTheEditorsChecksAndReminder) {
    store(Set2, QTime(9, 0));
    open();
    ASSERT_TRUE(checked("chJM2"));
    menuAction("actBatchAdd")->trigger();
    auto* dialog = window->findChild<BatchAddDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible() && dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), "批量添加 - 第二套");
    auto* times = in<QPlainTextEdit>(dialog, "edtStartTimes");
    EXPECT_EQ(times->accessibleName(), "开始时间");
    EXPECT_EQ(in<QSpinBox>(dialog, "edtMinutes")->value(), 0);
    EXPECT_EQ(in<QSpinBox>(dialog, "edtSeconds")->value(), 30);
    EXPECT_EQ(in<QComboBox>(dialog, "cmbYL")->currentText(), "22") << "the editor's defaults";
    auto* add = in<QPushButton>(dialog, "sbBatchAdd");
    EXPECT_FALSE(add->isEnabled()) << "nothing typed yet";

    times->setPlainText("8:00\n09:00:00\n10.00-10.45, 8:00\n1000");
    EXPECT_EQ(preview(dialog),
              (QStringList{"1 08:00:00 08:00:30 可以添加", "2 09:00:00 09:00:30 " + Taken,
                           "3 10:00:00 10:45:00 可以添加", "3 08:00:00 08:00:30 " + Taken,
                           "4 10:00:00 10:00:30 " + Taken}));
    EXPECT_FALSE(add->isEnabled());
    EXPECT_EQ(text("LbBatchSummary"), "3行不能添加，请修改后再添加。");
    dialog->addClick();
    EXPECT_EQ(lastMessage(), "3行不能添加，未添加任何程序：\n第2行：" + Taken + "\n第3行：" +
                                 Taken + "\n第4行：" + Taken);
    EXPECT_EQ(storedCount(Set2), 1) << "all or nothing";

    times->setPlainText("7:00\n10.00-10.45\n12:00");
    in<QSpinBox>(dialog, "edtMinutes")->setValue(1);
    in<QAbstractButton>(dialog, "chBatchPriority")->click();
    in<QRadioButton>(dialog, "rbRadio")->click();
    in<QLineEdit>(dialog, "edtQM1")->setText("95");
    EXPECT_EQ(text("LbBatchSummary"), "可以添加3个程序。");
    ASSERT_TRUE(add->isEnabled());
    add->click();
    EXPECT_EQ(lastMessage(), "共添加3个程序。");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(numbering(Set2),
              (QStringList{"07:00:00=001", "09:00:00=002", "10:00:00=003", "12:00:00=004"}));
    const ProgramRecord seven = stored(Set2).first();
    EXPECT_EQ(seven.JSTime, QTime(7, 1, 30));
    EXPECT_EQ(seven.YXCX, "优先");
    EXPECT_TRUE(seven.ShouYin && !seven.MP3);
    EXPECT_EQ(seven.QuMu, (std::array<QString, 6>{"95", "", "", "", "", ""}));
    EXPECT_EQ(text("LbNum"), "4") << "the grid shows them";

    const int before = int(prompter.shown().size());
    window->close();
    EXPECT_EQ(prompter.shownTexts().mid(before),
              QStringList{"程序内容已发生变化，请重新进行程序装载！"});
}

TEST_F(BatchAddWindowTest, CopiesTheSelectedProgramToNewStarts) {
    store(Set1, QTime(7, 0), true);
    execute("update MusicTab set JS1 = 7, JS2 = 2, JS3 = 0, JSTime = '07:02:00', YinLiang = 31");
    open();
    menuAction("actCopyProgram")->trigger();
    auto* dialog = window->findChild<BatchAddDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "复制节目 - 第一套");
    EXPECT_EQ(in<QSpinBox>(dialog, "edtMinutes")->value(), 2) << "the program's own duration";
    EXPECT_FALSE(in<QWidget>(dialog, "Pan_Edt")->isEnabled()) << "the program as stored";
    in<QPlainTextEdit>(dialog, "edtStartTimes")->setPlainText("7:00, 11:40\n16:00-16:30");
    EXPECT_EQ(preview(dialog),
              (QStringList{"1 07:00:00 07:02:00 " + Taken, "1 11:40:00 11:42:00 可以添加",
                           "2 16:00:00 16:30:00 可以添加"}));
    in<QPlainTextEdit>(dialog, "edtStartTimes")->setPlainText("11:40\n16:00-16:30");
    in<QPushButton>(dialog, "sbBatchAdd")->click();
    EXPECT_EQ(lastMessage(), "共添加2个程序。");
    const QList<ProgramRecord> programs = stored(Set1);
    ASSERT_EQ(programs.size(), 3);
    for (const ProgramRecord& copy : programs) {
        EXPECT_EQ(copy.YinLiang, 31);
        EXPECT_EQ(copy.YXCX, "优先");
    }
    EXPECT_EQ(numbering(Set1), (QStringList{"07:00:00=001", "11:40:00=002", "16:00:00=003"}));
}

} // namespace
