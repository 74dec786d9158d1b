#include "Prompter.h"

#include <QStringList>

namespace tessaly {

void Prompter::notice(const QString& text, const QString& caption) {
    show({caption,
          text,
          MessageBox::Icon::Information,
          {MessageBox::Button::Ok},
          MessageBox::Button::Ok});
}

void Prompter::failure(const QString& text, const QString& cause) {
    show({standardCaption(),
          text,
          MessageBox::Icon::Information,
          {MessageBox::Button::Ok},
          MessageBox::Button::Ok,
          cause});
}

bool Prompter::question(const QString& text, const QString& caption) {
    const auto answer = show({caption,
                              text,
                              MessageBox::Icon::Question,
                              {MessageBox::Button::Ok, MessageBox::Button::Cancel},
                              MessageBox::Button::Cancel});
    return answer == MessageBox::Button::Ok;
}

MessageBox::Button ScriptedPrompter::show(const MessageBox& box) {
    m_shown.append(box);
    if (m_look)
        m_look(box);
    return m_script.isEmpty() ? MessageBox::Button::Ok : m_script.takeFirst();
}

QStringList ScriptedPrompter::shownTexts() const {
    QStringList texts;
    for (const auto& box : m_shown)
        texts.append(box.text);
    return texts;
}

} // namespace tessaly
