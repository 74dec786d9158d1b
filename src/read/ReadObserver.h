#pragma once

namespace tessaly {

// How a read of one set ends, as the operator sees it.
enum class SetReadEnd {
    Completed,          // the reply was decoded and stored
    NotAReply,          // the reply did not begin with a record frame
    PostFailed,         // a program could not be stored; none was
    ReadFailed,         // no answer, a reply that stopped or overflowed, or the overall limit
    PreheatQueryFailed, // the pre-heat and delay query went unanswered
    NoLink,             // the player did not answer the probe
    ChannelBusy,        // another sequence held the channel; nothing was sent
};

// What a read reports while it runs, so that the read dialog, the main window and the command
// line show the same events their own way. Every method does nothing unless overridden.
class ReadObserver {
public:
    virtual ~ReadObserver() = default;

    // The link was probed before the read: the indicator goes green or red.
    virtual void linkChecked(bool /*up*/) {}
    // The read buttons are disabled (true) or enabled again (false).
    virtual void busy(bool /*busy*/) {}
    // The request for `set` goes out; for the whole-device read, the set being read.
    virtual void readStarted(int /*set*/) {}
    // The reply's head announced this many records.
    virtual void headSeen(int /*announced*/) {}
    // `count` more bytes arrived; `recordsLeft` announced records are not complete yet.
    virtual void bytesStored(int /*count*/, int /*recordsLeft*/) {}
    // One decoded program was stored (or kept, when the read goes to memory first).
    virtual void recordStored() {}
    // A read of one set has ended; called before its message is shown.
    virtual void setReadEnded(SetReadEnd /*end*/) {}
    // The whole-device read found no programs in `set` and goes on with the next one.
    virtual void setEmpty(int /*set*/) {}
    // The whole-device read has stored all four sets: its progress goes before the message.
    virtual void progressDone() {}
};

} // namespace tessaly
