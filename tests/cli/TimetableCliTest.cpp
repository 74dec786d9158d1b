#include "CliDatabaseTest.h"
#include "DataModule.h"
#include "PlayerDatabase.h"
#include "ProgramStore.h"
#include "WeekSamples.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// The sample week of forty programs in set 1 (and a week of read-back programs in set 3).
class TimetableCliTest : public CliDatabaseTest {
protected:
    void SetUp() override {
        CliDatabaseTest::SetUp();
        store(ProgramTable::MusicTab, sampleWeek(1));
        store(ProgramTable::MusicReadTab, {timedProgram(3, 1, QTime(5, 43, 21), QTime(6, 0))});
    }

    CliRun cli(const QStringList& arguments) {
        return cliOnDatabase(arguments, {{QStringLiteral("QT_QPA_PLATFORM"), QString()}});
    }
    // The text of the PDF, page by page, as pdftotext reads it.
    QStringList pdfPages(const QString& pdf) {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        EXPECT_TRUE(pdftotext.waitForFinished(30000));
        QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\f');
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }
    bool havePdfToText() {
        return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
    }

    QTemporaryDir folder;
};

} // namespace

TEST_F(TimetableCliTest, PdfOfASetHoldsItsDaysLabelAndEveryStartTimeAsText) {
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString pdf = folder.filePath("week.pdf");
    const auto run = cli({"timetable", "--set", "1", "--output", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("周节目表已导出：%1\n").arg(pdf));
    // The sample week is crowded: its week takes the first page and its list the next.
    const QStringList pages = pdfPages(pdf);
    ASSERT_GE(pages.size(), 1);
    const QString text = pages.join('\f');
    for (const char* name : {"星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日",
                             "周节目表 - 第一套", "00:00", "24:00", "优先", "收音"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(name))) << name;
    for (const auto& program : sampleWeek(1)) {
        const QString start = program.KSTime.toString(QStringLiteral("hh:mm:ss"));
        EXPECT_TRUE(text.contains(start)) << start.toStdString();
    }
}

TEST_F(TimetableCliTest, WithoutASetEveryOneHasAPageAndReadTakesTheReadBackPrograms) {
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString pdf = folder.filePath("all.pdf");
    ASSERT_EQ(cli({"timetable", "--output", pdf}).exitCode, 0);
    // Each set from a page of its own, in order (set 1's list follows its week on a second one).
    const QString text = pdfPages(pdf).join('\f');
    qsizetype previous = -1;
    for (int set = 1; set <= 4; ++set) {
        const qsizetype at = text.indexOf(QStringLiteral("周节目表 - %1").arg(setLabel(set)));
        EXPECT_GT(at, previous) << set;
        previous = at;
    }
    const qsizetype set2 = text.indexOf(QStringLiteral("周节目表 - %1").arg(setLabel(2)));
    EXPECT_LT(text.indexOf("08:30:05"), set2);
    EXPECT_GE(text.indexOf("08:30:05"), 0);
    EXPECT_FALSE(text.contains("05:43:21"));

    ASSERT_EQ(cli({"timetable", "--read", "--set", "3", "--output", pdf}).exitCode, 0);
    EXPECT_TRUE(pdfPages(pdf).value(0).contains("05:43:21"));
}

TEST_F(TimetableCliTest, PngIsAnImageOfTheWeek) {
    const QString png = folder.filePath("week.png");
    const auto run = cli({"timetable", "--set", "1", "--output", png});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    // Landscape A4 pages, one below the other.
    EXPECT_EQ(image.width(), 1754);
    EXPECT_EQ(image.height() % 1240, 0);
}

TEST_F(TimetableCliTest, BadRequestsEndWithStatusTwoAndWriteNothing) {
    const QString png = folder.filePath("week.png");
    const QStringList cases[] = {
        {"timetable", "--set", "1"},                         // no file
        {"timetable", "--output", png},                      // a PNG holds one set
        {"timetable", "--set", "1", "--output", "week.svg"}, // neither PDF nor PNG
        {"timetable", "--all", "--output", "week.pdf"},      // all is the default
        {"list", "--output", "week.pdf"},                    // not a file-writing command
    };
    for (const auto& arguments : cases) {
        const auto run = cli(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("tessaly-cli --help")) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(png));

    const auto unwritable =
        cli({"timetable", "--set", "1", "--output", folder.filePath("missing/week.pdf")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.out.startsWith("周节目表导出失败：")) << unwritable.out.toStdString();
}
