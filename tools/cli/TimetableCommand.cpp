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
        return QCoreApplication::translate("Cli",
                                           "不接受 --all 或 --priority（不给 --set 即为全部四套）");
    if (options.output.isEmpty())
        return QCoreApplication::translate("Cli", "请给出 --output FILE（.pdf 或 .png）");
    if (!isPdf(options.output) && !isPng(options.output))
        return QCoreApplication::translate("Cli", "--output 须是 .pdf 或 .png 文件");
    if (isPng(options.output) && !options.set)
        return QCoreApplication::translate("Cli", "一个 PNG 只容纳一套：请给出 --set N");
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
        sheets.append({setLabel(set), *programs, table == ProgramTable::MusicReadTab});
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
        QCoreApplication::translate(
            "Cli", "把第 N 套（不给 --set 即为全部四套；给 --read 则为读取的程序）的周节目表写成 "
                   "PDF（每套从新的一页开始）或一套的 PNG，按文件扩展名决定。"),
        checkTimetableOptions, runTimetable};
    command.usesPort = false;
    command.writesFile = true;
    return command;
}

} // namespace tessaly::cli
