#pragma once

#include "Clock.h"
#include "DeviceChannel.h"

#include <qcoro/qcorotask.h>

namespace tessaly {

// How a probe changes LinkUp.
enum class LinkUpRule {
    ClearFirstSetOnAccept,     // false before the probe, true when the player answers
    SetOnAccept,               // true when the player answers, untouched otherwise
    ClearAfterOpenSetOnAccept, // false once the port has been reopened, true on an answer
    FollowResult,              // true on an answer, false on any failure
};

// The waits (ms), checks and read sizes of one caller's probe.
struct ProbeVariant {
    int closeToOpenMs;         // after closing the port, before reopening it
    int afterOpenMs;           // after opening
    bool waitsBeforeOpenCheck; // the wait after opening comes before the open result is looked at
    bool lineSettingTested;    // a failed line setting counts as a port that did not open
    int afterLineMs;           // after setting the line
    bool discardsInput;        // one read drops pending input before the probe command
    int replyWaitMs;           // after the probe command, before the one read
    int replyReadSize;         // the most bytes that one read takes
    LinkUpRule linkUp;
};

namespace probe {
inline constexpr ProbeVariant SettingsTest{
    50, 0, false, true, 50, false, 1000, 50, LinkUpRule::ClearFirstSetOnAccept};
inline constexpr ProbeVariant StartupMonitor{
    10, 10, false, true, 20, false, 10, 50, LinkUpRule::SetOnAccept};
inline constexpr ProbeVariant WindowShow{
    30, 10, true, false, 20, true, 500, 255, LinkUpRule::ClearAfterOpenSetOnAccept};
inline constexpr ProbeVariant SetButton{
    30, 10, true, false, 20, true, 500, 255, LinkUpRule::FollowResult};
// A silent player must not pass the whole-device guard on the strength of an earlier answer:
// that guard is all that stands before the editing table is emptied by a whole-device read.
inline constexpr ProbeVariant WholeDevice{
    30, 10, true, false, 20, true, 600, 255, LinkUpRule::FollowResult};
} // namespace probe

enum class ProbeResult {
    Accepted,
    PortNotOpened,
    NoReply,
    ChannelBusy, // another sequence holds the channel; nothing was done
};

// Reopens the port (waiting until it is ready: a network connection made), sends the probe
// command and accepts the player only when one read, after the variant's wait, starts with
// FE 65 01 FF. Over a network, a reply that has not all come by then is awaited a round trip
// longer. Leaves the port open whenever it opened.
// Used inside a sequence that holds the channel.
QCoro::Task<ProbeResult> ProbeDevice(DeviceChannel& channel, Clock& clock, ProbeVariant variant,
                                     CancelToken cancel = {});

// A probe that is a sequence of its own (a window's opening check, the start-up check, the
// command line's probe): claims the channel for its run, and is refused with ChannelBusy,
// LinkUp untouched, while another sequence holds it.
QCoro::Task<ProbeResult> ProbeAlone(DeviceChannel& channel, Clock& clock, ProbeVariant variant,
                                    CancelToken cancel = {});

} // namespace tessaly
