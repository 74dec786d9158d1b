#pragma once

#include <QAccessible>
#include <QLabel>
#include <QStringList>
#include <QWidget>

namespace tessaly::testing {

// What a screen reader says for a widget: its accessible name as the accessibility bus gives it.
inline QString spokenName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// The labels under `root` whose spoken name is not the text they show ("objectName: spoken ≠
// shown"). A label that shows a value must be read out by that value.
inline QStringList labelsNotReadAsShown(QWidget* root) {
    QStringList wrong;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (label->text().isEmpty() && !label->pixmap().isNull())
            continue; // a picture, named for what it shows
        const QString spoken = spokenName(label);
        if (spoken != label->text())
            wrong.append(
                QStringLiteral("%1: %2 ≠ %3").arg(label->objectName(), spoken, label->text()));
    }
    return wrong;
}

} // namespace tessaly::testing
