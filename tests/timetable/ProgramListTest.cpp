#include "EnglishInterface.h"
#include "TestApplication.h"
#include "WeekSamples.h"
#include "WeekText.h"

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
