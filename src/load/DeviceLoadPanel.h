#pragma once

#include "LoadObserver.h"
#include "ProgramLoad.h"

#include <QObject>
#include <qcoro/qcorotask.h>

#include <functional>

class QLabel;

namespace tessaly {

class Prompter;

// What the whole-device load uses of the main window.
struct SynchronisationView {
    QWidget* progressPanel;                      // Pan_Mess with LabMess, LbJM, Lb_Total, ...
    std::function<void(bool)> setButtonsEnabled; // the seven buttons
    std::function<void()> begin;                 // the busy convention: panel shown, buttons off
    std::function<void()> end;                   // panel hidden, buttons on
};

// "数据同步 电脑->机器" on the main window: after a confirmation the whole player is cleared
// and sets 1 to 4 go out, with the progress on the main window's panel.
class DeviceLoadPanel final : public QObject, private LoadObserver {
    Q_OBJECT
public:
    DeviceLoadPanel(LoadContext context, Prompter& prompter, SynchronisationView view,
                    QObject* parent = nullptr);

    // sbPcDownClick. `cancel` is the main window's: closing it ends the load where it stands.
    QCoro::Task<> sbPcDownClick(CancelToken cancel);
    bool isRunning() const { return m_running; }

private:
    void finish(const LoadResult& result);

    void clearStarted() override;
    void cleared() override;
    void setStarted(int set, int total) override;
    void recordSent(int set, int left) override;

    QLabel* label(const char* name) const;

    LoadContext m_context;
    Prompter& m_prompter;
    SynchronisationView m_view;
    bool m_running = false;
    bool m_busyShown = false;
};

} // namespace tessaly
