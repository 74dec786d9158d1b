// Programs out of the database and into it as CSV or JSON.

#include "CliCommand.h"
#include "DataModule.h"
#include "InterchangeExport.h"
#include "InterchangeImport.h"
#include "WholeFile.h"

#include <QCoreApplication>

namespace tessaly::cli {

namespace {

InterchangeFormat chosenFormat(const CliOptions& options, const QString& path,
                               const QByteArray& content = {}) {
    if (options.format == QLatin1String("json"))
        return InterchangeFormat::Json;
    if (options.format == QLatin1String("csv"))
        return InterchangeFormat::Csv;
    return content.isEmpty() ? formatOfPath(path).value_or(InterchangeFormat::Csv)
                             : formatOf(path, content);
}

bool writeOut(const QString& path, const QByteArray& bytes, QString* error) {
    return path.isEmpty() ? writeStandardOutput(bytes, error) : writeWholeFile(path, bytes, error);
}

QCoro::Task<int> runExport(CliContext& context) {
    const CliOptions& options = context.options;
    const auto table = options.read ? ProgramTable::MusicReadTab : ProgramTable::MusicTab;
    QString error;
    const auto programs = programsForExport(context.data.database(), table, options.set, &error);
    if (!programs) {
        context.output.info(error);
        co_return ExitFailed;
    }
    const QByteArray bytes = writePrograms(*programs, chosenFormat(options, options.output));
    if (!writeOut(options.output, bytes, &error)) {
        const QString target = options.output.isEmpty()
                                   ? QCoreApplication::translate("Cli", "标准输出")
                                   : options.output;
        context.output.info(
            QCoreApplication::translate("Cli", "tessaly-cli：%1：%2").arg(target, error));
        co_return ExitFailed;
    }
    context.output.info(
        QCoreApplication::translate("Cli", "已导出%n个程序", nullptr, int(programs->size())));
    co_return ExitSuccess;
}

QCoro::Task<int> runImport(CliContext& context) {
    const CliOptions& options = context.options;
    const ImportFile file = readImportFile(options.file);
    if (!file.bytes) {
        context.output.message(file.error);
        co_return ExitFailed;
    }
    const QByteArray& bytes = *file.bytes;
    const auto result =
        importPrograms(context.data.database(), bytes, chosenFormat(options, options.file, bytes),
                       ImportOptions{options.set, options.replace}, context.beforeImportWrite);
    if (result.readAsGb18030)
        context.output.info(gb18030Notice());
    if (!result.refusal.isEmpty()) {
        context.output.message(result.refusal);
        co_return ExitFailed;
    }
    for (const ImportProblem& problem : result.problems)
        context.output.message(problem.text());
    if (!result.problems.isEmpty()) {
        const int count = int(result.problems.size());
        context.output.message(inProgramsOnly(result.problems)
                                   ? QCoreApplication::translate(
                                         "Cli", "%n个程序有错误，未导入任何程序。", nullptr, count)
                                   : QCoreApplication::translate(
                                         "Cli", "%n行有错误，未导入任何程序。", nullptr, count));
        co_return ExitFailed;
    }
    if (!result.error.isEmpty()) {
        context.output.message(
            QCoreApplication::translate("Cli", "导入失败，未导入任何程序：%1").arg(result.error));
        co_return ExitFailed;
    }
    context.output.message(importDoneMessage(result.imported));
    co_return ExitSuccess;
}

QString takesExportOptions(const CliOptions& options) {
    if (options.all || options.priority || options.replace)
        return QCoreApplication::translate("Cli", "不接受 --all、--priority 或 --replace");
    return {};
}

QString takesImportOptions(const CliOptions& options) {
    if (options.all || options.priority || options.read || !options.output.isEmpty())
        return QCoreApplication::translate("Cli", "不接受 --all、--priority、--read 或 --output");
    return {};
}

} // namespace

CliCommand exportCommand() {
    return {QStringLiteral("export"),
            QStringLiteral("export [--set N] [--read] [--format csv|json] [--output FILE]"),
            QCoreApplication::translate(
                "Cli", "把电脑中的程序（或读取的程序）写成 CSV 或 JSON，写到 FILE 或标准输出。"),
            takesExportOptions,
            runExport,
            false,
            true};
}

CliCommand importCommand() {
    CliCommand command{
        QStringLiteral("import"),
        QStringLiteral("import [--set N] [--replace] [--format csv|json] FILE"),
        QCoreApplication::translate(
            "Cli", "把 CSV 或 JSON "
                   "文件中的程序加入电脑（--"
                   "replace：替换相应各套），按编辑器的规则检查，要么全部导入，要么一个也不导入。"),
        takesImportOptions,
        runImport,
        false};
    command.argument = QStringLiteral("FILE");
    return command;
}

} // namespace tessaly::cli
