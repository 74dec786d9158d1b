// The backups taken before every change that replaces or deletes programs, and the restore.

#include "Backups.h"
#include "CliCommand.h"
#include "DataModule.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace tessaly::cli {

namespace {

QCoro::Task<int> runBackups(CliContext& context) {
    if (const QString problem = unlistableBackupsText(context.data.database());
        !problem.isEmpty()) {
        context.output.message(problem);
        co_return ExitFailed;
    }
    const auto entries = listBackups(context.data.database());
    if (entries.isEmpty()) {
        context.output.message(QCoreApplication::translate("Cli", "没有备份。"));
        co_return ExitSuccess;
    }
    context.output.message(backupColumnTitles().join(QStringLiteral("  ")));
    for (const auto& entry : entries)
        context.output.message(backupRow(entry).join(QStringLiteral("  ")));
    co_return ExitSuccess;
}

// A bare file name that is not in the working folder is looked for among the database's own
// backups, so that a name from the list can be restored as it is; any other file is named by
// its path.
QString restoreSource(const QSqlDatabase& db, const QString& file) {
    if (QFileInfo::exists(file) || file.contains(QLatin1Char('/')))
        return file;
    for (const auto& entry : listBackups(db))
        if (entry.fileName == file)
            return entry.path;
    return file;
}

QCoro::Task<int> runRestore(CliContext& context) {
    const QSqlDatabase db = context.data.database();
    const auto result = restoreBackup(db, restoreSource(db, context.options.file));
    context.output.message(result.message);
    if (!result.detail.isEmpty())
        context.output.info(result.detail);
    co_return result.end == RestoreEnd::Restored ? ExitSuccess : ExitFailed;
}

} // namespace

CliCommand backupsCommand() {
    return {QStringLiteral("backups"),
            QStringLiteral("backups"),
            QCoreApplication::translate(
                "Cli", "列出备份，最新的在前：文件、时间、操作，以及各套与读取表中的程序数。"),
            takesNoOptions,
            runBackups,
            false};
}

CliCommand restoreCommand() {
    CliCommand command{
        QStringLiteral("restore"), QStringLiteral("restore FILE"),
        QCoreApplication::translate(
            "Cli", "先备份当前的程序，再用备份 FILE 中的内容替换它们（全部四套、读取表与设置）。"),
        takesNoOptions, runRestore};
    command.usesPort = false;
    command.argument = QStringLiteral("FILE");
    return command;
}

} // namespace tessaly::cli
