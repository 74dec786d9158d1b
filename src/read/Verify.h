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

// The fields a comparison looks at, by the column they come from. A program present on one
// side only is one difference of the field ProgramField; the player's pre-heat and delay are
// differences of the whole player (set 0, no order number).
inline constexpr const char* ProgramField = "Program";
inline constexpr const char* PreheatField = "YuRe";
inline constexpr const char* DelayField = "YuanShi";

struct ProgramDifference {
    int set = 0; // 1..4; 0 for the player as a whole
    QString orderNo;
    QString field; // the column ("YinLiang", "KSTime", "Week3", "FQ12", "MP3", ...)
    QString pcValue;
    QString playerValue;
    bool operator==(const ProgramDifference&) const = default;
};

// Why a comparison cannot begin: the player did not answer the probe.
QString noLinkToCompareText();

// The value of a program that is not there.
QString missingValue();

// The differences between the PC's programs of a set (in OrderNo order) and the player's (in
// frame order). Programs are paired by their order number; one that an older load sent cut to
// a byte is paired with what the player made of it. Each field that differs is one
// difference: the start and end as the frame carries them (hours, minutes, seconds), set,
// priority mark, MP3 or radio, tracks, volume, weekdays, zones. A program on one side only is
// one difference.
QList<ProgramDifference> compareSet(int set, const QList<ProgramRecord>& pc,
                                    const QList<ProgramRecord>& player);

// The player's pre-heat and delay against the PC's: one difference for each that differs.
QList<ProgramDifference> comparePreheatDelay(int pcPreheat, int pcDelay, int playerPreheat,
                                             int playerDelay);

struct VerifyResult {
    QString failure; // why the player could not be read; empty when it was
    QList<ProgramDifference> differences;
    QString cause; // what was wrong with the player's answer, beneath the failure
    bool agrees() const { return failure.isEmpty() && differences.isEmpty(); }
    // The sets with at least one difference of their programs, in order.
    QList<int> differingSets() const;
    // The pre-heat or the delay differs.
    bool preheatDelayDiffers() const;
};

// Reads the player's pre-heat and delay and the sets into memory only and compares them with
// the session's pre-heat and delay and MusicTab. Neither program table nor the session is
// touched.
QCoro::Task<VerifyResult> verifySets(ReadContext context, QList<int> sets, ReadObserver& observer,
                                     CancelToken cancel = {});

} // namespace tessaly
