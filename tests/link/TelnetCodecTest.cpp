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

// The player's line as the client asks for it: 9600 bit/s, 8 data bits, no parity, 1 stop bit.
const char* const LineSettings = "fffa2c01 00002580 fff0 fffa2c02 08 fff0"
                                 "fffa2c03 01 fff0 fffa2c04 01 fff0";

TEST(TelnetCodec, TakesCommandsOutOfTheStreamWhereverTheReadsSplitIt) {
    const std::vector<Stream> streams{
        {"doubled ff", {"fe6501ffff"}, "fe6501ff", ""},
        {"doubled ff split", {"fe6501ff", "ff", "fe"}, "fe6501fffe", ""},
        {"offer between frames", {"fe6501ffff fffb2c fe6501ffff"}, "fe6501fffe6501ff", "fffe2c"},
        {"agreement to what was asked: the line follows",
         {"fffd00 fffb00 fffd2c"},
         "",
         LineSettings},
        {"agreement given twice is not answered again", {"fffd2c fffd2c"}, "", LineSettings},
        {"refusal of what was asked is not answered", {"fffe2c fffc00 fffe00"}, "", ""},
        {"unknown option refused", {"fffd18"}, "", "fffc18"},
        {"server offers echo", {"fffb01"}, "", "fffe01"},
        {"server withdraws binary once agreed", {"fffb00 fffc00 fffc00"}, "", "fffe00"},
        {"subnegotiation split everywhere",
         {"fe", "ff", "fa", "2c65", "0000", "2580ff", "f0", "01ffff"},
         "fe01ff",
         ""},
        {"escaped ff inside a subnegotiation", {"fffa2c6aff ff fff0 68"}, "68", ""},
        {"two-byte commands", {"41fff142fff9", "43"}, "414243", ""},
        {"CR NUL outside binary", {"fffc00 410d", "0042 0d0a 0d00"}, "410d42 0d0a 0d", ""},
        {"CR NUL kept in binary", {"fffb00 0d00"}, "0d00", ""},
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

TEST(TelnetCodec, DoublesFfAndEscapesCrOutsideBinary) {
    EXPECT_EQ(TelnetCodec::escape(hex("fe0301ff")), hex("fe0301ffff"));
    EXPECT_EQ(TelnetCodec::escape(hex("ffff00")), hex("ffffffff00"));

    TelnetCodec codec;
    EXPECT_EQ(codec.greeting(), hex("fffb00 fffd00 fffb2c")); // binary both ways, COM port
    EXPECT_EQ(codec.purgeServerInput(), QByteArray()) << "not before the server agrees";
    QByteArray replies;
    codec.decode(hex("fffe00"), replies); // the client may not send binary
    EXPECT_EQ(codec.encode(hex("0d ff 0a")), hex("0d00 ffff 0a"));
    codec.decode(hex("fffd2c"), replies);
    EXPECT_EQ(codec.purgeServerInput(), hex("fffa2c0c01fff0"));
}

// The line counts as set only once the server confirmed each value as asked; a refusal of the
// option, or any other value, counts as refused.
TEST(TelnetCodec, JudgesTheServersConfirmationsOfTheLine) {
    using Line = TelnetCodec::Line;
    const QByteArray confirmations = hex("fffa2c65 00002580 fff0 fffa2c66 08 fff0"
                                         "fffa2c67 01 fff0 fffa2c68 01 fff0");
    struct Answer {
        const char* what;
        QByteArray wire;
        Line line;
    };
    const std::vector<Answer> answers{
        {"all confirmed", hex("fffd2c") + confirmations, Line::Set},
        {"three confirmed", hex("fffd2c") + confirmations.left(confirmations.size() - 6),
         Line::Pending},
        {"option refused", hex("fffe2c"), Line::Refused},
        {"another speed", hex("fffd2c fffa2c65 00004b00 fff0"), Line::Refused},
        {"even parity", hex("fffd2c fffa2c67 03 fff0"), Line::Refused},
    };
    for (const Answer& answer : answers) {
        TelnetCodec codec;
        codec.greeting();
        QByteArray replies;
        codec.decode(answer.wire, replies);
        EXPECT_EQ(codec.line(), answer.line) << answer.what;
    }
}
