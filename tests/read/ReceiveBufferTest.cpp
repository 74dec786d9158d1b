#include "ReadRequest.h"
#include "ReadTesting.h"

using namespace tessaly;
using namespace tessaly::testing;

namespace {

std::vector<quint8> reply(int set, int count) {
    std::vector<quint8> bytes;
    for (auto frame : storedSet(set, count)) {
        frame[1] = frame::RecordAnswer;
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    return bytes;
}

std::span<const quint8> piece(const std::vector<quint8>& bytes, std::size_t from,
                              std::size_t length) {
    return std::span<const quint8>(bytes).subspan(from, length);
}

} // namespace

TEST(ReceiveBuffer, HeadSplitOverReadsAndTailsOfOneToThreeBytesAreKept) {
    const auto bytes = reply(2, 3);
    for (const std::size_t first : {1, 2, 3}) {
        ReceiveBuffer buffer;
        buffer.reset();
        EXPECT_EQ(buffer.append(piece(bytes, 0, first)), ReceiveBuffer::State::Collecting);
        EXPECT_FALSE(buffer.headSeen());
        EXPECT_EQ(buffer.append(piece(bytes, first, 93 - first)), ReceiveBuffer::State::Collecting);
        EXPECT_EQ(buffer.ExpectedCount, 96);
        EXPECT_EQ(buffer.ReadRecordsLeft, 1);
        EXPECT_EQ(buffer.append(piece(bytes, 93, 3)), ReceiveBuffer::State::Complete)
            << "a three-byte tail ends the reply";
        EXPECT_EQ(buffer.ReceivedCount, 96);
        EXPECT_EQ(buffer.ReadRecordsLeft, 0);
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), buffer.bytes().begin()));
    }
}

TEST(ReceiveBuffer, WhatIsNotAHeadAndWhatRunsPastTheCapacity) {
    const auto bytes = reply(1, 3);
    std::vector<quint8> stray{0x00};
    stray.insert(stray.end(), bytes.begin(), bytes.end());
    ReceiveBuffer buffer;
    EXPECT_EQ(buffer.append(stray), ReceiveBuffer::State::Complete);
    EXPECT_TRUE(buffer.bytes().empty()) << "the decoder gets nothing and reports it";

    // The empty-set answer FE 68 00 FF announces nothing.
    buffer.reset();
    const std::vector<quint8> empty{0xFE, 0x68, 0x00, 0xFF};
    EXPECT_EQ(buffer.append(empty), ReceiveBuffer::State::Complete);
    EXPECT_TRUE(buffer.bytes().empty());

    // Short answers are judged as soon as no head can follow from them; a head's start waits.
    const std::pair<std::vector<quint8>, ReceiveBuffer::State> shortAnswers[] = {
        {{0x00}, ReceiveBuffer::State::Complete},
        {{0xFE, 0x00}, ReceiveBuffer::State::Complete},
        {{0xFE, 0x68, 0x00}, ReceiveBuffer::State::Complete},
        {{0xFE}, ReceiveBuffer::State::Collecting},
        {{0xFE, 0x68}, ReceiveBuffer::State::Collecting},
        {{0xFE, 0x68, 0x05}, ReceiveBuffer::State::Collecting},
    };
    for (const auto& [answer, state] : shortAnswers) {
        buffer.reset();
        EXPECT_EQ(buffer.append(answer), state) << answer.size();
        const bool judged = state == ReceiveBuffer::State::Complete;
        EXPECT_EQ(buffer.unrecognised().size(), judged ? answer.size() : 0);
        EXPECT_EQ(buffer.bytes().size(), judged ? 0 : answer.size());
    }

    // More than announced in one read: all stored, the counter ends above the expectation.
    buffer.reset();
    auto longer = bytes;
    longer.insert(longer.end(), {1, 2, 3, 4, 5});
    EXPECT_EQ(buffer.append(longer), ReceiveBuffer::State::Complete);
    EXPECT_EQ(buffer.ReceivedCount, 101);
    EXPECT_EQ(buffer.ExpectedCount, 96);
    EXPECT_EQ(buffer.ReadRecordsLeft, 0);

    // 255 records fit exactly; one byte more than that is refused whole.
    buffer.reset();
    auto full = reply(1, 255);
    for (int i = 0; i < 255; ++i)
        full[std::size_t(i) * 32 + 2] = 255;
    EXPECT_EQ(buffer.append(piece(full, 0, 8000)), ReceiveBuffer::State::Collecting);
    std::vector<quint8> tooMuch(full.begin() + 8000, full.end());
    tooMuch.push_back(0xAA);
    EXPECT_EQ(buffer.append(tooMuch), ReceiveBuffer::State::Overflow);
    EXPECT_EQ(buffer.ReceivedCount, 8000);
    buffer.reset();
    EXPECT_EQ(buffer.append(full), ReceiveBuffer::State::Complete);
}

// Collection against the player in virtual time. The wire carries about 1.04 ms per byte.
class CollectTest : public ReadTest {
protected:
    CollectResult collect(int set) {
        collector.Read(set);
        return run(collector.collect(observer));
    }
    ReplyCollector collector{channel, clock};
};

TEST_F(CollectTest, RepliesInOnePieceOrManyEndAsSoonAsTheirLastByteIsIn) {
    struct Case {
        const char* name;
        int splitBytes;
        int splitGapMs;
    };
    const Case cases[] = {{"one piece", 0, 0}, {"pieces of 5", 5, 20}, {"pieces of 31", 31, 300}};
    serial.player().setPrograms(1, storedSet(1, 3));
    for (const auto& c : cases) {
        serial.player().setOptions({.splitBytes = c.splitBytes, .splitGapMs = c.splitGapMs});
        ASSERT_EQ(channel.openPort(), 0);
        ASSERT_EQ(channel.setLine(), 0);
        observer = {};
        EXPECT_EQ(collect(1), CollectResult::Complete) << c.name;
        EXPECT_EQ(collector.buffer().ReceivedCount, 96) << c.name;
        EXPECT_EQ(collector.buffer().ReadRecordsLeft, 0) << c.name;
        EXPECT_EQ(observer.heads, QList<int>{3}) << c.name;
        EXPECT_EQ(observer.left.last(), 0) << c.name;
        EXPECT_EQ(observer.progress, 96) << c.name;
        const qint64 wire = 96 * 10 * 1000 / 9600 + 96 / std::max(1, c.splitBytes) * c.splitGapMs;
        EXPECT_LE(elapsedMs, wire + 2 * 20 + 10) << c.name << " the poll follows the data";
        EXPECT_EQ(serial.player().received().last().bytes, QByteArray::fromHex("FE0401FF"));
        serial.close(1);
    }
}

TEST_F(CollectTest, FailuresAndTheirMoments) {
    struct Case {
        const char* name;
        PlayerOptions options;
        CollectResult result;
        qint64 atMs; // from the request
    };
    const Case cases[] = {
        {"silent player: the no-answer limit", {.silent = true}, CollectResult::NoAnswer, 6000},
        // The reply's first 50 bytes take about 52 ms; then ten seconds of silence.
        {"reply stops arriving", {.cutAfter = 50}, CollectResult::Stalled, 10060},
        {"stray byte before the reply", {.strayByte = true}, CollectResult::Complete, 20},
    };
    serial.player().setPrograms(1, storedSet(1, 3));
    for (const auto& c : cases) {
        serial.player().setOptions(c.options);
        ASSERT_EQ(channel.openPort(), 0);
        ASSERT_EQ(channel.setLine(), 0);
        EXPECT_EQ(collect(1), c.result) << c.name;
        EXPECT_EQ(elapsedMs, c.atMs) << c.name;
        serial.close(1);
    }
    EXPECT_TRUE(collector.buffer().bytes().empty()) << "a stray byte leaves nothing to decode";
}

TEST_F(CollectTest, OverallLimitEndsAReplyThatNeverCompletes) {
    // A byte every few seconds never trips the silence limit, only the overall one.
    serial.player().setPrograms(1, storedSet(1, 255));
    serial.player().setOptions({.splitBytes = 1, .splitGapMs = 5000});
    ASSERT_EQ(channel.openPort(), 0);
    ASSERT_EQ(channel.setLine(), 0);
    EXPECT_EQ(collect(1), CollectResult::TimedOut);
    EXPECT_EQ(elapsedMs, 1001 * 1000);
}
