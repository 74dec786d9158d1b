#pragma once

#include "Clock.h"
#include "Frames.h"
#include "RecordFrame.h"
#include "SerialLink.h"

#include <QString>

#include <qcoro/qcorotask.h>

#include <optional>
#include <utility>
#include <vector>

namespace tessaly {

// The process-wide state of the link, one instance, shared by every window.
struct LinkState {
    int PortNumber = 1;  // COM number; passed to the serial link unchanged
    bool LinkUp = false; // the player answered the last probe that set it
};

// One sequence's hold on the channel, from its first exchange with the player to its last; let go
// when destroyed, also when the sequence is cancelled part-way.
class ChannelClaim {
public:
    ChannelClaim(ChannelClaim&& other) noexcept : m_held(std::exchange(other.m_held, nullptr)) {}
    ChannelClaim& operator=(ChannelClaim&&) = delete;
    ~ChannelClaim() {
        if (m_held)
            *m_held = false;
    }

private:
    friend class DeviceChannel;
    explicit ChannelClaim(bool& held) : m_held(&held) { held = true; }

    bool* m_held;
};

// What a sequence refused by a held channel says.
QString channelBusyText();

// Opens COM `port` and waits while the link is still making it ready (a network connection,
// within its connect time), so that what follows waits for the player, not for the network.
// 0 once the port carries the player's bytes; the link's failure otherwise.
QCoro::Task<int> openWhenReady(SerialLink& serial, int port, Clock& clock, CancelToken cancel = {});

// Everything the PC says to the player goes through here: each frame is built in the one
// transmit buffer and sent with one write of its exact length, always to PortNumber.
class DeviceChannel {
public:
    static constexpr int DiscardSize = 2048;

    DeviceChannel(SerialLink& serial, LinkState& state) : m_serial(serial), m_state(state) {}

    LinkState& state() { return m_state; }

    // Every sequence (a load, a read, a probe of its own) claims the channel before it sends
    // anything, and a second one is refused while the first holds it: the two would read each
    // other's answers. Nothing while the channel is held.
    std::optional<ChannelClaim> claim();
    bool isClaimed() const { return m_claimed; }
    const TransmitBuffer& transmitBuffer() const { return m_transmit; }

    // Opens without waiting for the port to be ready: enough where it is ready once open (a
    // local device); a sequence uses the form below.
    int openPort() { return m_serial.open(m_state.PortNumber); }
    QCoro::Task<int> openPort(Clock& clock, CancelToken cancel = {}) {
        return openWhenReady(m_serial, m_state.PortNumber, clock, std::move(cancel));
    }
    int setLine() {
        return m_serial.ioctl(m_state.PortNumber, SerialLink::Baud9600, SerialLink::Mode8N1);
    }
    void closePort() { m_serial.close(m_state.PortNumber); }

    // Each send is true when the whole frame was queued. A load must know: a frame lost to an
    // unplugged adapter would otherwise pass for a program stored in the player.
    bool sendProbeCommand();
    bool sendCloseNotice();
    bool sendReadRequest(int set);
    bool sendPreheatDelayFrame(int preheatMinutes, int delayMinutes);
    bool sendPreheatDelayQuery(int set);
    bool sendClearCommand(int set);
    bool sendRecordFrame(const RecordFrame& frame);

    // One read of whatever has arrived, at most `maximum` bytes; empty when nothing came.
    std::vector<quint8> readOnce(int maximum);

    // Drops pending input with one read, before a request whose answer matters.
    void discardPendingInput() {
        m_serial.purgeInput(m_state.PortNumber);
        readOnce(DiscardSize);
    }

    // Whether the port stopped carrying the player's bytes for good (a server's connection
    // dropped): a wait for an answer ends at once.
    bool linkLost() { return m_serial.lost(m_state.PortNumber); }
    // How much later than on a direct line an answer may come (a network's round trip).
    int transitAllowanceMs() { return m_serial.transitAllowanceMs(m_state.PortNumber); }

    // The message of a sequence that failed, with the cause line of a port that stopped
    // carrying the player's bytes meanwhile (a server that dropped the connection).
    QString withLossCause(const QString& message) {
        const int state = m_serial.readiness(m_state.PortNumber);
        const QString cause = state < 0 && state != SerialLink::NotOpen
                                  ? failureCause(m_state.PortNumber)
                                  : QString();
        return cause.isEmpty() ? message : message + u'\n' + cause;
    }

    // Why the port of COM `port` does not carry the player's bytes; empty when no cause is known.
    QString failureCause(int port) { return m_serial.failureCause(port); }

private:
    bool sendTransmitBuffer();

    SerialLink& m_serial;
    LinkState& m_state;
    TransmitBuffer m_transmit;
    bool m_claimed = false;
};

} // namespace tessaly
