#include "Verify.h"

#include "ProgramSet.h"
#include "ProgramStore.h"
#include "ReadBackDecoder.h"
#include "Session.h"
#include "WholeDeviceRead.h"

#include <QCoreApplication>

#include <QHash>

#include <algorithm>
#include <functional>
#include <limits>

namespace tessaly {

namespace {

QString flag(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString optionalNumber(const std::optional<int>& value) {
    return value ? QString::number(*value) : QString();
}

// A text of one to three digits comes back with three ("7" gives "007"), an empty track as
// "000"; anything else is compared as it is stored.
QString threeDigits(const QString& text) {
    if (text.isEmpty())
        return QStringLiteral("000");
    const bool digitsOnly = text.size() <= 3 && std::all_of(text.begin(), text.end(), [](QChar c) {
                                return c >= QLatin1Char('0') && c <= QLatin1Char('9');
                            });
    return digitsOnly ? formatOrderNo(text.toInt()) : text;
}

} // namespace

QList<QPair<QString, QString>> programFields(const ProgramRecord& r) {
    QList<QPair<QString, QString>> fields{
        {QStringLiteral("OrderNo"), r.OrderNo},
        {QStringLiteral("KSTime"), formatTimeOfDay(r.KSTime)},
        {QStringLiteral("JSTime"), formatTimeOfDay(r.JSTime)},
        {QStringLiteral("JMTaoNo"), r.JMTaoNo},
        {QStringLiteral("YXCX"), r.YXCX},
        {QStringLiteral("MP3"), flag(r.MP3)},
        {QStringLiteral("ShouYin"), flag(r.ShouYin)},
        {QStringLiteral("YuRe"), optionalNumber(r.YuRe)},
        {QStringLiteral("YuanShi"), optionalNumber(r.YuanShi)},
    };
    const int times[] = {r.KS1, r.KS2, r.KS3, r.JS1, r.JS2, r.JS3};
    for (int i = 0; i < 6; ++i)
        fields.append({QStringLiteral("%1%2").arg(i < 3 ? "KS" : "JS").arg(i % 3 + 1),
                       QString::number(times[i])});
    for (int day = 0; day < 7; ++day)
        fields.append({QStringLiteral("Week%1").arg(day + 1), flag(r.Week[day])});
    for (int track = 0; track < 6; ++track)
        fields.append({QStringLiteral("QuMu%1").arg(track + 1), r.QuMu[track]});
    fields.append({QStringLiteral("YinLiang"), QString::number(r.YinLiang)});
    for (int zone = 0; zone < 32; ++zone)
        fields.append({QStringLiteral("FQ%1").arg(zone + 1), flag(r.FQ[zone])});
    return fields;
}

ProgramRecord asReadBack(const ProgramRecord& record, int set) {
    ProgramRecord expected = record;
    expected.AutoID = 0;
    expected.OrderNo = threeDigits(record.OrderNo);
    expected.JMTaoNo = setLabel(set);
    expected.YXCX = isPriority(record) ? priorityMarker() : QStringLiteral("");
    expected.ShouYin = !record.MP3;
    expected.YuRe.reset();
    expected.YuanShi.reset();
    for (QString& track : expected.QuMu)
        track = threeDigits(track);
    return expected;
}

QString noLinkToCompareText() {
    return QCoreApplication::translate("Verify", "软件与播放器尚未连接，无法核对程序！");
}

QString missingValue() {
    return QCoreApplication::translate("Verify", "（无）");
}

namespace {

// A field as the frame carries it, with how two programs are told apart by it.
struct ComparedField {
    QString column;
    std::function<bool(const ProgramRecord&, const ProgramRecord&)> same;
    std::function<QString(const ProgramRecord&)> text;
};

template <typename Value>
ComparedField field(const QString& column, Value (*value)(const ProgramRecord&),
                    QString (*text)(const ProgramRecord&)) {
    return {
        column,
        [value](const ProgramRecord& a, const ProgramRecord& b) { return value(a) == value(b); },
        text};
}

QList<ComparedField> buildComparedFields() {
    QList<ComparedField> fields{
        field<QString>(
            QStringLiteral("OrderNo"), [](const ProgramRecord& r) { return r.OrderNo; },
            [](const ProgramRecord& r) { return r.OrderNo; }),
        field<std::array<int, 3>>(
            QStringLiteral("KSTime"),
            [](const ProgramRecord& r) {
                return std::array<int, 3>{r.KS1, r.KS2, r.KS3};
            },
            [](const ProgramRecord& r) { return clockText(r.KS1, r.KS2, r.KS3); }),
        field<std::array<int, 3>>(
            QStringLiteral("JSTime"),
            [](const ProgramRecord& r) {
                return std::array<int, 3>{r.JS1, r.JS2, r.JS3};
            },
            [](const ProgramRecord& r) { return clockText(r.JS1, r.JS2, r.JS3); }),
        field<QString>(
            QStringLiteral("JMTaoNo"), [](const ProgramRecord& r) { return r.JMTaoNo; },
            [](const ProgramRecord& r) { return r.JMTaoNo; }),
        field<QString>(
            QStringLiteral("YXCX"), [](const ProgramRecord& r) { return r.YXCX; },
            [](const ProgramRecord& r) { return r.YXCX; }),
        field<bool>(
            QStringLiteral("MP3"), [](const ProgramRecord& r) { return r.MP3; },
            [](const ProgramRecord& r) { return flag(r.MP3); }),
    };
    for (int track = 0; track < 6; ++track)
        fields.append({QStringLiteral("QuMu%1").arg(track + 1),
                       [track](const ProgramRecord& a, const ProgramRecord& b) {
                           return a.QuMu[track] == b.QuMu[track];
                       },
                       [track](const ProgramRecord& r) { return r.QuMu[track]; }});
    fields.append(field<int>(
        QStringLiteral("YinLiang"), [](const ProgramRecord& r) { return r.YinLiang; },
        [](const ProgramRecord& r) { return QString::number(r.YinLiang); }));
    for (int day = 0; day < 7; ++day)
        fields.append({QStringLiteral("Week%1").arg(day + 1),
                       [day](const ProgramRecord& a, const ProgramRecord& b) {
                           return a.Week[day] == b.Week[day];
                       },
                       [day](const ProgramRecord& r) { return flag(r.Week[day]); }});
    for (int zone = 0; zone < 32; ++zone)
        fields.append({QStringLiteral("FQ%1").arg(zone + 1),
                       [zone](const ProgramRecord& a, const ProgramRecord& b) {
                           return a.FQ[zone] == b.FQ[zone];
                       },
                       [zone](const ProgramRecord& r) { return flag(r.FQ[zone]); }});
    return fields;
}

const QList<ComparedField>& comparedFields() {
    static const QList<ComparedField> fields = buildComparedFields();
    return fields;
}

// What the player makes of an order number above 255 that an older load sent: its low byte.
std::optional<QString> cutToByte(const QString& orderNo) {
    bool isNumber = false;
    const qint64 number = orderNo.toLongLong(&isNumber);
    if (!isNumber || number <= MaxByteValue || number < 0)
        return std::nullopt;
    return formatOrderNo(int(number & MaxByteValue));
}

// Where a program stands in the comparison: by its order number, a text that is no number
// after every number.
qint64 orderRank(const QString& orderNo) {
    bool isNumber = false;
    const qint64 number = orderNo.toLongLong(&isNumber);
    return isNumber ? number : std::numeric_limits<qint64>::max();
}

// A PC program and the player's program it is compared with; -1 where one side has none.
struct ProgramPair {
    qsizetype pc = -1;
    qsizetype player = -1;
    QString orderNo;
};

// Each PC program is paired with the first player's program of the same order number not
// taken yet, or failing that with the one its number cut to a byte gave.
QList<ProgramPair> pairPrograms(const QList<ProgramRecord>& expected,
                                const QList<ProgramRecord>& player) {
    QHash<QString, QList<qsizetype>> waiting; // player's programs by order number, in frame order
    for (qsizetype i = 0; i < player.size(); ++i)
        waiting[player[i].OrderNo].append(i);
    const auto take = [&waiting](const QString& orderNo) -> qsizetype {
        const auto found = waiting.find(orderNo);
        if (found == waiting.end() || found->isEmpty())
            return -1;
        return found->takeFirst();
    };
    QList<ProgramPair> pairs;
    pairs.reserve(std::max(expected.size(), player.size()));
    for (qsizetype i = 0; i < expected.size(); ++i)
        pairs.append({i, take(expected[i].OrderNo), expected[i].OrderNo});
    for (ProgramPair& pair : pairs)
        if (pair.player < 0)
            if (const auto cut = cutToByte(pair.orderNo))
                pair.player = take(*cut);
    for (const auto& indexes : std::as_const(waiting))
        for (const qsizetype i : indexes)
            pairs.append({-1, i, player[i].OrderNo});
    std::stable_sort(pairs.begin(), pairs.end(), [&](const ProgramPair& a, const ProgramPair& b) {
        const qint64 rankA = orderRank(a.orderNo), rankB = orderRank(b.orderNo);
        if (rankA != rankB)
            return rankA < rankB;
        if ((a.pc < 0) != (b.pc < 0))
            return a.pc >= 0;
        return (a.pc >= 0 ? a.pc : a.player) < (b.pc >= 0 ? b.pc : b.player);
    });
    return pairs;
}

void compareProgram(int set, const ProgramRecord& expected, const ProgramRecord& player,
                    QList<ProgramDifference>& differences) {
    for (const ComparedField& field : comparedFields())
        if (!field.same(expected, player))
            differences.append(
                {set, expected.OrderNo, field.column, field.text(expected), field.text(player)});
}

} // namespace

QList<ProgramDifference> compareSet(int set, const QList<ProgramRecord>& pc,
                                    const QList<ProgramRecord>& player) {
    QList<ProgramRecord> expected;
    expected.reserve(pc.size());
    for (const ProgramRecord& record : pc)
        expected.append(asReadBack(record, set));
    QList<ProgramDifference> differences;
    const QString program = QString::fromLatin1(ProgramField);
    for (const ProgramPair& pair : pairPrograms(expected, player)) {
        if (pair.pc >= 0 && pair.player >= 0)
            compareProgram(set, expected[pair.pc], player[pair.player], differences);
        else if (pair.pc >= 0)
            differences.append({set, pair.orderNo, program, pair.orderNo, missingValue()});
        else
            differences.append({set, pair.orderNo, program, missingValue(), pair.orderNo});
    }
    return differences;
}

QList<ProgramDifference> comparePreheatDelay(int pcPreheat, int pcDelay, int playerPreheat,
                                             int playerDelay) {
    QList<ProgramDifference> differences;
    if (pcPreheat != playerPreheat)
        differences.append({0,
                            {},
                            QString::fromLatin1(PreheatField),
                            QString::number(pcPreheat),
                            QString::number(playerPreheat)});
    if (pcDelay != playerDelay)
        differences.append({0,
                            {},
                            QString::fromLatin1(DelayField),
                            QString::number(pcDelay),
                            QString::number(playerDelay)});
    return differences;
}

QList<int> VerifyResult::differingSets() const {
    QList<int> sets;
    for (const ProgramDifference& difference : differences)
        if (difference.set != 0 && !sets.contains(difference.set))
            sets.append(difference.set);
    std::sort(sets.begin(), sets.end());
    return sets;
}

bool VerifyResult::preheatDelayDiffers() const {
    return std::any_of(differences.begin(), differences.end(),
                       [](const ProgramDifference& d) { return d.set == 0; });
}

QCoro::Task<VerifyResult> verifySets(ReadContext context, QList<int> sets, ReadObserver& observer,
                                     CancelToken cancel) {
    VerifyResult result;
    const auto claim = context.channel.claim();
    if (!claim) {
        result.failure = channelBusyText();
        co_return result;
    }
    if (!co_await probeForRead(context, observer, cancel)) {
        result.failure = noLinkToCompareText();
        co_return result;
    }
    // The pair is asked for with the first set, as a read button asks with its own.
    const auto preheatDelay =
        co_await queryPreheatDelay(context.channel, context.clock, sets.value(0, FirstSet), cancel);
    if (!preheatDelay) {
        result.failure = setReadMessage(SetReadEnd::PreheatQueryFailed);
        co_return result;
    }
    result.differences =
        comparePreheatDelay(context.session.PreheatMinutes, context.session.DelayMinutes,
                            preheatDelay->preheatMinutes, preheatDelay->delayMinutes);
    ProgramStore store(context.db);
    ReplyCollector collector(context.channel, context.clock, context.limits);
    // The sets follow each other as in the whole-device read: a pause, then each answer is
    // listened to until the line is quiet, and judged by the same rule.
    co_await context.clock.wait(TimerSendMs, cancel);
    for (const int set : sets) {
        observer.readStarted(set);
        collector.Read(set);
        if (co_await collector.collect(observer, cancel) != CollectResult::Complete ||
            co_await collector.judgeAnswer(cancel) == SetAnswer::Unaccountable) {
            result.failure = setReadMessage(SetReadEnd::ReadFailed);
            co_return result;
        }
        const auto decoding = decodeReadBack(collector.buffer().bytes());
        if (!decoding.unstorable.isEmpty()) {
            result.failure = setReadMessage(SetReadEnd::ReadFailed);
            result.cause = decoding.unstorable;
            co_return result;
        }
        QString error;
        const auto pc =
            store.programsOfSet(ProgramTable::MusicTab, setLabel(set), SetRows::All, &error);
        if (!pc) {
            result.failure = error;
            co_return result;
        }
        result.differences.append(compareSet(set, *pc, decoding.records));
    }
    co_return result;
}

} // namespace tessaly
