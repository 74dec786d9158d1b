#include "Verify.h"

#include "ProgramSet.h"
#include "ProgramStore.h"
#include "ReadBackDecoder.h"
#include "WholeDeviceRead.h"

#include <QCoreApplication>

#include <algorithm>

namespace tessaly {

namespace {

QString flag(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString missing() {
    return QCoreApplication::translate("Verify", "(无)");
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

QList<ProgramDifference> compareSet(int set, const QList<ProgramRecord>& pc,
                                    const QList<ProgramRecord>& player) {
    QList<ProgramDifference> differences;
    const auto count = std::max(pc.size(), player.size());
    for (qsizetype i = 0; i < count; ++i) {
        if (i >= pc.size() || i >= player.size()) {
            const bool onPc = i < pc.size();
            const QString orderNo = onPc ? pc[i].OrderNo : player[i].OrderNo;
            differences.append({set, orderNo, QCoreApplication::translate("Verify", "程序"),
                                onPc ? orderNo : missing(), onPc ? missing() : orderNo});
            continue;
        }
        const ProgramRecord expected = asReadBack(pc[i], set);
        const auto ours = programFields(expected);
        const auto theirs = programFields(player[i]);
        for (qsizetype f = 0; f < ours.size(); ++f)
            if (ours[f].second != theirs[f].second)
                differences.append(
                    {set, expected.OrderNo, ours[f].first, ours[f].second, theirs[f].second});
    }
    return differences;
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
        result.failure = setReadMessage(SetReadEnd::NoLink);
        co_return result;
    }
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
            result.failure = decoding.unstorable;
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
