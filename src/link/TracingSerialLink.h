#pragma once

#include "SerialLink.h"

#include <QFile>
#include <QString>

#include <span>

namespace tessaly {

// The traffic log: a serial link that hands every call to the link it wraps and appends one
// line per frame written and per chunk read to a file: the time to the millisecond, ">" out
// or "<" in, the bytes in hex, and what they are ("probe", "record 3/12 set 1", ...). The wire
// code neither knows nor waits for it: a line is one unbuffered append.
class TracingSerialLink final : public SerialLink {
public:
    TracingSerialLink(SerialLink& link, const QString& path);

    // Appends the line that begins this run, "<time> # <what>". False when the log cannot be
    // opened or written: the caller then sends nothing, since a log asked for and silently
    // missing is lost when it is needed.
    bool start(const QString& what);
    // Whether every line so far is in the log. After a line that could not be written the log
    // stops (a log with a gap would mislead); the link goes on working.
    bool isComplete() const { return m_failure.isEmpty(); }
    // Why the log could not be opened or stopped.
    QString errorText() const { return m_failure; }

    int open(int port) override { return m_link.open(port); }
    int ioctl(int port, int baudCode, int modeCode) override {
        return m_link.ioctl(port, baudCode, modeCode);
    }
    int read(int port, quint8* buffer, int maximum) override;
    int write(int port, const quint8* buffer, int length) override;
    int close(int port) override { return m_link.close(port); }
    void purgeInput(int port) override { m_link.purgeInput(port); }
    QString failureCause(int port) override { return m_link.failureCause(port); }
    int readiness(int port) override { return m_link.readiness(port); }
    int transitAllowanceMs(int port) override { return m_link.transitAllowanceMs(port); }

private:
    void append(char direction, std::span<const quint8> bytes, const QString& summary);
    bool appendLine(const QByteArray& text);

    SerialLink& m_link;
    QFile m_file;
    QString m_failure;
    bool m_replyExpected =
        false; // a read request went out: chunks without a frame start are its data
};

// What a frame written to the player is: "probe", "clear set 2", "record 3/12 set 1", ...
QString describeOutgoing(std::span<const quint8> bytes);
// What a chunk read from the player starts with: "probe reply ok", "reply: 12 records", ...;
// replyExpected: a read request went out, so bytes without a frame start are reply data.
QString describeIncoming(std::span<const quint8> bytes, bool replyExpected);

} // namespace tessaly
