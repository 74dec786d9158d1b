#pragma once

#include "CliOutput.h"
#include "Clock.h"
#include "PortMap.h"
#include "Session.h"

#include <QList>
#include <QString>
#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>

namespace tessaly {
class DataModule;
class DeviceChannel;
} // namespace tessaly

namespace tessaly::cli {

enum ExitCode : int {
    ExitSuccess = 0, // the operation did what was asked
    ExitFailed = 1,  // the operation failed; the message says why
    ExitUsage = 2,   // bad command line, or no database to work on
};

// The options a command may take besides --db and --port.
struct CliOptions {
    std::optional<int> set; // --set N, 1..4
    bool all = false;       // --all
    bool priority = false;  // --priority
    bool read = false;      // --read
    bool replace = false;   // --replace
    QString format;         // --format csv|json, empty when not given
    QString output;         // --output FILE, empty when not given
    QString file;           // the command's FILE argument, for the commands that take one
    // For the commands that set network ports: the COM number of --set N (the target is then
    // the command's argument) or of --clear N, as given.
    QString comToSet;
    QString comToClear;
};

// Everything a command works with. The command line sets it up (database open, port chosen,
// pre-heat and delay read from the settings row) before the command runs.
struct CliContext {
    Session& session;
    Clock& clock;
    DeviceChannel& channel;
    DataModule& data;
    Prompter& prompter;
    CliOutput& output;
    const PortMap& portMap;
    CliOptions options;
    CancelToken cancel;
    // Runs right before an import writes anything; false stops it (see importPrograms).
    std::function<bool(QString* error)> beforeImportWrite = {};
};

// One command of tessaly-cli. To add one, write a function returning its CliCommand in a file
// of its own and list it in allCommands() (Commands.cpp).
struct CliCommand {
    QString name;     // the first positional argument
    QString synopsis; // its forms, for --help: "load --set N | load --all"
    QString summary;  // one line for --help
    // Empty when the options suit the command; otherwise the usage error.
    QString (*checkOptions)(const CliOptions& options);
    QCoro::Task<int> (*run)(CliContext& context);
    // The command talks to the player: the port is taken before it runs.
    bool usesPort = true;
    bool writesFile = false;  // takes --output FILE
    bool usesDatabase = true; // the database is opened before it runs
    // The name of the one argument after the command ("FILE"); empty: it takes none.
    QString argument = {};
    bool argumentOptional = false;
    // --set N names a COM number rather than a program set, and --clear N is taken.
    bool setsNetworkPorts = false;
};

QList<CliCommand> allCommands();

// Option checks shared by the commands.
QString takesNoOptions(const CliOptions& options);
QString takesSetOrAll(const CliOptions& options); // exactly one of --set N and --all
// The options only export and import take; the others refuse them.
bool hasInterchangeOptions(const CliOptions& options);

// Parses the arguments (arguments[0] is the program), opens the database, sets up the port
// and runs the command. Returns the process exit code.
int runCommandLine(const QStringList& arguments, const QList<CliCommand>& commands);

// The commands that come with the program.
CliCommand probeCommand();
CliCommand loadCommand();
CliCommand readCommand();
CliCommand saveReadCommand();
CliCommand listCommand();
CliCommand verifyCommand();
CliCommand timetableCommand();
CliCommand portsCommand();
CliCommand backupsCommand();
CliCommand restoreCommand();
CliCommand exportCommand();
CliCommand importCommand();

} // namespace tessaly::cli
