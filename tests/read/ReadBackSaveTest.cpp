#include "ReadBackSave.h"
#include "Backups.h"
#include "ReadTesting.h"
#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

QStringList orderNos(const QList<ProgramRecord>& records) {
    QStringList numbers;
    for (const auto& record : records)
        numbers.append(record.JMTaoNo + record.OrderNo);
    return numbers;
}

} // namespace

TEST_F(ReadTest, SavingReadBackProgramsReplacesWhatTheFilterCovers) {
    const QList<ProgramRecord> pc{
        sampleProgram(1, "第三套", false), sampleProgram(2, "第三套", true),
        sampleProgram(3, "第三套", false), sampleProgram(4, "第一套", true)};
    const QList<ProgramRecord> fiveRead{
        sampleProgram(11, "第三套", false), sampleProgram(12, "第三套", false),
        sampleProgram(13, "第三套", false), sampleProgram(14, "第三套", false),
        sampleProgram(15, "第三套", false)};
    const QList<ProgramRecord> twoPriority{sampleProgram(21, "第三套", true),
                                           sampleProgram(22, "第三套", true)};
    using B = MessageBox::Button;
    struct Case {
        const char* name;
        ReadBackSelection selection;
        QList<B> answers;
        ReadBackSaveEnd end;
        QStringList messages;
        QStringList musicTab; // set label + OrderNo, as MusicTab lists them
        bool blockBackups = false;
    };
    const QString backups = dir.filePath("backups");
    const QStringList untouched{"第三套001", "第三套002", "第三套003", "第一套004"};
    const std::vector<Case> cases{
        {"empty list",
         {"第一套", false, {}},
         {},
         ReadBackSaveEnd::NothingToSave,
         {"[第一套]没有记录，无需保存！"},
         untouched},
        {"whole set",
         {"第三套", false, fiveRead},
         {},
         ReadBackSaveEnd::Saved,
         {"确实需要保存[第三套]数据到软件中吗？",
          "该操作将覆盖软件中[第三套]原有的数据，确实需要保存该数据吗？", "[第三套]数据保存成功！"},
         {"第一套004", "第三套011", "第三套012", "第三套013", "第三套014", "第三套015"}},
        {"priority programs only",
         {"第三套", true, twoPriority},
         {},
         ReadBackSaveEnd::Saved,
         {"确实需要保存[第三套优先]数据到软件中吗？",
          "该操作将覆盖软件中[第三套优先]原有的数据，确实需要保存该数据吗？",
          "[第三套优先]数据保存成功！"},
         {"第三套001", "第三套003", "第一套004", "第三套021", "第三套022"}},
        {"programs of another set or of none in the list are not added",
         {"第三套", false, fiveRead + QList{sampleProgram(31, "第一套"), sampleProgram(32, "")}},
         {},
         ReadBackSaveEnd::Saved,
         {"确实需要保存[第三套]数据到软件中吗？",
          "该操作将覆盖软件中[第三套]原有的数据，确实需要保存该数据吗？", "[第三套]数据保存成功！"},
         {"第一套004", "第三套011", "第三套012", "第三套013", "第三套014", "第三套015"}},
        {"programs of none: no set is replaced and nothing is added",
         {"", false, {sampleProgram(32, "")}},
         {},
         ReadBackSaveEnd::NothingToSave,
         {"[]没有记录，无需保存！"},
         untouched},
        {"first question declined",
         {"第三套", false, fiveRead},
         {B::Cancel},
         ReadBackSaveEnd::Declined,
         {"确实需要保存[第三套]数据到软件中吗？"},
         untouched},
        {"second question declined",
         {"第三套", false, fiveRead},
         {B::Ok, B::Cancel},
         ReadBackSaveEnd::Declined,
         {"确实需要保存[第三套]数据到软件中吗？",
          "该操作将覆盖软件中[第三套]原有的数据，确实需要保存该数据吗？"},
         untouched},
        {"no backup can be written",
         {"第三套", false, fiveRead},
         {},
         ReadBackSaveEnd::Failed,
         {"确实需要保存[第三套]数据到软件中吗？",
          "该操作将覆盖软件中[第三套]原有的数据，确实需要保存该数据吗？",
          QStringLiteral("无法写入备份：%1（%1不是文件夹），操作已取消。").arg(backups)},
         untouched,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(ProgramStore(module.database()).deleteAll(ProgramTable::MusicTab));
        fillMusicTab(pc);
        rawExec("UPDATE SysTab SET JM1YR = 1, JM1YS = 2, JM2YR = 3, JM4YS = 4");
        session = {};
        session.PreheatMinutes = 1;
        session.DelayMinutes = 2;
        session.ReadPreheatMinutes = 15;
        session.ReadDelayMinutes = 20;
        prompter = {};
        for (const B answer : c.answers)
            prompter.answerNext(answer);
        if (c.blockBackups) {
            QDir(backups).removeRecursively();
            QFile file(backups); // a file where the folder would go
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        const auto backupsBefore = listBackups(backups).size();

        EXPECT_EQ(saveReadBack(module.database(), prompter, session, c.selection), c.end);
        EXPECT_EQ(prompter.shownTexts(), c.messages);
        EXPECT_EQ(orderNos(table(ProgramTable::MusicTab)), c.musicTab);
        const bool saved = c.end == ReadBackSaveEnd::Saved;
        EXPECT_EQ(listBackups(backups).size() - backupsBefore, saved ? 1 : 0);
        EXPECT_EQ(rawRow("SELECT JM1YR, JM1YS, JM2YR, JM4YS FROM SysTab"),
                  (QVariantList{saved ? 15 : 1, saved ? 20 : 2, 3, 4}));
        EXPECT_EQ(session.PreheatMinutes, saved ? 15 : 1);
        EXPECT_EQ(session.DelayMinutes, saved ? 20 : 2);
    }
}

TEST_F(ReadTest, SaveThatCannotStoreEveryProgramChangesNothing) {
    const QList<ProgramRecord> pc{sampleProgram(1, "第二套", false)};
    fillMusicTab(pc);
    auto bad = sampleProgram(2, "第二套", false);
    bad.QuMu[0] = "1234"; // too long for its column
    session.ReadPreheatMinutes = 9;
    const ReadBackSelection selection{"第二套", false, {sampleProgram(3, "第二套", false), bad}};
    EXPECT_EQ(saveReadBack(module.database(), prompter, session, selection),
              ReadBackSaveEnd::Failed);
    EXPECT_EQ(prompter.shownTexts().last(), "[第二套]数据保存失败！");
    EXPECT_EQ(orderNos(table(ProgramTable::MusicTab)), QStringList{"第二套001"});
    EXPECT_EQ(rawRow("SELECT JM1YR FROM SysTab"), QVariantList{0});
    EXPECT_EQ(session.PreheatMinutes, 0);
}

// The box keeps its text and carries the database's reason as its details.
TEST_F(ReadTest, FailedSaveSaysWhyInTheDetails) {
    fillMusicTab({sampleProgram(1, "第二套", false)});
    const ReadBackSelection selection{"第二套", false, {sampleProgram(3, "第二套", false)}};
    // A connection that may not write (a write-protected file), then a broken table.
    const std::pair<const char*, const char*> cases[] = {
        {"", "数据库只读"},
        {"ALTER TABLE MusicTab DROP COLUMN YuanShi", "YuanShi"},
    };
    for (const auto& [breakIt, cause] : cases) {
        SCOPED_TRACE(breakIt);
        const bool readOnly = QByteArray(breakIt).isEmpty();
        if (!readOnly)
            ASSERT_TRUE(QSqlQuery(module.database()).exec(breakIt));
        prompter = ScriptedPrompter();
        EXPECT_EQ(saveReadBack(readOnly ? readOnlyDatabase() : module.database(), prompter, session,
                               selection),
                  ReadBackSaveEnd::Failed);
        ASSERT_FALSE(prompter.shown().isEmpty());
        EXPECT_EQ(prompter.shown().last().text, "[第二套]数据保存失败！");
        EXPECT_TRUE(prompter.shown().last().details.contains(QString::fromUtf8(cause)))
            << prompter.shown().last().details.toStdString();
    }
}
