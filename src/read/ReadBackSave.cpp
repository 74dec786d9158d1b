#include "ReadBackSave.h"

#include "Backups.h"
#include "ProgramStore.h"
#include "Prompter.h"
#include "Session.h"
#include "SettingsStore.h"

namespace tessaly {

namespace {

// False, with why in `error`, when anything could not be written.
bool writeAll(const QSqlDatabase& db, const Session& session, const ReadBackSelection& selection,
              QString* error) {
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
    // Without a set label nothing of the PC's is selected for replacing.
    if (!selection.setLabel.isEmpty() &&
        !programs.deleteSet(ProgramTable::MusicTab, selection.setLabel, rows, error))
        return false;
    for (const auto& record : selection.listed)
        if (!programs.insert(ProgramTable::MusicTab, record, error))
            return false;
    return transaction.commit(error);
}

} // namespace

ReadBackSaveEnd saveReadBack(const QSqlDatabase& db, Prompter& prompter, Session& session,
                             const ReadBackSelection& selection) {
    const QString named = QStringLiteral("[%1%2]").arg(
        selection.setLabel, selection.priorityOnly ? priorityMarker() : QString());
    if (selection.listed.isEmpty()) {
        prompter.notice(named + QStringLiteral("没有记录，无需保存！"));
        return ReadBackSaveEnd::NothingToSave;
    }
    if (!prompter.question(QStringLiteral("确实需要保存%1数据到软件中吗？").arg(named)) ||
        !prompter.question(
            QStringLiteral("该操作将覆盖软件中%1原有的数据，确实需要保存该数据吗？").arg(named)))
        return ReadBackSaveEnd::Declined;
    if (QString error; !takeBackup(db, QStringLiteral("save-read"), &error)) {
        prompter.notice(error);
        return ReadBackSaveEnd::Failed;
    }
    if (QString error; !writeAll(db, session, selection, &error)) {
        prompter.failure(named + QStringLiteral("数据保存失败！"), error);
        return ReadBackSaveEnd::Failed;
    }
    session.PreheatMinutes = session.ReadPreheatMinutes;
    session.DelayMinutes = session.ReadDelayMinutes;
    prompter.notice(named + QStringLiteral("数据保存成功！"));
    return ReadBackSaveEnd::Saved;
}

} // namespace tessaly
