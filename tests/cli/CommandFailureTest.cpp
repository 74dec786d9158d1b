#include "CliCommand.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include <new>

using namespace tessaly::cli;

namespace {

QCoro::Task<int> runOutOfMemory(CliContext&) {
    throw std::bad_alloc();
    co_return ExitSuccess;
}

} // namespace

// A command whose allocation fails (a file too large to hold, say) ends with a message and
// status 1; it never leaves tessaly-cli waiting without a word.
TEST(CommandFailure, ACommandThatRunsOutOfMemoryEndsWithAMessage) {
    const CliCommand failing{QStringLiteral("import"),
                             QStringLiteral("import"),
                             QString(),
                             takesNoOptions,
                             runOutOfMemory,
                             false,
                             false,
                             false};
    // Were the command left waiting, this ends the wait and the test fails.
    bool stuck = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        stuck = true;
        QCoreApplication::exit(1);
    });
    watchdog.start(10000);

    ::testing::internal::CaptureStdout();
    const int status =
        runCommandLine({QStringLiteral("tessaly-cli"), QStringLiteral("import")}, {failing});
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(stuck);
    EXPECT_EQ(status, ExitFailed);
    EXPECT_EQ(QString::fromStdString(out), "import失败：内存不足\n");
}
