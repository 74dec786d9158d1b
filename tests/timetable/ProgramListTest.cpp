#include "EnglishInterface.h"
#include "ProgramListPage.h"
#include "TestApplication.h"
#include "WeekPicture.h"
#include "WeekSamples.h"
#include "WeekText.h"

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

using namespace tessaly;
using namespace tessaly::testing;

// Runs of three days or more read as a range, days apart as a list, in both languages.
TEST(ProgramList, WeekdaysReadAsRangesAndLists) {
    testApplication();
    struct Case {
        std::array<bool, 7> days;
        const char* chinese;
        const char* english;
    };
    const Case cases[] = {
        {{}, "无", "none"},
        {{true, true, true, true, true, true, true}, "每天", "Every day"},
        {WorkingWeek, "周一至周五", "Mon–Fri"},
        {{true, false, true, false, true}, "周一、三、五", "Mon, Wed, Fri"},
        {{true, true}, "周一、二", "Mon, Tue"},
        {{false, false, false, false, false, true, true}, "周六、日", "Sat, Sun"},
        {{false, false, false, false, false, false, true}, "周日", "Sun"},
        {{true, true, true, true, true, true}, "周一至周六", "Mon–Sat"},
        {{true, true, true, false, true, false, true},
         "周一至周三、周五、周日",
         "Mon–Wed, Fri, Sun"},
        {{true, false, false, true, true, true, true}, "周一、周四至周日", "Mon, Thu–Sun"},
    };
    for (const Case& c : cases) {
        ProgramRecord program = timedProgram(1, 1, QTime(8, 0), QTime(8, 30), c.days);
        EXPECT_EQ(weekText::weekdays(program), QString::fromUtf8(c.chinese));
        const EnglishInterface english;
        EXPECT_EQ(weekText::weekdays(program), QString::fromUtf8(c.english));
    }
}

namespace {

// What pdftotext reads in a PDF, in the order it was painted and without white space: a row
// wrapped over several lines reads as one.
QString textInPainted(const QString& pdf) {
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0)
        return {};
    return QString::fromUtf8(reader.readAllStandardOutput()).remove(QRegularExpression("\\s"));
}

} // namespace

// Every row of the printed list is there whole, for a set of one program to a full set, in
// both languages: order number, times, weekdays, priority and every track, in that order.
TEST(ProgramList, PdfHoldsEveryRowWhole) {
    testApplication();
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir folder;
    const QDateTime printed(QDate(2026, 3, 2), QTime(9, 30));
    for (const bool inEnglish : {false, true}) {
        std::optional<EnglishInterface> english;
        if (inEnglish)
            english.emplace();
        for (const int count : {1, 32, 90, 121, 255}) {
            SCOPED_TRACE(QStringLiteral("%1 programs%2")
                             .arg(count)
                             .arg(inEnglish ? ", English" : "")
                             .toStdString());
            const WeekSheet sheet{setLabel(1), denseSet(1, count)};
            const QString pdf = folder.filePath(QStringLiteral("week-%1.pdf").arg(count));
            ASSERT_TRUE(writeWeekPdf(pdf, {sheet}, printed));
            const QString text = textInPainted(pdf);
            ASSERT_FALSE(text.isEmpty());
            for (const ProgramRecord& program : sheet.programs) {
                const QString row =
                    weekText::tableRow(program).join(QString()).remove(QRegularExpression("\\s"));
                ASSERT_TRUE(text.contains(row)) << row.toStdString();
            }
        }
    }
}

// Laid out on a 300 dpi PDF page and a 150 dpi image, beside the week and on a page of its own,
// in both languages: the text is 7 points or more, every row comes once and in order, each cell
// holds its whole text within its width, and no two cells or rows overlap.
TEST(ProgramList, RowsStandApartWholeAndLegible) {
    testApplication();
    const QList<ProgramRecord> programs = denseSet(1, 255);
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setResolution(300);
    QImage image(10, 10, QImage::Format_RGB32);
    image.setDotsPerMeterX(5906);
    image.setDotsPerMeterY(5906);
    for (const bool inEnglish : {false, true}) {
        std::optional<EnglishInterface> english;
        if (inEnglish)
            english.emplace();
        for (const QPaintDevice* device :
             {static_cast<QPaintDevice*>(&writer), static_cast<QPaintDevice*>(&image)}) {
            const qreal dpi = device->logicalDpiY();
            const ProgramList list(programs, *device);
            EXPECT_GE(list.font().pixelSize() * 72.0 / dpi, 7.0);
            const QFontMetricsF metrics(list.font(), device);
            // Landscape A4 within its margins: the room beside the week, and a whole page.
            const qreal inch = dpi / 25.4;
            for (const QRectF area :
                 {QRectF(0, 0, 96 * inch, 184 * inch), QRectF(0, 0, 281 * inch, 184 * inch)}) {
                SCOPED_TRACE(QStringLiteral("%1 dpi, %2 mm wide%3")
                                 .arg(dpi)
                                 .arg(area.width() / inch)
                                 .arg(inEnglish ? ", English" : "")
                                 .toStdString());
                qsizetype expected = 0;
                while (expected < list.size()) {
                    const ListPlacement placement = list.place(area, expected);
                    ASSERT_GT(placement.next, expected);
                    QList<QRectF> taken;
                    for (const ListRow& row : placement.rows) {
                        ASSERT_TRUE(area.adjusted(-0.01, -0.01, 0.01, 0.01).contains(row.rect))
                            << row.rect.right() << " " << row.rect.bottom();
                        for (const QRectF& other : taken)
                            ASSERT_FALSE(other.intersected(row.rect).height() > 0.01 &&
                                         other.intersected(row.rect).width() > 0.01);
                        taken.append(row.rect);
                        if (row.program < 0)
                            continue;
                        ASSERT_EQ(row.program, expected++);
                        const QStringList texts = list.cells(row.program);
                        for (int cell = 0; cell < int(texts.size()); ++cell) {
                            const ListCell& placed = row.cells[cell];
                            EXPECT_EQ(placed.lines.join(' ').remove(' '),
                                      QString(texts[cell]).remove(' '));
                            for (const QString& line : placed.lines)
                                EXPECT_LE(metrics.horizontalAdvance(line), placed.rect.width())
                                    << line.toStdString();
                            if (cell > 0)
                                EXPECT_LE(row.cells[cell - 1].rect.right(),
                                          placed.rect.left() + 0.01);
                            EXPECT_TRUE(row.rect.contains(placed.rect));
                        }
                    }
                    ASSERT_EQ(placement.next, expected);
                }
            }
        }
    }
}
