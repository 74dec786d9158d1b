#pragma once

#include "Clock.h"
#include "PortMap.h"

#include <QWidget>

#include <memory>
#include <qcoro/qcorotask.h>

class QLabel;
class QMenu;
class QPushButton;

namespace tessaly {

class DataModule;
class DeviceChannel;
class DeviceLoadPanel;
struct LoadContext;
class Prompter;
class SettingsPanel;
class SettingsStore;
struct Session;

// What the main window works with; all of it outlives the window.
struct MainWindowServices {
    Clock& clock;
    DeviceChannel& channel;
    Prompter& prompter;
    DataModule& data;
    PortMap portMap;
    QString appDir = {}; // the database's folder; empty: the executable's own
};

// TfrmMain: the only non-modal window. Opens the editor, load and read dialogs, runs the
// whole-device synchronisations on its progress panel, holds the communication settings and
// checks the link once after start.
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int StartupCheckDelayMs = 600;

    MainWindow(MainWindowServices services, Session& session, QWidget* parent = nullptr);
    ~MainWindow() override;

    // True once the start is done (it runs after the first paint); false before, and for good
    // when the database could not be opened: the process must end then.
    bool started() const { return m_started; }

    // The busy convention of the whole-device synchronisations: the progress panel replaces
    // the settings panel and the seven buttons are disabled until the end.
    void beginSynchronisation();
    void endSynchronisation();

    SettingsPanel* settingsPanel() const { return m_settingsPanel; }

    void sbEditClick();
    void sbDownClick();
    void sbExitClick();

    // The menu of a right-click at `pos`: on the window's background (the banner included) it
    // offers "备份与恢复…" and "核对播放器…", off while a synchronisation runs; elsewhere there is
    // none.
    std::unique_ptr<QMenu> backgroundMenu(QPoint pos);
    // Opens "备份与恢复".
    void openBackups();
    // Opens "核对播放器".
    void openVerify();

signals:
    // A modal dialog has been created; tests close it from here.
    void dialogOpened(QWidget* dialog);
    // The start after the first paint is over: false when the database could not be opened
    // (the message has been shown).
    void startFinished(bool started);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildBanner();
    void buildButtons();
    void buildProgressPanel();
    void buildHiddenPanels();
    void connectButtons();
    QList<QPushButton*> sevenButtons() const;
    void setSevenButtonsEnabled(bool enabled);

    void FormShow();
    void restoreSettings();
    void useRestoredSettings();
    QCoro::Task<> startupLinkCheck();
    LoadContext loadContext() const;
    void sbReadClick();
    QCoro::Task<> sbMachinDownClick();

    MainWindowServices m_services;
    Session& m_session;
    std::unique_ptr<SettingsStore> m_settingsStore;
    CancelToken m_cancel;
    bool m_startQueued = false;
    bool m_started = false;

    QPushButton* m_edit = nullptr;
    QPushButton* m_down = nullptr;
    QPushButton* m_read = nullptr;
    QPushButton* m_pcDown = nullptr;
    QPushButton* m_machineDown = nullptr;
    QPushButton* m_exit = nullptr;
    QPushButton* m_set = nullptr;
    QWidget* m_progressPanel = nullptr; // Pan_Mess
    SettingsPanel* m_settingsPanel = nullptr;
    DeviceLoadPanel* m_pcDownLoad = nullptr; // the whole-device load on Pan_Mess
};

} // namespace tessaly
