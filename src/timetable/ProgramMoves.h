#pragma once

#include "EntryChecks.h"
#include "ProgramRecord.h"

#include <QList>
#include <QString>

#include <optional>

namespace tessaly {

class ScheduleEditor;

// Programs of MusicTab moved in time on the week: start and end shift by the same amount, the
// move is checked and stored by the editor's own save (so it is numbered, marked and reminded
// of as any save), and the moves can be undone and redone in order.
class ProgramMoves {
public:
    explicit ProgramMoves(ScheduleEditor& editor);

    struct Outcome {
        std::optional<EntryFailure> failure; // the move was refused: nothing was written
        qint64 autoId = 0;
        int seconds = 0; // the shift stored; 0 when there was nothing to do
    };

    // Moves the program by `seconds` (earlier when negative) on every weekday it plays on.
    Outcome move(qint64 autoId, const QString& setLabel, int seconds);
    // Moves the program of the last stored move back, or again. A refused undo or redo stays
    // where it was in the history.
    Outcome undo();
    Outcome redo();
    bool canUndo() const { return !m_done.isEmpty(); }
    bool canRedo() const { return !m_undone.isEmpty(); }

    // The shift nearest to `seconds` that keeps the program within its day.
    static int shiftWithinDay(const ProgramRecord& program, int seconds);

private:
    struct Step {
        qint64 autoId;
        QString setLabel;
        int seconds;
    };
    Outcome store(const Step& step);

    ScheduleEditor& m_editor;
    QList<Step> m_done;
    QList<Step> m_undone;
};

// The refusal of a move that would take a program past the start or the end of its day.
EntryFailure outOfDayFailure();

} // namespace tessaly
