#include "ReadBackSave.h"

#include "Backups.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "Prompter.h"
#include "Session.h"
#include "SettingsStore.h"

#include <QCoreApplication>

namespace tessaly {

namespace {

// The listed programs that belong where the save writes: the chosen set, and its priority
// programs only when those alone are replaced. A program of another set, or of none, would be
// added to the PC's programs without replacing anything.
QList<ProgramRecord> programsToWrite(const ReadBackSelection& selection) {
    QList<ProgramRecord> programs;
    if (selection.setLabel.isEmpty())
        return programs;
    for (const auto& record : selection.listed)
        if (record.JMTaoNo == selection.setLabel && (!selection.priorityOnly || isPriority(record)))
            programs.append(record);
    return programs;
}

// False, with why in `error`, when anything could not be written.
bool writeAll(const QSqlDatabase& db, const Session& session, const ReadBackSelection& selection,
              const QList<ProgramRecord>& programsOfSet, QString* error) {
    ProgramStore programs(db);
    SettingsStore settings(db);
    Transaction transaction = programs.beginTransaction();
    if (!transaction.isActive()) {
        *error = transaction.errorText();
        return false;
    }
    if (!settings.writeJM1(session.ReadPreheatMinutes, session.ReadDelayMinutes, error))
        return false;
    const SetRows rows = selection.priorityOnly ? SetRows::PriorityOnly : SetRows::All;
    if (!programs.deleteSet(ProgramTable::MusicTab, selection.setLabel, rows, error))
        return false;
    for (const auto& record : programsOfSet)
        if (!programs.insert(ProgramTable::MusicTab, record, error))
            return false;
    return transaction.commit(error);
}

} // namespace

ReadBackSaveEnd saveReadBack(const QSqlDatabase& db, Prompter& prompter, Session& session,
                             const ReadBackSelection& selection) {
    // The set and the priority mark as the operator reads them: "[第一套优先]"; English running
    // text names them without brackets, "Set 1 Priority".
    const QString set = displayedSetLabel(selection.setLabel);
    const QString named =
        QCoreApplication::translate("ReadBackSave", "[%1]")
            .arg(selection.priorityOnly
                     ? QCoreApplication::translate("ReadBackSave", "%1优先").arg(set).trimmed()
                     : set);
    const QList<ProgramRecord> programsOfSet = programsToWrite(selection);
    if (programsOfSet.isEmpty()) {
        prompter.notice(
            QCoreApplication::translate("ReadBackSave", "%1没有记录，无需保存！").arg(named));
        return ReadBackSaveEnd::NothingToSave;
    }
    if (!prompter.question(
            QCoreApplication::translate("ReadBackSave", "确实需要保存%1数据到软件中吗？")
                .arg(named)) ||
        !prompter.question(
            QCoreApplication::translate("ReadBackSave",
                                        "该操作将覆盖软件中%1原有的数据，确实需要保存该数据吗？")
                .arg(named)))
        return ReadBackSaveEnd::Declined;
    QString error;
    auto backup = ChangeBackup::take(db, QStringLiteral("save-read"), &error);
    if (!backup) {
        prompter.notice(error);
        return ReadBackSaveEnd::Failed;
    }
    if (!writeAll(db, session, selection, programsOfSet, &error)) {
        prompter.failure(QCoreApplication::translate("ReadBackSave", "%1数据保存失败！").arg(named),
                         error);
        return ReadBackSaveEnd::Failed;
    }
    backup->keep();
    session.PreheatMinutes = session.ReadPreheatMinutes;
    session.DelayMinutes = session.ReadDelayMinutes;
    prompter.notice(QCoreApplication::translate("ReadBackSave", "%1数据保存成功！").arg(named));
    return ReadBackSaveEnd::Saved;
}

} // namespace tessaly
