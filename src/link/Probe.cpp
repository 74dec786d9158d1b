#include "Probe.h"

#include <algorithm>
#include <array>

namespace tessaly {

namespace {

constexpr int TransitPollMs = 5;

// Fewer bytes than the probe reply, each of them as it begins.
bool couldBecomeProbeReply(const std::vector<quint8>& bytes) {
    static constexpr std::array<quint8, 4> Reply{frame::Start, frame::ProbeAnswer, 0x01,
                                                 frame::End};
    return bytes.size() < Reply.size() && std::equal(bytes.begin(), bytes.end(), Reply.begin());
}

void applyOutcome(LinkState& state, LinkUpRule rule, ProbeResult result) {
    const bool accepted = result == ProbeResult::Accepted;
    if (accepted)
        state.LinkUp = true;
    else if (rule == LinkUpRule::FollowResult || rule == LinkUpRule::ClearAfterOpenSetOnAccept)
        state.LinkUp = false;
}

} // namespace

QCoro::Task<ProbeResult> ProbeDevice(DeviceChannel& channel, Clock& clock, ProbeVariant variant,
                                     CancelToken cancel) {
    LinkState& state = channel.state();
    const auto finish = [&](ProbeResult result) {
        applyOutcome(state, variant.linkUp, result);
        return result;
    };
    if (variant.linkUp == LinkUpRule::ClearFirstSetOnAccept)
        state.LinkUp = false;

    channel.closePort();
    co_await clock.wait(variant.closeToOpenMs, cancel);
    const bool opened = co_await channel.openPort(clock, cancel) == 0;
    if (!opened && !variant.waitsBeforeOpenCheck)
        co_return finish(ProbeResult::PortNotOpened);
    co_await clock.wait(variant.afterOpenMs, cancel);
    if (variant.linkUp == LinkUpRule::ClearAfterOpenSetOnAccept)
        state.LinkUp = false;
    if (!opened)
        co_return finish(ProbeResult::PortNotOpened);

    const bool lineSet = channel.setLine() == 0;
    if (!lineSet && variant.lineSettingTested)
        co_return finish(ProbeResult::PortNotOpened);
    co_await clock.wait(variant.afterLineMs, cancel);

    if (variant.discardsInput)
        channel.discardPendingInput();
    channel.sendProbeCommand();
    co_await clock.wait(variant.replyWaitMs, cancel);

    auto reply = channel.readOnce(variant.replyReadSize);
    // Over a network the answer is a round trip further away: while what came is short of it,
    // the rest is awaited that much longer. A direct line allows nothing more.
    const qint64 until = clock.nowMs() + channel.transitAllowanceMs();
    while (couldBecomeProbeReply(reply) && clock.nowMs() < until && !channel.linkLost()) {
        co_await clock.wait(TransitPollMs, cancel);
        const auto more = channel.readOnce(variant.replyReadSize - int(reply.size()));
        reply.insert(reply.end(), more.begin(), more.end());
    }
    co_return finish(isProbeReply(reply) ? ProbeResult::Accepted : ProbeResult::NoReply);
}

QCoro::Task<ProbeResult> ProbeAlone(DeviceChannel& channel, Clock& clock, ProbeVariant variant,
                                    CancelToken cancel) {
    const auto claim = channel.claim();
    if (!claim)
        co_return ProbeResult::ChannelBusy;
    co_return co_await ProbeDevice(channel, clock, variant, cancel);
}

} // namespace tessaly
