#include "MessageBoxPrompter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

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

// What a window manager's title bar puts beside the caption: the window's icon, the minimise,
// maximise and close buttons and the padding between them.
constexpr int kTitleBarDecorationWidth = 160;

// QMessageBox sizes itself to its text and only allows a small margin for the caption, so a
// short text left "信息提示：" cut to "信…" in the title bar. A spacer as wide as the caption
// plus the title bar's decoration keeps the box at least that wide; text, icon and buttons
// are left as they are.
void keepCaptionWhole(QMessageBox& dialog) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid)
        return;
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int width =
        QFontMetrics(titleFont).horizontalAdvance(dialog.windowTitle()) + kTitleBarDecorationWidth;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
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
    keepCaptionWhole(dialog);
    const int result = dialog.exec();
    return result == QMessageBox::Ok ? MessageBox::Button::Ok : MessageBox::Button::Cancel;
}

} // namespace tessaly
