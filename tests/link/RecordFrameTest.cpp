#include "RecordFrame.h"

#include "ProgramSet.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QByteArray>

using namespace tessaly;

namespace {

QByteArray hex(const RecordFrame& frame) {
    return QByteArray(reinterpret_cast<const char*>(frame.data()), int(frame.size()))
        .toHex(' ')
        .toUpper();
}

// The second of three programs of set 2, 08:30:00 to 08:45:30 on weekdays.
ProgramRecord weekdayProgram() {
    ProgramRecord record;
    record.OrderNo = "002";
    record.JMTaoNo = setLabel(2);
    record.KS1 = 8, record.KS2 = 30, record.KS3 = 0;
    record.JS1 = 8, record.JS2 = 45, record.JS3 = 30;
    record.KSTime = QTime(8, 30, 0);
    record.JSTime = QTime(8, 45, 30);
    record.Week = {true, true, true, true, true, false, false};
    record.MP3 = true;
    record.YinLiang = 20;
    record.QuMu = {"123", "005", "000", "000", "000", "000"};
    record.FQ[0] = record.FQ[2] = record.FQ[15] = record.FQ[31] = true;
    return record;
}

RecordFrame encode(const ProgramRecord& record, int count = 3, int index = 2, int set = 2) {
    const auto encoded = BuildRecordFrame(record, count, index, set);
    EXPECT_TRUE(encoded.frame.has_value()) << encoded.error.toStdString();
    return encoded.frame.value_or(RecordFrame{});
}

} // namespace

TEST(RecordFrame, WorkedExampleEncodesExactly) {
    EXPECT_EQ(hex(encode(weekdayProgram())),
              "FE 03 03 02 02 02 08 1E 00 08 2D 1E 1F 00 14 01 17 00 05 00 00 00 00 00 00 00 00 "
              "A0 01 00 01 FF");
}

struct FieldCase {
    const char* name;
    std::function<void(ProgramRecord&)> change;
    int byte;
    int expected;
};

TEST(RecordFrame, FieldEncodings) {
    const std::vector<FieldCase> cases{
        {"all zones set", [](auto& r) { r.FQ.fill(true); }, 30, 0xFF},
        {"zone byte 27 all set", [](auto& r) { r.FQ.fill(true); }, 27, 0xFF},
        {"empty track", [](auto& r) { r.QuMu[0] = ""; }, 15, 0x00},
        {"empty track rest", [](auto& r) { r.QuMu[0] = ""; }, 16, 0x00},
        {"track 100 hundreds", [](auto& r) { r.QuMu[0] = "100"; }, 15, 0x01},
        {"track 100 rest", [](auto& r) { r.QuMu[0] = "100"; }, 16, 0x00},
        {"track 099 rest", [](auto& r) { r.QuMu[0] = "099"; }, 16, 0x63},
        {"track 009 rest", [](auto& r) { r.QuMu[0] = "009"; }, 16, 0x09},
        {"track 999 hundreds", [](auto& r) { r.QuMu[5] = "999"; }, 25, 0x09},
        {"two digits read as a number", [](auto& r) { r.QuMu[1] = "12"; }, 18, 12},
        {"one digit read as a number", [](auto& r) { r.QuMu[1] = "5"; }, 18, 5},
        {"radio with priority", [](auto& r) { r.MP3 = false, r.YXCX = priorityMarker(); }, 13,
         0x11},
        {"mp3 with priority", [](auto& r) { r.YXCX = priorityMarker(); }, 13, 0x10},
        {"radio without priority", [](auto& r) { r.MP3 = false; }, 13, 0x01},
        {"other marker text", [](auto& r) { r.YXCX = "普通"; }, 13, 0x00},
        {"only Sunday", [](auto& r) { r.Week = {false, false, false, false, false, false, true}; },
         12, 0x40},
        {"every day", [](auto& r) { r.Week.fill(true); }, 12, 0x7F},
        {"order number 255", [](auto& r) { r.OrderNo = "255"; }, 5, 0xFF},
        {"order number 000, as the player may give it", [](auto& r) { r.OrderNo = "000"; }, 5, 0},
        {"volume 38", [](auto& r) { r.YinLiang = 38; }, 14, 38},
        {"volume 39, as the player may give it", [](auto& r) { r.YinLiang = 39; }, 14, 39},
        {"volume 255", [](auto& r) { r.YinLiang = 255; }, 14, 0xFF},
        {"end 23:59:59", [](auto& r) { r.JS1 = 23, r.JS2 = 59, r.JS3 = 59; }, 11, 59},
    };
    for (const auto& c : cases) {
        auto record = weekdayProgram();
        c.change(record);
        const auto frame = encode(record);
        EXPECT_EQ(frame[c.byte], c.expected) << c.name;
        EXPECT_EQ(frame[0], 0xFE) << c.name;
        EXPECT_EQ(frame[1], 0x03) << c.name;
        EXPECT_EQ(frame[31], 0xFF) << c.name;
    }
}

TEST(RecordFrame, LargestSetAndWhatNoFrameCanCarry) {
    const auto frame = encode(weekdayProgram(), 255, 255, 4);
    EXPECT_EQ(frame[2], 0xFF);
    EXPECT_EQ(frame[3], 0xFF);
    const auto tooMany = BuildRecordFrame(weekdayProgram(), 300, 256, 1);
    EXPECT_FALSE(tooMany.frame.has_value());
    EXPECT_EQ(tooMany.error, "第一套有300个程序，播放器每套最多255个，无法装载！");
}

// Nothing is cut to a byte: what the player cannot hold is refused, naming set, order number
// and field.
TEST(RecordFrame, ValuesThePlayerCannotHoldAreRefusedNamingTheRecord) {
    const std::vector<std::pair<std::function<void(ProgramRecord&)>, QString>> changes{
        {[](auto& r) { r.OrderNo = "A07"; }, "序号"},
        {[](auto& r) { r.OrderNo = ""; }, "序号"},
        {[](auto& r) { r.OrderNo = "-1"; }, "超出0-255"},
        {[](auto& r) { r.OrderNo = "256"; }, "超出0-255"},
        {[](auto& r) { r.OrderNo = "99999999999"; }, "超出0-255"},
        {[](auto& r) { r.KS1 = 24; }, "开始时间“24:30:00”不是有效的时刻"},
        {[](auto& r) { r.JS1 = -1; }, "结束时间"},
        {[](auto& r) { r.KS2 = 60; }, "开始时间“08:60:00”"},
        {[](auto& r) { r.JS3 = 60; }, "结束时间"},
        {[](auto& r) { r.YinLiang = -1; }, "音量“-1”超出0-255"},
        {[](auto& r) { r.YinLiang = 256; }, "音量“256”超出0-255"},
        {[](auto& r) { r.YinLiang = 1000; }, "音量"},
        {[](auto& r) { r.QuMu[3] = "1x3"; }, "曲目4"},
        {[](auto& r) { r.QuMu[0] = "1234"; }, "曲目1"},
        {[](auto& r) { r.QuMu[2] = "-5"; }, "曲目3"},
    };
    for (const auto& [change, field] : changes) {
        auto record = weekdayProgram();
        change(record);
        const auto encoded = BuildRecordFrame(record, 3, 2, 2);
        const std::string error = encoded.error.toStdString();
        EXPECT_FALSE(encoded.frame.has_value()) << field.toStdString();
        EXPECT_TRUE(encoded.error.contains(QStringLiteral("第二套"))) << error;
        EXPECT_TRUE(encoded.error.contains(record.OrderNo)) << error;
        EXPECT_TRUE(encoded.error.contains(field)) << error;
    }
}

// Frames as the player returns them: command 0x68, the PC's layout otherwise.
RecordFrame fromPlayer(RecordFrame frame) {
    frame[1] = 0x68;
    return frame;
}

TEST(RecordFrame, DecodingReturnsTheRecordWithItsNormalisations) {
    auto record = weekdayProgram();
    record.QuMu[5] = "";
    record.YXCX = "普通";
    const auto decoded = decodeRecordFrame(fromPlayer(encode(record)));
    ASSERT_TRUE(decoded.record.has_value());
    auto expected = record;
    expected.QuMu[5] = "000";
    expected.YXCX = "";
    EXPECT_EQ(*decoded.record, expected);
}

struct DecodeCase {
    const char* name;
    std::vector<std::pair<int, quint8>> bytes;
    std::function<void(const ProgramRecord&)> check;
};

TEST(RecordFrame, DecodingMapping) {
    const std::vector<DecodeCase> cases{
        {"set 3 radio priority",
         {{4, 3}, {13, 0x11}},
         [](const auto& r) {
             EXPECT_EQ(r.JMTaoNo, setLabel(3));
             EXPECT_EQ(r.YXCX, priorityMarker());
             EXPECT_FALSE(r.MP3);
             EXPECT_TRUE(r.ShouYin);
         }},
        {"unknown set leaves label and marker unset",
         {{4, 7}},
         [](const auto& r) {
             EXPECT_TRUE(r.JMTaoNo.isNull());
             EXPECT_TRUE(r.YXCX.isNull());
         }},
        {"normal marker is empty text, not null",
         {{13, 0x00}},
         [](const auto& r) {
             EXPECT_FALSE(r.YXCX.isNull());
             EXPECT_TRUE(r.YXCX.isEmpty());
         }},
        {"weekday 0x41",
         {{12, 0x41}},
         [](const auto& r) {
             EXPECT_EQ(r.Week,
                       (std::array<bool, 7>{true, false, false, false, false, false, true}));
         }},
        {"weekday 0xFF ignores bit 7",
         {{12, 0xFF}},
         [](const auto& r) {
             EXPECT_EQ(r.Week, (std::array<bool, 7>{true, true, true, true, true, true, true}));
         }},
        {"zone byte 0x80 is FQ1 only",
         {{27, 0x80}},
         [](const auto& r) {
             EXPECT_TRUE(r.FQ[0]);
             for (int z = 1; z < 8; ++z)
                 EXPECT_FALSE(r.FQ[z]) << z;
         }},
        {"order byte 0", {{5, 0}}, [](const auto& r) { EXPECT_EQ(r.OrderNo, "000"); }},
        {"order byte 123", {{5, 123}}, [](const auto& r) { EXPECT_EQ(r.OrderNo, "123"); }},
        {"track (0,0)", {{15, 0}, {16, 0}}, [](const auto& r) { EXPECT_EQ(r.QuMu[0], "000"); }},
        {"track (1,0)", {{15, 1}, {16, 0}}, [](const auto& r) { EXPECT_EQ(r.QuMu[0], "100"); }},
        {"track (0,99)", {{15, 0}, {16, 99}}, [](const auto& r) { EXPECT_EQ(r.QuMu[0], "099"); }},
        {"start 8:30:00",
         {{6, 8}, {7, 30}, {8, 0}},
         [](const auto& r) {
             EXPECT_EQ((std::array{r.KS1, r.KS2, r.KS3}), (std::array{8, 30, 0}));
             EXPECT_EQ(r.KSTime, QTime(8, 30, 0));
         }},
    };
    for (const auto& c : cases) {
        auto frame = fromPlayer(encode(weekdayProgram()));
        for (const auto& [byte, value] : c.bytes)
            frame[byte] = value;
        const auto decoded = decodeRecordFrame(frame);
        ASSERT_TRUE(decoded.record.has_value()) << c.name;
        SCOPED_TRACE(c.name);
        c.check(*decoded.record);
    }
}

// What the player gives back and no program can hold is refused naming its set, order number
// and field, the time zero-padded as the editor shows it.
TEST(RecordFrame, OutOfRangeTimesAndTracksAreRefusedNamingTheProgram) {
    auto frame = fromPlayer(encode(weekdayProgram()));
    frame[4] = 1;
    frame[5] = 1;
    frame[6] = 8, frame[7] = 0, frame[8] = 0;
    const std::vector<std::pair<std::pair<int, quint8>, QString>> cases{
        {{6, 25}, "第一套 序号001：开始时间 25:00:00 不是有效的时刻"},
        {{10, 60}, "第一套 序号001：结束时间 08:60:30 不是有效的时刻"},
        {{8, 255}, "第一套 序号001：开始时间 08:00:255 不是有效的时刻"},
        {{15, 10}, "第一套 序号001：曲目1 (10, 23) 超出三位数字"},
        {{16, 100}, "第一套 序号001：曲目1 (1, 100) 超出三位数字"},
    };
    for (const auto& [change, message] : cases) {
        auto bad = frame;
        bad[std::size_t(change.first)] = change.second;
        const auto refused = decodeRecordFrame(bad);
        EXPECT_FALSE(refused.record) << change.first;
        EXPECT_EQ(refused.error, message);
    }
}
