#include "MessageBoxPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace tessaly {

namespace {

QMessageBox::Icon toQt(MessageBox::Icon icon) {
    switch (icon) {
    case MessageBox::Icon::Information:
        return QMessageBox::Information;
    case MessageBox::Icon::Question:
        return QMessageBox::Question;
    case MessageBox::Icon::Warning:
        return QMessageBox::Warning;
    case MessageBox::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toQt(MessageBox::Button button) {
    return button == MessageBox::Button::Ok ? QMessageBox::Ok : QMessageBox::Cancel;
}

bool answersOnStandardError() {
    return qEnvironmentVariable("TESSALY_PROMPTS") == QLatin1String("stderr");
}

} // namespace

// A box belongs to the window that asks, and is centred on it: the modal dialog on top when
// there is one (the load or read dialog, the editor), otherwise the main window.
QWidget* MessageBoxPrompter::askingWindow() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return m_parent;
}

MessageBox::Button MessageBoxPrompter::show(const MessageBox& box) {
    if (answersOnStandardError()) {
        std::fprintf(stderr, "[%s] %s\n", qPrintable(box.caption), qPrintable(box.text));
        if (!box.details.isEmpty())
            std::fprintf(stderr, "  %s\n", qPrintable(box.details));
        std::fflush(stderr);
        return box.defaultButton;
    }
    QMessageBox dialog(toQt(box.icon), box.caption, box.text, QMessageBox::NoButton,
                       askingWindow());
    for (const auto button : box.buttons)
        dialog.addButton(toQt(button));
    dialog.setDefaultButton(toQt(box.defaultButton));
    if (!box.details.isEmpty())
        dialog.setDetailedText(box.details);
    dialog.setEscapeButton(box.buttons.contains(MessageBox::Button::Cancel)
                               ? dialog.button(QMessageBox::Cancel)
                               : dialog.button(QMessageBox::Ok));
    const int result = dialog.exec();
    return result == QMessageBox::Ok ? MessageBox::Button::Ok : MessageBox::Button::Cancel;
}

} // namespace tessaly
