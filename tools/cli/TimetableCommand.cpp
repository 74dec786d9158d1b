// The weekly timetable of one set or all four, as a PDF or a PNG, painted offscreen.

#include "CliCommand.h"
#include "DataModule.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "WeekPicture.h"

#include <QCoreApplication>
#include <QDateTime>

namespace tessaly::cli {

namespace {

bool isPng(const QString& path) {
    return path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
}

bool isPdf(const QString& path) {
    return path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
}

QString checkTimetableOptions(const CliOptions& options) {
    if (options.all || options.priority)
        return QStringLiteral("takes no --all or --priority (all four sets without --set)");
    if (options.output.isEmpty())
        return QStringLiteral("give --output FILE (.pdf or .png)");
    if (!isPdf(options.output) && !isPng(options.output))
        return QStringLiteral("--output names a .pdf or a .png file");
    if (isPng(options.output) && !options.set)
        return QStringLiteral("a PNG holds one set: give --set N");
    return {};
}

QCoro::Task<int> runTimetable(CliContext& context) {
    const CliOptions& options = context.options;
    const ProgramTable table = options.read ? ProgramTable::MusicReadTab : ProgramTable::MusicTab;
    const ProgramStore store(context.data.database());
    QList<WeekSheet> sheets;
    const int first = options.set.value_or(FirstSet);
    const int last = options.set.value_or(LastSet);
    for (int set = first; set <= last; ++set) {
        QString error;
        const auto programs = store.programsOfSet(table, setLabel(set), SetRows::All, &error);
        if (!programs) {
            context.output.message(error);
            co_return ExitFailed;
        }
        sheets.append({setLabel(set), *programs});
    }
    const QDateTime now = QDateTime::currentDateTime();
    QString error;
    const bool written = isPng(options.output)
                             ? writeWeekPng(options.output, sheets.first(), now, &error)
                             : writeWeekPdf(options.output, sheets, now, &error);
    if (!written) {
        context.output.message(
            QCoreApplication::translate("Cli", "周节目表导出失败：%1").arg(error));
        co_return ExitFailed;
    }
    context.output.message(
        QCoreApplication::translate("Cli", "周节目表已导出：%1").arg(options.output));
    co_return ExitSuccess;
}

} // namespace

CliCommand timetableCommand() {
    CliCommand command{
        QStringLiteral("timetable"), QStringLiteral("timetable [--set N] [--read] --output FILE"),
        QStringLiteral("Writes the weekly timetable of set N (all four without --set; the "
                       "read-back programs with --read) as a PDF, one page a set, or as a PNG "
                       "of one set, by the file's extension."),
        checkTimetableOptions, runTimetable};
    command.usesPort = false;
    command.writesFile = true;
    return command;
}

} // namespace tessaly::cli
