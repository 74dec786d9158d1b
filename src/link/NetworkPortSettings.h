#pragma once

#include <QString>

namespace tessaly {

struct NetworkTarget;

// Which network target ("socket://HOST:PORT", "rfc2217://HOST:PORT") stands behind a COM number
// on this machine. It belongs to the machine, not to the programs, so it lives in the user's
// configuration (QSettings, organisation and application "Tessaly"), never in PlayerDB.mdb,
// which moves between PCs. Each call reads or writes the configuration as it is then: a target
// set from the window or from tessaly-cli is used by the next opening of its port.

// The target stored for `com` as written (a URL); empty when there is none.
QString storedNetworkTarget(int com);

// Both false, with the reason in `error`, when the configuration cannot be written; the stored
// targets are then as they were.
bool storeNetworkTarget(int com, const NetworkTarget& target, QString* error);
bool clearNetworkTarget(int com, QString* error);

} // namespace tessaly
