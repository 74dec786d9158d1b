#include "ProgramLoad.h"

#include "ProgramSet.h"
#include "ProgramStore.h"

#include <QCoreApplication>

#include <array>

namespace tessaly {

std::optional<std::vector<RecordFrame>> buildSetFrames(const QSqlDatabase& database, int set,
                                                       QString* error) {
    const QString label = setLabel(set);
    const ProgramStore store(database);
    QString readError;
    const auto programs =
        store.programsOfSet(ProgramTable::MusicTab, label, SetRows::All, &readError);
    const auto unreadable = store.firstUnreadableValue(ProgramTable::MusicTab, label, &readError);
    if (!programs || !unreadable) {
        *error = QCoreApplication::translate("ProgramLoad", "读取%1程序失败：%2")
                     .arg(setDisplayName(set), readError);
        return std::nullopt;
    }
    if (programs->size() > MaxRecordsPerSet) {
        *error = tooManyProgramsMessage(set, int(programs->size()));
        return std::nullopt;
    }
    const auto refuse = [&](const QString& why) {
        *error =
            QCoreApplication::translate("ProgramLoad", "%1程序无法装载，播放器中的程序保持不变：%2")
                .arg(setDisplayName(set), why);
        return std::nullopt;
    };
    if (const auto& value = *unreadable)
        return refuse(QCoreApplication::translate(
                          "ProgramLoad", "程序 %1 %2 的%3“%4”不是播放器能接受的值，无法发送")
                          .arg(setDisplayName(set), value->orderNo, columnCaption(value->column),
                               value->stored));
    std::vector<RecordFrame> frames;
    frames.reserve(std::size_t(programs->size()));
    for (const ProgramRecord& program : *programs) {
        const int index = int(frames.size()) + 1;
        const EncodedRecord encoded = BuildRecordFrame(program, int(programs->size()), index, set);
        if (!encoded.frame)
            return refuse(encoded.error);
        frames.push_back(*encoded.frame);
    }
    return frames;
}

ProgramLoad::ProgramLoad(LoadContext context, LoadObserver& observer)
    : m_context(std::move(context)), m_observer(observer),
      m_clear(m_context.channel, m_context.clock) {}

QCoro::Task<LoadResult> ProgramLoad::loadSet(int set, CancelToken cancel) {
    m_loadSet = set;
    const auto claim = m_context.channel.claim();
    if (!claim)
        co_return LoadResult{LoadOutcome::ChannelBusy, {}};
    if (!co_await linkAnswers(probe::SetButton, cancel))
        co_return LoadResult{LoadOutcome::NoLink, {}};
    QString error;
    const auto frames = buildSetFrames(m_context.database, set, &error);
    if (!frames)
        co_return LoadResult{LoadOutcome::Refused, error};
    if (const auto ended = co_await clear(set, cancel))
        co_return *ended;
    // The first frame must not follow whatever the player said meanwhile.
    m_context.channel.discardPendingInput();
    const bool sent = co_await sendSet(set, *frames, cancel);
    co_return LoadResult{sent ? LoadOutcome::Loaded : LoadOutcome::WriteFailed, {}};
}

QCoro::Task<LoadResult> ProgramLoad::sendPreheatDelay(CancelToken cancel) {
    const auto claim = m_context.channel.claim();
    if (!claim)
        co_return LoadResult{LoadOutcome::ChannelBusy, {}};
    if (!co_await linkAnswers(probe::SetButton, cancel))
        co_return LoadResult{LoadOutcome::NoLink, {}};
    if (!m_context.channel.sendPreheatDelayFrame(m_context.session.PreheatMinutes,
                                                 m_context.session.DelayMinutes))
        co_return LoadResult{LoadOutcome::WriteFailed, {}};
    co_await m_context.clock.wait(ClearSettleMs, cancel);
    // Whatever the player said to it is dropped unseen, as before a clear.
    m_context.channel.discardPendingInput();
    co_return LoadResult{};
}

QCoro::Task<LoadResult> ProgramLoad::loadWholeDevice(CancelToken cancel) {
    const auto claim = m_context.channel.claim();
    if (!claim)
        co_return LoadResult{LoadOutcome::ChannelBusy, {}};
    if (!co_await linkAnswers(probe::WholeDevice, cancel))
        co_return LoadResult{LoadOutcome::NoLink, {}};
    std::array<std::vector<RecordFrame>, LastSet> sets;
    for (int set = FirstSet; set <= LastSet; ++set) {
        QString error;
        auto frames = buildSetFrames(m_context.database, set, &error);
        if (!frames)
            co_return LoadResult{LoadOutcome::Refused, error};
        sets[std::size_t(set - 1)] = std::move(*frames);
    }
    if (const auto ended = co_await clear(frame::ClearAllSets, cancel))
        co_return *ended;
    for (int set = FirstSet; set <= LastSet; ++set) {
        if (!co_await sendSet(set, sets[std::size_t(set - 1)], cancel))
            co_return LoadResult{LoadOutcome::WriteFailed, {}};
        co_await m_context.clock.wait(SetPauseMs, cancel);
    }
    co_return LoadResult{LoadOutcome::Loaded, {}};
}

QCoro::Task<bool> ProgramLoad::linkAnswers(const ProbeVariant& variant, CancelToken cancel) {
    const ProbeResult probed =
        co_await ProbeDevice(m_context.channel, m_context.clock, variant, cancel);
    const bool up = probed == ProbeResult::Accepted;
    m_observer.linkChecked(up);
    co_return up;
}

QCoro::Task<std::optional<LoadResult>> ProgramLoad::clear(int set, CancelToken cancel) {
    m_observer.clearStarted();
    const ClearOutcome outcome = co_await m_clear.run(set, m_context.session.PreheatMinutes,
                                                      m_context.session.DelayMinutes, cancel);
    switch (outcome) {
    case ClearOutcome::Cleared:
        m_observer.cleared();
        co_return std::nullopt;
    case ClearOutcome::Failed:
        co_return LoadResult{LoadOutcome::ClearFailed, {}};
    case ClearOutcome::TimedOut:
        co_return LoadResult{LoadOutcome::ClearTimedOut, {}};
    case ClearOutcome::WriteFailed:
        break;
    }
    co_return LoadResult{LoadOutcome::WriteFailed, {}};
}

// No answer per frame: the pause after each write is the only pacing the player needs.
QCoro::Task<bool> ProgramLoad::sendSet(int set, const std::vector<RecordFrame>& frames,
                                       CancelToken cancel) {
    m_recordsLeft = int(frames.size());
    m_observer.setStarted(set, m_recordsLeft);
    for (const RecordFrame& frame : frames) {
        if (!m_context.channel.sendRecordFrame(frame))
            co_return false;
        co_await m_context.clock.wait(RecordPacingMs, cancel);
        --m_recordsLeft;
        m_observer.recordSent(set, m_recordsLeft);
    }
    co_return true;
}

QString setLoadMessage(const LoadResult& result, int set) {
    switch (result.outcome) {
    case LoadOutcome::Loaded:
        return QCoreApplication::translate("ProgramLoad", "程序装载完毕！");
    case LoadOutcome::NoLink:
        return QCoreApplication::translate("ProgramLoad",
                                           "软件与播放器尚未连接，无法进行程序装载！");
    case LoadOutcome::Refused:
        return result.reason;
    case LoadOutcome::ClearTimedOut:
        return QCoreApplication::translate("ProgramLoad", "记录清除超时，%1程序装载失败！")
            .arg(setDisplayName(set));
    case LoadOutcome::ChannelBusy:
        return channelBusyText();
    case LoadOutcome::ClearFailed:
    case LoadOutcome::WriteFailed:
        break;
    }
    return QCoreApplication::translate("ProgramLoad", "程序装载失败！");
}

QString wholeDeviceLoadMessage(const LoadResult& result) {
    switch (result.outcome) {
    case LoadOutcome::Loaded:
        return QCoreApplication::translate("ProgramLoad", "数据同步完毕！");
    case LoadOutcome::NoLink:
        return QCoreApplication::translate("ProgramLoad",
                                           "软件与播放器尚未连接，无法进行数据同步操作！");
    case LoadOutcome::Refused:
        return result.reason;
    case LoadOutcome::ClearTimedOut:
        return QCoreApplication::translate("ProgramLoad", "记录清除超时，数据同步失败！");
    case LoadOutcome::ClearFailed:
        return QCoreApplication::translate("ProgramLoad", "记录清除失败，数据同步失败！");
    case LoadOutcome::ChannelBusy:
        return channelBusyText();
    case LoadOutcome::WriteFailed:
        break;
    }
    return QCoreApplication::translate("ProgramLoad", "数据同步失败！");
}

} // namespace tessaly
