#include "TelnetCodec.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace tessaly;

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

// The wire in the pieces that the reads brought, the data the decoders must get, and what the
// client must say back.
struct Stream {
    const char* what;
    std::vector<const char*> pieces;
    const char* data;
    const char* replies;
};

} // namespace

TEST(TelnetCodec, TakesCommandsOutOfTheStreamWhereverTheReadsSplitIt) {
    const std::vector<Stream> streams{
        {"doubled ff", {"fe6501ffff"}, "fe6501ff", ""},
        {"doubled ff split", {"fe6501ff", "ff", "fe"}, "fe6501fffe", ""},
        {"offer between frames", {"fe6501ffff fffb2c fe6501ffff"}, "fe6501fffe6501ff", "fffe2c"},
        {"agreement to what was asked", {"fffd00 fffb00 fffd2c"}, "", ""},
        {"unknown option refused", {"fffd18"}, "", "fffc18"},
        {"server offers echo", {"fffb01"}, "", "fffe01"},
        {"server withdraws binary", {"fffc00 fffc00"}, "", "fffe00"},
        {"subnegotiation split everywhere",
         {"fe", "ff", "fa", "2c65", "0000", "2580ff", "f0", "01ffff"},
         "fe01ff",
         ""},
        {"escaped ff inside a subnegotiation", {"fffa2c6aff ff fff0 68"}, "68", ""},
        {"two-byte commands", {"41fff142fff9", "43"}, "414243", ""},
    };
    for (const Stream& stream : streams) {
        TelnetCodec codec;
        codec.greeting();
        QByteArray data;
        QByteArray replies;
        for (const char* piece : stream.pieces)
            data += codec.decode(hex(piece), replies);
        EXPECT_EQ(data, hex(stream.data)) << stream.what;
        EXPECT_EQ(replies, hex(stream.replies)) << stream.what;
    }
}

TEST(TelnetCodec, DoublesFfAndSetsThePlayersLine) {
    EXPECT_EQ(TelnetCodec::encode(hex("fe0301ff")), hex("fe0301ffff"));
    EXPECT_EQ(TelnetCodec::encode(hex("ffff00")), hex("ffffffff00"));

    TelnetCodec codec;
    EXPECT_EQ(codec.greeting(), hex("fffb00 fffd00 fffb2c"   // binary both ways, COM port
                                    "fffa2c01 00002580 fff0" // 9600 bit/s
                                    "fffa2c02 08 fff0"       // 8 data bits
                                    "fffa2c03 01 fff0"       // no parity
                                    "fffa2c04 01 fff0"));    // 1 stop bit
    EXPECT_EQ(TelnetCodec::purgeServerInput(), hex("fffa2c0c01fff0"));
}
