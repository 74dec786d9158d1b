#pragma once

#include "BatchAdd.h"
#include "EntryChecks.h"
#include "ProgramRecord.h"
#include "ProgramStore.h"
#include "SettingsStore.h"

#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>

namespace tessaly {

struct Session;

// The editing rules of MusicTab, free of widgets: the save with its checks and duplicate rule,
// numbering, deletes, the set copy, and what the editor stores when it closes. The editor
// window asks the questions and shows the answers; every change of several rows happens here,
// in one transaction.
class ScheduleEditor {
public:
    // OrderNo has three digits.
    static constexpr int MaxProgramsPerSet = 999;
    // EditStartTime of a program being added: it matches no typed start.
    static constexpr std::array<int, 3> NoStartTime{-1, -1, -1};

    ScheduleEditor(const QSqlDatabase& db, Session& session);

    const QSqlDatabase& database() const { return m_db; }
    const Session& session() const { return m_session; }

    // The set the editor opens on: the first of sets 1 to 3 holding programs, else set 4.
    int openingSet() const;
    std::optional<int> programCount(const QString& setLabel) const;

    struct SaveRequest {
        ProgramRecord pending; // the program being added or edited, with its bound fields
        bool isNew = true;
        EntryForm form;
        bool priority = false; // chJM0
        QString setLabel;
        std::array<int, 3> editStartTime = NoStartTime;
    };
    struct SaveOutcome {
        std::optional<EntryFailure> failure;
        ProgramRecord stored; // as written, before renumbering
    };
    // Checks the entry, completes the record, stores it and renumbers its set, all or nothing.
    // Hands the pre-heat and delay over to the session as soon as their checks pass.
    SaveOutcome save(const SaveRequest& request);

    // Whether another program of the candidate's set and class starts at its start on one of
    // its weekdays.
    bool hasDuplicate(const ProgramRecord& candidate) const;

    // Numbers the set 001.. in order of start time, in one transaction.
    bool renumberSet(const QString& setLabel, QString* error = nullptr);
    // Deletes one program; renumbers its set in the same transaction when asked to.
    bool deleteProgram(qint64 autoId, const QString& setLabel, bool renumber,
                       QString* error = nullptr);
    // Adds a program at each time of the list, all or none (addBatch); counts as a save.
    BatchOutcome addBatch(const BatchTemplate& shared, const QString& times);
    // The stored programs of the set, which a batch is checked against.
    std::optional<QList<ProgramRecord>> programsOfSet(const QString& setLabel) const;

    // Deletes every program of the set, priority or not.
    bool deleteSet(const QString& setLabel, QString* error = nullptr);
    // Replaces the programs of set dst by copies of those of set src, keeping their order
    // numbers and markers. Whole or not at all.
    bool copySet(const QString& src, const QString& dst, QString* error = nullptr);
    // The copy would leave set dst as it is: it holds the programs of src already (or both are
    // empty). False when the sets cannot be read.
    bool copyChangesNothing(const QString& src, const QString& dst) const;

    // The close: stores the pre-heat and delay boxes when both hold a number, and says whether
    // the operator must be reminded to load the programs again.
    bool FormClose(const QString& preheat, const QString& delay);

    // A save or a single delete happened since the editor opened.
    bool ProgramsChanged = false;

private:
    std::optional<QString> nextOrderNo(const QString& setLabel, QString* error) const;
    bool post(ProgramRecord& record, bool isNew, QString* error);

    QSqlDatabase m_db;
    Session& m_session;
    ProgramStore m_programs;
    SettingsStore m_settings;
};

// Numbers the set's programs in MusicTab 001.. in order of start time, in one transaction (or
// as part of the caller's): the editor's numbering after every save and single delete.
bool renumberProgramSet(const QSqlDatabase& db, const QString& setLabel, QString* error = nullptr);

// Refused at a save, and at "增加程序", when the set is full.
QString setFullMessage(const QString& setLabel);

} // namespace tessaly
