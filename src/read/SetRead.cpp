#include "SetRead.h"

#include "DeviceChannel.h"
#include "Probe.h"
#include "ProgramStore.h"
#include "Prompter.h"
#include "ReadBackDecoder.h"
#include "Session.h"

#include <QCoreApplication>

namespace tessaly {

namespace {

// All of the read's programs, or none of them.
bool storeAll(ProgramStore& store, const QList<ProgramRecord>& records, QString* error) {
    Transaction transaction = store.beginTransaction();
    if (!transaction.isActive()) {
        *error = transaction.errorText();
        return false;
    }
    for (const auto& record : records)
        if (!store.insert(ProgramTable::MusicReadTab, record, error))
            return false;
    return transaction.commit(error);
}

} // namespace

QString setReadMessage(SetReadEnd end) {
    switch (end) {
    case SetReadEnd::Completed:
        return QCoreApplication::translate("SetRead", "程序读取完毕！");
    case SetReadEnd::NotAReply:
        return QCoreApplication::translate("SetRead", "读取播放器记录错误，请重试！");
    case SetReadEnd::PostFailed:
        return {};
    case SetReadEnd::ReadFailed:
        return QCoreApplication::translate("SetRead", "程序读取失败！");
    case SetReadEnd::PreheatQueryFailed:
        return QCoreApplication::translate("SetRead", "读取预热和延时时间失败！");
    case SetReadEnd::NoLink:
        return QCoreApplication::translate("SetRead", "软件与播放器尚未连接，无法进行程序装载！");
    case SetReadEnd::ChannelBusy:
        return channelBusyText();
    }
    return {};
}

QString setReadStatus(SetReadEnd end) {
    switch (end) {
    case SetReadEnd::Completed:
        return QCoreApplication::translate("SetRead", "程序读取完毕！");
    case SetReadEnd::NotAReply:
        return QCoreApplication::translate("SetRead", "读取播放器记录错误！");
    case SetReadEnd::PostFailed:
        return QCoreApplication::translate("SetRead", "数据读取失败！");
    case SetReadEnd::ReadFailed:
        return QCoreApplication::translate("SetRead", "程序读取失败！");
    case SetReadEnd::PreheatQueryFailed:
    case SetReadEnd::NoLink:
    case SetReadEnd::ChannelBusy:
        return {};
    }
    return {};
}

SetReadResult DataAnalyze(ProgramStore& store, std::span<const quint8> bytes,
                          ReadObserver& observer) {
    SetReadResult result;
    const auto finish = [&](SetReadEnd end) {
        result.end = end;
        return result;
    };
    // Emptied whatever comes next: the table never mixes two reads, and a read that fails
    // leaves nothing behind that could be saved over the PC's programs.
    if (!store.deleteAll(ProgramTable::MusicReadTab, &result.detail))
        return finish(SetReadEnd::PostFailed);
    const auto decoding = decodeReadBack(bytes);
    if (!decoding.startsWithFrame)
        return finish(SetReadEnd::NotAReply);
    if (!decoding.unstorable.isEmpty()) {
        result.detail = decoding.unstorable;
        return finish(SetReadEnd::PostFailed);
    }
    if (!storeAll(store, decoding.records, &result.detail))
        return finish(SetReadEnd::PostFailed);
    for (qsizetype i = 0; i < decoding.records.size(); ++i) {
        ++result.stored;
        observer.recordStored();
    }
    return finish(SetReadEnd::Completed);
}

QString ReadContext::failureMessage(const QString& message) const {
    return messageNamesLossCause ? channel.withLossCause(message) : message;
}

QCoro::Task<bool> probeForRead(ReadContext& context, ReadObserver& observer, CancelToken cancel) {
    const auto probed =
        co_await ProbeDevice(context.channel, context.clock, probe::SetButton, cancel);
    observer.linkChecked(probed == ProbeResult::Accepted);
    co_return probed == ProbeResult::Accepted;
}

namespace {

QCoro::Task<SetReadResult> runSetRead(ReadContext& context, int set, ReadObserver& observer,
                                      CancelToken cancel) {
    SetReadResult result;
    const auto claim = context.channel.claim();
    if (!claim) {
        result.end = SetReadEnd::ChannelBusy;
        co_return result;
    }
    if (!co_await probeForRead(context, observer, cancel)) {
        result.end = SetReadEnd::NoLink;
        co_return result;
    }
    observer.busy(true);
    if (!co_await ReadYuRe(context.channel, context.clock, context.session, set, cancel)) {
        result.end = SetReadEnd::PreheatQueryFailed;
        co_return result;
    }
    // Emptied before the request goes out: a read that then fails leaves nothing to save.
    ProgramStore store(context.db);
    if (!store.deleteAll(ProgramTable::MusicReadTab, &result.detail)) {
        result.end = SetReadEnd::PostFailed;
        co_return result;
    }
    ReplyCollector collector(context.channel, context.clock, context.limits);
    collector.Read(set);
    observer.readStarted(set);
    const auto collected = co_await collector.collect(observer, cancel);
    result.headSeen = collector.buffer().headSeen();
    if (collected != CollectResult::Complete) {
        result.end = SetReadEnd::ReadFailed;
        co_return result;
    }
    // An empty set's answer, and one that cannot be accounted for, decode as nothing: the
    // decoder then ends the read as a non-reply.
    const bool reply = co_await collector.judgeAnswer(cancel) == SetAnswer::Reply;
    const auto bytes = reply ? collector.buffer().bytes() : std::span<const quint8>{};
    auto decoded = DataAnalyze(store, bytes, observer);
    decoded.headSeen = result.headSeen;
    co_return decoded;
}

} // namespace

QCoro::Task<SetReadResult> readSet(ReadContext context, int set, ReadObserver& observer,
                                   CancelToken cancel) {
    const auto result = co_await runSetRead(context, set, observer, cancel);
    observer.setReadEnded(result.end);
    if (result.end != SetReadEnd::NoLink && result.end != SetReadEnd::ChannelBusy)
        observer.busy(false);
    if (const auto message = setReadMessage(result.end); !message.isEmpty())
        context.prompter.notice(result.end == SetReadEnd::ReadFailed ||
                                        result.end == SetReadEnd::PreheatQueryFailed
                                    ? context.failureMessage(message)
                                    : message);
    co_return result;
}

} // namespace tessaly
