#include "Probe.h"

namespace tessaly {

namespace {

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
    const bool opened = channel.openPort() == 0;
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

    const auto reply = channel.readOnce(variant.replyReadSize);
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
