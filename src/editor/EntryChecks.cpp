#include "EntryChecks.h"

#include "ProgramSet.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>

namespace tessaly {

namespace {

struct RangeCheck {
    int box; // index into EntryForm::times
    int limit;
    const char* empty;
    const char* tooLarge;
    const char* focus;
};

// Only the message of the end second closes with "！" among the range messages.
const std::array<RangeCheck, 6> timeChecks{{
    {0, 23, QT_TRANSLATE_NOOP("EntryChecks", "开始时间小时不能为空！"),
     QT_TRANSLATE_NOOP("EntryChecks", "开始时间小时不能大于23"), "edtKS1"},
    {1, 59, QT_TRANSLATE_NOOP("EntryChecks", "开始时间分钟不能为空！"),
     QT_TRANSLATE_NOOP("EntryChecks", "开始时间分钟不能大于59"), "edtKS2"},
    {2, 59, QT_TRANSLATE_NOOP("EntryChecks", "开始时间秒钟不能为空！"),
     QT_TRANSLATE_NOOP("EntryChecks", "开始时间秒钟不能大于59"), "edtKS3"},
    {3, 23, QT_TRANSLATE_NOOP("EntryChecks", "结束时间小时不能为空！"),
     QT_TRANSLATE_NOOP("EntryChecks", "结束时间小时不能大于23"), "edtJS1"},
    {4, 59, QT_TRANSLATE_NOOP("EntryChecks", "结束时间分钟不能为空！"),
     QT_TRANSLATE_NOOP("EntryChecks", "结束时间分钟不能大于59"), "edtJS2"},
    {5, 59, QT_TRANSLATE_NOOP("EntryChecks", "结束时间秒钟不能为空！"),
     QT_TRANSLATE_NOOP("EntryChecks", "结束时间秒钟不能大于59！"), "edtJS3"},
}};

// The messages are kept untranslated in the tables and translated when shown.
EntryFailure failure(const char* message, const char* focus) {
    return {QCoreApplication::translate("EntryChecks", message), QString::fromLatin1(focus)};
}

// Checks one minutes box; on success the value is returned.
std::optional<int> checkMinutes(const QString& text, const char* empty, const char* tooLarge,
                                const char* focus, std::optional<EntryFailure>& refused) {
    if (text.isEmpty()) {
        refused = failure(empty, focus);
        return std::nullopt;
    }
    const int value = boxValue(text);
    if (value > 59) {
        refused = failure(tooLarge, focus);
        return std::nullopt;
    }
    return value;
}

} // namespace

ProgramRecord newProgramDefaults() {
    ProgramRecord record;
    record.MP3 = true;
    record.ShouYin = false;
    record.YuRe = 1;
    record.YuanShi = 1;
    record.YinLiang = 22;
    record.QuMu.fill(QStringLiteral("000"));
    record.Week = {true, true, true, true, true, false, false};
    return record;
}

int boxValue(const QString& digits) {
    bool ok = false;
    const int value = digits.toInt(&ok);
    return ok ? value : std::numeric_limits<int>::max();
}

EntryCheck checkEntry(const EntryForm& form) {
    EntryCheck result;
    for (const auto& check : timeChecks) {
        const QString& text = form.times[check.box];
        if (text.isEmpty()) {
            result.failure = failure(check.empty, check.focus);
            return result;
        }
        if (boxValue(text) > check.limit) {
            result.failure = failure(check.tooLarge, check.focus);
            return result;
        }
    }
    if (!form.volumeChosen) {
        result.failure = failure(QT_TRANSLATE_NOOP("EntryChecks", "音量不能为空！"), "cmbYL");
        return result;
    }
    result.preheat = checkMinutes(
        form.preheat, QT_TRANSLATE_NOOP("EntryChecks", "预热时间不能为空！"),
        QT_TRANSLATE_NOOP("EntryChecks", "预热时间不能超过59分钟！"), "cmbYR", result.failure);
    if (result.failure)
        return result;
    result.delay = checkMinutes(form.delay, QT_TRANSLATE_NOOP("EntryChecks", "延时时间不能为空！"),
                                QT_TRANSLATE_NOOP("EntryChecks", "延时时间不能超过59分钟！"),
                                "cmbYS", result.failure);
    if (result.failure)
        return result;
    if (std::find(form.weekdays.begin(), form.weekdays.end(), true) == form.weekdays.end())
        result.failure = EntryFailure{
            QCoreApplication::translate("EntryChecks", "播放星期不能全部为空！"), QString()};
    return result;
}

EntryFailure duplicateFailure() {
    return failure(QT_TRANSLATE_NOOP("EntryChecks", "输入任务已存在，请重新设置！"), "edtKS1");
}

bool startsClash(const ProgramRecord& candidate, const ProgramRecord& other) {
    if (candidate.JMTaoNo != other.JMTaoNo || candidate.KS1 != other.KS1 ||
        candidate.KS2 != other.KS2 || candidate.KS3 != other.KS3)
        return false;
    if (candidate.YXCX.isNull() || other.YXCX.isNull() ||
        isPriority(candidate) != isPriority(other))
        return false;
    for (std::size_t day = 0; day < candidate.Week.size(); ++day)
        if (candidate.Week[day] && other.Week[day])
            return true;
    return false;
}

namespace {
int startKey(const ProgramRecord& record) {
    return (record.KS1 * 60 + record.KS2) * 60 + record.KS3;
}
} // namespace

bool StartTally::clashes(const ProgramRecord& candidate) const {
    const auto [first, last] = m_byStart.equal_range(startKey(candidate));
    return std::any_of(first, last,
                       [&](const ProgramRecord& other) { return startsClash(candidate, other); });
}

void StartTally::add(const ProgramRecord& program) {
    m_byStart.insert(startKey(program), program);
    ++m_count;
}

void applyTimes(ProgramRecord& record, const std::array<QString, 6>& times) {
    record.KS1 = boxValue(times[0]);
    record.KS2 = boxValue(times[1]);
    record.KS3 = boxValue(times[2]);
    record.JS1 = boxValue(times[3]);
    record.JS2 = boxValue(times[4]);
    record.JS3 = boxValue(times[5]);
    record.KSTime = timeOfDay(record.KS1, record.KS2, record.KS3);
    record.JSTime = timeOfDay(record.JS1, record.JS2, record.JS3);
}

std::optional<std::pair<int, int>> closingPair(const QString& preheat, const QString& delay) {
    bool preheatFits = false;
    bool delayFits = false;
    const int preheatValue = preheat.toInt(&preheatFits);
    const int delayValue = delay.toInt(&delayFits);
    if (!preheatFits || !delayFits)
        return std::nullopt;
    return std::pair{preheatValue, delayValue};
}

} // namespace tessaly
