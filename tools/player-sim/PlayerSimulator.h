#pragma once

#include "RecordFrame.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace tessaly {

// What the player answers for a set without programs. The description says only that it is
// not a frame; players differ.
enum class EmptyAnswer {
    Short,       // FE 68 00 FF
    Padded,      // FE 68 00 00 FF
    ZeroFrame,   // a whole 32-byte frame announcing 0 records: FE 68 00 00 s 00 .. 00 FF
    NoHeadBytes, // a few bytes without FE 68: 00 00 00
};

// How the simulated player behaves. The defaults are a well-behaved player; everything else
// reproduces a fault seen (or feared) on real devices.
struct PlayerOptions {
    bool silent = false;         // answers nothing at all
    int probeDelayMs = 0;        // the probe answer comes this late
    bool wrongProbe = false;     // probe answered with FE 65 00 FF
    bool clearOtherSet = false;  // clear answered with FE 6B (s mod 4)+1 FF
    bool clearFails = false;     // clear answered with FE 6B 05 FF, nothing erased
    int clearDelayMs = 1000;     // erasing takes this long before the answer
    int splitBytes = 0;          // > 0: every reply goes out in pieces of this many bytes
    int splitGapMs = 20;         // pause between those pieces
    bool strayByte = false;      // a 0x00 goes out before every reply
    int cutAfter = 0;            // > 0: every reply is cut off after this many bytes
    bool noPreheatReply = false; // the pre-heat/delay query goes unanswered
    // A read of set s answered with the programs of set (s mod 4)+1, their frames naming it.
    bool readOtherSet = false;
    // A read answered with FE 68 n FF and no frame: n the programs held, at least 1.
    bool countWithoutFrames = false;
    EmptyAnswer emptyAnswer = EmptyAnswer::Short;
};

// The switch names of the empty-set answers ("short", "padded", "frame", "noise"), and back.
QString emptyAnswerName(EmptyAnswer answer);
std::optional<EmptyAnswer> emptyAnswerNamed(const QString& name);
QList<EmptyAnswer> allEmptyAnswers();

// One frame the player recognised, with the moment its last byte arrived.
struct ReceivedFrame {
    qint64 timeMs = 0;
    QByteArray bytes;
};

// The device side of the serial protocol as a state machine driven by time stamps: it has no
// timers or threads, so the same object serves virtual-time tests and the pty executable.
// Time stamps given to it must not go backwards.
class PlayerSimulator {
public:
    static constexpr int SetCount = 4;
    // 9600 bit/s with start and stop bit: ten bits on the line for every byte.
    static constexpr int BitsPerByte = 10;
    static constexpr int BitsPerSecond = 9600;

    explicit PlayerSimulator(PlayerOptions options = {});

    const PlayerOptions& options() const { return m_options; }
    void setOptions(const PlayerOptions& options) { m_options = options; }

    // Bytes the PC wrote, arriving at `nowMs`; they may hold several frames or parts of one.
    void receive(std::span<const quint8> bytes, qint64 nowMs);

    // Removes and returns at most `maximum` reply bytes that are on the line by `nowMs`.
    QByteArray takeAvailable(qint64 nowMs, int maximum);
    // When the next reply byte reaches the line; nothing when no reply is on its way.
    std::optional<qint64> nextOutputAt() const;
    // Forgets every reply not yet taken (the port closed while they were on their way).
    void dropOutput();

    // Programs of `set` (1..4) as stored: the record frames in the order they arrived.
    const std::vector<RecordFrame>& programs(int set) const;
    void setPrograms(int set, std::vector<RecordFrame> frames);
    int preheatMinutes() const { return m_preheat; }
    int delayMinutes() const { return m_delay; }
    void setPreheatDelay(int preheatMinutes, int delayMinutes);

    const QList<ReceivedFrame>& received() const { return m_received; }
    void clearReceived() { m_received.clear(); }

    // Stored programs and pre-heat/delay as JSON. False (and `error` set) on failure; a failed
    // load leaves the state untouched.
    bool saveState(const QString& path, QString* error = nullptr) const;
    bool loadState(const QString& path, QString* error = nullptr);

private:
    struct Reply {
        qint64 dueMs = 0;
        QByteArray bytes;
        std::vector<qint64> offsetsMs; // per byte, from the moment the line is free
    };
    struct LineByte {
        qint64 availableMs = 0;
        char byte = 0;
    };

    std::size_t parseOneFrame(std::size_t at, qint64 nowMs);
    void handleFrame(std::span<const quint8> frame, qint64 nowMs);
    void storeRecord(std::span<const quint8> frame);
    void answerRead(int set, qint64 nowMs);
    void answerClear(int set, qint64 nowMs);
    void queueReply(QByteArray bytes, qint64 dueMs, bool paced = false);
    void releaseDue(qint64 nowMs);
    void putOnLine(const Reply& reply);
    bool isValidSet(int set) const { return set >= 1 && set <= SetCount; }

    PlayerOptions m_options;
    std::vector<quint8> m_input;
    std::array<std::vector<RecordFrame>, SetCount> m_sets;
    int m_preheat = 0;
    int m_delay = 0;
    qint64 m_clearBusyUntil = 0;
    std::vector<Reply> m_pending; // by due time, equal times in the order queued
    std::deque<LineByte> m_line;
    qint64 m_lineFreeAt = 0;
    QList<ReceivedFrame> m_received;
};

} // namespace tessaly
