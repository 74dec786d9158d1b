#pragma once

#include "Prompter.h"

class QWidget;

namespace tessaly {

// Shows each box as a modal QMessageBox centred on the window that asks (`parent` when no
// modal dialog is open). With TESSALY_PROMPTS=stderr in the
// environment (unattended runs, such as the tests of the real executable) the box is written
// to the standard error stream and answered with its default button instead.
class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget* parent) { m_parent = parent; }
    MessageBox::Button show(const MessageBox& box) override;

private:
    QWidget* askingWindow() const;

    QWidget* m_parent;
};

} // namespace tessaly
