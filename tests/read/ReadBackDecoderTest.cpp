#include "ReadBackDecoder.h"
#include "ReadTesting.h"

using namespace tessaly;
using namespace tessaly::testing;

namespace {

// One frame as the player sends it, from a sample program, with bytes changed.
RecordFrame replyFrame(int order, std::initializer_list<std::pair<int, int>> changes = {}) {
    RecordFrame frame = frameOf(sampleProgram(order), 3, 1, 1);
    frame[1] = frame::RecordAnswer;
    for (const auto& [at, value] : changes)
        frame[std::size_t(at)] = quint8(value);
    return frame;
}

std::vector<quint8> join(std::initializer_list<std::vector<quint8>> parts) {
    std::vector<quint8> bytes;
    for (const auto& part : parts)
        bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

std::vector<quint8> bytesOf(const RecordFrame& frame) {
    return {frame.begin(), frame.end()};
}

} // namespace

TEST(ReadBackDecoder, ScanRule) {
    struct Case {
        const char* name;
        std::vector<quint8> bytes;
        bool startsWithFrame;
        QStringList orderNos;
        bool unstorable = false;
    };
    auto lookalike = replyFrame(1, {{28, 0xFE}, {29, 0x68}, {30, 0xFE}});
    const Case cases[] = {
        {"three frames",
         join({bytesOf(replyFrame(1)), bytesOf(replyFrame(2)), bytesOf(replyFrame(3))}),
         true,
         {"001", "002", "003"}},
        {"noise between frames",
         join({bytesOf(replyFrame(1)), {0x00}, bytesOf(replyFrame(2))}),
         true,
         {"001", "002"}},
        {"frame-start look-alike inside a frame",
         join({bytesOf(lookalike), bytesOf(replyFrame(2, {{27, 0xFF}}))}),
         true,
         {"001", "002"}},
        {"count below index is skipped, index 0 accepted",
         join({bytesOf(replyFrame(1)), bytesOf(replyFrame(2, {{2, 5}, {3, 6}})),
               bytesOf(replyFrame(3, {{3, 0}}))}),
         true,
         {"001", "003"}},
        {"all-zero buffer", std::vector<quint8>(96, 0), false, {}},
        {"nothing collected", {}, false, {}},
        {"first frame damaged", bytesOf(replyFrame(1, {{31, 0x00}})), false, {}},
        {"frame running past the stored bytes",
         join({bytesOf(replyFrame(1)), {0xFE, 0x68, 3, 2}}),
         true,
         {"001"}},
        {"an end minute of 60 stops the decoding: no program is dropped quietly",
         join({bytesOf(replyFrame(1)), bytesOf(replyFrame(2, {{10, 60}})), bytesOf(replyFrame(3))}),
         true,
         {"001"},
         true},
        {"start hour 24", bytesOf(replyFrame(1, {{6, 24}})), true, {}, true},
        {"track of four digits stops the decoding",
         join({bytesOf(replyFrame(1)), bytesOf(replyFrame(2, {{15, 10}})), bytesOf(replyFrame(3))}),
         true,
         {"001"},
         true},
        {"track byte above 99", join({bytesOf(replyFrame(1, {{26, 100}}))}), true, {}, true},
    };
    for (const auto& c : cases) {
        const auto decoded = decodeReadBack(c.bytes);
        EXPECT_EQ(decoded.startsWithFrame, c.startsWithFrame) << c.name;
        QStringList orderNos;
        for (const auto& record : decoded.records)
            orderNos.append(record.OrderNo);
        EXPECT_EQ(orderNos, c.orderNos) << c.name;
        EXPECT_EQ(!decoded.unstorable.isEmpty(), c.unstorable) << c.name;
    }
}

// A set is empty when its answer holds no program: no count of one or more anywhere and no
// whole frame that numbers one. Everything else fails the read rather than lose programs.
TEST(ReadBackDecoder, AnswersThatDidNotBeginWithAHead) {
    struct Case {
        const char* name;
        std::vector<quint8> answer;
        bool holdsRecordBytes;
        bool empty;
    };
    const auto frame = bytesOf(replyFrame(1));
    std::vector<quint8> zeroFrame(32, 0x00);
    zeroFrame[0] = 0xFE, zeroFrame[1] = 0x68, zeroFrame[4] = 2, zeroFrame[31] = 0xFF;
    auto wrapped = bytesOf(replyFrame(1, {{2, 0}, {3, 1}}));
    const Case cases[] = {
        {"FE 68 00 FF", {0xFE, 0x68, 0x00, 0xFF}, false, true},
        {"FE 68 00 00 FF", {0xFE, 0x68, 0x00, 0x00, 0xFF}, false, true},
        {"FE 68 00 00 00 FF", {0xFE, 0x68, 0x00, 0x00, 0x00, 0xFF}, false, true},
        {"a whole frame announcing 0 records", zeroFrame, false, true},
        {"a stray byte before it", join({{0x00}, zeroFrame}), false, true},
        {"a stray byte before FE 68 00 FF", {0x00, 0xFE, 0x68, 0x00, 0xFF}, false, true},
        {"bytes without FE 68", {0x12, 0x34, 0xFE, 0x00, 0x68}, false, true},
        {"three zero bytes", {0x00, 0x00, 0x00}, false, true},
        {"a lone FE at the end", {0x00, 0x00, 0xFE}, false, true},
        {"a reply behind a stray byte", join({{0x00}, frame}), true, false},
        {"a head behind a stray byte, cut", {0x00, 0xFE, 0x68, 0x02, 0x01, 0x01}, true, false},
        {"count 0 wrapped from 256: the first frame is numbered 1", wrapped, true, false},
        {"records after a frame announcing 0", join({zeroFrame, frame}), true, false},
        {"a frame with a count but a damaged head", bytesOf(replyFrame(1, {{3, 7}})), true, false},
        {"FE 68 cut off at the end", {0x00, 0xFE, 0x68}, false, false},
        {"FE 68 n cut off at the end", {0xFE, 0x68, 0x03}, true, false},
        {"FE 68 01 FF: one record counted, its frame never came",
         {0xFE, 0x68, 0x01, 0xFF},
         true,
         false},
        {"a count behind a stray byte", {0x00, 0xFE, 0x68, 0x02, 0xFF}, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(holdsRecordBytes(c.answer), c.holdsRecordBytes) << c.name;
        EXPECT_EQ(isEmptySetAnswer(c.answer), c.empty) << c.name;
    }
}

TEST(ReadBackDecoder, AWholeReplyIsFramesAndNothingElse) {
    const auto one = bytesOf(replyFrame(1));
    const auto two = join({one, bytesOf(replyFrame(2))});
    EXPECT_TRUE(isWholeReply(two));
    EXPECT_TRUE(isWholeReply(bytesOf(replyFrame(1, {{6, 24}}))))
        << "a frame that cannot be stored is still whole";
    EXPECT_FALSE(isWholeReply(join({one, {0x00}})));
    EXPECT_FALSE(isWholeReply(join({one, bytesOf(replyFrame(2, {{31, 0x00}}))})));
    EXPECT_FALSE(
        isWholeReply(join({one, {0x00}, std::vector<quint8>(one.begin(), one.end() - 1)})));
}
