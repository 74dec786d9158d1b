#include "WholeDeviceReadPanel.h"

#include "ProgramSet.h"

#include <QCoreApplication>
#include <QLabel>
#include <QWidget>

namespace tessaly {

QString WholeDeviceReadPanel::statusText() {
    return QCoreApplication::translate("WholeDeviceReadPanel",
                                       "正在进行数据同步，将机器数据装载到电脑中，请稍候...");
}

WholeDeviceReadPanel::WholeDeviceReadPanel(QWidget* progressPanel, std::function<void()> begin,
                                           std::function<void()> end)
    : m_panel(progressPanel), m_begin(std::move(begin)), m_end(std::move(end)),
      m_status(progressPanel->findChild<QLabel*>(QStringLiteral("LabMess"))),
      m_set(progressPanel->findChild<QLabel*>(QStringLiteral("LbJM"))),
      m_total(progressPanel->findChild<QLabel*>(QStringLiteral("Lb_Total"))),
      m_left(progressPanel->findChild<QLabel*>(QStringLiteral("Lb_Left"))) {}

void WholeDeviceReadPanel::busy(bool busy) {
    if (!m_panel)
        return;
    if (!busy) {
        m_end();
        return;
    }
    m_status->setText(statusText());
    m_set->clear();
    setCounts(0, 0);
    m_begin();
}

void WholeDeviceReadPanel::readStarted(int set) {
    if (!m_panel)
        return;
    m_set->setText(setDisplayName(set));
    setCounts(0, 0);
    repaint();
}

void WholeDeviceReadPanel::headSeen(int announced) {
    setCounts(announced, announced);
    repaint();
}

void WholeDeviceReadPanel::bytesStored(int /*count*/, int recordsLeft) {
    if (m_panel)
        m_left->setText(QString::number(recordsLeft));
}

void WholeDeviceReadPanel::setEmpty(int /*set*/) {
    setCounts(0, 0);
    repaint();
}

void WholeDeviceReadPanel::progressDone() {
    if (m_panel)
        m_panel->hide();
}

void WholeDeviceReadPanel::setCounts(int total, int left) {
    if (!m_panel)
        return;
    m_total->setText(QString::number(total));
    m_left->setText(QString::number(left));
}

void WholeDeviceReadPanel::repaint() {
    if (m_panel)
        m_panel->window()->repaint();
}

} // namespace tessaly
