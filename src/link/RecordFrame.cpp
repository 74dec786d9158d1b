#include "RecordFrame.h"

#include "ProgramSet.h"

#include <QCoreApplication>

namespace tessaly {

namespace {

constexpr int WeekMaskByte = 12;
constexpr int FlagsByte = 13;
constexpr quint8 RadioFlag = 0x01;
constexpr quint8 PriorityFlag = 0x10;
constexpr int FirstTrackByte = 15;
constexpr int FirstZoneByte = 27;

// A time the frame carries as three bytes, with the column that names it.
struct TimeField {
    const char* column;
    int hours;
    int minutes;
    int seconds;
};

std::array<TimeField, 2> timeFields(const ProgramRecord& r) {
    return {{{"KSTime", r.KS1, r.KS2, r.KS3}, {"JSTime", r.JS1, r.JS2, r.JS3}}};
}

bool isDigits(const QString& text) {
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// The whole number an order number spells ("007", "-1"); nothing for any other text. Very
// long numbers come out above any byte.
std::optional<qint64> readOrderNo(const QString& text) {
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QString digits = negative ? text.mid(1) : text;
    if (digits.isEmpty() || !isDigits(digits))
        return std::nullopt;
    if (digits.size() > 9)
        return negative ? -1 : qint64(MaxByteValue) + 1;
    return negative ? -digits.toLongLong() : digits.toLongLong();
}

QString describe(const ProgramRecord& record) {
    return QStringLiteral("%1 %2 (%3)")
        .arg(displayedSetLabel(record.JMTaoNo), record.OrderNo, formatTimeOfDay(record.KSTime));
}

// The set a frame names, ready to stand before its order number ("第一套 "); nothing when the
// set byte names no set.
QString setPrefix(quint8 setByte) {
    const QString name = setDisplayName(setByte);
    return name.isEmpty() ? name : name + QLatin1Char(' ');
}

quint8 weekMask(const ProgramRecord& record) {
    quint8 mask = 0;
    for (int day = 0; day < 7; ++day)
        if (record.Week[day])
            mask |= quint8(1u << day);
    return mask;
}

quint8 flags(const ProgramRecord& record) {
    quint8 value = record.MP3 ? 0 : RadioFlag;
    if (isPriority(record))
        value ^= PriorityFlag;
    return value;
}

// Zones fill each byte from bit 7 down: the lowest zone of the byte is 0x80.
void encodeZones(const ProgramRecord& record, RecordFrame& frame) {
    for (int zone = 0; zone < 32; ++zone)
        if (record.FQ[zone])
            frame[FirstZoneByte + zone / 8] |= quint8(0x80u >> (zone % 8));
}

void decodeZones(std::span<const quint8, frame::RecordLength> bytes, ProgramRecord& record) {
    for (int zone = 0; zone < 32; ++zone)
        record.FQ[zone] = bytes[FirstZoneByte + zone / 8] & (0x80u >> (zone % 8));
}

} // namespace

QString tooManyProgramsMessage(int set, int count) {
    return QCoreApplication::translate("RecordFrame",
                                       "%1有%2个程序，播放器每套最多%3个，无法装载！")
        .arg(setDisplayName(set))
        .arg(count)
        .arg(MaxRecordsPerSet);
}

std::optional<std::array<quint8, 2>> encodeTrack(const QString& text) {
    if (text.isEmpty())
        return std::array<quint8, 2>{0, 0};
    if (text.size() > 3 || !isDigits(text))
        return std::nullopt;
    const int number = text.toInt();
    return std::array<quint8, 2>{quint8(number / 100), quint8(number % 100)};
}

QString decodeTrack(quint8 hundreds, quint8 rest) {
    if (hundreds <= 9 && rest <= 99)
        return formatOrderNo(hundreds * 100 + rest); // three digits, zero-padded, in one go
    return QString::number(hundreds) + QStringLiteral("%1").arg(rest, 2, 10, QLatin1Char('0'));
}

EncodedRecord BuildRecordFrame(const ProgramRecord& record, int count, int index, int set) {
    if (count > MaxRecordsPerSet)
        return {std::nullopt, tooManyProgramsMessage(set, count)};
    Q_ASSERT(count >= 1 && index >= 1 && index <= count && set >= 1 && set <= 255);
    const auto orderNumber = readOrderNo(record.OrderNo);
    if (!orderNumber)
        return {std::nullopt,
                QCoreApplication::translate("RecordFrame", "程序 %1 的序号“%2”不是数字，无法发送")
                    .arg(describe(record), record.OrderNo)};
    if (*orderNumber < 0 || *orderNumber > MaxByteValue)
        return {std::nullopt,
                QCoreApplication::translate("RecordFrame", "程序 %1 的序号“%2”超出0-%3，无法发送")
                    .arg(describe(record), record.OrderNo)
                    .arg(MaxByteValue)};
    for (const TimeField& time : timeFields(record))
        if (!QTime::isValid(time.hours, time.minutes, time.seconds))
            return {std::nullopt,
                    QCoreApplication::translate("RecordFrame",
                                                "程序 %1 的%2“%3”不是有效的时刻，无法发送")
                        .arg(describe(record), columnCaption(QLatin1String(time.column)),
                             clockText(time.hours, time.minutes, time.seconds))};
    if (record.YinLiang < 0 || record.YinLiang > MaxByteValue)
        return {std::nullopt,
                QCoreApplication::translate("RecordFrame", "程序 %1 的%2“%3”超出%4-%5，无法发送")
                    .arg(describe(record), columnCaption(QStringLiteral("YinLiang")))
                    .arg(record.YinLiang)
                    .arg(0)
                    .arg(MaxByteValue)};

    RecordFrame frame{};
    frame[0] = frame::Start;
    frame[1] = frame::Record;
    frame[2] = quint8(count);
    frame[3] = quint8(index);
    frame[4] = quint8(set);
    frame[5] = quint8(*orderNumber);
    int at = 6;
    for (const TimeField& time : timeFields(record))
        for (const int part : {time.hours, time.minutes, time.seconds})
            frame[at++] = quint8(part);
    frame[WeekMaskByte] = weekMask(record);
    frame[FlagsByte] = flags(record);
    frame[14] = quint8(record.YinLiang);
    for (int track = 0; track < 6; ++track) {
        const auto bytes = encodeTrack(record.QuMu[track]);
        if (!bytes)
            return {std::nullopt,
                    QCoreApplication::translate("RecordFrame",
                                                "程序 %1 的曲目%2“%3”不是三位以内的数字，无法发送")
                        .arg(describe(record))
                        .arg(track + 1)
                        .arg(record.QuMu[track])};
        frame[FirstTrackByte + 2 * track] = (*bytes)[0];
        frame[FirstTrackByte + 2 * track + 1] = (*bytes)[1];
    }
    encodeZones(record, frame);
    frame[31] = frame::End;
    return {frame, {}};
}

DecodedRecord decodeRecordFrame(std::span<const quint8, frame::RecordLength> bytes) {
    ProgramRecord record;
    if (const auto label = setLabel(bytes[4]); !label.isEmpty()) {
        record.JMTaoNo = label;
        // A normal program carries the empty text, never a null.
        record.YXCX = (bytes[FlagsByte] & PriorityFlag) ? priorityMarker() : QStringLiteral("");
    }
    record.OrderNo = formatOrderNo(bytes[5]);
    record.KS1 = bytes[6];
    record.KS2 = bytes[7];
    record.KS3 = bytes[8];
    record.JS1 = bytes[9];
    record.JS2 = bytes[10];
    record.JS3 = bytes[11];
    record.KSTime = timeOfDay(record.KS1, record.KS2, record.KS3);
    record.JSTime = timeOfDay(record.JS1, record.JS2, record.JS3);
    for (const TimeField& time : timeFields(record))
        if (!QTime::isValid(time.hours, time.minutes, time.seconds))
            return {std::nullopt,
                    QCoreApplication::translate("RecordFrame", "%1序号%2：%3 %4 不是有效的时刻")
                        .arg(setPrefix(bytes[4]), record.OrderNo,
                             columnCaption(QLatin1String(time.column)),
                             clockText(time.hours, time.minutes, time.seconds))};
    for (int day = 0; day < 7; ++day)
        record.Week[day] = bytes[WeekMaskByte] & (1u << day);
    record.MP3 = !(bytes[FlagsByte] & RadioFlag);
    record.ShouYin = !record.MP3;
    record.YinLiang = bytes[14];
    for (int track = 0; track < 6; ++track) {
        const quint8 hundreds = bytes[FirstTrackByte + 2 * track];
        const quint8 rest = bytes[FirstTrackByte + 2 * track + 1];
        if (hundreds > 9 || rest > 99)
            return {std::nullopt,
                    QCoreApplication::translate("RecordFrame", "%1序号%2：%3 (%4, %5) 超出三位数字")
                        .arg(setPrefix(bytes[4]), record.OrderNo,
                             columnCaption(QStringLiteral("QuMu%1").arg(track + 1)))
                        .arg(hundreds)
                        .arg(rest)};
        record.QuMu[track] = decodeTrack(hundreds, rest);
    }
    decodeZones(bytes, record);
    return {record, {}};
}

} // namespace tessaly
