#include "ReadBackDecoder.h"

#include "Frames.h"
#include "RecordFrame.h"

namespace tessaly {

namespace {

constexpr int Length = frame::RecordLength;

bool isFrameAt(std::span<const quint8> bytes, std::size_t p) {
    return bytes[p] == frame::Start && bytes[p + 1] == frame::RecordAnswer && bytes[p + 2] >= 1 &&
           bytes[p + 2] >= bytes[p + 3] && bytes[p + Length - 1] == frame::End;
}

bool startsWithFrame(std::span<const quint8> bytes) {
    return bytes.size() >= std::size_t(Length) && bytes[0] == frame::Start &&
           bytes[1] == frame::RecordAnswer && bytes[Length - 1] == frame::End;
}

bool isAnswerStart(std::span<const quint8> bytes, std::size_t p) {
    return bytes[p] == frame::Start && bytes[p + 1] == frame::RecordAnswer;
}

// FE 68 with a count of one record or more: whatever follows, records were announced.
bool isCountAt(std::span<const quint8> bytes, std::size_t p) {
    return p + 2 < bytes.size() && bytes[p + 2] >= 1;
}

// A whole frame whose index says it carries a program; count 0 with index 0 is the
// announcement of none.
bool isProgramFrameAt(std::span<const quint8> bytes, std::size_t p) {
    return p + Length <= bytes.size() && bytes[p + Length - 1] == frame::End && bytes[p + 3] != 0;
}

// FE 68 as the last bytes: its count never came.
bool endsInCutHead(std::span<const quint8> answer) {
    return answer.size() >= 2 && isAnswerStart(answer, answer.size() - 2);
}

} // namespace

ReadBackDecoding decodeReadBack(std::span<const quint8> bytes) {
    ReadBackDecoding result;
    result.startsWithFrame = startsWithFrame(bytes);
    if (!result.startsWithFrame)
        return result;
    result.records.reserve(qsizetype(bytes.size() / Length));
    for (std::size_t p = 0; p + Length <= bytes.size();) {
        if (!isFrameAt(bytes, p)) {
            ++p;
            continue;
        }
        const std::span<const quint8, Length> frame(bytes.data() + p, Length);
        p += Length;
        auto decoded = decodeRecordFrame(frame);
        if (!decoded.record) {
            result.unstorable = decoded.error;
            break;
        }
        result.records.append(*decoded.record);
    }
    return result;
}

bool isWholeReply(std::span<const quint8> bytes) {
    if (bytes.size() % Length != 0)
        return false;
    for (std::size_t p = 0; p < bytes.size(); p += Length)
        if (!isFrameAt(bytes, p))
            return false;
    return true;
}

bool framesNameSet(std::span<const quint8> wholeReply, int set) {
    for (std::size_t p = 0; p + Length <= wholeReply.size(); p += Length)
        if (wholeReply[p + 4] != set)
            return false;
    return true;
}

bool holdsRecordBytes(std::span<const quint8> answer) {
    for (std::size_t p = 0; p + 1 < answer.size(); ++p)
        if (isAnswerStart(answer, p) && (isCountAt(answer, p) || isProgramFrameAt(answer, p)))
            return true;
    return false;
}

bool isEmptySetAnswer(std::span<const quint8> answer) {
    return !holdsRecordBytes(answer) && !endsInCutHead(answer);
}

} // namespace tessaly
