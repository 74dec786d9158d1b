#include "DataModule.h"
#include "DatabaseLocation.h"
#include "DeviceChannel.h"
#include "FirstPaintExit.h"
#include "Language.h"
#include "MainWindow.h"
#include "MessageBoxPrompter.h"
#include "ProtectedFiles.h"
#include "RealClock.h"
#include "RoutedSerialLink.h"
#include "Session.h"
#include "StopSignals.h"
#include "TracingSerialLink.h"

#include <QApplication>

#include <optional>

using namespace tessaly;

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaly"));
    // From here on SIGTERM, SIGINT and SIGHUP end the program as 退出系统 does (below).
    const StopSignals stop;
    // --lang zh|en, else the system's language; before any window, so that every text follows.
    const LanguageChoice language = chooseLanguage(QApplication::arguments(), QLocale::system());
    const bool translated = useLanguage(language.language);
    if (language.refused) {
        qWarning("tessaly: %s", qPrintable(refusalText(language)));
        return 2;
    }
    if (!translated && language.language == Language::English)
        qWarning("tessaly: %s", qPrintable(QCoreApplication::translate(
                                    "Language", "无法载入英文界面文本，界面保持中文")));

    Session session;
    RealClock clock;
    RoutedSerialLink serial(PortMap::fromSystem());
    MessageBoxPrompter prompter;
    // Beside the program when one is there, else the user's data folder (laid on first run).
    const DatabaseLocation database = locateDatabase();
    if (!database.error.isEmpty())
        qWarning("tessaly: %s", qPrintable(database.error));
    // No folder to look in, or no database could be laid there: ends as a database that fails,
    // its cause in the box's details.
    if (database.folder.isEmpty() || !database.error.isEmpty()) {
        prompter.show(databaseFailureBox(database.error));
        return 1;
    }

    // TESSALY_TRACE=FILE: every frame to and from the player is appended to FILE. A log that
    // cannot be written ends the start, before the player hears anything, as the command line
    // does: a log asked for must not go missing unnoticed.
    const QString tracePath = qEnvironmentVariable("TESSALY_TRACE");
    std::optional<TracingSerialLink> traced;
    if (!tracePath.isEmpty()) {
        // Never appended into the database in use or a backup of it.
        if (const QString refusal = protectedFileRefusal(database.path, tracePath);
            !refusal.isEmpty()) {
            qWarning("tessaly: %s", qPrintable(refusal));
            prompter.notice(refusal);
            return 1;
        }
        traced.emplace(serial, tracePath);
        const QStringList run =
            QStringList{QStringLiteral("tessaly")} + QApplication::arguments().mid(1);
        if (!traced->start(run.join(QLatin1Char(' ')))) {
            const QString text = QCoreApplication::translate("Main", "无法写入通讯记录%1：%2")
                                     .arg(tracePath, traced->errorText());
            qWarning("tessaly: %s", qPrintable(text));
            prompter.notice(text);
            return 1;
        }
    }
    DeviceChannel channel(traced ? static_cast<SerialLink&>(*traced) : serial, session.link);
    DataModule data; // frmDM: the connection stays closed until the main window has been painted

    MainWindow window({clock, channel, prompter, data, serial.portMap(), database.folder}, session);
    prompter.setParent(&window);
    exitAfterFirstPaintWhenAsked(window); // start-up benchmark only
    QObject::connect(&window, &MainWindow::startFinished, &application, [&](bool started) {
        if (!started) {
            QCoreApplication::exit(1); // the database could not be opened; the message was shown
            return;
        }
        if (database.laidFresh)
            prompter.notice(freshDatabaseNotice(database.path));
    });
    // As on 退出系统: the running sequence is cancelled and the player told; every event loop
    // ends (an open dialog's too), and the port and the database are let go on the way out.
    QObject::connect(&stop, &StopSignals::stopRequested, &window, [&window](int signal) {
        window.close();
        QCoreApplication::exit(StopSignals::exitStatus(signal));
    });
    window.show();
    const int status = application.exec();
    if (traced && !traced->isComplete())
        qWarning("tessaly: %s",
                 qPrintable(QCoreApplication::translate("Main", "通讯记录%1不完整：%2")
                                .arg(tracePath, traced->errorText())));
    return status;
}
