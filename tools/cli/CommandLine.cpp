#include "Backups.h"
#include "CliCommand.h"
#include "DataModule.h"
#include "DatabaseLocation.h"
#include "DeviceChannel.h"
#include "PlayerDatabase.h"
#include "ProtectedFiles.h"
#include "RealClock.h"
#include "RoutedSerialLink.h"
#include "SettingsStore.h"
#include "StopSignals.h"
#include "TerminalText.h"
#include "TracingSerialLink.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <exception>
#include <new>

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

// The options, their help in the running language: made when the command line is read, after
// main() has chosen the language.
struct Options {
    QCommandLineOption database{
        QStringLiteral("db"),
        QCoreApplication::translate("Cli",
                                    "节目数据库（默认：tessaly-cli 旁的 PlayerDB.mdb，否则为\n"
                                    "~/.local/share/Tessaly/PlayerDB.mdb，首次使用时新建）。"),
        QCoreApplication::translate("Cli", "路径")};
    QCommandLineOption port{
        QStringLiteral("port"),
        QCoreApplication::translate("Cli", "串口 COM<n>，1 到 20（默认：设置中保存的端口）。"),
        QStringLiteral("n")};
    QCommandLineOption set{
        QStringLiteral("set"),
        QCoreApplication::translate("Cli", "节目套号，1 到 4（ports：要指向网络串口的 COM 号）。"),
        QStringLiteral("n")};
    QCommandLineOption clear{QStringLiteral("clear"),
                             QCoreApplication::translate("Cli", "ports：取消 COM<n> 的网络串口。"),
                             QStringLiteral("n")};
    QCommandLineOption all{QStringLiteral("all"), QCoreApplication::translate("Cli", "全部四套。")};
    QCommandLineOption priority{QStringLiteral("priority"),
                                QCoreApplication::translate("Cli", "只取优先程序。")};
    QCommandLineOption read{QStringLiteral("read"),
                            QCoreApplication::translate("Cli", "最近从播放器读取的程序。")};
    QCommandLineOption output{
        QStringLiteral("output"),
        QCoreApplication::translate("Cli", "要写入的文件（export 不给时写到标准输出）。"),
        QCoreApplication::translate("Cli", "文件")};
    QCommandLineOption verbose{QStringLiteral("verbose"),
                               QCoreApplication::translate("Cli", "说明所用的数据库。")};
    QCommandLineOption replace{
        QStringLiteral("replace"),
        QCoreApplication::translate("Cli", "替换各套原有的程序，而不是追加。")};
    QCommandLineOption format{QStringLiteral("format"),
                              QCoreApplication::translate("Cli", "csv 或 json（默认：按文件名）。"),
                              QCoreApplication::translate("Cli", "格式")};
    QCommandLineOption trace{
        QStringLiteral("trace"),
        QCoreApplication::translate("Cli", "把与播放器往来的每一帧连同时间追加到此文件。"),
        QCoreApplication::translate("Cli", "文件")};
    // Read in main() before anything is said; listed here so that the parser accepts it.
    QCommandLineOption language{
        QStringLiteral("lang"),
        QCoreApplication::translate("Cli", "语言：zh 或 en（默认：系统的语言）。"),
        QStringLiteral("zh|en")};
    QCommandLineOption help{
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("help-all")},
        QCoreApplication::translate("Cli", "显示本帮助。")};

    QList<QCommandLineOption> list() const {
        return {database, port,    set,     clear,  all,   priority, read,
                output,   verbose, replace, format, trace, language, help};
    }
};

QString optionSyntax(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names())
        names.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    QString syntax = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        syntax += QStringLiteral(" <%1>").arg(option.valueName());
    return syntax;
}

// The help, written here rather than by QCommandLineParser, whose own words ("Usage:",
// "Options:") would stay English in a Chinese help.
QString helpText(const Options& options, const QList<CliCommand>& commands) {
    QString text =
        QCoreApplication::translate("Cli", "用法：tessaly-cli [选项] 命令") + QLatin1Char('\n');
    text += QCoreApplication::translate(
        "Cli", "命令行上的 Tessaly：与窗口相同的操作，无需显示器。\n"
               "命令把最终消息写到标准输出，把进度写到标准错误。\n"
               "退出状态：0 完成，1 失败，2 命令行有误或没有数据库。\n"
               "COM<n> 是 TESSALY_COM<n> 所指的设备，否则为本机为它设置的网络串口\n"
               "（ports --set），再否则为本机第 n 个串口设备。");
    text += QLatin1String("\n\n") + QCoreApplication::translate("Cli", "命令：");
    for (const auto& command : commands)
        text += QStringLiteral("\n  %1\n      %2").arg(command.synopsis, command.summary);
    text += QLatin1String("\n\n") + QCoreApplication::translate("Cli", "选项：");
    int width = 0;
    for (const auto& option : options.list())
        width = std::max(width, terminalWidth(optionSyntax(option)));
    for (const auto& option : options.list()) {
        const QString indent(width + 4, QLatin1Char(' '));
        QString description = option.description();
        description.replace(QLatin1Char('\n'), QLatin1Char('\n') + indent);
        text += QStringLiteral("\n  %1  %2")
                    .arg(paddedToWidth(optionSyntax(option), width), description);
    }
    return text + QLatin1Char('\n');
}

// QCommandLineParser says what is wrong in English; the error is said again in the running
// language from what the parser knows.
QString parseError(const QCommandLineParser& parser) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QCoreApplication::translate("Cli", "未知选项：%1")
            .arg(QStringLiteral("--") + unknown.join(QStringLiteral(", --")));
    static const QRegularExpression quoted(QStringLiteral("'([^']*)'"));
    const QString text = parser.errorText();
    const QString option = quoted.match(text).captured(1);
    if (text.startsWith(QLatin1String("Missing value")))
        return QCoreApplication::translate("Cli", "%1 需要一个值").arg(option);
    if (text.startsWith(QLatin1String("Unexpected value")))
        return QCoreApplication::translate("Cli", "%1 不带值").arg(option);
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
    output.info(
        QCoreApplication::translate("Cli", "tessaly-cli：%1（参见 tessaly-cli --help）").arg(text));
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
    const Options options;
    QCommandLineParser parser;
    parser.addOptions(options.list());
    if (!parser.parse(arguments))
        return usageError(output, parseError(parser));
    if (parser.isSet(options.help)) {
        std::fputs(helpText(options, commands).toUtf8().constData(), stdout);
        return ExitSuccess;
    }

    if (const QString repeated = repeatedOption(parser); !repeated.isEmpty())
        return usageError(output,
                          QCoreApplication::translate("Cli", "--%1 给出了不止一次").arg(repeated));

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(output, QCoreApplication::translate("Cli", "请给出一个命令，且只给一个"));
    for (const auto& command : commands)
        if (command.name == positional.first())
            line.command = &command;
    if (!line.command)
        return usageError(
            output, QCoreApplication::translate("Cli", "未知命令“%1”").arg(positional.first()));
    const qsizetype takes = line.command->argument.isEmpty() ? 0 : 1;
    const bool mayLeaveOut = line.command->argumentOptional && positional.size() == 1;
    if (positional.size() != takes + 1 && !mayLeaveOut)
        return usageError(
            output, takes == 0 ? QCoreApplication::translate("Cli", "请给出一个命令，且只给一个")
                               : QCoreApplication::translate("Cli", "%1 需要一个 %2")
                                     .arg(line.command->name, line.command->argument));
    if (positional.size() == 2)
        line.options.file = positional.at(1);

    line.databasePath = parser.value(options.database);
    line.verbose = parser.isSet(options.verbose);
    if (parser.isSet(options.port)) {
        line.port = boundedNumber(parser.value(options.port), PortMap::FirstCom, PortMap::LastCom);
        if (!line.port)
            return usageError(output,
                              QCoreApplication::translate("Cli", "--port 只能是 1 到 20 的数字"));
    }
    if (line.command->setsNetworkPorts) {
        line.options.comToSet = parser.value(options.set);
        line.options.comToClear = parser.value(options.clear);
    } else if (parser.isSet(options.clear)) {
        return usageError(
            output,
            QCoreApplication::translate("Cli", "%1：不接受 --clear").arg(line.command->name));
    } else if (parser.isSet(options.set)) {
        line.options.set = boundedNumber(parser.value(options.set), 1, 4);
        if (!line.options.set)
            return usageError(output,
                              QCoreApplication::translate("Cli", "--set 只能是 1 到 4 的数字"));
    }
    line.options.all = parser.isSet(options.all);
    line.options.priority = parser.isSet(options.priority);
    line.options.read = parser.isSet(options.read);
    line.options.replace = parser.isSet(options.replace);
    line.options.format = parser.value(options.format);
    line.options.output = parser.value(options.output);
    if (parser.isSet(options.output) && !line.command->writesFile)
        return usageError(
            output,
            QCoreApplication::translate("Cli", "%1：不接受 --output").arg(line.command->name));
    line.tracePath = parser.value(options.trace);
    if (parser.isSet(options.format) && line.options.format != QLatin1String("csv") &&
        line.options.format != QLatin1String("json"))
        return usageError(output,
                          QCoreApplication::translate("Cli", "--format 只能是 csv 或 json"));
    if (const QString wrong = line.command->checkOptions(line.options); !wrong.isEmpty())
        return usageError(
            output, QCoreApplication::translate("Cli", "%1：%2").arg(line.command->name, wrong));
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
PortOutcome takePort(SerialLink& serial, Clock& clock, const Session& session,
                     const PortMap& portMap, CliOutput& output) {
    const int com = session.link.PortNumber;
    // A server on the network is taken once its connection is made: a busy one says so then.
    const int opened = QCoro::waitFor(openWhenReady(serial, com, clock));
    if (opened != SerialLink::PortBusy)
        // a port that cannot be opened at all is the command's to report
        return opened == 0 ? PortOutcome::Taken : PortOutcome::NotOpened;
    const QString device = portMap.deviceFor(com);
    output.info(
        QCoreApplication::translate("Cli", "tessaly-cli：端口忙：COM%1（%2）正被其他程序使用")
            .arg(com)
            .arg(device));
    output.message(
        QCoreApplication::translate("Cli", "串口COM%1（%2）正被其他程序使用，请稍后再试！")
            .arg(com)
            .arg(device));
    return PortOutcome::Busy;
}

// The line that says why the port would not open or carry the player's bytes, as the settings
// panel shows it.
void explainPort(const Session& session, SerialLink& serial, CliOutput& output) {
    if (const QString cause = serial.failureCause(session.link.PortNumber); !cause.isEmpty())
        output.info(cause);
}

// Runs the command so that whatever it throws ends it with a message and status 1: an
// exception left in its task would never end the loop that waits for it, and the command
// would hang without a word.
QCoro::Task<int> runToTheEnd(const CliCommand& command, CliContext& context) {
    QString failure;
    try {
        auto run = command.run(context);
        co_return co_await run;
    } catch (const SequenceCancelled&) {
        co_return ExitFailed; // a stop signal: the caller says so
    } catch (const std::bad_alloc&) {
        failure = QCoreApplication::translate("Cli", "内存不足");
    } catch (const std::exception& exception) {
        failure = QString::fromLocal8Bit(exception.what());
    }
    context.output.message(
        QCoreApplication::translate("Cli", "%1失败：%2").arg(command.name, failure));
    co_return ExitFailed;
}

} // namespace

bool hasInterchangeOptions(const CliOptions& options) {
    return options.replace || !options.format.isEmpty() || !options.output.isEmpty();
}

QString takesNoOptions(const CliOptions& options) {
    if (options.set || options.all || options.priority || options.read ||
        hasInterchangeOptions(options))
        return QCoreApplication::translate("Cli", "不接受任何选项");
    return {};
}

QString takesSetOrAll(const CliOptions& options) {
    if (options.set.has_value() == options.all)
        return QCoreApplication::translate("Cli", "请给出 --set N 或 --all，二者选一");
    if (options.priority || options.read || hasInterchangeOptions(options))
        return QCoreApplication::translate(
            "Cli", "不接受 --priority、--read、--replace、--format 或 --output");
    return {};
}

namespace {

// Opens the traffic log at `path` and writes the line that names this run. A log that cannot
// be written stops the command before anything is sent: false, with the reason said.
bool startTrafficLog(std::optional<TracingSerialLink>& traced, SerialLink& port,
                     const QString& path, CliOutput& output) {
    traced.emplace(port, path);
    const QStringList run =
        QStringList{QStringLiteral("tessaly-cli")} + QCoreApplication::arguments().mid(1);
    if (traced->start(run.join(QLatin1Char(' '))))
        return true;
    output.info(
        QCoreApplication::translate("Cli", "tessaly-cli：无法写入通讯记录%1：%2，未发送任何数据")
            .arg(path, traced->errorText()));
    return false;
}

// The databases an output named on the command line must spare: the one in use, or, for a
// command that opens none, those it would find.
QStringList sparedDatabases(const ParsedLine& line) {
    if (!line.databasePath.isEmpty())
        return {line.databasePath};
    QStringList found{QDir(QCoreApplication::applicationDirPath()).filePath(databaseFileName())};
    if (const QString dataFolder = userDataFolder(); !dataFolder.isEmpty())
        found.append(QDir(dataFolder).filePath(databaseFileName()));
    return found;
}

// Why --output or --trace names a file no output may go over (the database in use, a backup);
// empty when neither does.
QString refusedOutput(const ParsedLine& line) {
    for (const QString& target : {line.options.output, line.tracePath})
        for (const QString& database : sparedDatabases(line))
            if (QString refusal = protectedFileRefusal(database, target); !refusal.isEmpty())
                return refusal;
    return {};
}

int runCommand(ParsedLine& line, CliOutput& output, const StopSignals& stop) {
    if (line.command->usesDatabase && line.databasePath.isEmpty()) {
        const DatabaseLocation found = locateDatabase();
        line.databasePath = found.path;
        if (found.laidFresh)
            output.info(freshDatabaseNotice(found.path));
        if (!found.error.isEmpty())
            output.info(QCoreApplication::translate("Cli", "tessaly-cli：%1").arg(found.error));
        if (found.path.isEmpty()) { // nowhere to look: --db names one
            output.message(databaseFailureBox().text);
            return ExitUsage;
        }
    }
    if (line.command->usesDatabase && line.verbose)
        output.info(QCoreApplication::translate("Cli", "数据库：%1").arg(line.databasePath));

    LinePrompter prompter(output);
    DataModule data;
    ScriptedPrompter unseen; // the box is printed here, its cause with the file it concerns
    if (line.command->usesDatabase && !data.ConnectDatabaseFile(unseen, line.databasePath)) {
        output.message(databaseFailureBox().text);
        output.info(data.errorText()); // names the file
        return ExitUsage;
    }

    if (const QString refusal = refusedOutput(line); !refusal.isEmpty()) {
        output.info(QCoreApplication::translate("Cli", "tessaly-cli：%1").arg(refusal));
        return ExitFailed;
    }

    Session session;
    if (line.command->usesDatabase)
        restoreSettings(session, data, line.port);
    RealClock clock;
    RoutedSerialLink routed(PortMap::fromSystem());
    // The traffic log sits between the wire code and the port, which neither notices.
    std::optional<TracingSerialLink> traced;
    if (!line.tracePath.isEmpty() && !startTrafficLog(traced, routed, line.tracePath, output))
        return ExitFailed;
    SerialLink& serial = traced ? static_cast<SerialLink&>(*traced) : routed;
    DeviceChannel channel(serial, session.link);
    const PortOutcome port = line.command->usesPort
                                 ? takePort(serial, clock, session, routed.portMap(), output)
                                 : PortOutcome::Taken;
    if (port == PortOutcome::Busy) {
        explainPort(session, serial, output);
        return ExitFailed;
    }
    // An import backs up the database once its rows have passed, before it writes a row; the
    // backup stays only if the import went in.
    std::optional<ChangeBackup> importBackup;
    const auto backUpBeforeImport = [&data, &importBackup](QString* error) {
        importBackup = ChangeBackup::take(data.database(), QStringLiteral("import"), error);
        return importBackup.has_value();
    };
    CliContext context{
        session,      clock, channel,           data, prompter, output, routed.portMap(),
        line.options, {},    backUpBeforeImport};
    // A stop signal ends the command at its next step, as a closed window ends its sequence;
    // the port and the database are then let go on the way out, as after any command.
    QObject::connect(&stop, &StopSignals::stopRequested,
                     [cancel = context.cancel] { cancel.cancel(); });
    const int status = QCoro::waitFor(runToTheEnd(*line.command, context));
    if (importBackup && status == ExitSuccess)
        importBackup->keep();
    importBackup.reset();
    if (stop.received() != 0) {
        output.info(QCoreApplication::translate("Cli", "tessaly-cli：收到 %1，%2 已停止")
                        .arg(StopSignals::signalName(stop.received()), line.command->name));
        return StopSignals::exitStatus(stop.received());
    }
    // A server reached over the network may tell what went wrong only once the command ran.
    if (port == PortOutcome::NotOpened || (line.command->usesPort && status == ExitFailed))
        explainPort(session, serial, output);
    // The operation has run: a log that stopped half way is said, and the status stays the
    // operation's own.
    if (traced && !traced->isComplete())
        output.info(QCoreApplication::translate("Cli", "tessaly-cli：通讯记录%1不完整：%2")
                        .arg(line.tracePath, traced->errorText()));
    return status;
}

} // namespace

int runCommandLine(const QStringList& arguments, const QList<CliCommand>& commands) {
    const StopSignals stop;
    CliOutput output;
    ParsedLine line;
    if (const auto ended = parse(arguments, commands, output, line))
        return output.checkedStatus(*ended);
    return output.checkedStatus(runCommand(line, output, stop));
}

} // namespace tessaly::cli
