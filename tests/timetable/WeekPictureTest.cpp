#include "WeekPicture.h"
#include "TestApplication.h"
#include "WeekSamples.h"

#include <QImage>
#include <QTemporaryDir>

using namespace tessaly;
using namespace tessaly::testing;

TEST(WeekPicture, PngIsALandscapePageAFullSetGoesOnBelowAndAFileThatCannotBeWrittenIsReported) {
    testApplication();
    QTemporaryDir folder;
    const WeekSheet sheet{setLabel(1), sampleWeek(1)};
    const QDateTime printed(QDate(2026, 3, 2), QTime(9, 30));
    QString error;
    ASSERT_TRUE(writeWeekPng(folder.filePath("week.png"), sheet, printed, &error));
    const QImage image(folder.filePath("week.png"));
    EXPECT_EQ(image.size(), QSize(1754, 1240));

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
        const QRectF rect = WeekPicture::blockArea(area, text, picture.layout().blocks[i]);
        ASSERT_TRUE(area.contains(rect));
        ASSERT_EQ(picture.blockAt(area, text, rect.center()), i);
    }
    EXPECT_EQ(picture.blockAt(area, text, QPointF(2, 2)), -1); // the hour axis
}
