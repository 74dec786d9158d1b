#pragma once

#include "ProgramRecord.h"

#include <QMultiHash>
#include <QString>

#include <array>
#include <optional>

namespace tessaly {

// What the operator has typed into the editor when "保存程序" is clicked: the texts of the
// unbound boxes and the state of the controls the checks look at.
struct EntryForm {
    std::array<QString, 6> times; // edtKS1, edtKS2, edtKS3, edtJS1, edtJS2, edtJS3
    bool volumeChosen = true;     // cmbYL shows an item
    QString preheat;              // cmbYR
    QString delay;                // cmbYS
    std::array<bool, 7> weekdays{};
};

// A refused entry: the message to show and the objectName of the control that takes the
// focus (empty: the focus stays where it is).
struct EntryFailure {
    QString message;
    QString focus;

    bool operator==(const EntryFailure&) const = default;
};

// The outcome of the checks. The pre-heat and delay values are handed over as soon as their
// own checks pass, even when a later check refuses the entry.
struct EntryCheck {
    std::optional<EntryFailure> failure;
    std::optional<int> preheat;
    std::optional<int> delay;
};

// A program just added: MP3, volume 22, no tracks, Monday to Friday, no zones. Set, marker,
// order number and times are written at the save.
ProgramRecord newProgramDefaults();

// The checks of a save, in their fixed order, up to the weekday rule. The duplicate rule needs
// the database and comes after these (ScheduleEditor).
EntryCheck checkEntry(const EntryForm& form);

// The refusal of a start time that a program of the same set and class already has.
EntryFailure duplicateFailure();

// The duplicate rule: within one set, two programs of one class (both priority, or both not)
// may not start at the same hour, minute and second on a common weekday. A program whose
// marker is NULL belongs to neither class. End times, tracks, volume and zones do not count.
bool startsClash(const ProgramRecord& candidate, const ProgramRecord& other);

// The programs a new one is checked against by the duplicate rule (those of its set that are
// stored, and those accepted before it), with their number, looked up by start.
class StartTally {
public:
    bool clashes(const ProgramRecord& candidate) const;
    void add(const ProgramRecord& program);
    int count() const { return m_count; }

private:
    QMultiHash<int, ProgramRecord> m_byStart;
    int m_count = 0;
};

// A box's digits as a number; a value too large for an int reads as the largest int, so that
// it fails every range check instead of wrapping.
int boxValue(const QString& digits);

// The start and end of the entry, as typed, in the six time fields and the two times of day.
void applyTimes(ProgramRecord& record, const std::array<QString, 6>& times);

// The pre-heat and delay pair the close stores: nothing when a box is empty or holds a number
// that does not fit an int (the stored pair is then kept).
std::optional<std::pair<int, int>> closingPair(const QString& preheat, const QString& delay);

} // namespace tessaly
