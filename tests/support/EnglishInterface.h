#pragma once

#include "AccessibleText.h"
#include "Language.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStringList>
#include <QStyle>
#include <QTabWidget>
#include <QWidget>

namespace tessaly::testing {

// The English catalogue installed for as long as the object lives, as `--lang en` does for the
// program. Windows made while it lives show English.
class EnglishInterface {
public:
    bool loaded() const { return m_english.loaded(); }

private:
    LanguageCatalogues m_english{Language::English};
};

inline bool holdsChinese(const QString& text) {
    static const QRegularExpression han(QStringLiteral("[\\x{3000}-\\x{303F}\\x{4E00}-\\x{9FFF}"
                                                       "\\x{FF00}-\\x{FFEF}]"));
    return text.contains(han);
}

// Every text of `root` and its children that holds Chinese: titles, labels, buttons, group
// titles, items, column titles, tab and action texts, tooltips and accessible names, each as
// "objectName: where: text". In English, the list is empty.
inline QStringList chineseTextsIn(QWidget* root) {
    QStringList found;
    const auto check = [&found](const QObject* owner, const char* where, const QString& text) {
        if (holdsChinese(text))
            found.append(
                QStringLiteral("%1: %2: %3").arg(owner->objectName(), QLatin1String(where), text));
    };
    const auto headers = [&check](const QHeaderView* header, Qt::Orientation orientation) {
        if (!header || !header->model())
            return;
        for (int section = 0; section < header->count(); ++section)
            check(header, "header", header->model()->headerData(section, orientation).toString());
    };
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        check(w, "window title", w->isWindow() ? w->windowTitle() : QString());
        check(w, "tooltip", w->toolTip());
        check(w, "accessible name", w->accessibleName());
        check(w, "accessible description", w->accessibleDescription());
        if (auto* label = qobject_cast<QLabel*>(w))
            check(w, "text", label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            check(w, "text", button->text());
        if (auto* group = qobject_cast<QGroupBox*>(w))
            check(w, "title", group->title());
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            check(w, "placeholder", edit->placeholderText());
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                check(w, "item", combo->itemText(i));
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                check(w, "tab", tabs->tabText(i));
        if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model()) {
            const auto* model = view->model();
            for (int row = 0; row < model->rowCount(); ++row)
                for (int column = 0; column < model->columnCount(); ++column)
                    check(w, "item", model->index(row, column).data().toString());
        }
        for (QAction* action : w->actions()) {
            check(action, "action", action->text());
            check(action, "action tooltip", action->toolTip());
        }
    }
    for (auto* header : root->findChildren<QHeaderView*>())
        headers(header, header->orientation());
    return found;
}

// The room a button's text needs. A push or tool button's size hint also holds the style's
// minimum width (Fusion asks 80 px of any push button) and a tool button's frame, which a
// narrow button of the window lacks in either language; what must fit is the text within the
// button's margins. Check boxes and radio buttons need their indicator too: their hint says so.
inline int roomNeeded(QAbstractButton* button) {
    if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
        return button->sizeHint().width();
    const int text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width();
    if (!qobject_cast<QPushButton*>(button))
        return text;
    // The margin and frame QCommonStyle adds around a push button's text.
    const QStyle* style = button->style();
    return text + style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
           2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
}

// The shown labels and buttons of `root` whose one-line text is wider than the control
// ("objectName: text"): in English the texts are longer, and none may be cut off.
inline QStringList clippedTextsIn(QWidget* root) {
    QStringList clipped;
    const auto check = [&clipped](QWidget* w, const QString& text, int needed) {
        if (!text.isEmpty() && w->isVisible() && needed > w->width())
            clipped.append(QStringLiteral("%1: %2 (needs %3 px, has %4)")
                               .arg(w->objectName(), text)
                               .arg(needed)
                               .arg(w->width()));
    };
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap())
            check(w, label->text(), label->sizeHint().width());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            check(w, button->text(), roomNeeded(button));
    }
    return clipped;
}

// What keeps `root` from reading as a whole English window: texts left in Chinese, texts cut
// off, and labels a screen reader would not read as they are shown. Empty when it is right.
inline QStringList englishFaultsIn(QWidget* root) {
    return chineseTextsIn(root) + clippedTextsIn(root) + labelsNotReadAsShown(root);
}

} // namespace tessaly::testing
