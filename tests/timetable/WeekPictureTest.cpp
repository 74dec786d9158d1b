#include "WeekPicture.h"
#include "TestApplication.h"
#include "WeekSamples.h"

#include <QImage>
#include <QTemporaryDir>

using namespace tessaly;
using namespace tessaly::testing;

TEST(WeekPicture, PngIsALandscapePageAndAFileThatCannotBeWrittenIsReported) {
    testApplication();
    QTemporaryDir folder;
    const WeekSheet sheet{setLabel(1), sampleWeek(1)};
    const QDateTime printed(QDate(2026, 3, 2), QTime(9, 30));
    QString error;
    ASSERT_TRUE(writeWeekPng(folder.filePath("week.png"), sheet, printed, &error));
    const QImage image(folder.filePath("week.png"));
    EXPECT_EQ(image.size(), QSize(1754, 1240));

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
