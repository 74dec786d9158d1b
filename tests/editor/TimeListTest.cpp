#include "TimeList.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace tessaly;

namespace {

// Each item as "line:start", "line:start-end" or "line!message".
QStringList described(const TimeList& list) {
    QStringList items;
    for (const TimeList::Entry& entry : list.entries) {
        const TimeListItem& item = entry.item;
        if (entry.problem) {
            items.append(QString::number(item.line) + "!" + entry.problem->message());
            continue;
        }
        QString text = QString::number(item.line) + ":" + item.start.toString("HH:mm:ss");
        if (item.end)
            text += "-" + item.end->toString("HH:mm:ss");
        items.append(text);
    }
    return items;
}

struct Case {
    const char* typed;
    QStringList read;
};

TEST(TimeList, ReadsTheWaysATimeIsTypedOrPasted) {
    const Case cases[] = {
        {"8:00", {"1:08:00:00"}},
        {"08:00:00", {"1:08:00:00"}},
        {"8.00", {"1:08:00:00"}},
        {"0800", {"1:08:00:00"}},
        {"800", {"1:08:00:00"}},
        {"080030", {"1:08:00:30"}},
        {"23:59:59", {"1:23:59:59"}},
        {"0:00", {"1:00:00:00"}},
        // Full-width digits and colons from a Chinese input method.
        {"８：３０", {"1:08:30:00"}},
        {"08:00-08:00:30", {"1:08:00:00-08:00:30"}},
        {" 8:00 ~ 8:05 ", {"1:08:00:00-08:05:00"}},
        {"7:50至8:35", {"1:07:50:00-08:35:00"}},
        // Two spreadsheet columns, start and end.
        {"08:00\t08:45", {"1:08:00:00-08:45:00"}},
        {"8:00, 9:00，10:00;11:00、12:00",
         {"1:08:00:00", "1:09:00:00", "1:10:00:00", "1:11:00:00", "1:12:00:00"}},
        {"8:00\r\n\r\n  \n9:00\n", {"1:08:00:00", "4:09:00:00"}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(described(readTimeList(QString::fromUtf8(c.typed))), c.read) << c.typed;
}

TEST(TimeList, NamesTheLineAndTheReasonOfWhatIsNoTime) {
    const Case cases[] = {
        {"24:00", {"1!第1行：“24:00”的小时不能大于23"}},
        {"8:60", {"1!第1行：“8:60”的分钟不能大于59"}},
        {"8:00:75", {"1!第1行：“8:00:75”的秒钟不能大于59"}},
        {"2560", {"1!第1行：“2560”的小时不能大于23"}},
        {"8", {"1!第1行：“8”不是时间（可写作8:00、08:00:00、8.00或0800）"}},
        {"8:5", {"1!第1行：“8:5”不是时间（可写作8:00、08:00:00、8.00或0800）"}},
        {"8 00", {"1!第1行：“8 00”不是时间（可写作8:00、08:00:00、8.00或0800）"}},
        {"0800000", {"1!第1行：“0800000”不是时间（可写作8:00、08:00:00、8.00或0800）"}},
        {"8:00-", {"1!第1行：“8:00-”不是时间（可写作8:00、08:00:00、8.00或0800）"}},
        {"8:00-9:00-10:00",
         {"1!第1行：“8:00-9:00-10:00”不是时间（可写作8:00、08:00:00、8.00或0800）"}},
        {"8:00-25:00", {"1!第1行：“25:00”的小时不能大于23"}},
        {"8:00\n\nbell\n9:00",
         {"1:08:00:00", "3!第3行：“bell”不是时间（可写作8:00、08:00:00、8.00或0800）",
          "4:09:00:00"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(described(readTimeList(QString::fromUtf8(c.typed))), c.read) << c.typed;
}

} // namespace
