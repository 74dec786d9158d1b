#pragma once

#include "ProgramRecord.h"
#include "ProgramSet.h"

namespace tessaly::testing {

// A weekday program of `set` from `hour`:00:00 to `hour`:30:00 in zone 1; `track` goes into
// QuMu1.
inline ProgramRecord sampleProgram(int set, const QString& orderNo, int hour,
                                   const QString& track = QStringLiteral("001")) {
    ProgramRecord record;
    record.OrderNo = orderNo;
    record.JMTaoNo = setLabel(set);
    record.YXCX = QStringLiteral("");
    record.KS1 = hour;
    record.JS1 = hour;
    record.JS2 = 30;
    record.KSTime = timeOfDay(hour, 0, 0);
    record.JSTime = timeOfDay(hour, 30, 0);
    record.Week = {true, true, true, true, true, false, false};
    record.QuMu = {track, "000", "000", "000", "000", "000"};
    record.YinLiang = 20;
    record.FQ[0] = true;
    return record;
}

} // namespace tessaly::testing
