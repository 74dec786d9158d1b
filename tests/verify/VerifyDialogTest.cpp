#include "VerifyDialog.h"

#include "DifferenceText.h"
#include "EnglishInterface.h"
#include "FileContents.h"
#include "ReadTesting.h"

#include "QtPrinters.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <optional>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// The PC holds programs 1..3 in sets 1 and 2; the player the same, until a test changes it.
class VerifyDialogTest : public ReadTest {
protected:
    void SetUp() override {
        ReadTest::SetUp();
        for (int set : {1, 2}) {
            QList<ProgramRecord> programs;
            for (int i = 1; i <= 3; ++i)
                programs.append(sampleProgram(i, setLabel(set)));
            fillMusicTab(programs);
            serial.player().setPrograms(set, storedSet(set, 3));
        }
        open();
    }
    void TearDown() override {
        dialog.reset();
        clock.advance(20000); // lets a cancelled sequence unwind
        ReadTest::TearDown();
    }

    void open() {
        dialog = std::make_unique<VerifyDialog>(
            VerifyServices{clock, channel, prompter, session, module.database()});
        dialog->show();
    }

    template <typename T = QWidget> T* control(const char* name) {
        auto* found = dialog->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString summary() { return control<QLabel>("LbSummary")->text(); }
    bool enabled(const char* name) { return control(name)->isEnabled(); }

    void click(const char* name) { control<QPushButton>(name)->click(); }
    void waitUntilIdle() {
        ASSERT_TRUE(clock.runUntil([&] { return !dialog->isBusy(); }, 120000));
    }
    void compare() {
        click("sbStart");
        waitUntilIdle();
    }

    QList<QStringList> rows() {
        const auto* model = control<QTableView>("gridDifferences")->model();
        QList<QStringList> shown;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells.append(model->index(row, column).data().toString());
            shown.append(cells);
        }
        return shown;
    }

    std::unique_ptr<VerifyDialog> dialog;
};

} // namespace

TEST_F(VerifyDialogTest, EqualSetsAgreeAndNothingIsStored) {
    EXPECT_EQ(dialog->windowTitle(), "核对播放器");
    auto* choice = control<QComboBox>("cmbSets");
    EXPECT_EQ(choice->currentText(), "全部四套");
    QStringList entries;
    for (int i = 0; i < choice->count(); ++i)
        entries.append(choice->itemText(i));
    EXPECT_EQ(entries, (QStringList{"第一套", "第二套", "第三套", "第四套", "全部四套"}));
    const auto* model = control<QTableView>("gridDifferences")->model();
    QStringList columns;
    for (int column = 0; column < model->columnCount(); ++column)
        columns.append(model->headerData(column, Qt::Horizontal).toString());
    EXPECT_EQ(columns, (QStringList{"套", "序号", "项目", "电脑", "播放器"}));

    const auto pcBefore = table(ProgramTable::MusicTab);
    compare();
    EXPECT_EQ(summary(), "播放器中的程序与电脑一致");
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_FALSE(enabled("sbReload"));
    EXPECT_FALSE(enabled("sbExport"));
    EXPECT_EQ(table(ProgramTable::MusicTab), pcBefore);
    EXPECT_TRUE(table(ProgramTable::MusicReadTab).isEmpty());
    EXPECT_FALSE(channel.isClaimed());
    EXPECT_TRUE(prompter.shown().isEmpty()) << "the window speaks in its summary line";
    for (const char* request : {"FE0401FF", "FE0402FF", "FE0403FF", "FE0404FF"})
        EXPECT_TRUE(framesSent().contains(request)) << request;
}

// One changed volume, one missing and one extra program, each a row read as shown.
TEST_F(VerifyDialogTest, DifferencesAreListedAndReadAsShown) {
    struct Case {
        const char* name;
        std::vector<RecordFrame> set2;
        QList<QStringList> rows;
    };
    auto louder = storedSet(2, 3);
    louder[1][14] = 30;
    auto fewer = storedSet(2, 3);
    fewer.erase(fewer.begin());
    auto more = storedSet(2, 4);
    const QList<Case> cases{
        {"changed volume", louder, {{"第二套", "002", "音量", "2", "30"}}},
        {"missing program", fewer, {{"第二套", "001", "程序", "001", "（无）"}}},
        {"extra program", more, {{"第二套", "004", "程序", "（无）", "004"}}},
    };
    for (const auto& [name, set2, expected] : cases) {
        SCOPED_TRACE(name);
        serial.player().setPrograms(2, set2);
        control<QComboBox>("cmbSets")->setCurrentIndex(1);
        compare();
        EXPECT_EQ(summary(), "共1处不同");
        EXPECT_EQ(rows(), expected);
        EXPECT_TRUE(enabled("sbReload"));
        EXPECT_TRUE(enabled("sbExport"));
        EXPECT_EQ(framesSent().filter("FE04").join(' '), "FE0402FF");
        serial.player().clearReceived();

        auto* view = control<QTableView>("gridDifferences");
        QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(view);
        ASSERT_NE(grid, nullptr);
        ASSERT_NE(grid->tableInterface(), nullptr);
        QAccessibleInterface* cell = grid->tableInterface()->cellAt(0, 2);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text(QAccessible::Name), expected[0][2]);
        // A running screen reader is told of each new table and asks again; here the cached
        // cells are let go by hand.
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(grid));
        EXPECT_EQ(labelsNotReadAsShown(dialog.get()), QStringList{});
    }
}

// A comparison that cannot be made says why, in the words of the read window (a missing link
// in its own: nothing is loaded here), and shows no difference.
TEST_F(VerifyDialogTest, AFailedReadComparesNothing) {
    struct Case {
        const char* name;
        PlayerOptions options;
        QString summary;
    };
    const QList<Case> cases{
        {"silent player", {.silent = true}, "软件与播放器尚未连接，无法核对程序！"},
        {"no pre-heat answer", {.noPreheatReply = true}, "读取预热和延时时间失败！"},
        {"reply cut off", {.cutAfter = 40}, "程序读取失败！"},
    };
    for (const auto& [name, options, expected] : cases) {
        SCOPED_TRACE(name);
        serial.player().setPrograms(1, storedSet(1, 2)); // differs, but is never compared
        serial.player().setOptions(options);
        compare();
        EXPECT_EQ(summary(), expected);
        EXPECT_TRUE(rows().isEmpty());
        EXPECT_FALSE(enabled("sbReload"));
        EXPECT_TRUE(enabled("sbStart"));
        EXPECT_FALSE(channel.isClaimed());
    }
}

// "停止" ends a comparison at its next step: nothing compared, nothing stored, the port free
// for the next one. Closing the window ends it the same way.
TEST_F(VerifyDialogTest, StopAndCloseEndARunningComparison) {
    serial.player().setPrograms(2, storedSet(2, 1));
    click("sbStart");
    ASSERT_TRUE(clock.runUntil([&] { return framesSent().contains("FE0402FF"); }, 60000));
    EXPECT_TRUE(enabled("sbStop"));
    EXPECT_FALSE(enabled("sbStart"));
    EXPECT_TRUE(control<QLabel>("LbProgress")->text().startsWith("正在读取第二套"))
        << control<QLabel>("LbProgress")->text().toStdString();
    click("sbStop");
    waitUntilIdle();
    EXPECT_EQ(summary(), "核对已停止，未作比较。");
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_FALSE(channel.isClaimed());
    EXPECT_FALSE(framesSent().contains("FE0403FF"));
    EXPECT_TRUE(table(ProgramTable::MusicReadTab).isEmpty());

    compare(); // the port is free again
    EXPECT_EQ(summary(), "共2处不同");

    serial.player().clearReceived();
    click("sbStart");
    ASSERT_TRUE(clock.runUntil([&] { return framesSent().contains("FE0401FF"); }, 60000));
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    clock.advance(5000);
    EXPECT_FALSE(channel.isClaimed());
    EXPECT_FALSE(framesSent().contains("FE0402FF"));
}

// "装载不同的套" asks once, naming the sets, loads exactly those and compares again; declined,
// nothing goes to the player.
TEST_F(VerifyDialogTest, LoadingTheDifferingSetsEndsInAgreement) {
    auto louder = storedSet(1, 3);
    louder[2][14] = 30;
    serial.player().setPrograms(1, louder);
    serial.player().setPrograms(3, storedSet(3, 2)); // the PC has none in set 3
    compare();
    ASSERT_EQ(summary(), "共3处不同");

    serial.player().clearReceived();
    prompter.answerNext(MessageBox::Button::Cancel);
    dialog->sbReloadClick();
    clock.advance(10000);
    EXPECT_EQ(prompter.shownTexts(),
              QStringList{"将重新装载第一套、第三套，播放器中这些套的原有程序将被清除，继续吗？"});
    EXPECT_TRUE(serial.player().received().isEmpty());
    EXPECT_EQ(summary(), "共3处不同");

    click("sbReload");
    ASSERT_TRUE(clock.runUntil([&] { return dialog->isBusy(); }, 1000));
    EXPECT_FALSE(enabled("sbExit"));
    dialog->close(); // refused while the player is being loaded
    EXPECT_TRUE(dialog->isVisible());
    waitUntilIdle();
    EXPECT_EQ(summary(), "播放器中的程序与电脑一致");
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(framesSent().filter("FE07").join(' '), "FE0701FF FE0703FF");
    EXPECT_EQ(serial.player().programs(1), storedSet(1, 3));
    EXPECT_TRUE(serial.player().programs(3).empty());
    // The programs go out 500 ms apart, as from the load window.
    QList<qint64> recordTimes;
    for (const auto& frame : serial.player().received())
        if (frame.bytes.size() > 4 && quint8(frame.bytes[1]) == 0x03)
            recordTimes.append(frame.timeMs);
    ASSERT_EQ(recordTimes.size(), 3);
    EXPECT_GE(recordTimes[1] - recordTimes[0], 500);
    EXPECT_GE(recordTimes[2] - recordTimes[1], 500);
}

TEST_F(VerifyDialogTest, TheDifferencesGoToAFileAsTheTableShowsThem) {
    auto louder = storedSet(2, 3);
    louder[0][14] = 30;
    serial.player().setPrograms(2, louder);
    session.DelayMinutes = 4;
    compare();
    ASSERT_EQ(rows().size(), 2);
    QTemporaryDir folder;
    const QString path = folder.filePath("差异.csv");
    dialog->setFileChooser([&] { return path; });
    click("sbExport");
    EXPECT_EQ(contents(path), QByteArray("\xEF\xBB\xBF"
                                         "套,序号,项目,电脑,播放器\r\n"
                                         "整机,,延时时间,4,0\r\n"
                                         "第二套,001,音量,1,30\r\n"));
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_TRUE(prompter.shown()[0].text.contains(path)) << prompter.shown()[0].text.toStdString();

    dialog->setFileChooser([&] { return folder.filePath("missing/差异.csv"); });
    click("sbExport");
    ASSERT_EQ(prompter.shown().size(), 2);
    EXPECT_EQ(prompter.shown()[1].text, "差异导出失败！");

    // Never over the database in use, by whatever name.
    const QString database = dir.filePath("PlayerDB.mdb");
    const QString link = folder.filePath("差异2.csv");
    ASSERT_TRUE(QFile::link(database, link));
    const QByteArray databaseBytes = contents(database);
    dialog->setFileChooser([&] { return link; });
    click("sbExport");
    ASSERT_EQ(prompter.shown().size(), 3);
    EXPECT_EQ(prompter.shown()[2].text, "不能写入正在使用的数据库：" + link);
    EXPECT_EQ(contents(database), databaseBytes);
}

TEST_F(VerifyDialogTest, ReadsInEnglish) {
    dialog.reset();
    std::optional<EnglishInterface> english;
    english.emplace();
    ASSERT_TRUE(english->loaded());
    auto louder = storedSet(2, 3);
    louder[0][14] = 30;
    serial.player().setPrograms(2, louder);
    open();
    EXPECT_EQ(dialog->windowTitle(), "Compare with player");
    EXPECT_EQ(englishFaultsIn(dialog.get()), QStringList{});
    compare();
    EXPECT_EQ(summary(), "1 difference");
    EXPECT_EQ(rows(), (QList<QStringList>{{"Set 2", "001", "Volume", "1", "30"}}));
    EXPECT_EQ(englishFaultsIn(dialog.get()), QStringList{});
    serial.player().setPrograms(2, storedSet(2, 3));
    compare();
    EXPECT_EQ(summary(), "The player holds what the PC holds");
    dialog.reset();
}
