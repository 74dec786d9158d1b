#pragma once

#include "Clock.h"
#include "DeviceChannel.h"
#include "DeviceClear.h"
#include "LoadObserver.h"
#include "Probe.h"
#include "Session.h"

#include <QSqlDatabase>
#include <QString>
#include <qcoro/qcorotask.h>

#include <optional>
#include <vector>

namespace tessaly {

enum class LoadOutcome {
    Loaded,        // every program went out
    NoLink,        // the player did not answer the probe; nothing was sent
    Refused,       // the programs could not be read or encoded; the player was not touched
    ClearTimedOut, // the clear went unanswered; no program was sent
    ClearFailed,   // the player reported that its clear failed; no program was sent
    WriteFailed,   // a frame could not be written; the load stopped there
    ChannelBusy,   // another sequence held the channel; nothing was sent
};

struct LoadResult {
    LoadOutcome outcome = LoadOutcome::Loaded;
    QString reason; // why the load was refused

    bool succeeded() const { return outcome == LoadOutcome::Loaded; }
};

// The pause after each program frame (the player gives no per-frame answer) and after each set
// of the whole-device load.
constexpr int RecordPacingMs = 500;
constexpr int SetPauseMs = 2000;

// What a load works with; all of it outlives the load.
struct LoadContext {
    DeviceChannel& channel;
    Clock& clock;
    QSqlDatabase database;  // MusicTab
    const Session& session; // the pre-heat and delay pair sent before the clear
};

// The frames of every program of `set` in MusicTab, in OrderNo order, numbered 1..N of N.
// Nothing, with `error` naming the set and the program, when one cannot be read or encoded.
std::optional<std::vector<RecordFrame>> buildSetFrames(const QSqlDatabase& database, int set,
                                                       QString* error);

// Loads the PC's programs into the player: one set, or all four after the whole player has
// been cleared. Every frame is built before the player is touched, so a program that cannot
// be encoded leaves the player as it was. One object per load.
class ProgramLoad {
public:
    ProgramLoad(LoadContext context, LoadObserver& observer);

    // Probe, clear `set` (1..4), then one frame per program every 500 ms.
    QCoro::Task<LoadResult> loadSet(int set, CancelToken cancel = {});
    // Probe, clear the whole player, then sets 1 to 4 with a 2 s pause after each.
    QCoro::Task<LoadResult> loadWholeDevice(CancelToken cancel = {});

    // Probe, then the pre-heat and delay frame alone, as every load sends it before its clear;
    // the player's programs stay as they are.
    QCoro::Task<LoadResult> sendPreheatDelay(CancelToken cancel = {});

    int LoadSet() const { return m_loadSet; }
    int RecordsLeft() const { return m_recordsLeft; }
    int ClearPollCount() const { return m_clear.ClearPollCount(); }

private:
    QCoro::Task<bool> linkAnswers(const ProbeVariant& variant, CancelToken cancel);
    // Nothing once the player has cleared; otherwise how the load ends.
    QCoro::Task<std::optional<LoadResult>> clear(int set, CancelToken cancel);
    QCoro::Task<bool> sendSet(int set, const std::vector<RecordFrame>& frames, CancelToken cancel);

    LoadContext m_context;
    LoadObserver& m_observer;
    DeviceClear m_clear;
    int m_loadSet = 0;
    int m_recordsLeft = 0;
};

// The final message of a load as the load dialog shows it (one set) and as the main window
// shows it (whole device). The command line prints the same.
QString setLoadMessage(const LoadResult& result, int set);
QString wholeDeviceLoadMessage(const LoadResult& result);

} // namespace tessaly
