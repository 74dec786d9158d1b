#pragma once

#include "Frames.h"
#include "ProgramRecord.h"

#include <QString>

#include <array>
#include <optional>
#include <span>

namespace tessaly {

// The 32 bytes that carry one program: command 3 from the PC, 0x68 from the player.
using RecordFrame = std::array<quint8, frame::RecordLength>;

// A frame, or the reason the record cannot travel (named so the operator can find it).
struct EncodedRecord {
    std::optional<RecordFrame> frame;
    QString error;
};

// Count, index and order number are single bytes: a set holds at most 255 programs.
constexpr int MaxRecordsPerSet = 255;
// The largest value a byte of the frame carries: an order number or a volume.
constexpr int MaxByteValue = 255;
// The editor offers volumes 0 to MaxVolume for typing; the player may hold and give back any
// volume a byte carries, and such a volume goes back unchanged.
constexpr int MaxVolume = 38;

// Encodes `record` as the `index`-th (1-based) of `count` (1..255) programs of `set`. Only what
// the frame cannot carry or the player cannot read is refused, never cut to a byte: an order
// number or volume that is no number or lies outside 0-255, a time that is no time of day, a
// track that is not up to three digits. An order number 000 and a volume above 38 came from the
// player itself and go back as they are.
EncodedRecord BuildRecordFrame(const ProgramRecord& record, int count, int index, int set);

// Why a set of `count` programs cannot be loaded at all.
QString tooManyProgramsMessage(int set, int count);

// The two bytes of one track text: "123" gives 1, 23; empty or "000" gives 0, 0. Texts of
// one or two digits are read as the number they spell. Nothing for anything else.
std::optional<std::array<quint8, 2>> encodeTrack(const QString& text);

// The text of a track from its two bytes: (1, 23) gives "123", (0, 5) gives "005".
QString decodeTrack(quint8 hundreds, quint8 rest);

// A program decoded from one frame returned by the player, or why it cannot be stored.
struct DecodedRecord {
    std::optional<ProgramRecord> record;
    QString error;
};

// Decodes the data bytes of one frame; the framing bytes (0..3, 31) are not looked at.
// The set label and priority marker are left empty when the set byte is not 1..4.
DecodedRecord decodeRecordFrame(std::span<const quint8, frame::RecordLength> bytes);

} // namespace tessaly
