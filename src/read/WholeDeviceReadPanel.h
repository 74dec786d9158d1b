#pragma once

#include "ReadObserver.h"

#include <QPointer>
#include <functional>

class QLabel;
class QWidget;

namespace tessaly {

// The whole-device read as the main window shows it: on its progress panel (Pan_Mess, with
// LabMess, LbJM, Lb_Total and Lb_Left) between the window's begin and end of a synchronisation.
class WholeDeviceReadPanel final : public ReadObserver {
public:
    static QString statusText();

    WholeDeviceReadPanel(QWidget* progressPanel, std::function<void()> begin,
                         std::function<void()> end);

private:
    void busy(bool busy) override;
    void readStarted(int set) override;
    void headSeen(int announced) override;
    void bytesStored(int count, int recordsLeft) override;
    void setEmpty(int set) override;
    void progressDone() override;

    void setCounts(int total, int left);
    void repaint();

    QPointer<QWidget> m_panel;
    std::function<void()> m_begin;
    std::function<void()> m_end;
    QLabel* m_status = nullptr;
    QLabel* m_set = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_left = nullptr;
};

} // namespace tessaly
