#pragma once

#include "ProgramRecord.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace tessaly {

class Prompter;
struct Session;

enum class ReadBackSaveEnd { NothingToSave, Declined, Saved, Failed };

// What the viewer saves: the listed programs of one set, and whether the list was filtered to
// the set's priority programs. The filter decides what is replaced, so the delete and the
// insert always cover the same programs.
struct ReadBackSelection {
    QString setLabel; // "第一套" .. "第四套"; empty for programs without a set
    bool priorityOnly = false;
    QList<ProgramRecord> listed;
};

// After two confirmations, stores the read pre-heat and delay as the ones to load (session and
// SysTab JM1YR/JM1YS) and replaces the set's programs (or its priority programs) in MusicTab
// by the listed ones of that set, all in one transaction, after a backup of the database
// (save-read). Listed programs of another set or of none are never added; when no listed
// program belongs to the set, there is nothing to save. A failure, the backup's included,
// changes nothing and says so.
ReadBackSaveEnd saveReadBack(const QSqlDatabase& db, Prompter& prompter, Session& session,
                             const ReadBackSelection& selection);

} // namespace tessaly
