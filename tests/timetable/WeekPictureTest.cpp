#include "WeekPicture.h"
#include "EnglishInterface.h"
#include "TestApplication.h"
#include "WeekSamples.h"
#include "WeekText.h"
#include "WeekView.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <limits>
#include <numeric>

using namespace tessaly;
using namespace tessaly::testing;

TEST(WeekPicture, PngIsALandscapePageAFullSetGoesOnBelowAndAFileThatCannotBeWrittenIsReported) {
    testApplication();
    QTemporaryDir folder;
    const WeekSheet sheet{setLabel(1), schoolWeek(1)};
    const QDateTime printed(QDate(2026, 3, 2), QTime(9, 30));
    QString error;
    ASSERT_TRUE(writeWeekPng(folder.filePath("week.png"), sheet, printed, &error));
    const QImage image(folder.filePath("week.png"));
    EXPECT_EQ(image.size(), QSize(1754, 1240));
    // A week too crowded to label every block beside the list (long blocks lying over short
    // ones) takes the whole first page; its list follows below.
    ASSERT_TRUE(writeWeekPng(folder.filePath("crowded.png"), {setLabel(1), sampleWeek(1)}, printed,
                             &error));
    EXPECT_EQ(QImage(folder.filePath("crowded.png")).size(), QSize(1754, 2 * 1240));

    // A list longer than the page beside the week goes on over pages of its own: in the PDF as
    // further pages, in the PNG below the first page, in the same picture.
    const WeekSheet full{setLabel(1), denseSet(1, 255)};
    int pdfPages = 0;
    int pngPages = 0;
    ASSERT_TRUE(writeWeekPdf(folder.filePath("full.pdf"), {full}, printed, &error, &pdfPages));
    ASSERT_TRUE(writeWeekPng(folder.filePath("full.png"), full, printed, &error, &pngPages));
    EXPECT_GT(pdfPages, 1);
    EXPECT_EQ(pngPages, pdfPages);
    EXPECT_EQ(QImage(folder.filePath("full.png")).size(), QSize(1754, 1240 * pngPages));

    EXPECT_FALSE(writeWeekPng(folder.filePath("missing/week.png"), sheet, printed, &error));
    EXPECT_FALSE(writeWeekPdf(folder.filePath("missing/week.pdf"), {sheet}, printed, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(WeekPicture, BlockUnderAPointIsTheOnePaintedThere) {
    const WeekPicture picture({setLabel(1), sampleWeek(1)});
    const QRectF area(0, 0, 1400, 960);
    const qreal text = 16;
    for (int i = 0; i < picture.layout().blocks.size(); ++i) {
        const QRectF rect = picture.blockArea(area, text, picture.layout().blocks[i]);
        ASSERT_TRUE(area.contains(rect));
        ASSERT_EQ(picture.blockAt(area, text, rect.center()), i);
    }
    EXPECT_EQ(picture.blockAt(area, text, QPointF(2, 2)), -1); // the hour axis
}

namespace {

// A full player set: 255 programs, one weekday each, some 37 a day from 06:00 on, 25 minutes
// apart: bells of 30 seconds, every third a 20-minute program, some priority, some radio.
QList<ProgramRecord> denseWeek() {
    QList<ProgramRecord> week;
    for (int i = 0; i < 255; ++i) {
        std::array<bool, 7> days{};
        days[i % 7] = true;
        const QTime start = QTime(6, 0).addSecs(i / 7 * 25 * 60 + i % 7 * 60);
        week.append(timedProgram(1, i + 1, start, start.addSecs(i % 3 == 0 ? 20 * 60 : 30), days));
        if (i % 5 == 0)
            week.last().YXCX = priorityMarker();
        if (i % 9 == 4)
            week.last().MP3 = false;
    }
    return week;
}

// The page as the PNG export paints it: A4 at 150 dots per inch.
constexpr qreal PngDpi = 150;
const WeekLabels& paintPngPage(const WeekPicture& picture) {
    QImage image(1754, 1240, QImage::Format_RGB32);
    image.setDotsPerMeterX(5906);
    image.setDotsPerMeterY(5906);
    QPainter painter(&image);
    picture.paintPage(painter, QRectF(47, 47, 1660, 1146),
                      QDateTime(QDate(2026, 3, 2), QTime(9, 30)));
    return picture.paintedLabels();
}

qreal millimetres(qreal pixels) {
    return pixels * 25.4 / PngDpi;
}

// The text of one page of a PDF, empty when pdftotext is not installed.
QString pdfPageText(const QString& path, int page) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {"-enc", "UTF-8", "-f", QString::number(page), "-l", QString::number(page),
                         path, "-"});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

// On paper every block and mark carries its start time and number in print that reads, no
// label lies over another or over a mark, and a bell is a mark one sees.
TEST(WeekPicture, EveryBlockOfAPrintedWeekCarriesItsLabelLegiblyAndNoneOverlap) {
    testApplication();
    const std::pair<const char*, QList<ProgramRecord>> weeks[] = {
        {"school", schoolWeek(1)}, {"dense", denseWeek()}, {"bells", bellsEveryFiveMinutes(1)}};
    for (const auto& [name, programs] : weeks) {
        SCOPED_TRACE(name);
        const WeekPicture picture({setLabel(1), programs});
        const WeekLabels& placed = paintPngPage(picture);
        const auto& blocks = picture.layout().blocks;
        EXPECT_GE(WeekPicture::labelFont(placed.textHeight).pixelSize() * 72 / PngDpi, 7.0);
        EXPECT_EQ(placed.leftOut, 0);
        // Each label, and below a label inside its block the block's further lines.
        QList<std::pair<QRectF, QString>> texts;
        for (const WeekLabel& label : placed.labels) {
            texts.append({label.rect, label.text});
            const QRectF block =
                picture.blockArea(placed.area, placed.textHeight, blocks[label.block]);
            if (label.furtherLines > 0)
                texts.append({QRectF(block.left(), label.rect.bottom(), block.width(),
                                     label.furtherLines * placed.textHeight),
                              label.text + " (further lines)"});
        }
        for (int i = 0; i < int(texts.size()); ++i)
            for (int j = i + 1; j < int(texts.size()); ++j)
                ASSERT_FALSE(texts[i].first.intersects(texts[j].first))
                    << texts[i].second.toStdString() << " on " << texts[j].second.toStdString();
        QList<int> labelled;
        for (const WeekLabel& label : placed.labels) {
            labelled.append(label.block);
            const ProgramRecord& program = picture.sheet().programs[blocks[label.block].program];
            EXPECT_EQ(label.text.split(QRegularExpression("\\s")).mid(0, 2),
                      weekText::startLabel(program).split(' '));
            for (int i = 0; i < int(blocks.size()); ++i)
                if (blocks[i].mark && i != label.block)
                    ASSERT_FALSE(label.rect.intersects(
                        picture.blockArea(placed.area, placed.textHeight, blocks[i])))
                        << label.text.toStdString();
        }
        std::sort(labelled.begin(), labelled.end());
        QList<int> every(blocks.size());
        std::iota(every.begin(), every.end(), 0);
        EXPECT_EQ(labelled, every);
        for (const WeekBlock& block : blocks) {
            const QRectF area = picture.blockArea(placed.area, placed.textHeight, block);
            EXPECT_GE(millimetres(area.height()), 1.0);
            EXPECT_GE(millimetres(area.width()), 3.0);
        }
    }
}

// What pdftotext reads on the pages: every label of the week, the title of a read-back week,
// and the words that stand for the week of an empty set; in both languages.
TEST(WeekPicture, ThePdfSaysEveryStartTheReadBackTitleAndThatASetIsEmpty) {
    testApplication();
    QTemporaryDir folder;
    const QString path = folder.filePath("week.pdf");
    const QList<WeekSheet> sheets{
        {setLabel(1), schoolWeek(1)}, {setLabel(1), denseWeek(), true}, {setLabel(3), {}}};
    const QDateTime printed(QDate(2026, 3, 2), QTime(9, 30));
    int pages = 0; // the dense week's list goes on over pages of its own
    ASSERT_TRUE(writeWeekPdf(path, sheets, printed, nullptr, &pages));
    if (pdfPageText(path, 1).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    for (int page = 1; page <= 2; ++page) {
        const QString text = pdfPageText(path, page);
        for (const ProgramRecord& program : sheets[page - 1].programs)
            EXPECT_TRUE(text.contains(weekText::startLabel(program)))
                << page << ": " << weekText::startLabel(program).toStdString();
    }
    EXPECT_TRUE(pdfPageText(path, 2).contains("周节目表 - 第一套（读取数据）"));
    EXPECT_TRUE(pdfPageText(path, pages).contains("本套没有程序"));

    const EnglishInterface english;
    ASSERT_TRUE(writeWeekPdf(path, sheets, printed, nullptr, &pages));
    EXPECT_TRUE(pdfPageText(path, 2).contains("Weekly timetable - Set 1 (read from the player)"))
        << pdfPageText(path, 2).toStdString();
    EXPECT_TRUE(pdfPageText(path, pages).contains("This set has no programs."));
}

// On screen too every bell keeps its label: the view's text gives way where it must.
TEST(WeekPicture, TheWindowLabelsBellsAFewMinutesApart) {
    testApplication();
    WeekView view;
    view.resize(1160, 790);
    view.setSheet({setLabel(1), bellsEveryFiveMinutes(1)});
    view.grab();
    EXPECT_EQ(view.picture().paintedLabels().leftOut, 0);
    EXPECT_EQ(view.picture().paintedLabels().labels.size(), 5 * 64);
}

// The window's text is as large as still labels every block: the font's own height where that
// does, else the largest whole pixel that does, and no less than 12 pixels however crowded.
TEST(WeekPicture, TheWindowsTextIsTheLargestThatLabelsEveryBlock) {
    testApplication();
    const std::pair<const char*, QList<ProgramRecord>> weeks[] = {
        {"school", schoolWeek(1)},
        {"sample", sampleWeek(1)},
        {"bells", bellsEveryFiveMinutes(1)},
        {"dense", denseWeek()}};
    const QSize sizes[] = {{1160, 790}, {1000, 700}, {1160, 500}, {800, 600}, {700, 1200}};
    for (const auto& [name, programs] : weeks)
        for (const QSize& size : sizes) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(size.width()) + "x" +
                         std::to_string(size.height()));
            WeekView view;
            view.resize(size);
            view.setSheet({setLabel(1), programs});
            view.grab();
            const WeekLabels& shown = view.picture().paintedLabels();
            const int height = int(view.textHeight());
            ASSERT_EQ(shown.textHeight, height);
            ASSERT_GE(height, 12);
            if (height > 12)
                EXPECT_EQ(shown.leftOut, 0);
            if (height < view.fontMetrics().height())
                EXPECT_GT(view.picture().leftOut(view.weekAreaFor(height + 1), height + 1,
                                                 std::numeric_limits<int>::max()),
                          0);
        }
}
