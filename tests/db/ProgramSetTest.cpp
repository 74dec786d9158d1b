#include "ProgramSet.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace tessaly;

TEST(ProgramSet, NumbersAndLabelsCorrespondOneToOne) {
    const QStringList labels{"第一套", "第二套", "第三套", "第四套"};
    for (int set = 1; set <= 4; ++set) {
        EXPECT_EQ(setLabel(set), labels[set - 1]);
        EXPECT_EQ(setNumber(labels[set - 1]), set);
    }
    for (const int outside : {0, 5, -1, 255})
        EXPECT_TRUE(setLabel(outside).isEmpty()) << outside;
    for (const QString& other : {QString(), QStringLiteral("第五套"), QStringLiteral("第一套 ")})
        EXPECT_FALSE(setNumber(other).has_value()) << other.toStdString();
}

TEST(ProgramSet, OrderNumbersHaveThreeDigitsSoTextOrderIsNumberOrder) {
    EXPECT_EQ(formatOrderNo(7), "007");
    EXPECT_EQ(formatOrderNo(10), "010");
    EXPECT_EQ(formatOrderNo(123), "123");
    EXPECT_LT(formatOrderNo(9), formatOrderNo(10));
}

TEST(ProgramSet, TimeOfDayFromThreeIntegers) {
    EXPECT_EQ(formatTimeOfDay(timeOfDay(8, 5, 0)), "08:05:00");
    EXPECT_EQ(formatTimeOfDay(timeOfDay(23, 59, 59)), "23:59:59");
    for (const auto& [h, m, s] :
         std::vector<std::tuple<int, int, int>>{{24, 0, 0}, {0, 60, 0}, {0, 0, 60}, {-1, 0, 0}})
        EXPECT_FALSE(timeOfDay(h, m, s).isValid()) << h << ':' << m << ':' << s;
    EXPECT_EQ(formatTimeOfDay(QTime()), "");
}
