#include "DifferenceMend.h"

namespace tessaly {

QCoro::Task<MendResult> loadDifferences(LoadContext context, VerifyResult compared,
                                        LoadObserver& observer, CancelToken cancel) {
    const QList<int> sets = compared.differingSets();
    MendResult result;
    if (sets.isEmpty()) {
        if (compared.preheatDelayDiffers()) {
            ProgramLoad load(context, observer);
            result.load = co_await load.sendPreheatDelay(cancel);
        }
        co_return result;
    }
    for (const int set : sets) {
        result.set = set;
        ProgramLoad load(context, observer);
        result.load = co_await load.loadSet(set, cancel);
        if (!result.succeeded())
            break;
    }
    co_return result;
}

QString mendMessage(const MendResult& result) {
    return setLoadMessage(result.load, result.set);
}

} // namespace tessaly
