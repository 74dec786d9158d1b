// Reading programs back from the player, saving what was read, listing and verifying.

#include "CliCommand.h"
#include "DataModule.h"
#include "DeviceChannel.h"
#include "DifferenceText.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "ReadBackSave.h"
#include "SetRead.h"
#include "Verify.h"
#include "WholeDeviceRead.h"

#include <QCoreApplication>

namespace tessaly::cli {

namespace {

// Progress on standard error: one step per program received.
class CliReadObserver final : public ReadObserver {
public:
    explicit CliReadObserver(CliOutput& output) : m_output(output) {}

    void readStarted(int set) override {
        m_label = setDisplayName(set);
        m_total = 0;
    }
    void headSeen(int announced) override {
        m_total = announced;
        m_left = announced;
        m_output.progress(m_label, 0, m_total);
    }
    void bytesStored(int /*count*/, int recordsLeft) override {
        if (recordsLeft == m_left)
            return;
        m_left = recordsLeft;
        m_output.progress(m_label, m_total - m_left, m_total);
    }

private:
    CliOutput& m_output;
    QString m_label;
    int m_total = 0;
    int m_left = 0;
};

// Kept in a named variable by the callers: GCC 12 ends temporaries inside a co_await
// expression too early.
ReadContext readContext(CliContext& context) {
    return ReadContext{context.channel, context.clock, context.prompter, context.session,
                       context.data.database()};
}

QString programLine(const ProgramRecord& record) {
    QStringList fields;
    for (const auto& [name, value] : programFields(record))
        fields.append(name + QLatin1Char('=') + value);
    return fields.join(QLatin1Char(' '));
}

QString preheatDelayLine(const Session& session) {
    return QStringLiteral("JM1YR=%1 JM1YS=%2")
        .arg(session.ReadPreheatMinutes)
        .arg(session.ReadDelayMinutes);
}

QCoro::Task<int> runRead(CliContext& context) {
    CliReadObserver observer(context.output);
    const ReadContext read = readContext(context); // named: see readContext()
    if (context.options.all) {
        const auto end = co_await readWholeDevice(read, observer, context.cancel);
        co_return end == WholeReadEnd::Completed ? ExitSuccess : ExitFailed;
    }
    // The command line keeps no earlier read to show: a read that fails at any step, the probe
    // and the pre-heat and delay query included, leaves nothing that save-read could take.
    if (QString error;
        !ProgramStore(context.data.database()).deleteAll(ProgramTable::MusicReadTab, &error)) {
        context.output.message(setReadStatus(SetReadEnd::PostFailed));
        context.output.info(error);
        co_return ExitFailed;
    }
    const auto result = co_await readSet(read, *context.options.set, observer, context.cancel);
    // The headline first, then what was wrong beneath it.
    if (result.end == SetReadEnd::PostFailed)
        context.output.message(setReadStatus(result.end));
    if (!result.detail.isEmpty())
        context.output.info(result.detail);
    if (result.end != SetReadEnd::Completed)
        co_return ExitFailed;
    for (const auto& record : ProgramStore(context.data.database())
                                  .allPrograms(ProgramTable::MusicReadTab)
                                  .value_or(QList<ProgramRecord>{}))
        context.output.message(programLine(record));
    context.output.message(preheatDelayLine(context.session));
    co_return ExitSuccess;
}

// The set of the read-back table: that of its first program with a set. Empty when none has one.
QString readBackSetLabel(const QList<ProgramRecord>& readBack) {
    for (const auto& record : readBack)
        if (setNumber(record.JMTaoNo))
            return record.JMTaoNo;
    return {};
}

// The read-back table holds one set; the save takes that set. An empty table is the trace of a
// read that did not complete (every read empties it first), and nothing is saved. The pre-heat
// and delay read with it are asked of the player again, since a read by an earlier run of the
// command left them nowhere.
QCoro::Task<int> runSaveRead(CliContext& context) {
    ProgramStore store(context.data.database());
    QString error;
    const auto all = store.allPrograms(ProgramTable::MusicReadTab, &error);
    if (!all) {
        context.output.info(error);
        co_return ExitFailed;
    }
    if (all->isEmpty()) {
        context.output.message(QCoreApplication::translate("Cli", "没有可保存的读取数据"));
        co_return ExitFailed;
    }
    const QString label = readBackSetLabel(*all);
    const SetRows rows = context.options.priority ? SetRows::PriorityOnly : SetRows::All;
    const auto listed = store.programsOfSet(ProgramTable::MusicReadTab, label, rows)
                            .value_or(QList<ProgramRecord>{});
    if (!listed.isEmpty()) {
        auto read = readContext(context);
        ReadObserver quiet;
        if (!co_await probeForRead(read, quiet, context.cancel)) {
            context.output.message(
                QCoreApplication::translate("Cli", "软件与播放器尚未连接，无法读取程序！"));
            co_return ExitFailed;
        }
        if (!co_await ReadYuRe(context.channel, context.clock, context.session,
                               setNumber(label).value_or(FirstSet), context.cancel)) {
            context.output.message(setReadMessage(SetReadEnd::PreheatQueryFailed));
            co_return ExitFailed;
        }
    }
    const auto end = saveReadBack(context.data.database(), context.prompter, context.session,
                                  {label, context.options.priority, listed});
    co_return end == ReadBackSaveEnd::Saved ? ExitSuccess : ExitFailed;
}

QCoro::Task<int> runList(CliContext& context) {
    const ProgramStore store(context.data.database());
    const auto table = context.options.read ? ProgramTable::MusicReadTab : ProgramTable::MusicTab;
    QString error;
    const auto programs =
        context.options.set
            ? store.programsOfSet(table, setLabel(*context.options.set), SetRows::All, &error)
            : store.allPrograms(table, &error);
    if (!programs) {
        context.output.info(error);
        co_return ExitFailed;
    }
    for (const auto& record : *programs)
        context.output.message(programLine(record));
    co_return ExitSuccess;
}

QCoro::Task<int> runVerify(CliContext& context) {
    QList<int> sets;
    if (context.options.set)
        sets = {*context.options.set};
    else
        sets = {1, 2, 3, 4};
    CliReadObserver observer(context.output);
    const ReadContext read = readContext(context);
    const auto result = co_await verifySets(read, sets, observer, context.cancel);
    if (!result.failure.isEmpty()) {
        context.output.message(result.failure);
        if (!result.cause.isEmpty())
            context.output.info(result.cause);
        co_return ExitFailed;
    }
    for (const auto& difference : result.differences) {
        const QStringList row = differenceRow(difference);
        const QString where = row[1].isEmpty() ? row[0] : row[0] + u' ' + row[1];
        context.output.message(QCoreApplication::translate("Cli", "%1 %2：电脑 %3，播放器 %4")
                                   .arg(where, row[2], row[3], row[4]));
    }
    context.output.message(verifySummary(result));
    co_return result.agrees() ? ExitSuccess : ExitFailed;
}

QString takesPriorityOnly(const CliOptions& options) {
    if (options.set || options.all || options.read || hasInterchangeOptions(options))
        return QCoreApplication::translate("Cli", "除 --priority 外不接受任何选项");
    return {};
}

QString takesSetAndRead(const CliOptions& options) {
    if (options.all || options.priority || hasInterchangeOptions(options))
        return QCoreApplication::translate("Cli", "除 --set 和 --read 外不接受任何选项");
    return {};
}

} // namespace

CliCommand readCommand() {
    return {QStringLiteral("read"), QStringLiteral("read --set N | read --all"),
            QCoreApplication::translate(
                "Cli", "把一套读入读取表（连同播放器的预热与延时），或把全部四套读入电脑的程序。"),
            takesSetOrAll, runRead};
}

CliCommand saveReadCommand() {
    return {QStringLiteral("save-read"), QStringLiteral("save-read [--priority]"),
            QCoreApplication::translate(
                "Cli", "用读取的一套（或其中的优先程序）连同播放器的预热与延时覆盖电脑中的程序。"),
            takesPriorityOnly, runSaveRead};
}

CliCommand listCommand() {
    return {QStringLiteral("list"),
            QStringLiteral("list [--set N] [--read]"),
            QCoreApplication::translate("Cli", "列出电脑中的程序（或读取的程序），每个一行。"),
            takesSetAndRead,
            runList,
            false};
}

CliCommand verifyCommand() {
    return {
        QStringLiteral("verify"), QStringLiteral("verify --set N | verify --all"),
        QCoreApplication::translate(
            "Cli", "读取播放器但不保存，与电脑中的程序比较；有不同时状态为 1，并列出每处不同。"),
        takesSetOrAll, runVerify};
}

} // namespace tessaly::cli
