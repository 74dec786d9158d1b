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

// Whether an answer that did not begin with a head still carries record bytes: an FE 68 that
// is not the empty set's FE 68 00 FF (a reply behind a stray byte, a count byte of 0 that
// wrapped from 256). Incomplete pairs at the end do not count yet.
bool holdsRecordBytes(std::span<const quint8> answer);

// The answer of a set without programs: no record bytes, and no FE 68 left unfinished.
bool isEmptySetAnswer(std::span<const quint8> answer);

} // namespace tessaly
