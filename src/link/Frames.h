#pragma once

#include <QtGlobal>

#include <array>
#include <optional>
#include <span>

namespace tessaly {

// Every frame starts with 0xFE and ends with 0xFF; its length follows from the command.
// The player answers a request with the request's command plus 0x64.
namespace frame {
constexpr quint8 Start = 0xFE;
constexpr quint8 End = 0xFF;
constexpr quint8 AnswerOffset = 0x64;

constexpr quint8 Probe = 0x01;
constexpr quint8 CloseNotice = 0x02;
constexpr quint8 Record = 0x03;
constexpr quint8 ReadRequest = 0x04;
constexpr quint8 PreheatDelay = 0x05;
constexpr quint8 PreheatDelayQuery = 0x06;
constexpr quint8 Clear = 0x07;

constexpr quint8 ProbeAnswer = Probe + AnswerOffset;                    // 0x65
constexpr quint8 RecordAnswer = ReadRequest + AnswerOffset;             // 0x68
constexpr quint8 PreheatDelayAnswer = PreheatDelayQuery + AnswerOffset; // 0x6A
constexpr quint8 ClearAnswer = Clear + AnswerOffset;                    // 0x6B

constexpr int RecordLength = 32;
constexpr quint8 ClearAllSets = 0;   // argument of the whole-device clear
constexpr quint8 ClearAllDone = 0;   // whole-device clear answered: done
constexpr quint8 ClearAllFailed = 5; // whole-device clear answered: failed
} // namespace frame

// The one buffer in which every outgoing frame is built and from which it is written.
struct TransmitBuffer {
    std::array<quint8, frame::RecordLength> bytes{};
    int length = 0;

    std::span<const quint8> frame() const { return {bytes.data(), std::size_t(length)}; }
};

void buildProbeCommand(TransmitBuffer& buffer);         // FE 01 00 FF
void buildCloseNotice(TransmitBuffer& buffer);          // FE 02 00 FF
void buildReadRequest(TransmitBuffer& buffer, int set); // FE 04 s FF
void buildPreheatDelayFrame(TransmitBuffer& buffer, int preheatMinutes,
                            int delayMinutes);                // FE 05 p d FF
void buildPreheatDelayQuery(TransmitBuffer& buffer, int set); // FE 06 s FF
void buildClearCommand(TransmitBuffer& buffer, int set);      // FE 07 s FF, 0 = all

// Answer tests. Each looks only at the start of what one read returned.
struct PreheatDelay {
    int preheatMinutes = 0;
    int delayMinutes = 0;
    bool operator==(const PreheatDelay&) const = default;
};

bool isProbeReply(std::span<const quint8> read);                                  // FE 65 01 FF
std::optional<PreheatDelay> parsePreheatDelayReply(std::span<const quint8> read); // FE 6A p d FF
bool isSetClearedReply(std::span<const quint8> read);                             // FE 6B 1..4 FF

enum class AllClearReply { NotRecognised, Done, Failed };
AllClearReply classifyAllClearReply(std::span<const quint8> read); // FE 6B 00/05 FF

} // namespace tessaly
