#include "Frames.h"

namespace tessaly {

namespace {
void buildShortFrame(TransmitBuffer& buffer, quint8 command, int argument) {
    buffer.bytes = {};
    buffer.bytes[0] = frame::Start;
    buffer.bytes[1] = command;
    buffer.bytes[2] = quint8(argument & 0xFF);
    buffer.bytes[3] = frame::End;
    buffer.length = 4;
}

bool startsWith(std::span<const quint8> read, std::initializer_list<quint8> head) {
    if (read.size() < head.size())
        return false;
    return std::equal(head.begin(), head.end(), read.begin());
}
} // namespace

void buildProbeCommand(TransmitBuffer& buffer) {
    buildShortFrame(buffer, frame::Probe, 0);
}

void buildCloseNotice(TransmitBuffer& buffer) {
    buildShortFrame(buffer, frame::CloseNotice, 0);
}

void buildReadRequest(TransmitBuffer& buffer, int set) {
    buildShortFrame(buffer, frame::ReadRequest, set);
}

void buildPreheatDelayFrame(TransmitBuffer& buffer, int preheatMinutes, int delayMinutes) {
    buffer.bytes = {};
    buffer.bytes[0] = frame::Start;
    buffer.bytes[1] = frame::PreheatDelay;
    buffer.bytes[2] = quint8(preheatMinutes & 0xFF);
    buffer.bytes[3] = quint8(delayMinutes & 0xFF);
    buffer.bytes[4] = frame::End;
    buffer.length = 5;
}

void buildPreheatDelayQuery(TransmitBuffer& buffer, int set) {
    buildShortFrame(buffer, frame::PreheatDelayQuery, set);
}

void buildClearCommand(TransmitBuffer& buffer, int set) {
    buildShortFrame(buffer, frame::Clear, set);
}

bool isProbeReply(std::span<const quint8> read) {
    return startsWith(read, {frame::Start, frame::ProbeAnswer, 0x01, frame::End});
}

std::optional<PreheatDelay> parsePreheatDelayReply(std::span<const quint8> read) {
    if (read.size() < 5 || read[0] != frame::Start || read[1] != frame::PreheatDelayAnswer ||
        read[4] != frame::End)
        return std::nullopt;
    return PreheatDelay{read[2], read[3]};
}

bool isSetClearedReply(std::span<const quint8> read) {
    return read.size() >= 4 && read[0] == frame::Start && read[1] == frame::ClearAnswer &&
           read[2] >= 1 && read[2] <= 4 && read[3] == frame::End;
}

AllClearReply classifyAllClearReply(std::span<const quint8> read) {
    if (startsWith(read, {frame::Start, frame::ClearAnswer, frame::ClearAllDone, frame::End}))
        return AllClearReply::Done;
    if (startsWith(read, {frame::Start, frame::ClearAnswer, frame::ClearAllFailed, frame::End}))
        return AllClearReply::Failed;
    return AllClearReply::NotRecognised;
}

} // namespace tessaly
