// The Telnet decoder on arbitrary server streams, split in two at a point the input's first byte
// chooses. Wherever a read splits the stream, the decoder gives the same data and answers; every
// answer is a Telnet command (IAC ...); and the player's bytes, escaped as the client sends them,
// come back unchanged from a server that agreed to binary.

#include "TelnetCodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    if (size < 1)
        return 0;
    // Views of the input, not copies: the target runs many thousand times a second.
    const char* const bytes = reinterpret_cast<const char*>(data + 1);
    const QByteArray wire = QByteArray::fromRawData(bytes, qsizetype(size - 1));
    const qsizetype split = wire.isEmpty() ? 0 : data[0] % (wire.size() + 1);

    TelnetCodec whole;
    TelnetCodec pieces;
    whole.greeting();
    pieces.greeting();
    QByteArray wholeReplies;
    QByteArray pieceReplies;
    const QByteArray wholeData = whole.decode(wire, wholeReplies);
    QByteArray pieceData = pieces.decode(QByteArray::fromRawData(bytes, split), pieceReplies);
    pieceData +=
        pieces.decode(QByteArray::fromRawData(bytes + split, wire.size() - split), pieceReplies);
    if (wholeData != pieceData || wholeReplies != pieceReplies || whole.line() != pieces.line())
        __builtin_trap();
    if (!wholeReplies.isEmpty() && quint8(wholeReplies[0]) != 0xFF)
        __builtin_trap();
    if (wholeData.size() > wire.size())
        __builtin_trap();

    TelnetCodec binary;
    binary.greeting();
    QByteArray ignored;
    static const QByteArray agreed = QByteArray::fromHex("fffb00fffd00"); // binary both ways
    binary.decode(agreed, ignored);
    if (binary.decode(binary.encode(wire), ignored) != wire || !ignored.isEmpty())
        __builtin_trap();
    return 0;
}
