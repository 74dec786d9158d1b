#pragma once

#include <QString>
#include <QtGlobal>

namespace tessaly {

// The serial-port contract that every exchange with the player goes through. The port is
// the COM number itself (1 for "COM1"). Nothing here ever waits: reads return what has
// arrived, writes queue and return.
class SerialLink {
public:
    // The only line settings the player uses: 9600 bit/s, and 8 data bits, no parity, 1 stop.
    static constexpr int Baud9600 = 12;
    static constexpr int Mode8N1 = 3;

    virtual ~SerialLink() = default;

    // Failures the links give, besides others of their own.
    static constexpr int NotOpen = -1;
    static constexpr int NoDevice = -2;
    static constexpr int SystemError = -3;
    static constexpr int UnsupportedSetting = -4;
    // What open gives when another program (or another link) holds the port.
    static constexpr int PortBusy = -5;

    // 0 when the port is open; any other value is a failure. An open port is held for this
    // link alone until it is closed.
    virtual int open(int port) = 0;
    // 0 when the line is set.
    virtual int ioctl(int port, int baudCode, int modeCode) = 0;
    // Copies at most `maximum` received bytes into `buffer` and returns their number;
    // 0 or less when nothing was read.
    virtual int read(int port, quint8* buffer, int maximum) = 0;
    // Queues `length` bytes; returns the number queued, or a negative value.
    virtual int write(int port, const quint8* buffer, int length) = 0;
    // Closes the port; harmless for a port that is not open.
    virtual int close(int port) = 0;

    // Said before the one read that drops pending input: a link with a buffer of its own beyond
    // reach of that read (a serial device server's) empties it too.
    virtual void purgeInput(int /*port*/) {}
    // One line, in the operator's language, telling why the port does not carry the player's
    // bytes; empty when no cause can be told.
    virtual QString failureCause(int /*port*/) { return {}; }

    // What readiness gives while an open port is still being made ready.
    static constexpr int Opening = 1;
    // 0 while the open port carries the player's bytes; Opening while it is still being made
    // ready (a connection to a serial device server being made, within its connect time), which
    // a sequence waits out before its first exchange, so that its waits measure the player, not
    // the network; the failure that open would give once it stopped carrying them for good (the
    // server's connection failed or dropped), which ends a wait for an answer at once.
    virtual int readiness(int /*port*/) { return 0; }
    bool lost(int port) { return readiness(port) < 0; }
    // How much later than on a direct line an answer may arrive: a network's round trip.
    virtual int transitAllowanceMs(int /*port*/) { return 0; }
};

} // namespace tessaly
