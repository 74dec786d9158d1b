#include "DeviceLoadPanel.h"

#include "ProgramSet.h"
#include "Prompter.h"

#include <QLabel>

namespace tessaly {

DeviceLoadPanel::DeviceLoadPanel(LoadContext context, Prompter& prompter, SynchronisationView view,
                                 QObject* parent)
    : QObject(parent), m_context(std::move(context)), m_prompter(prompter),
      m_view(std::move(view)) {}

QCoro::Task<> DeviceLoadPanel::sbPcDownClick(CancelToken cancel) {
    if (m_running)
        co_return;
    if (!m_prompter.question(tr("将电脑数据同步到机器中,系统将自动覆盖机器中所有的"
                                "程序记录,确实要进行该同步操作吗？")))
        co_return;
    m_running = true;
    m_busyShown = false;
    // No other transfer may start while the probe runs.
    m_view.setButtonsEnabled(false);
    LoadResult result;
    try {
        ProgramLoad load(m_context, *this);
        result = co_await load.loadWholeDevice(cancel);
    } catch (const SequenceCancelled&) {
        co_return; // the main window is closing
    }
    finish(result);
}

// A load that ended before the clear leaves the window as it was. A timeout or a failed write
// takes the panel down before its message; otherwise the buttons come back under the message
// and the panel goes once it is closed.
void DeviceLoadPanel::finish(const LoadResult& result) {
    m_running = false;
    const QString message = result.outcome == LoadOutcome::WriteFailed
                                ? m_context.channel.withLossCause(wholeDeviceLoadMessage(result))
                                : wholeDeviceLoadMessage(result);
    if (!m_busyShown) {
        m_view.setButtonsEnabled(true);
        m_prompter.notice(message);
        return;
    }
    if (result.outcome == LoadOutcome::ClearTimedOut ||
        result.outcome == LoadOutcome::WriteFailed) {
        m_view.end();
        m_prompter.notice(message);
        return;
    }
    m_view.setButtonsEnabled(true);
    m_prompter.notice(message);
    m_view.end();
}

QLabel* DeviceLoadPanel::label(const char* name) const {
    return m_view.progressPanel->findChild<QLabel*>(QLatin1String(name));
}

void DeviceLoadPanel::clearStarted() {
    label("LbJM")->clear();
    label("Lb_Total")->setText(QStringLiteral("0"));
    label("Lb_Left")->setText(QStringLiteral("0"));
    label("LabMess")->setText(tr("正在清除播放器中程序记录，请稍候..."));
    m_view.begin();
    m_busyShown = true;
}

void DeviceLoadPanel::cleared() {
    label("LabMess")->setText(tr("正在进行数据同步，将电脑数据装载到机器中，请稍候..."));
}

void DeviceLoadPanel::setStarted(int set, int total) {
    label("Lb_down")->clear();
    label("LbJM")->setText(setDisplayName(set));
    label("Lb_Total")->setText(QString::number(total));
    label("Lb_Left")->setText(QString::number(total));
}

void DeviceLoadPanel::recordSent(int, int left) {
    label("Lb_Left")->setText(QString::number(left));
}

} // namespace tessaly
