#include "ReadDialog.h"
#include "ui_ReadDialog.h"

#include "Banner.h"
#include "DeviceChannel.h"
#include "Probe.h"
#include "ProgramStore.h"
#include "Prompter.h"
#include "ReadDataWindow.h"
#include "Session.h"
#include "SetRead.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace tessaly {

ReadDialog::ReadDialog(ReadDialogServices services, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ReadDialog>()), m_services(std::move(services)) {
    m_ui->setupUi(this);
    setFixedSize(size());
    setModal(true);
    m_ui->Image1->setPixmap(bannerPicture(m_ui->Image1->size(), tr("程序读取")));
    m_ui->PBar_Pro->setTextVisible(false);
    m_ui->PBar_Pro->setRange(0, 100);

    const QPushButton* buttons[] = {m_ui->sbJM1, m_ui->sbJM2, m_ui->sbJM3, m_ui->sbJM4};
    for (int set = 1; set <= 4; ++set)
        connect(buttons[set - 1], &QPushButton::clicked, this, [this, set] { sbJMClick(set); });
    connect(m_ui->sbXianshi, &QPushButton::clicked, this, &ReadDialog::sbXianshiClick);
    connect(m_ui->sbExit, &QPushButton::clicked, this, &QDialog::close);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

ReadDialog::~ReadDialog() {
    m_cancel.cancel();
}

void ReadDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

// The title-bar close is a deliberate act, unlike Escape: it ends a running read as well.
void ReadDialog::closeEvent(QCloseEvent* event) {
    m_cancel.cancel();
    if (m_reading)
        abandonRead();
    QDialog::closeEvent(event);
}

// The read's sequence is suspended on a wait now and ends at its next step without touching
// anything, its hold on the port included. What it may have stored of the set so far goes: a
// read that did not complete leaves nothing to show or save.
void ReadDialog::abandonRead() {
    m_reading = false;
    if (QString error; !ProgramStore(m_services.db).deleteAll(ProgramTable::MusicReadTab, &error))
        m_services.prompter.notice(error);
}

// Escape comes here: a read in progress is never abandoned by a key.
void ReadDialog::reject() {
    if (!m_reading)
        QDialog::reject();
}

QCoro::Task<> ReadDialog::FormShow() {
    m_readSet = 1;
    showLink(false);
    // A read started now would probe the port again while this probe waits for its answer.
    for (auto* button : setButtons())
        button->setEnabled(false);
    ProbeResult result;
    try {
        result =
            co_await ProbeAlone(m_services.channel, m_services.clock, probe::WindowShow, m_cancel);
    } catch (const SequenceCancelled&) {
        co_return; // closed while probing: nothing of the dialog is touched
    }
    if (result != ProbeResult::ChannelBusy)
        showLink(result == ProbeResult::Accepted);
    for (auto* button : setButtons())
        button->setEnabled(true);
}

QCoro::Task<> ReadDialog::sbJMClick(int set) {
    if (m_reading)
        co_return;
    m_reading = true;
    // A named context: GCC 12 ends temporaries inside a co_await expression too early.
    ReadContext context{m_services.channel, m_services.clock, m_services.prompter,
                        m_services.session, m_services.db};
    context.messageNamesLossCause = true;
    try {
        co_await readSet(context, set, *this, m_cancel);
    } catch (const SequenceCancelled&) {
        co_return; // the dialog is gone
    }
    m_reading = false;
}

void ReadDialog::sbXianshiClick() {
    ReadDataWindow viewer(m_services.clock, m_services.prompter, m_services.db, m_services.session,
                          this);
    emit viewerOpened(&viewer);
    viewer.exec();
}

void ReadDialog::showLink(bool up) {
    m_ui->SP_State->setConnected(up);
    m_ui->Lb_Mess->setText(up ? tr("连接成功") : tr("连接失败"));
}

QList<QWidget*> ReadDialog::setButtons() const {
    return {m_ui->sbJM1, m_ui->sbJM2, m_ui->sbJM3, m_ui->sbJM4};
}

QList<QWidget*> ReadDialog::readButtons() const {
    return setButtons() << m_ui->sbExit;
}

void ReadDialog::busy(bool busy) {
    for (auto* button : readButtons())
        button->setEnabled(!busy);
}

void ReadDialog::readStarted(int set) {
    m_readSet = set;
    m_ui->Lb_down->clear();
    m_ui->sbXianshi->setEnabled(false);
}

void ReadDialog::headSeen(int announced) {
    m_ui->Lb_Total->setText(QString::number(announced));
    m_ui->Lb_Left->setText(QString::number(announced));
    m_ui->Pan_Mess->setVisible(true);
    m_ui->PBar_Pro->setRange(0, announced * 33);
    m_ui->PBar_Pro->setValue(0);
}

void ReadDialog::bytesStored(int count, int recordsLeft) {
    m_ui->PBar_Pro->setValue(qMin(m_ui->PBar_Pro->maximum(), m_ui->PBar_Pro->value() + count));
    m_ui->Lb_Left->setText(QString::number(recordsLeft));
}

void ReadDialog::recordStored() {
    m_ui->sbXianshi->setEnabled(true);
    m_ui->PBar_Pro->setValue(qMin(m_ui->PBar_Pro->maximum(), m_ui->PBar_Pro->value() + 1));
}

void ReadDialog::setReadEnded(SetReadEnd end) {
    if (const QString status = setReadStatus(end); !status.isEmpty())
        m_ui->Lb_down->setText(status);
    if (end == SetReadEnd::Completed) {
        m_ui->PBar_Pro->setValue(m_ui->PBar_Pro->maximum());
        m_ui->Pan_Mess->setVisible(false);
    }
    repaint();
}

} // namespace tessaly
