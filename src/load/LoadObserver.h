#pragma once

namespace tessaly {

// What a load reports while it runs, so that the load dialog, the main window and the command
// line show the same events their own way. Every method does nothing unless overridden.
class LoadObserver {
public:
    virtual ~LoadObserver() = default;

    // The probe before the load has ended: the indicator goes green or red.
    virtual void linkChecked(bool /*up*/) {}
    // Every frame is built; the player is about to be cleared.
    virtual void clearStarted() {}
    // The player has answered the clear; the programs follow.
    virtual void cleared() {}
    // The `total` programs of `set` are about to go out.
    virtual void setStarted(int /*set*/, int /*total*/) {}
    // One more program of `set` has gone out; `left` are still to go.
    virtual void recordSent(int /*set*/, int /*left*/) {}
};

} // namespace tessaly
