#include "BackupDialog.h"
#include "Backups.h"
#include "DataModule.h"
#include "EnglishInterface.h"
#include "InterchangeExport.h"
#include "InterchangeImport.h"
#include "PlayerDatabase.h"
#include "ProgramSamples.h"
#include "ProgramStore.h"
#include "QtPrinters.h"
#include "TestApplication.h"

#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <optional>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

class ArchiveEnglishTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        english.emplace(); // once the application is there to take the translation
        ASSERT_TRUE(english->loaded());
        ASSERT_TRUE(folder.isValid());
        QString error;
        ASSERT_TRUE(createPlayerDatabase(folder.filePath(databaseFileName()), &error));
        ASSERT_TRUE(data.ConnectDatabase(prompter, folder.path()));
    }

    std::optional<EnglishInterface> english;
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    DataModule data;
};

} // namespace

TEST_F(ArchiveEnglishTest, BackupDialogReadsInEnglishAndFitsWithAndWithoutBackups) {
    {
        BackupDialog empty(prompter, data.database());
        empty.show();
        EXPECT_EQ(englishFaultsIn(&empty), QStringList{});
    }

    QString error;
    ASSERT_TRUE(takeBackup(data.database(), "copy", &error,
                           QDateTime(QDate(2026, 12, 1), QTime(9, 30, 5))));
    BackupDialog dialog(prompter, data.database());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Backup and restore");
    auto* table = dialog.findChild<QTableWidget*>("gridBackups");
    EXPECT_EQ(table->horizontalHeaderItem(3)->text(), "Set 1");
    EXPECT_EQ(table->item(0, 2)->text(), "Set copy") << "the file name keeps its ASCII word";
    EXPECT_EQ(englishFaultsIn(&dialog), QStringList{});

    dialog.findChild<QPushButton*>("sbRestore")->click();
    EXPECT_EQ(prompter.shownTexts(),
              (QStringList{"Backup PlayerDB-20261201-093005-copy.mdb holds programs Set 1: 0, "
                           "Set 2: 0, Set 3: 0, Set 4: 0. Restoring it replaces the 0 programs now "
                           "on this PC. Continue? The current data is backed up first.",
                           "Restore complete."}));
}

TEST_F(ArchiveEnglishTest, RestoreAndImportMessagesInEnglishKeepTheStoredValuesOfTheFile) {
    QFile notADatabase(folder.filePath("PlayerDB-20261201-093005-copy.mdb"));
    ASSERT_TRUE(notADatabase.open(QIODevice::WriteOnly));
    notADatabase.write("not a database");
    notADatabase.close();
    EXPECT_EQ(restoreBackup(data.database(), notADatabase.fileName()).message,
              "Cannot restore " + notADatabase.fileName() + ": not a database file.");

    // What the file must hold stays as stored: the set labels and the priority marker.
    ProgramRecord noSet = sampleProgram(1, "001", 8);
    noSet.JMTaoNo = "第五套";
    ProgramRecord wrongMarker = sampleProgram(1, "002", 9);
    wrongMarker.YXCX = "yes";
    const ParsedImport parsed = parseImport(writeCsv({noSet, wrongMarker}), InterchangeFormat::Csv);
    const CheckedImport checked =
        checkImportRows(parsed.rows, {}, [](const QString&) { return QList<ProgramRecord>(); });
    QStringList problems;
    for (const ImportProblem& problem : checked.problems)
        problems.append(problem.text());
    EXPECT_EQ(problems, (QStringList{"line 2: JMTaoNo “第五套” is not one of 第一套 to 第四套",
                                     "line 3: YXCX “yes” must be “优先” or empty"}));
    EXPECT_EQ(importDoneMessage(3), "Import complete. Programs imported: 3.");
}
