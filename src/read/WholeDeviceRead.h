#pragma once

#include "SetRead.h"

namespace tessaly {

enum class WholeReadEnd {
    Declined,   // the operator did not confirm
    NoLink,     // the player did not answer the probe
    Completed,  // all four sets read; MusicTab holds them
    ReadFailed, // a set was not answered or not completed; MusicTab unchanged
    PostFailed, // a program could not be stored; MusicTab unchanged
    // Another sequence held the channel; nothing was asked or sent.
    ChannelBusy,
    // The backup before the replacement could not be written; MusicTab unchanged.
    BackupFailed,
};

// The pause before each set's request, and after the last set.
constexpr int TimerSendMs = 500;

// Replaces MusicTab with every program the player holds: sets 1 to 4 are read one after
// another into memory, and MusicTab is replaced in one transaction once all four are in. On
// any failure MusicTab stays exactly as it was. The database is backed up (read-all) just
// before MusicTab is replaced.
QCoro::Task<WholeReadEnd> readWholeDevice(ReadContext context, ReadObserver& observer,
                                          CancelToken cancel = {});

} // namespace tessaly
