// Reading programs back from the player, saving what was read, listing and verifying.

#include "CliCommand.h"
#include "DataModule.h"
#include "DeviceChannel.h"
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
    const auto result = co_await readSet(read, *context.options.set, observer, context.cancel);
    if (!result.detail.isEmpty())
        context.output.info(result.detail);
    if (result.end == SetReadEnd::PostFailed)
        context.output.message(setReadStatus(result.end));
    if (result.end != SetReadEnd::Completed)
        co_return ExitFailed;
    for (const auto& record : ProgramStore(context.data.database())
                                  .allPrograms(ProgramTable::MusicReadTab)
                                  .value_or(QList<ProgramRecord>{}))
        context.output.message(programLine(record));
    context.output.message(preheatDelayLine(context.session));
    co_return ExitSuccess;
}

// The read-back table holds one set; the save takes the set of its first program. The
// pre-heat and delay read with it are asked of the player again, since a read by an earlier
// run of the command left them nowhere.
QCoro::Task<int> runSaveRead(CliContext& context) {
    ProgramStore store(context.data.database());
    const auto all = store.allPrograms(ProgramTable::MusicReadTab).value_or(QList<ProgramRecord>{});
    const QString label = all.isEmpty() ? setLabel(FirstSet) : all.first().JMTaoNo;
    const SetRows rows = context.options.priority ? SetRows::PriorityOnly : SetRows::All;
    const auto listed = store.programsOfSet(ProgramTable::MusicReadTab, label, rows)
                            .value_or(QList<ProgramRecord>{});
    if (!listed.isEmpty()) {
        auto read = readContext(context);
        ReadObserver quiet;
        if (!co_await probeForRead(read, quiet, context.cancel)) {
            context.output.message(setReadMessage(SetReadEnd::NoLink));
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
        co_return ExitFailed;
    }
    for (const auto& d : result.differences)
        context.output.message(
            QCoreApplication::translate("Cli", "%1 %2 %3：电脑 %4，播放器 %5")
                .arg(setDisplayName(d.set), d.orderNo, d.field, d.pcValue, d.playerValue));
    context.output.message(
        result.differences.isEmpty()
            ? QCoreApplication::translate("Cli", "播放器中的程序与电脑一致")
            : QCoreApplication::translate("Cli", "共%1处不同").arg(result.differences.size()));
    co_return result.agrees() ? ExitSuccess : ExitFailed;
}

QString takesPriorityOnly(const CliOptions& options) {
    if (options.set || options.all || options.read || hasInterchangeOptions(options))
        return QStringLiteral("takes no options but --priority");
    return {};
}

QString takesSetAndRead(const CliOptions& options) {
    if (options.all || options.priority || hasInterchangeOptions(options))
        return QStringLiteral("takes no options but --set and --read");
    return {};
}

} // namespace

CliCommand readCommand() {
    return {QStringLiteral("read"), QStringLiteral("read --set N | read --all"),
            QStringLiteral("Reads a set into the read-back table (with the player's pre-heat and "
                           "delay), or all four sets into the PC's programs."),
            takesSetOrAll, runRead};
}

CliCommand saveReadCommand() {
    return {QStringLiteral("save-read"), QStringLiteral("save-read [--priority]"),
            QStringLiteral("Saves the read-back set (or its priority programs) over the PC's, "
                           "with the player's pre-heat and delay."),
            takesPriorityOnly, runSaveRead};
}

CliCommand listCommand() {
    return {QStringLiteral("list"),
            QStringLiteral("list [--set N] [--read]"),
            QStringLiteral("Prints the PC's programs (or the read-back ones), one line each."),
            takesSetAndRead,
            runList,
            false};
}

CliCommand verifyCommand() {
    return {QStringLiteral("verify"), QStringLiteral("verify --set N | verify --all"),
            QStringLiteral("Reads the player without storing anything and compares it with the "
                           "PC's programs; status 1 names every difference."),
            takesSetOrAll, runVerify};
}

} // namespace tessaly::cli
