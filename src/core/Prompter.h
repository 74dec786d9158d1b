#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <functional>

namespace tessaly {

// A modal message box, as the engine asks for it. The face decides how it looks.
struct MessageBox {
    enum class Icon { None, Information, Question, Warning };
    enum class Button { Ok, Cancel };

    QString caption;
    QString text;
    Icon icon = Icon::Information;
    QList<Button> buttons{Button::Ok};
    Button defaultButton = Button::Ok;
    // Why something failed, beneath the text (a database's own error, for instance); the text
    // stays what the operator always reads.
    QString details = {};

    bool operator==(const MessageBox&) const = default;
};

// Caption of every box but the database failure at start.
inline QString standardCaption() {
    return QCoreApplication::translate("Prompter", "信息提示：");
}

// The seam for message boxes: QMessageBox in the application, scripted answers in tests.
class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows the box and returns the button that closed it.
    virtual MessageBox::Button show(const MessageBox& box) = 0;

    // A notice: OK only, information icon.
    void notice(const QString& text, const QString& caption = standardCaption());
    // A notice of a failure, with its cause as the box's details.
    void failure(const QString& text, const QString& cause);

    // A question: OK and Cancel, question icon, Cancel by default. True only for OK.
    bool question(const QString& text, const QString& caption = standardCaption());
};

// Answers from a script (OK when the script has run out) and remembers every box shown.
class ScriptedPrompter final : public Prompter {
public:
    MessageBox::Button show(const MessageBox& box) override;

    void answerNext(MessageBox::Button button) { m_script.append(button); }
    // Called as each box is shown, to look at the windows at that moment.
    void onShow(std::function<void(const MessageBox&)> look) { m_look = std::move(look); }
    const QList<MessageBox>& shown() const { return m_shown; }
    QStringList shownTexts() const;

private:
    QList<MessageBox::Button> m_script;
    QList<MessageBox> m_shown;
    std::function<void(const MessageBox&)> m_look;
};

} // namespace tessaly
