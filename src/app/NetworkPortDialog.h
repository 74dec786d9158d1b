#pragma once

#include "NetworkTarget.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace tessaly {

// Points one COM number at a serial device server: raw TCP or RFC 2217, host and port. OK
// refuses a bad host or port, saying which, and the dialog stays open to mend it.
class NetworkPortDialog final : public QDialog {
    Q_OBJECT
public:
    // `current`: the URL stored for the COM now, to start from; may be empty.
    NetworkPortDialog(int com, const QString& current, QWidget* parent);

    int com() const { return m_com; }
    // The target entered; meaningful once the dialog has been accepted.
    NetworkTarget target() const { return m_target; }

    void accept() override;

private:
    // What is wrong with the entries; empty when they make a target (then in m_target).
    QString checkEntries();

    int m_com;
    NetworkTarget m_target;
    QRadioButton* m_raw = nullptr;
    QRadioButton* m_rfc2217 = nullptr;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_port = nullptr;
    QLabel* m_refusal = nullptr;
};

} // namespace tessaly
