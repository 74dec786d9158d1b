#include "Backups.h"
#include "CliCommand.h"
#include "DataModule.h"
#include "DatabaseLocation.h"
#include "DeviceChannel.h"
#include "PortDiagnosis.h"
#include "PosixSerialLink.h"
#include "RealClock.h"
#include "SettingsStore.h"
#include "TracingSerialLink.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace tessaly::cli {

namespace {

struct ParsedLine {
    QString databasePath; // empty: found as the window finds it
    bool verbose = false;
    std::optional<int> port;
    QString tracePath;
    const CliCommand* command = nullptr;
    CliOptions options;
};

const QCommandLineOption DatabaseOption(
    QStringLiteral("db"),
    QStringLiteral("The program database (default: PlayerDB.mdb beside tessaly-cli, else\n"
                   "~/.local/share/Tessaly/PlayerDB.mdb, laid on first use)."),
    QStringLiteral("path"));
const QCommandLineOption VerboseOption(QStringLiteral("verbose"),
                                       QStringLiteral("Say which database is used."));
const QCommandLineOption PortOption(
    QStringLiteral("port"),
    QStringLiteral("The serial port COM<n>, 1 to 20 (default: the port saved in the settings)."),
    QStringLiteral("n"));
const QCommandLineOption SetOption(QStringLiteral("set"),
                                   QStringLiteral("The program set, 1 to 4."), QStringLiteral("n"));
const QCommandLineOption AllOption(QStringLiteral("all"), QStringLiteral("All four sets."));
const QCommandLineOption PriorityOption(QStringLiteral("priority"),
                                        QStringLiteral("Only the priority programs."));
const QCommandLineOption ReadOption(QStringLiteral("read"),
                                    QStringLiteral("The programs last read from the player."));
const QCommandLineOption
    ReplaceOption(QStringLiteral("replace"),
                  QStringLiteral("Replace the sets' programs, not add to them."));
const QCommandLineOption FormatOption(QStringLiteral("format"),
                                      QStringLiteral("csv or json (default: by the file's name)."),
                                      QStringLiteral("format"));
const QCommandLineOption
    OutputOption(QStringLiteral("output"),
                 QStringLiteral("The file to write (export: standard output when not given)."),
                 QStringLiteral("file"));
// Read in main() before anything is said; listed here so that the parser accepts it.
const QCommandLineOption LanguageOption(
    QStringLiteral("lang"),
    QStringLiteral("The language of the messages: zh or en (default: the system's language)."),
    QStringLiteral("zh|en"));
const QCommandLineOption TraceOption(
    QStringLiteral("trace"),
    QStringLiteral("Append every frame to and from the player to this file, with the time."),
    QStringLiteral("file"));

QString commandList(const QList<CliCommand>& commands) {
    QString text = QStringLiteral(
        "Tessaly on the command line: the same operations as the windows, without a display.\n"
        "A command prints its final message on standard output and its progress on standard\n"
        "error. Exit status: 0 done, 1 failed, 2 bad command line or no database.\n"
        "COM<n> means the device named by TESSALY_COM<n>, or the n-th serial device present.\n\n"
        "Commands:");
    for (const auto& command : commands)
        text += QStringLiteral("\n  %1\n      %2").arg(command.synopsis, command.summary);
    return text;
}

std::optional<int> boundedNumber(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

int usageError(CliOutput& output, const QString& text) {
    output.info(QStringLiteral("tessaly-cli: %1 (see tessaly-cli --help)").arg(text));
    return ExitUsage;
}

// An option given twice: the parser would quietly keep the last value, and "--set 1 --set 2"
// would act on a set the operator may not have meant.
QString repeatedOption(const QCommandLineParser& parser) {
    QStringList seen;
    for (const QString& name : parser.optionNames()) {
        if (seen.contains(name))
            return name;
        seen.append(name);
    }
    return {};
}

// Fills `line` from the arguments; returns an exit code when the command line ends here.
std::optional<int> parse(const QStringList& arguments, const QList<CliCommand>& commands,
                         CliOutput& output, ParsedLine& line) {
    QCommandLineParser parser;
    parser.setApplicationDescription(commandList(commands));
    parser.addOptions({DatabaseOption, PortOption, SetOption, AllOption, PriorityOption, ReadOption,
                       OutputOption, VerboseOption, ReplaceOption, FormatOption, TraceOption,
                       LanguageOption});
    const auto help = parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("What to do (below)."));
    if (!parser.parse(arguments))
        return usageError(output, parser.errorText());
    // The help option brings --help-all along; there are no further options for it to show.
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(parser.helpText().toUtf8().constData(), stdout);
        return ExitSuccess;
    }

    if (const QString repeated = repeatedOption(parser); !repeated.isEmpty())
        return usageError(output, QStringLiteral("--%1 is given more than once").arg(repeated));

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(output, QStringLiteral("give exactly one command"));
    for (const auto& command : commands)
        if (command.name == positional.first())
            line.command = &command;
    if (!line.command)
        return usageError(output, QStringLiteral("unknown command '%1'").arg(positional.first()));
    const qsizetype takes = line.command->argument.isEmpty() ? 0 : 1;
    if (positional.size() != takes + 1)
        return usageError(output, takes == 0
                                      ? QStringLiteral("give exactly one command")
                                      : QStringLiteral("%1 takes one %2")
                                            .arg(line.command->name, line.command->argument));
    if (takes == 1)
        line.options.file = positional.at(1);

    line.databasePath = parser.value(DatabaseOption);
    line.verbose = parser.isSet(VerboseOption);
    if (parser.isSet(PortOption)) {
        line.port = boundedNumber(parser.value(PortOption), PortMap::FirstCom, PortMap::LastCom);
        if (!line.port)
            return usageError(output, QStringLiteral("--port takes a number from 1 to 20"));
    }
    if (parser.isSet(SetOption)) {
        line.options.set = boundedNumber(parser.value(SetOption), 1, 4);
        if (!line.options.set)
            return usageError(output, QStringLiteral("--set takes a number from 1 to 4"));
    }
    line.options.all = parser.isSet(AllOption);
    line.options.priority = parser.isSet(PriorityOption);
    line.options.read = parser.isSet(ReadOption);
    line.options.replace = parser.isSet(ReplaceOption);
    line.options.format = parser.value(FormatOption);
    line.options.output = parser.value(OutputOption);
    if (parser.isSet(OutputOption) && !line.command->writesFile)
        return usageError(output, QStringLiteral("%1: takes no --output").arg(line.command->name));
    line.tracePath = parser.value(TraceOption);
    if (parser.isSet(FormatOption) && line.options.format != QLatin1String("csv") &&
        line.options.format != QLatin1String("json"))
        return usageError(output, QStringLiteral("--format takes csv or json"));
    if (const QString wrong = line.command->checkOptions(line.options); !wrong.isEmpty())
        return usageError(output, QStringLiteral("%1: %2").arg(line.command->name, wrong));
    return std::nullopt;
}

// The port and the pre-heat and delay pair, as the main window takes them at start.
void restoreSettings(Session& session, const DataModule& data, std::optional<int> port) {
    const auto settings = SettingsStore(data.database()).readSettings();
    session.link.PortNumber = port.value_or(settings ? settings->Com : 1);
    if (settings) {
        session.PreheatMinutes = settings->JM1YR;
        session.DelayMinutes = settings->JM1YS;
    }
}

enum class PortOutcome { Taken, Busy, NotOpened };

// Takes the port before the command starts, so that a port another program is working on is
// refused at once, by name, rather than its answers being shared between the two programs.
PortOutcome takePort(SerialLink& serial, const Session& session, const PortMap& portMap,
                     CliOutput& output) {
    const int com = session.link.PortNumber;
    const int opened = serial.open(com);
    if (opened != SerialLink::PortBusy)
        // a port that cannot be opened at all is the command's to report
        return opened == 0 ? PortOutcome::Taken : PortOutcome::NotOpened;
    const QString device = portMap.deviceFor(com);
    output.info(QStringLiteral("tessaly-cli: port busy: COM%1 (%2) is in use by another program")
                    .arg(com)
                    .arg(device));
    output.message(
        QCoreApplication::translate("Cli", "串口COM%1（%2）正被其他程序使用，请稍后再试！")
            .arg(com)
            .arg(device));
    return PortOutcome::Busy;
}

// The line that says why the port would not open, as the settings panel shows it.
void explainPort(const Session& session, const PortMap& portMap, CliOutput& output) {
    if (const QString cause = diagnosePort(portMap.deviceFor(session.link.PortNumber));
        !cause.isEmpty())
        output.info(cause);
}

} // namespace

bool hasInterchangeOptions(const CliOptions& options) {
    return options.replace || !options.format.isEmpty() || !options.output.isEmpty();
}

QString takesNoOptions(const CliOptions& options) {
    if (options.set || options.all || options.priority || options.read ||
        hasInterchangeOptions(options))
        return QStringLiteral("takes no options");
    return {};
}

QString takesSetOrAll(const CliOptions& options) {
    if (options.set.has_value() == options.all)
        return QStringLiteral("give either --set N or --all");
    if (options.priority || options.read || hasInterchangeOptions(options))
        return QStringLiteral("takes no --priority, --read, --replace, --format or --output");
    return {};
}

int runCommandLine(const QStringList& arguments, const QList<CliCommand>& commands) {
    CliOutput output;
    ParsedLine line;
    if (const auto ended = parse(arguments, commands, output, line))
        return *ended;

    if (line.command->usesDatabase && line.databasePath.isEmpty()) {
        const DatabaseLocation found = locateDatabase();
        line.databasePath = found.path;
        if (found.laidFresh)
            output.info(freshDatabaseNotice(found.path));
        if (!found.error.isEmpty())
            output.info(QStringLiteral("tessaly-cli: %1").arg(found.error));
    }
    if (line.command->usesDatabase && line.verbose)
        output.info(QStringLiteral("database: %1").arg(line.databasePath));

    LinePrompter prompter(output);
    DataModule data;
    ScriptedPrompter unseen; // the box is printed here, its cause with the file it concerns
    if (line.command->usesDatabase && !data.ConnectDatabaseFile(unseen, line.databasePath)) {
        output.message(databaseFailureBox().text);
        output.info(QStringLiteral("%1: %2").arg(line.databasePath, data.errorText()));
        return ExitUsage;
    }

    Session session;
    if (line.command->usesDatabase)
        restoreSettings(session, data, line.port);
    RealClock clock;
    PosixSerialLink posix(PortMap::fromSystem());
    // The traffic log sits between the wire code and the port, which neither notices.
    std::optional<TracingSerialLink> traced;
    if (!line.tracePath.isEmpty()) {
        traced.emplace(posix, line.tracePath);
        if (!traced->isLogging())
            output.info(QStringLiteral("tessaly-cli: cannot write the traffic log %1: %2")
                            .arg(line.tracePath, traced->errorText()));
    }
    SerialLink& serial = traced ? static_cast<SerialLink&>(*traced) : posix;
    DeviceChannel channel(serial, session.link);
    const PortOutcome port = line.command->usesPort
                                 ? takePort(serial, session, posix.portMap(), output)
                                 : PortOutcome::Taken;
    if (port == PortOutcome::Busy) {
        explainPort(session, posix.portMap(), output);
        return ExitFailed;
    }
    // An import backs up the database once its rows have passed, before it writes a row.
    const auto backUpBeforeImport = [&data](QString* error) {
        return takeBackup(data.database(), QStringLiteral("import"), error).has_value();
    };
    CliContext context{session, clock,           channel,      data, prompter,
                       output,  posix.portMap(), line.options, {},   backUpBeforeImport};
    const int status = QCoro::waitFor(line.command->run(context));
    if (port == PortOutcome::NotOpened)
        explainPort(session, posix.portMap(), output);
    return status;
}

} // namespace tessaly::cli
