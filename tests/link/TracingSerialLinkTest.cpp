#include "TracingSerialLink.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tessaly;

namespace {

std::vector<quint8> bytes(std::initializer_list<int> values) {
    return std::vector<quint8>(values.begin(), values.end());
}

std::vector<quint8> recordFrame(quint8 command, int count, int index, int set) {
    std::vector<quint8> frame(32, 0);
    frame[0] = 0xFE;
    frame[1] = command;
    frame[2] = quint8(count);
    frame[3] = quint8(index);
    frame[4] = quint8(set);
    frame[31] = 0xFF;
    return frame;
}

} // namespace

TEST(TrafficLog, SaysWhatEachFrameIs) {
    const std::pair<std::vector<quint8>, const char*> outgoing[] = {
        {bytes({0xFE, 0x01, 0x00, 0xFF}), "probe"},
        {bytes({0xFE, 0x02, 0x00, 0xFF}), "close notice"},
        {bytes({0xFE, 0x04, 0x01, 0xFF}), "read set 1"},
        {bytes({0xFE, 0x05, 0x0A, 0x05, 0xFF}), "pre-heat 10 delay 5"},
        {bytes({0xFE, 0x06, 0x03, 0xFF}), "pre-heat query set 3"},
        {bytes({0xFE, 0x07, 0x02, 0xFF}), "clear set 2"},
        {bytes({0xFE, 0x07, 0x00, 0xFF}), "clear all"},
        {recordFrame(0x03, 12, 3, 1), "record 3/12 set 1"},
        {bytes({0xFE, 0x09, 0x00, 0xFF}), "unrecognised"},
        {bytes({0xFE, 0x01, 0x00}), "unrecognised"},
    };
    for (const auto& [frame, summary] : outgoing)
        EXPECT_EQ(describeOutgoing(frame), summary) << summary;

    const std::tuple<std::vector<quint8>, bool, const char*> incoming[] = {
        {bytes({0xFE, 0x65, 0x01, 0xFF}), false, "probe reply ok"},
        {bytes({0xFE, 0x65, 0x02, 0xFF}), false, "unrecognised"},
        {bytes({0xFE, 0x6A, 0x0A, 0x05, 0xFF}), false, "pre-heat 10 delay 5 reply"},
        {bytes({0xFE, 0x6B, 0x02, 0xFF}), false, "cleared set 2"},
        {bytes({0xFE, 0x6B, 0x00, 0xFF}), false, "cleared all"},
        {bytes({0xFE, 0x6B, 0x05, 0xFF}), false, "clear all failed"},
        {recordFrame(0x68, 12, 1, 1), true, "reply: 12 records"},
        {bytes({0x07, 0x00, 0x1E}), true, "reply data"},
        {bytes({0x07, 0x00, 0x1E}), false, "unrecognised"},
    };
    for (const auto& [chunk, replyExpected, summary] : incoming)
        EXPECT_EQ(describeIncoming(chunk, replyExpected), summary) << summary;
}
