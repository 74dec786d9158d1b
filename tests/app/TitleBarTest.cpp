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

// What the window manager shows, read from the X server: the platform window titles of the
// real program under a virtual X display, not only QWidget::windowTitle().
TEST(MainProgram, TitleBarsShowExactlyTheCaptions) {
    const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
    if (xvfbRun.isEmpty() || QStandardPaths::findExecutable("Xvfb").isEmpty() ||
        QStandardPaths::findExecutable("xdotool").isEmpty() ||
        QStandardPaths::findExecutable("xauth").isEmpty())
        GTEST_SKIP() << "needs xvfb-run, Xvfb, xauth and xdotool";

    QTemporaryDir folder;
    const QString program = folder.filePath("tessaly");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TESSALY_EXECUTABLE), program));
    QString error;
    ASSERT_TRUE(createPlayerDatabase(folder.filePath(databaseFileName()), &error))
        << error.toStdString();

    // Under a loaded machine a cold start can miss the script's bounded waits; one more try
    // tells such a miss from a wrong title, which no retry changes.
    QString output;
    QMap<QString, QString> titles;
    for (int attempt = 0; attempt < 2 && titles.size() < 3; ++attempt) {
        QProcess run;
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.remove("QT_QPA_PLATFORM");
        environment.remove("TESSALY_PROMPTS");
        environment.insert("TESSALY_COM1", folder.filePath("no-port")); // no real port is touched
        run.setProcessEnvironment(environment);
        run.start(xvfbRun, {"-a", "-s", "-screen 0 1280x1024x24", "bash",
                            QStringLiteral(TITLE_BARS_SCRIPT), program});
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
    EXPECT_EQ(titles.value("main"), "Tessaly") << output.toStdString();
    EXPECT_EQ(titles.value("editor"), "程序编辑器") << output.toStdString();
    EXPECT_EQ(titles.value("box"), "信息提示：") << output.toStdString();
}

} // namespace
