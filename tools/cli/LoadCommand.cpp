#include "CliCommand.h"
#include "DataModule.h"
#include "ProgramLoad.h"
#include "ProgramSet.h"

#include <QCoreApplication>

namespace tessaly::cli {

namespace {

// The load's progress on standard error: what the window shows on its labels, a line per
// program (or one bar on a terminal).
class LoadProgress final : public LoadObserver {
public:
    LoadProgress(CliOutput& output, bool wholeDevice)
        : m_output(output), m_wholeDevice(wholeDevice) {}

    void clearStarted() override {
        m_output.info(
            m_wholeDevice
                ? QCoreApplication::translate("Cli", "正在清除播放器中程序记录，请稍候...")
                : QCoreApplication::translate("Cli", "正在清除记录，请稍候..."));
    }
    void cleared() override {
        if (m_wholeDevice)
            m_output.info(QCoreApplication::translate(
                "Cli", "正在进行数据同步，将电脑数据装载到机器中，请稍候..."));
    }
    void setStarted(int set, int total) override {
        m_total = total;
        m_output.progress(setDisplayName(set), 0, total);
    }
    void recordSent(int set, int left) override {
        m_output.progress(setDisplayName(set), m_total - left, m_total);
    }

private:
    CliOutput& m_output;
    bool m_wholeDevice;
    int m_total = 0;
};

// load --all is the confirmed form of the main window's synchronisation: nothing is asked.
QCoro::Task<int> runLoad(CliContext& context) {
    const bool wholeDevice = context.options.all;
    LoadProgress progress(context.output, wholeDevice);
    ProgramLoad load({context.channel, context.clock, context.data.database(), context.session},
                     progress);
    QString message;
    LoadResult result;
    if (wholeDevice) {
        result = co_await load.loadWholeDevice(context.cancel);
        message = wholeDeviceLoadMessage(result);
    } else {
        const int set = *context.options.set;
        result = co_await load.loadSet(set, context.cancel);
        message = setLoadMessage(result, set);
    }
    context.output.message(message);
    co_return result.succeeded() ? ExitSuccess : ExitFailed;
}

} // namespace

CliCommand loadCommand() {
    return {QStringLiteral("load"), QStringLiteral("load --set N | load --all"),
            QCoreApplication::translate(
                "Cli", "清除播放器中的第 N 套（或整个播放器），再把电脑中的程序装载进去。"),
            takesSetOrAll, runLoad};
}

} // namespace tessaly::cli
