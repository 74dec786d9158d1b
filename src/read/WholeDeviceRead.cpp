#include "WholeDeviceRead.h"

#include "Backups.h"
#include "DeviceChannel.h"
#include "Probe.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "Prompter.h"
#include "ReadBackDecoder.h"
#include "Session.h"

#include <QCoreApplication>

namespace tessaly {

namespace {

QString confirmText() {
    return QCoreApplication::translate(
        "WholeDeviceRead",
        "将机器数据同步到电脑中,系统将自动覆盖电脑中所有的程序记录,确实要进行该同步操作吗？");
}
QString noLinkText() {
    return QCoreApplication::translate("WholeDeviceRead",
                                       "软件与播放器尚未连接，无法进行数据同步操作！");
}
QString emptySetText() {
    return QCoreApplication::translate("WholeDeviceRead", "该套节目无编程记录！");
}
QString readFailedText() {
    return QCoreApplication::translate("WholeDeviceRead", "数据同步失败！");
}
QString postFailedText() {
    return QCoreApplication::translate("WholeDeviceRead", "数据读取失败，请重试！");
}
QString completedText() {
    return QCoreApplication::translate("WholeDeviceRead", "数据同步完毕！");
}

// False, with why in `error`, when MusicTab could not be replaced; it is then unchanged.
bool replaceMusicTab(const QSqlDatabase& db, const QList<ProgramRecord>& records, QString* error) {
    ProgramStore store(db);
    Transaction transaction = store.beginTransaction();
    if (!transaction.isActive()) {
        *error = transaction.errorText();
        return false;
    }
    if (!store.deleteAll(ProgramTable::MusicTab, error))
        return false;
    for (const auto& record : records)
        if (!store.insert(ProgramTable::MusicTab, record, error))
            return false;
    return transaction.commit(error);
}

// What one set's answer holds, judged on every byte that came, so that no program of the
// player is ever taken for absent.
enum class SetAnswer { Programs, Empty, Unaccountable };

// The pause before the next set is spent listening: bytes that come after a reply (more than
// it announced, or the rest of an answer that was not a reply) must not pass unnoticed.
QCoro::Task<SetAnswer> judgeAnswer(ReplyCollector& collector, CancelToken cancel) {
    const ReceiveBuffer& buffer = collector.buffer();
    if (buffer.headSeen()) {
        const auto more = co_await collector.listenUntilQuiet(
            TimerSendMs, [](std::span<const quint8>) { return true; }, cancel);
        const bool exact = more.empty() && buffer.ReceivedCount == buffer.ExpectedCount;
        co_return exact ? SetAnswer::Programs : SetAnswer::Unaccountable;
    }
    std::vector<quint8> answer(buffer.unrecognised().begin(), buffer.unrecognised().end());
    if (!holdsRecordBytes(answer)) {
        const auto more = co_await collector.listenUntilQuiet(
            TimerSendMs,
            [&answer](std::span<const quint8> heard) {
                std::vector<quint8> whole = answer;
                whole.insert(whole.end(), heard.begin(), heard.end());
                return holdsRecordBytes(whole);
            },
            cancel);
        answer.insert(answer.end(), more.begin(), more.end());
    }
    co_return isEmptySetAnswer(answer) ? SetAnswer::Empty : SetAnswer::Unaccountable;
}

QCoro::Task<WholeReadEnd> readSets(ReadContext& context, ReadObserver& observer,
                                   CancelToken cancel) {
    QList<ProgramRecord> collected;
    ReplyCollector collector(context.channel, context.clock, context.limits);
    co_await context.clock.wait(TimerSendMs, cancel);
    for (context.session.SyncReadSet = FirstSet; context.session.SyncReadSet <= LastSet;) {
        const int set = context.session.SyncReadSet++;
        observer.readStarted(set);
        collector.Read(set);
        if (co_await collector.collect(observer, cancel) != CollectResult::Complete ||
            co_await judgeAnswer(collector, cancel) == SetAnswer::Unaccountable) {
            context.prompter.notice(readFailedText());
            co_return WholeReadEnd::ReadFailed;
        }
        if (!collector.buffer().headSeen()) {
            observer.setEmpty(set);
            context.prompter.notice(emptySetText());
            continue;
        }
        const auto decoding = decodeReadBack(collector.buffer().bytes());
        for (const auto& record : decoding.records) {
            collected.append(record);
            observer.recordStored();
        }
        if (!decoding.unstorable.isEmpty()) {
            context.prompter.notice(postFailedText());
            co_return WholeReadEnd::PostFailed;
        }
        // Every announced program decoded, or the reply held frames that were not whole.
        if (decoding.records.size() * frame::RecordLength != collector.buffer().ReceivedCount) {
            context.prompter.notice(readFailedText());
            co_return WholeReadEnd::ReadFailed;
        }
    }
    if (QString error; !takeBackup(context.db, QStringLiteral("read-all"), &error)) {
        context.prompter.notice(error);
        co_return WholeReadEnd::BackupFailed;
    }
    if (QString error; !replaceMusicTab(context.db, collected, &error)) {
        context.prompter.failure(postFailedText(), error);
        co_return WholeReadEnd::PostFailed;
    }
    co_return WholeReadEnd::Completed;
}

} // namespace

QCoro::Task<WholeReadEnd> readWholeDevice(ReadContext context, ReadObserver& observer,
                                          CancelToken cancel) {
    const auto claim = context.channel.claim();
    if (!claim) {
        context.prompter.notice(channelBusyText());
        co_return WholeReadEnd::ChannelBusy;
    }
    if (!context.prompter.question(confirmText()))
        co_return WholeReadEnd::Declined;
    const auto probed =
        co_await ProbeDevice(context.channel, context.clock, probe::WholeDevice, cancel);
    observer.linkChecked(probed == ProbeResult::Accepted);
    if (!context.session.link.LinkUp) {
        context.prompter.notice(noLinkText());
        co_return WholeReadEnd::NoLink;
    }
    observer.busy(true);
    const WholeReadEnd end = co_await readSets(context, observer, cancel);
    // Panel away, then the message, then the buttons back.
    if (end == WholeReadEnd::Completed) {
        observer.progressDone();
        context.prompter.notice(completedText());
    }
    observer.busy(false);
    co_return end;
}

} // namespace tessaly
