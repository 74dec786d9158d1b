#include "Frames.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QByteArray>

using namespace tessaly;

namespace {
QByteArray hex(std::span<const quint8> bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size()))
        .toHex(' ')
        .toUpper();
}
std::vector<quint8> bytes(std::initializer_list<int> values) {
    return std::vector<quint8>(values.begin(), values.end());
}
} // namespace

TEST(CommandFrames, EveryRequestHasItsExactBytes) {
    TransmitBuffer buffer;
    const std::vector<std::pair<std::function<void()>, QByteArray>> cases{
        {[&] { buildProbeCommand(buffer); }, "FE 01 00 FF"},
        {[&] { buildCloseNotice(buffer); }, "FE 02 00 FF"},
        {[&] { buildReadRequest(buffer, 4); }, "FE 04 04 FF"},
        {[&] { buildPreheatDelayFrame(buffer, 10, 5); }, "FE 05 0A 05 FF"},
        {[&] { buildPreheatDelayFrame(buffer, 300, 5); }, "FE 05 2C 05 FF"},
        {[&] { buildPreheatDelayQuery(buffer, 2); }, "FE 06 02 FF"},
        {[&] { buildClearCommand(buffer, 2); }, "FE 07 02 FF"},
        {[&] { buildClearCommand(buffer, 0); }, "FE 07 00 FF"},
    };
    for (const auto& [build, expected] : cases) {
        build();
        EXPECT_EQ(hex(buffer.frame()), expected);
    }
}

TEST(CommandFrames, ProbeReplyOnlyAtTheStartOfOneRead) {
    EXPECT_TRUE(isProbeReply(bytes({0xFE, 0x65, 0x01, 0xFF})));
    EXPECT_TRUE(isProbeReply(bytes({0xFE, 0x65, 0x01, 0xFF, 0x12, 0x34})));
    EXPECT_FALSE(isProbeReply(bytes({0x00, 0xFE, 0x65, 0x01, 0xFF})));
    EXPECT_FALSE(isProbeReply(bytes({0xFE, 0x65, 0x01})));
    EXPECT_FALSE(isProbeReply(bytes({0xFE, 0x65, 0x00, 0xFF})));
    EXPECT_FALSE(isProbeReply(bytes({0xFE, 0x66, 0x01, 0xFF})));
    EXPECT_FALSE(isProbeReply({}));
}

TEST(CommandFrames, PreheatDelayReply) {
    EXPECT_EQ(parsePreheatDelayReply(bytes({0xFE, 0x6A, 0x0A, 0x05, 0xFF, 0x00})),
              (PreheatDelay{10, 5}));
    EXPECT_EQ(parsePreheatDelayReply(bytes({0xFE, 0x6A, 0xF0, 0xFF, 0xFF})),
              (PreheatDelay{240, 255}));
    EXPECT_FALSE(parsePreheatDelayReply(bytes({0xFE, 0x6A, 0x0A, 0x05, 0x00})));
    EXPECT_FALSE(parsePreheatDelayReply(bytes({0xFE, 0x6A, 0x0A, 0x05})));
    EXPECT_FALSE(parsePreheatDelayReply(bytes({0xFE, 0x6B, 0x0A, 0x05, 0xFF})));
}

TEST(CommandFrames, ClearReplies) {
    const auto setCleared = [](std::initializer_list<int> read) {
        return isSetClearedReply(bytes(read));
    };
    EXPECT_TRUE(setCleared({0xFE, 0x6B, 0x03, 0xFF}));       // any set counts
    EXPECT_TRUE(setCleared({0xFE, 0x6B, 0x01, 0xFF, 0x00})); // extra bytes dropped
    EXPECT_FALSE(setCleared({0xFE, 0x6B, 0x00, 0xFF}));
    EXPECT_FALSE(setCleared({0xFE, 0x6B, 0x05, 0xFF}));
    EXPECT_FALSE(setCleared({0xFE, 0x6B, 0x02}));

    const auto allClear = [](std::initializer_list<int> read) {
        return classifyAllClearReply(bytes(read));
    };
    EXPECT_EQ(allClear({0xFE, 0x6B, 0x00, 0xFF, 0x01, 0x02}), AllClearReply::Done);
    EXPECT_EQ(allClear({0xFE, 0x6B, 0x05, 0xFF}), AllClearReply::Failed);
    EXPECT_EQ(allClear({0xFE, 0x6B, 0x02, 0xFF}), AllClearReply::NotRecognised);
    EXPECT_EQ(allClear({0xFE, 0x6B, 0x00}), AllClearReply::NotRecognised);
    EXPECT_EQ(allClear({0x00, 0xFE, 0x6B, 0x00, 0xFF}), AllClearReply::NotRecognised);
}
