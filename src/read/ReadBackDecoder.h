#pragma once

#include "ProgramRecord.h"

#include <QList>
#include <QString>

#include <span>

namespace tessaly {

// What a collected reply holds, frame by frame, before anything is stored.
struct ReadBackDecoding {
    // The reply begins with a record frame; otherwise the player sent nothing usable (a set
    // without programs answers that way).
    bool startsWithFrame = false;
    // The accepted frames' programs in frame order, up to the first that cannot be stored.
    QList<ProgramRecord> records;
    // Set when a frame cannot be stored (a track longer than three digits, a time that is no
    // time of day): what is wrong with it. Records after it are not decoded, and no program
    // is ever dropped quietly.
    QString unstorable;
};

// Scans the collected bytes for record frames: FE 68 at the start, a count of at least 1 and
// not below the index, FF at the end. An accepted frame is skipped whole; anything else moves
// the scan on by one byte.
ReadBackDecoding decodeReadBack(std::span<const quint8> bytes);

// Whether the bytes are record frames back to back and nothing else: every byte belongs to a
// frame the scan accepts. A reply that is not whole holds a program that cannot be decoded.
bool isWholeReply(std::span<const quint8> bytes);

// Whether every frame of a whole reply carries `set` in its set byte. Frames of another set
// answer a question that was not asked: taking them would put programs under the wrong set.
bool framesNameSet(std::span<const quint8> wholeReply, int set);

// An answer that did not begin with a head holds a program when it has, anywhere in it, FE 68
// followed by a count of one or more (a head, a frame, or a count whose frames never came) or
// a whole frame that numbers a program (FE 68 00 i .. FF, 32 bytes, i not 0). A count byte of 0
// wraps from 256: such a reply's frames are numbered 1, 2, .. and hold programs, while a lone
// frame of count 0 and index 0 announces that there are none.
bool holdsRecordBytes(std::span<const quint8> answer);

// The answer of a set without programs: it holds no program, and does not end in FE 68 whose
// count never came. Short answers of any length with a count of 0 (FE 68 00 FF, FE 68 00 00
// FF), frames announcing 0 records and bytes without FE 68 all qualify.
bool isEmptySetAnswer(std::span<const quint8> answer);

} // namespace tessaly
