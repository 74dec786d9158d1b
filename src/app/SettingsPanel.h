#pragma once

#include "Clock.h"
#include "PortMap.h"

#include <QFrame>
#include <qcoro/qcorotask.h>

class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace tessaly {

class DeviceChannel;
class Prompter;
class SettingsStore;

// PanSet: the communication settings of the main window, and the start-up failure banner
// (the same panel cut to its heading). The operator picks a port, tests it with the probe and
// saves it once the test has succeeded.
class SettingsPanel final : public QFrame {
    Q_OBJECT
public:
    SettingsPanel(DeviceChannel& channel, Clock& clock, Prompter& prompter, SettingsStore& settings,
                  const PortMap& portMap, QWidget* parent);
    ~SettingsPanel() override;

    // FormShow: the heading reads the banner text and the panel is cut to the banner.
    void prepareBanner();
    // Selects the list entry of `port` (no selection when it is outside COM1..COM20).
    void selectPort(int port);
    void setStatus(const QString& text);
    // The start-up check could not open the port: the status asks for a test.
    void reportPortNotOpened();
    QString status() const;
    // The line beneath the status naming why the port could not be opened; often empty.
    QString cause() const;
    // Shows `cause` beneath the status, wrapped to the panel's width.
    void showCause(const QString& cause);

    // The handlers of the panel's controls.
    void sbSetClick();
    QCoro::Task<> sbTestClick();
    void sbSaveClick();
    void cmbComChange();
    void sbCloseClick();

    // Beside the described controls: pointing the chosen COM at a network target, or no longer
    // (the small button next to the list, and the list's context menu).
    void editNetworkPort();
    void clearNetworkPort();
    QMenu* portMenu();

    bool isTesting() const { return m_testing; }

private:
    void buildControls(const PortMap& portMap);
    void setHeading(const QString& text);
    void explainPortFailure(int port, bool opened = false);
    int chosenCom() const;
    // The list shows the new target, and the port must be tested again.
    void networkPortChanged();

    DeviceChannel& m_channel;
    Clock& m_clock;
    Prompter& m_prompter;
    SettingsStore& m_settings;
    PortMap m_portMap;
    CancelToken m_cancel;
    bool m_testing = false;

    QLabel* m_heading = nullptr;  // Lbl_Item
    QComboBox* m_ports = nullptr; // cmbCom
    QLabel* m_status = nullptr;   // Lb_Mess
    QLabel* m_cause = nullptr;    // Lb_Cause
    QString m_causeText;
    QPushButton* m_test = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
    QToolButton* m_networkPort = nullptr; // sbNetPort
};

} // namespace tessaly
