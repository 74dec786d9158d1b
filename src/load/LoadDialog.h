#pragma once

#include "LoadObserver.h"
#include "ProgramLoad.h"

#include <QDialog>
#include <qcoro/qcorotask.h>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tessaly {

class LinkIndicator;
class Prompter;

// Tfrmdown, "程序装载": probes the player when shown and loads one set per button: the set is
// cleared in the player, then its programs go out one frame every 500 ms while the progress
// panel counts down. The window cannot be closed while a load runs; every load ends by itself.
class LoadDialog final : public QDialog, private LoadObserver {
    Q_OBJECT
public:
    LoadDialog(LoadContext context, Prompter& prompter, QWidget* parent = nullptr);
    ~LoadDialog() override;

    // sbJM1Click .. sbJM4Click.
    QCoro::Task<> sbJMClick(int set);
    bool isLoading() const { return m_loading; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QCoro::Task<> FormShow();
    void setButtonsEnabled(bool enabled);
    void finishLoad(const LoadResult& result, int set);

    void linkChecked(bool up) override;
    void clearStarted() override;
    void setStarted(int set, int total) override;
    void recordSent(int set, int left) override;

    LoadContext m_context;
    Prompter& m_prompter;
    CancelToken m_cancel;
    bool m_shown = false;
    bool m_loading = false;

    LinkIndicator* m_state = nullptr;   // SP_State
    QLabel* m_linkText = nullptr;       // Lb_Mess
    QList<QPushButton*> m_setButtons;   // sbJM1 .. sbJM4
    QPushButton* m_exit = nullptr;      // sbExit
    QLabel* m_total = nullptr;          // Lb_Total
    QLabel* m_left = nullptr;           // Lb_Left
    QProgressBar* m_progress = nullptr; // PBar_Pro
    QLabel* m_status = nullptr;         // Lb_down
};

} // namespace tessaly
