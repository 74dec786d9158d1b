#pragma once

#include "SetRead.h"

#include <QList>
#include <QPair>

namespace tessaly {

// Every stored field of a program by its column name, as text, in table order (AutoID left out).
QList<QPair<QString, QString>> programFields(const ProgramRecord& record);

// The program as the player gives it back after it was loaded into set: the stored values
// with the record frame's normalisations (three-digit order number and tracks, the set's
// label, ShouYin the opposite of MP3, no pre-heat or delay). Values are never cut to a byte,
// so one the frame cannot carry shows up as a difference.
ProgramRecord asReadBack(const ProgramRecord& record, int set);

struct ProgramDifference {
    int set = 0;
    QString orderNo;
    QString field;
    QString pcValue;
    QString playerValue;
    bool operator==(const ProgramDifference&) const = default;
};

// The differences between the PC's programs of a set (in OrderNo order) and the player's (in
// frame order), program by program.
QList<ProgramDifference> compareSet(int set, const QList<ProgramRecord>& pc,
                                    const QList<ProgramRecord>& player);

struct VerifyResult {
    QString failure; // why the player could not be read; empty when it was
    QList<ProgramDifference> differences;
    bool agrees() const { return failure.isEmpty() && differences.isEmpty(); }
};

// Reads the sets from the player into memory only and compares them with MusicTab. Neither
// program table is touched.
QCoro::Task<VerifyResult> verifySets(ReadContext context, QList<int> sets, ReadObserver& observer,
                                     CancelToken cancel = {});

} // namespace tessaly
