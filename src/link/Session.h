#pragma once

#include "DeviceChannel.h"

namespace tessaly {

// The values that the windows and the command line share for the life of the process, one
// instance, touched only from the user-interface thread. Every face passes it to the engine
// sequences; none keeps its own copy.
struct Session {
    LinkState link;             // PortNumber, LinkUp
    int PreheatMinutes = 0;     // sent by every load; kept in SysTab JM1YR
    int DelayMinutes = 0;       // kept in SysTab JM1YS
    int ReadPreheatMinutes = 0; // last read from the player
    int ReadDelayMinutes = 0;
    int SyncReadSet = 1; // next set of the whole-device read
};

} // namespace tessaly
