#pragma once

#include "Clock.h"
#include "ReadObserver.h"

#include <QDialog>
#include <QSqlDatabase>
#include <qcoro/qcorotask.h>

#include <memory>

namespace Ui {
class ReadDialog;
}

namespace tessaly {

class DeviceChannel;
class Prompter;
struct Session;

// What the read dialog works with; all of it outlives the dialog.
struct ReadDialogServices {
    Clock& clock;
    DeviceChannel& channel;
    Prompter& prompter;
    Session& session;
    QSqlDatabase db;
};

// TfrmRead: reads one set from the player into the read-back table, with a progress display,
// and opens the viewer on what was read. While a read runs, Escape is refused, as in the load
// dialog; the title-bar close ends the read safely and leaves the read-back table empty, and
// destroying the dialog still cancels the read safely.
class ReadDialog final : public QDialog, private ReadObserver {
    Q_OBJECT
public:
    explicit ReadDialog(ReadDialogServices services, QWidget* parent = nullptr);
    ~ReadDialog() override;

    int ReadSet() const { return m_readSet; }
    bool isReading() const { return m_reading; }

signals:
    // The read-back viewer has been created over this dialog; tests close it from here.
    void viewerOpened(QWidget* viewer);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QCoro::Task<> FormShow();
    QCoro::Task<> sbJMClick(int set);
    void sbXianshiClick();

    void abandonRead();
    void showLink(bool up);
    QList<QWidget*> setButtons() const;  // sbJM1..sbJM4
    QList<QWidget*> readButtons() const; // and sbExit: what a running read disables

    // ReadObserver
    void linkChecked(bool up) override { showLink(up); }
    void busy(bool busy) override;
    void readStarted(int set) override;
    void headSeen(int announced) override;
    void bytesStored(int count, int recordsLeft) override;
    void recordStored() override;
    void setReadEnded(SetReadEnd end) override;

    std::unique_ptr<Ui::ReadDialog> m_ui;
    ReadDialogServices m_services;
    CancelToken m_cancel;
    int m_readSet = 1;
    bool m_shown = false;
    bool m_reading = false;
};

} // namespace tessaly
