#pragma once

#include "Clock.h"
#include "LoadObserver.h"
#include "ReadObserver.h"
#include "Verify.h"

#include <QDialog>
#include <QSqlDatabase>
#include <qcoro/qcorotask.h>

#include <functional>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace tessaly {

class DeviceChannel;
class DifferenceModel;
class Prompter;
struct Session;

// What the window works with; all of it outlives the window.
struct VerifyServices {
    Clock& clock;
    DeviceChannel& channel;
    Prompter& prompter;
    Session& session;
    QSqlDatabase db;
};

// "核对播放器": reads one set or all four from the player into memory, lists field by field
// where the player and the PC part, and loads again the sets that differ. Nothing is stored
// by a comparison. A comparison can be stopped, or ended by closing the window; a load runs to
// its end, as in the load window.
class VerifyDialog final : public QDialog, private ReadObserver, private LoadObserver {
    Q_OBJECT
public:
    // The set choice's entries: the four sets, then all four (the default).
    static constexpr int AllSetsChoice = 4;

    explicit VerifyDialog(VerifyServices services, QWidget* parent = nullptr);
    ~VerifyDialog() override;

    // The file the differences are exported to; empty when the operator cancelled.
    using FileChooser = std::function<QString()>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    QCoro::Task<> sbStartClick();
    void sbStopClick();
    QCoro::Task<> sbReloadClick();
    void sbExportClick();

    // Shows the outcome of a comparison: its differences in the table, the summary beneath.
    void showResult(const VerifyResult& result);

    bool isBusy() const { return m_phase != Phase::Idle; }
    const VerifyResult& result() const { return m_result; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    enum class Phase { Idle, Comparing, Stopping, Loading };

    void buildControls();
    QList<int> chosenSets() const;
    void enterPhase(Phase phase);
    void beginRun(Phase phase);
    void showProgress(const QString& text);

    // ReadObserver
    void readStarted(int set) override;
    void headSeen(int announced) override;
    void bytesStored(int count, int recordsLeft) override;
    // LoadObserver
    void clearStarted() override;
    void setStarted(int set, int total) override;
    void recordSent(int set, int left) override;

    VerifyServices m_services;
    CancelToken m_run; // the running comparison or load; a fresh one for each
    Phase m_phase = Phase::Idle;
    VerifyResult m_result;
    bool m_compared = false; // m_result holds a comparison that was made
    FileChooser m_chooseFile;
    int m_set = 0;
    int m_announced = 0;
    QList<int> m_loadOrder; // the sets a load of the differences goes through
    int m_loadsStarted = 0;
    int m_loadSet = 0;
    int m_loadTotal = 0;

    QComboBox* m_setChoice = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_stop = nullptr;
    QLabel* m_progressText = nullptr;
    QProgressBar* m_progress = nullptr;
    QTableView* m_table = nullptr;
    DifferenceModel* m_model = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_reload = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace tessaly
