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

QCoro::Task<WholeReadEnd> readSets(ReadContext& context, ReadObserver& observer,
                                   CancelToken cancel) {
    QList<ProgramRecord> collected;
    ReplyCollector collector(context.channel, context.clock, context.limits);
    co_await context.clock.wait(TimerSendMs, cancel);
    for (context.session.SyncReadSet = FirstSet; context.session.SyncReadSet <= LastSet;) {
        const int set = context.session.SyncReadSet++;
        observer.readStarted(set);
        collector.Read(set);
        if (co_await collector.collect(observer, cancel) != CollectResult::Complete) {
            context.prompter.notice(context.failureMessage(readFailedText()));
            co_return WholeReadEnd::ReadFailed;
        }
        const SetAnswer answer = co_await collector.judgeAnswer(cancel);
        if (answer == SetAnswer::Unaccountable) {
            context.prompter.notice(readFailedText());
            co_return WholeReadEnd::ReadFailed;
        }
        if (answer == SetAnswer::Empty) {
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
            context.prompter.failure(postFailedText(), decoding.unstorable);
            co_return WholeReadEnd::PostFailed;
        }
    }
    QString error;
    auto backup = ChangeBackup::take(context.db, QStringLiteral("read-all"), &error);
    if (!backup) {
        context.prompter.notice(error);
        co_return WholeReadEnd::BackupFailed;
    }
    if (!replaceMusicTab(context.db, collected, &error)) {
        context.prompter.failure(postFailedText(), error);
        co_return WholeReadEnd::PostFailed;
    }
    backup->keep();
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
