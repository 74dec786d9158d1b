#include "WholeDeviceRead.h"

#include "DeviceChannel.h"
#include "Probe.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "Prompter.h"
#include "ReadBackDecoder.h"
#include "Session.h"

namespace tessaly {

namespace {

const QString confirmText = QStringLiteral(
    "将机器数据同步到电脑中,系统将自动覆盖电脑中所有的程序记录,确实要进行该同步操作吗？");
const QString noLinkText = QStringLiteral("软件与播放器尚未连接，无法进行数据同步操作！");
const QString emptySetText = QStringLiteral("该套节目无编程记录！");
const QString readFailedText = QStringLiteral("数据同步失败！");
const QString postFailedText = QStringLiteral("数据读取失败，请重试！");
const QString completedText = QStringLiteral("数据同步完毕！");

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

QCoro::Task<WholeReadEnd> readSets(ReadContext& context, ReadObserver& observer,
                                   CancelToken cancel) {
    QList<ProgramRecord> collected;
    ReplyCollector collector(context.channel, context.clock, context.limits);
    for (context.session.SyncReadSet = FirstSet; context.session.SyncReadSet <= LastSet;) {
        co_await context.clock.wait(TimerSendMs, cancel);
        const int set = context.session.SyncReadSet++;
        observer.readStarted(set);
        collector.Read(set);
        if (co_await collector.collect(observer, cancel) != CollectResult::Complete) {
            context.prompter.notice(readFailedText);
            co_return WholeReadEnd::ReadFailed;
        }
        const auto decoding = decodeReadBack(collector.buffer().bytes());
        if (!decoding.startsWithFrame) {
            observer.setEmpty(set);
            context.prompter.notice(emptySetText);
            continue;
        }
        for (const auto& record : decoding.records) {
            collected.append(record);
            observer.recordStored();
        }
        if (!decoding.unstorable.isEmpty()) {
            context.prompter.notice(postFailedText);
            co_return WholeReadEnd::PostFailed;
        }
    }
    co_await context.clock.wait(TimerSendMs, cancel);
    if (QString error; !replaceMusicTab(context.db, collected, &error)) {
        context.prompter.failure(postFailedText, error);
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
    if (!context.prompter.question(confirmText))
        co_return WholeReadEnd::Declined;
    const auto probed =
        co_await ProbeDevice(context.channel, context.clock, probe::WholeDevice, cancel);
    observer.linkChecked(probed == ProbeResult::Accepted);
    if (!context.session.link.LinkUp) {
        context.prompter.notice(noLinkText);
        co_return WholeReadEnd::NoLink;
    }
    observer.busy(true);
    const WholeReadEnd end = co_await readSets(context, observer, cancel);
    if (end == WholeReadEnd::Completed)
        context.prompter.notice(completedText);
    observer.busy(false);
    co_return end;
}

} // namespace tessaly
