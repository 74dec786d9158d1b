#pragma once

#include "ProgramLoad.h"
#include "Verify.h"

namespace tessaly {

struct MendResult {
    LoadResult load;
    int set = 0; // the set the last load was for; 0 when the pre-heat and delay went alone
    bool succeeded() const { return load.succeeded(); }
};

// Makes the player hold what the PC holds where a comparison found it did not: each set that
// differs is loaded again as the load window's button for it does (probe, pre-heat and delay,
// clear, then the programs 500 ms apart), in order, stopping at the first that fails. When
// only the pre-heat or delay differs, that pair is sent alone.
QCoro::Task<MendResult> loadDifferences(LoadContext context, VerifyResult compared,
                                        LoadObserver& observer, CancelToken cancel = {});

// The load window's message for how it ended.
QString mendMessage(const MendResult& result);

} // namespace tessaly
