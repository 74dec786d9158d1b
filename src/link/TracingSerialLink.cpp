#include "TracingSerialLink.h"

#include "Frames.h"
#include "WholeFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QFileInfo>

namespace tessaly {

namespace {

// FE cmd arg FF: the command and its argument, when the bytes are exactly such a frame.
std::optional<std::pair<quint8, quint8>> shortFrame(std::span<const quint8> bytes) {
    if (bytes.size() != 4 || bytes[0] != frame::Start || bytes[3] != frame::End)
        return std::nullopt;
    return std::pair{bytes[1], bytes[2]};
}

bool startsAnswer(std::span<const quint8> bytes, quint8 command) {
    return bytes.size() >= 2 && bytes[0] == frame::Start && bytes[1] == command;
}

} // namespace

QString describeOutgoing(std::span<const quint8> bytes) {
    if (bytes.size() == frame::RecordLength && bytes[0] == frame::Start &&
        bytes[1] == frame::Record && bytes[31] == frame::End)
        return QStringLiteral("record %1/%2 set %3").arg(bytes[3]).arg(bytes[2]).arg(bytes[4]);
    if (bytes.size() == 5 && bytes[0] == frame::Start && bytes[1] == frame::PreheatDelay &&
        bytes[4] == frame::End)
        return QStringLiteral("pre-heat %1 delay %2").arg(bytes[2]).arg(bytes[3]);
    const auto frame = shortFrame(bytes);
    if (!frame)
        return QStringLiteral("unrecognised");
    const auto [command, argument] = *frame;
    switch (command) {
    case frame::Probe:
        return QStringLiteral("probe");
    case frame::CloseNotice:
        return QStringLiteral("close notice");
    case frame::ReadRequest:
        return QStringLiteral("read set %1").arg(argument);
    case frame::PreheatDelayQuery:
        return QStringLiteral("pre-heat query set %1").arg(argument);
    case frame::Clear:
        return argument == frame::ClearAllSets ? QStringLiteral("clear all")
                                               : QStringLiteral("clear set %1").arg(argument);
    default:
        return QStringLiteral("unrecognised");
    }
}

QString describeIncoming(std::span<const quint8> bytes, bool replyExpected) {
    if (isProbeReply(bytes))
        return QStringLiteral("probe reply ok");
    if (const auto pair = parsePreheatDelayReply(bytes))
        return QStringLiteral("pre-heat %1 delay %2 reply")
            .arg(pair->preheatMinutes)
            .arg(pair->delayMinutes);
    if (isSetClearedReply(bytes))
        return QStringLiteral("cleared set %1").arg(bytes[2]);
    switch (classifyAllClearReply(bytes)) {
    case AllClearReply::Done:
        return QStringLiteral("cleared all");
    case AllClearReply::Failed:
        return QStringLiteral("clear all failed");
    case AllClearReply::NotRecognised:
        break;
    }
    if (startsAnswer(bytes, frame::RecordAnswer) && bytes.size() >= 3)
        return QStringLiteral("reply: %1 records").arg(bytes[2]);
    if (replyExpected && !bytes.empty() && bytes[0] != frame::Start)
        return QStringLiteral("reply data");
    return QStringLiteral("unrecognised");
}

TracingSerialLink::TracingSerialLink(SerialLink& link, const QString& path)
    : m_link(link), m_file(path) {
    // A file is appended to; a terminal or a pipe (/dev/stderr) takes the lines as they come.
    const QFileInfo existing(path);
    const auto mode =
        existing.exists() && !existing.isFile() ? QIODevice::WriteOnly : QIODevice::Append;
    if (!m_file.open(mode | QIODevice::Unbuffered))
        m_failure = writeFailureText(m_file);
}

bool TracingSerialLink::start(const QString& what) {
    return appendLine("# " + what.toUtf8());
}

int TracingSerialLink::read(int port, quint8* buffer, int maximum) {
    const int count = m_link.read(port, buffer, maximum);
    if (count > 0) {
        const std::span<const quint8> bytes(buffer, std::size_t(count));
        append('<', bytes, describeIncoming(bytes, m_replyExpected));
    }
    return count;
}

int TracingSerialLink::write(int port, const quint8* buffer, int length) {
    const int written = m_link.write(port, buffer, length);
    if (length > 0) {
        const std::span<const quint8> bytes(buffer, std::size_t(length));
        QString summary = describeOutgoing(bytes);
        if (written < length)
            summary += QStringLiteral(" (write failed)");
        m_replyExpected = bytes.size() == 4 && bytes[1] == frame::ReadRequest;
        append('>', bytes, summary);
    }
    return written;
}

void TracingSerialLink::append(char direction, std::span<const quint8> bytes,
                               const QString& summary) {
    if (!m_file.isOpen())
        return;
    const QByteArray hex =
        QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()))
            .toHex(' ')
            .toUpper();
    appendLine(QByteArray(1, direction) + ' ' + hex + "  " + summary.toUtf8());
}

bool TracingSerialLink::appendLine(const QByteArray& text) {
    if (!m_file.isOpen())
        return false;
    const QByteArray line =
        QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8() + ' ' + text + '\n';
    if (writeEveryByte(m_file, line))
        return true;
    m_failure = writeFailureText(m_file);
    m_file.close();
    return false;
}

} // namespace tessaly
