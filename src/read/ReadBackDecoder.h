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
    // Frames skipped because a time is no time of day.
    int skippedFrames = 0;
    // Set when a frame cannot be stored (a track longer than three digits): what is wrong with
    // it. Records after it are not decoded.
    QString unstorable;
};

// Scans the collected bytes for record frames: FE 68 at the start, a count of at least 1 and
// not below the index, FF at the end. An accepted frame is skipped whole; anything else moves
// the scan on by one byte.
ReadBackDecoding decodeReadBack(std::span<const quint8> bytes);

} // namespace tessaly
