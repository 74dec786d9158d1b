#include "PlayerSimTesting.h"

#include <QTemporaryDir>

using namespace tessaly;
using tessaly::testing::hex;
using tessaly::testing::PlayerOnLine;

namespace {

// A record frame as the PC sends it. The data bytes are full of start and end bytes: the
// player must find the frame by its length, not by looking for 0xFF.
QByteArray recordFrame(int set, int orderNo, int count = 9, int index = 7) {
    QByteArray frame(frame::RecordLength, char(0xFE));
    frame[0] = char(0xFE);
    frame[1] = char(0x03);
    frame[2] = char(count);
    frame[3] = char(index);
    frame[4] = char(set);
    frame[5] = char(orderNo);
    frame[6] = char(0xFF);
    frame[31] = char(0xFF);
    return frame;
}

// The same frame as the player returns it: 0x68, then its count and place in the set.
QByteArray returned(QByteArray frame, int count, int index) {
    frame[1] = char(0x68);
    frame[2] = char(count);
    frame[3] = char(index);
    return frame;
}

using ShortAnswers = PlayerOnLine;

TEST_F(ShortAnswers, ProbeIsAnsweredAtOnceInOnePiece) {
    send("FE 01 00 FF");
    std::array<quint8, 16> buffer{};
    ASSERT_EQ(link.read(Port, buffer.data(), int(buffer.size())), 4);
    EXPECT_EQ(hex(QByteArray(reinterpret_cast<const char*>(buffer.data()), 4)), "FE 65 01 FF");
}

TEST_F(ShortAnswers, ProbeFaults) {
    setOptions({.wrongProbe = true});
    send("FE 01 00 FF");
    EXPECT_EQ(readAll(), "FE 65 00 FF");

    setOptions({.probeDelayMs = 300});
    send("FE 01 00 FF");
    EXPECT_EQ(readAfter(299), "");
    EXPECT_EQ(readAfter(1), "FE 65 01 FF");

    setOptions({.silent = true});
    send("FE 01 00 FF FE 06 01 FF FE 04 01 FF FE 07 00 FF");
    EXPECT_EQ(readAfter(10'000), "");
    EXPECT_EQ(link.player().received().size(), 6);
}

TEST_F(ShortAnswers, PreheatAndDelayAreStoredAndReported) {
    send("FE 05 0A 03 FF");
    EXPECT_EQ(readAll(), "");
    EXPECT_EQ(link.player().preheatMinutes(), 10);
    EXPECT_EQ(link.player().delayMinutes(), 3);
    send("FE 06 02 FF");
    EXPECT_EQ(readAll(), "FE 6A 0A 03 FF");

    setOptions({.noPreheatReply = true});
    send("FE 06 01 FF");
    EXPECT_EQ(readAfter(5'000), "");
}

TEST_F(ShortAnswers, CloseNoticeIsOnlyLogged) {
    send("FE 02 00 FF");
    EXPECT_EQ(readAfter(5'000), "");
    ASSERT_EQ(link.player().received().size(), 1);
}

class Clearing : public PlayerOnLine {
protected:
    void fillAllSets() {
        for (int set = 1; set <= PlayerSimulator::SetCount; ++set)
            sendBytes(recordFrame(set, 1, 1, 1));
    }
    std::array<std::size_t, 4> programCounts() {
        std::array<std::size_t, 4> counts{};
        for (int set = 1; set <= PlayerSimulator::SetCount; ++set)
            counts[set - 1] = link.player().programs(set).size();
        return counts;
    }
};

TEST_F(Clearing, AnswerComesAfterTheEraseTimeWithItsFaults) {
    struct Case {
        const char* name;
        PlayerOptions options;
        const char* request;
        const char* answer;
        std::array<std::size_t, 4> programsLeft;
    };
    const Case cases[] = {
        {"one set", {}, "FE 07 02 FF", "FE 6B 02 FF", {1, 0, 1, 1}},
        {"all sets", {}, "FE 07 00 FF", "FE 6B 00 FF", {0, 0, 0, 0}},
        {"answer names another set",
         {.clearOtherSet = true},
         "FE 07 04 FF",
         "FE 6B 01 FF",
         {1, 1, 1, 0}},
        {"all sets, fails", {.clearFails = true}, "FE 07 00 FF", "FE 6B 05 FF", {1, 1, 1, 1}},
        {"one set, fails", {.clearFails = true}, "FE 07 03 FF", "FE 6B 05 FF", {1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int set = 1; set <= PlayerSimulator::SetCount; ++set)
            link.player().setPrograms(set, {});
        fillAllSets();
        setOptions(c.options);
        send(c.request);
        EXPECT_EQ(readAfter(999), "");
        EXPECT_EQ(readAfter(1), c.answer);
        EXPECT_EQ(programCounts(), c.programsLeft);
    }
}

TEST_F(Clearing, EraseTimeIsConfigurable) {
    setOptions({.clearDelayMs = 200});
    send("FE 07 01 FF");
    EXPECT_EQ(readAfter(199), "");
    EXPECT_EQ(readAfter(1), "FE 6B 01 FF");
}

TEST_F(Clearing, SecondClearWaitsForTheFirstAndOtherAnswersDoNot) {
    send("FE 07 01 FF");
    clock.advance(400);
    send("FE 07 00 FF FE 01 00 FF");
    EXPECT_EQ(readAll(), "FE 65 01 FF");
    EXPECT_EQ(readAfter(600), "FE 6B 01 FF");
    EXPECT_EQ(readAfter(999), "");
    EXPECT_EQ(readAfter(1), "FE 6B 00 FF");
}

TEST_F(Clearing, UnknownSetIsIgnored) {
    fillAllSets();
    send("FE 07 09 FF");
    EXPECT_EQ(readAfter(5'000), "");
    EXPECT_EQ(programCounts(), (std::array<std::size_t, 4>{1, 1, 1, 1}));
}

using Programs = PlayerOnLine;

TEST_F(Programs, StoredPerSetAndReadBackRenumberedAtLineSpeed) {
    const QByteArray first = recordFrame(2, 1);
    const QByteArray second = recordFrame(2, 2);
    const QByteArray third = recordFrame(2, 3);
    sendBytes(first + recordFrame(1, 1) + second + third);
    EXPECT_EQ(readAll(), "");
    ASSERT_EQ(link.player().programs(2).size(), 3);
    EXPECT_EQ(link.player().programs(1).size(), 1);
    EXPECT_EQ(link.player().programs(2)[1][5], 2); // stored as sent, in arrival order

    send("FE 04 02 FF");
    const QByteArray early = readAfter(10);
    EXPECT_EQ(QByteArray::fromHex(early).size(), 9); // 9.6 bytes fit in 10 ms
    const QByteArray rest = readAfter(90);
    EXPECT_EQ(early + " " + rest,
              hex(returned(first, 3, 1) + returned(second, 3, 2) + returned(third, 3, 3)));
}

TEST_F(Programs, CountAndIndexKeepTheirLowEightBits) {
    std::vector<RecordFrame> frames(258);
    for (RecordFrame& stored : frames)
        stored = {0xFE, 0x03};
    link.player().setPrograms(3, frames);
    send("FE 04 03 FF");
    const QByteArray reply = QByteArray::fromHex(readAfter(60'000));
    ASSERT_EQ(reply.size(), 258 * frame::RecordLength);
    const QByteArray last = reply.right(frame::RecordLength);
    EXPECT_EQ(quint8(last[1]), 0x68);
    EXPECT_EQ(quint8(last[2]), 2);
    EXPECT_EQ(quint8(last[3]), 2);
}

TEST_F(Programs, SetWithoutProgramsGetsTheShortReply) {
    sendBytes(recordFrame(1, 1));
    for (const char* request : {"FE 04 02 FF", "FE 04 00 FF", "FE 04 07 FF"}) {
        SCOPED_TRACE(request);
        send(request);
        EXPECT_EQ(readAfter(10), "FE 68 00 FF");
    }
}

TEST_F(Programs, TheEmptySetsAnswerTakesTheChosenShape) {
    const std::pair<EmptyAnswer, const char*> shapes[] = {
        {EmptyAnswer::Short, "FE 68 00 FF"},
        {EmptyAnswer::Padded, "FE 68 00 00 FF"},
        {EmptyAnswer::ZeroFrame,
         "FE 68 00 00 03 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
         "00 00 FF"},
        {EmptyAnswer::NoHeadBytes, "00 00 00"},
    };
    for (const auto& [shape, bytes] : shapes) {
        SCOPED_TRACE(bytes);
        link.player().setOptions({.emptyAnswer = shape});
        send("FE 04 03 FF");
        EXPECT_EQ(readAfter(100), bytes);
        EXPECT_EQ(emptyAnswerNamed(emptyAnswerName(shape)), shape);
    }
    EXPECT_EQ(allEmptyAnswers().size(), 4);
    EXPECT_EQ(emptyAnswerNamed("sideways"), std::nullopt);
}

// The faults of a player that answers a read with what was not asked for.
TEST_F(Programs, ReadFaultsAnswerAnotherSetOrACountWithoutFrames) {
    const QByteArray ofSetTwo = recordFrame(2, 1);
    sendBytes(ofSetTwo + recordFrame(2, 2));
    setOptions({.readOtherSet = true});
    send("FE 04 01 FF");
    EXPECT_EQ(readAfter(100), hex(returned(ofSetTwo, 2, 1) + returned(recordFrame(2, 2), 2, 2)));
    send("FE 04 04 FF"); // set 1 holds nothing: its empty answer
    EXPECT_EQ(readAfter(100), "FE 68 00 FF");

    setOptions({.countWithoutFrames = true});
    for (const auto& [request, answer] :
         {std::pair{"FE 04 02 FF", "FE 68 02 FF"}, std::pair{"FE 04 03 FF", "FE 68 01 FF"}}) {
        SCOPED_TRACE(request);
        send(request);
        EXPECT_EQ(readAfter(100), answer);
    }
}

TEST_F(Programs, RecordForAnUnknownSetIsNotStored) {
    sendBytes(recordFrame(5, 1) + recordFrame(0, 1));
    for (int set = 1; set <= PlayerSimulator::SetCount; ++set)
        EXPECT_TRUE(link.player().programs(set).empty());
    EXPECT_EQ(link.player().received().size(), 2);
}

using ReplyFaults = PlayerOnLine;

TEST_F(ReplyFaults, SplitRepliesComeInPiecesWithGaps) {
    setOptions({.splitBytes = 3, .splitGapMs = 20});
    send("FE 01 00 FF");
    EXPECT_EQ(readAfter(19), "FE 65 01");
    EXPECT_EQ(readAfter(1), "FF");

    sendBytes(recordFrame(1, 1));
    send("FE 04 01 FF");
    // 32 bytes take 34 ms on the line, plus ten gaps of 20 ms.
    EXPECT_EQ(QByteArray::fromHex(readAfter(200)).size(), 3 * 9);
    EXPECT_EQ(QByteArray::fromHex(readAfter(34)).size(), 32 - 27);
}

TEST_F(ReplyFaults, StrayByteAndCutApplyToEveryReply) {
    setOptions({.strayByte = true});
    send("FE 01 00 FF");
    EXPECT_EQ(readAll(), "00 FE 65 01 FF");
    send("FE 07 01 FF");
    EXPECT_EQ(readAfter(1'000), "00 FE 6B 01 FF");

    setOptions({.cutAfter = 3});
    send("FE 06 01 FF");
    EXPECT_EQ(readAll(), "FE 6A 00");
    sendBytes(recordFrame(1, 1));
    send("FE 04 01 FF");
    EXPECT_EQ(readAfter(100), "FE 68 01");

    setOptions({.strayByte = true, .cutAfter = 2});
    send("FE 01 00 FF");
    EXPECT_EQ(readAll(), "00 FE");
}

using Framing = PlayerOnLine;

TEST_F(Framing, GarbageIsSkippedUntilTheNextStartByte) {
    struct Case {
        const char* wire;
        const char* answer;
    };
    const Case cases[] = {
        {"00 FF 12 FE 01 00 FF", "FE 65 01 FF"},
        {"FE FE 01 00 FF", "FE 65 01 FF"},
        {"FE 09 00 FF FE 01 00 FF", "FE 65 01 FF"},    // unknown command
        {"FE 01 FE 06 01 FF", "FE 6A 00 00 FF"},       // probe without its end byte
        {"FE 05 01 02 00 FE 01 00 FF", "FE 65 01 FF"}, // pre-heat frame too long
        {"FE 06 01 FF FE 01 00 FF", "FE 6A 00 00 FF FE 65 01 FF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wire);
        send(c.wire);
        EXPECT_EQ(readAll(), c.answer);
    }
    EXPECT_EQ(link.player().preheatMinutes(), 0);
}

TEST_F(Framing, FramesMayArriveInPieces) {
    const QByteArray record = recordFrame(4, 1);
    sendBytes(record.left(1));
    clock.advance(5);
    sendBytes(record.mid(1, 20));
    clock.advance(5);
    EXPECT_TRUE(link.player().programs(4).empty());
    sendBytes(record.mid(21) + QByteArray::fromHex("FE 01"));
    EXPECT_EQ(link.player().programs(4).size(), 1);
    EXPECT_EQ(readAll(), "");
    clock.advance(5);
    send("00 FF");
    EXPECT_EQ(readAll(), "FE 65 01 FF");

    const auto& log = link.player().received();
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0].timeMs, 10);
    EXPECT_EQ(log[1].timeMs, 15);
}

TEST_F(Framing, ReceivedFramesAreLoggedWithTheirTimes) {
    send("FE 01 00 FF");
    clock.advance(50);
    send("FE 05 0A 03 FF 77");
    clock.advance(70);
    send("FE 02 00 FF");
    const auto& log = link.player().received();
    ASSERT_EQ(log.size(), 3);
    const std::pair<qint64, QByteArray> expected[] = {
        {0, "FE 01 00 FF"}, {50, "FE 05 0A 03 FF"}, {120, "FE 02 00 FF"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(log[i].timeMs, expected[i].first);
        EXPECT_EQ(hex(log[i].bytes), expected[i].second);
    }
}

TEST(PlayerState, SurvivesSaveAndLoad) {
    const QTemporaryDir folder;
    const QString path = folder.filePath("state.json");
    PlayerSimulator saved;
    RecordFrame stored{};
    stored.fill(0xFE);
    stored[4] = 3;
    saved.setPrograms(3, {stored, stored});
    saved.setPrograms(1, {stored});
    saved.setPreheatDelay(12, 4);
    ASSERT_TRUE(saved.saveState(path));

    PlayerSimulator loaded;
    QString error;
    ASSERT_TRUE(loaded.loadState(path, &error)) << error.toStdString();
    for (int set = 1; set <= PlayerSimulator::SetCount; ++set)
        EXPECT_EQ(loaded.programs(set), saved.programs(set));
    EXPECT_EQ(loaded.preheatMinutes(), 12);
    EXPECT_EQ(loaded.delayMinutes(), 4);
}

TEST(PlayerState, BadFileIsRefusedAndChangesNothing) {
    const QTemporaryDir folder;
    PlayerSimulator player;
    player.setPreheatDelay(7, 8);
    const std::pair<const char*, QByteArray> cases[] = {
        {"missing.json", {}},
        {"not-json.json", "sets"},
        {"three-sets.json", R"({"sets":[[],[],[]]})"},
        {"short-frame.json", R"({"sets":[["FE03"],[],[],[]], "preheat": 1})"},
    };
    for (const auto& [name, content] : cases) {
        SCOPED_TRACE(name);
        const QString path = folder.filePath(name);
        if (!content.isNull()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QString error;
        EXPECT_FALSE(player.loadState(path, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(player.preheatMinutes(), 7);
    }
}

} // namespace
