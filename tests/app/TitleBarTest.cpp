#include "PlayerDatabase.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace tessaly;

namespace {

struct Captions {
    const char* language;
    const char* editor;
    const char* box;
};

// Runs the real program under a virtual X display in `captions.language` and returns the
// titles the script read ("main", "editor", "box"), with the script's output for failures.
QMap<QString, QString> titleBars(const Captions& captions, QString& output) {
    QTemporaryDir folder;
    const QString program = folder.filePath("tessaly");
    QMap<QString, QString> titles;
    QString error;
    if (!QFile::copy(QStringLiteral(TESSALY_EXECUTABLE), program) ||
        !createPlayerDatabase(folder.filePath(databaseFileName()), &error)) {
        output = QStringLiteral("cannot lay the program and its database: ") + error;
        return titles;
    }
    // Under a loaded machine a cold start can miss the script's bounded waits; one more try
    // tells such a miss from a wrong title, which no retry changes.
    for (int attempt = 0; attempt < 2 && titles.size() < 3; ++attempt) {
        QProcess run;
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.remove("QT_QPA_PLATFORM");
        environment.remove("TESSALY_PROMPTS");
        environment.insert("TESSALY_COM1", folder.filePath("no-port")); // no real port is touched
        run.setProcessEnvironment(environment);
        run.start(QStandardPaths::findExecutable("xvfb-run"),
                  {"-a", "-s", "-screen 0 1280x1024x24", "bash", QStringLiteral(TITLE_BARS_SCRIPT),
                   program, captions.language, QString::fromUtf8(captions.editor),
                   QString::fromUtf8(captions.box)});
        if (!run.waitForFinished(55000)) {
            run.kill();
            run.waitForFinished();
        }
        output = QString::fromUtf8(run.readAllStandardOutput()) +
                 QString::fromUtf8(run.readAllStandardError());
        titles.clear();
        for (const QString& line : output.split('\n')) {
            const auto equals = line.indexOf('=');
            if (equals > 0)
                titles.insert(line.left(equals), line.mid(equals + 1));
        }
    }
    return titles;
}

// What the window manager shows, read from the X server: the platform window titles of the
// real program, not only QWidget::windowTitle(), in both languages.
TEST(MainProgram, TitleBarsShowExactlyTheCaptions) {
    if (QStandardPaths::findExecutable("xvfb-run").isEmpty() ||
        QStandardPaths::findExecutable("Xvfb").isEmpty() ||
        QStandardPaths::findExecutable("xdotool").isEmpty() ||
        QStandardPaths::findExecutable("xauth").isEmpty())
        GTEST_SKIP() << "needs xvfb-run, Xvfb, xauth and xdotool";

    for (const Captions& captions : {Captions{"zh", "程序编辑器", "信息提示："},
                                     Captions{"en", "Program editor", "Information"}}) {
        SCOPED_TRACE(captions.language);
        QString output;
        const auto titles = titleBars(captions, output);
        EXPECT_EQ(titles.value("main"), "Tessaly") << output.toStdString();
        EXPECT_EQ(titles.value("editor"), QString::fromUtf8(captions.editor))
            << output.toStdString();
        EXPECT_EQ(titles.value("box"), QString::fromUtf8(captions.box)) << output.toStdString();
    }
}

} // namespace
