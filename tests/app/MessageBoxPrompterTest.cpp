#include "MessageBoxPrompter.h"

#include "Language.h"

#include "QtPrinters.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

using namespace tessaly;

namespace {

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

} // namespace

TEST(MessageBoxPrompter, QuestionsAndNoticesLookAsDescribed) {
    testApplication();
    MessageBoxPrompter prompter;

    auto seen = std::make_shared<Seen>();
    QTimer::singleShot(0, [seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *seen = {box->windowTitle(),
                 box->text(),
                 box->icon(),
                 {},
                 box->standardButton(box->defaultButton())};
        for (auto* button : box->buttons())
            seen->buttons.append(box->standardButton(button));
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_TRUE(prompter.question("确实需要关闭系统吗？"));
    EXPECT_EQ(seen->title, "信息提示：");
    EXPECT_EQ(seen->text, "确实需要关闭系统吗？");
    EXPECT_EQ(seen->icon, QMessageBox::Question);
    EXPECT_EQ(seen->defaultButton, QMessageBox::Cancel);
    EXPECT_EQ(seen->buttons.size(), 2);

    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        EXPECT_EQ(box->buttons().size(), 1);
        box->button(QMessageBox::Ok)->click();
    });
    prompter.notice("保存成功！");

    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_FALSE(prompter.question("播放器与软件通讯尚未连通确实需要关闭吗？"));
}

// A box asked for by a dialog is centred on that dialog, not on the main window.
TEST(MessageBoxPrompter, BoxesAreCentredOnTheAskingWindow) {
    testApplication();
    QWidget mainWindow;
    mainWindow.setGeometry(0, 0, 600, 400);
    mainWindow.show();
    MessageBoxPrompter prompter(&mainWindow);
    QDialog asking(&mainWindow);
    asking.setGeometry(400, 300, 380, 280); // inside the offscreen 800 × 600 screen
    asking.setModal(true);
    asking.show();

    auto parent = std::make_shared<QWidget*>(nullptr);
    auto centre = std::make_shared<QPoint>();
    QTimer::singleShot(0, [parent, centre] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *parent = box->parentWidget();
        *centre = box->frameGeometry().center();
        box->button(QMessageBox::Ok)->click();
    });
    prompter.notice("程序装载完毕！");
    EXPECT_EQ(*parent, &asking);
    EXPECT_LE((*centre - asking.frameGeometry().center()).manhattanLength(), 40)
        << centre->x() << "," << centre->y();
}

// The cause of a failure goes beneath the described text, as the box's details.
TEST(MessageBoxPrompter, AFailureCarriesItsCauseAsDetails) {
    testApplication();
    MessageBoxPrompter prompter;
    auto seen = std::make_shared<Seen>();
    auto details = std::make_shared<QString>();
    QTimer::singleShot(0, [seen, details] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen->text = box->text();
        seen->icon = box->icon();
        *details = box->detailedText();
        box->button(QMessageBox::Ok)->click();
    });
    prompter.failure("[第一套]数据保存失败！", "数据库被其他程序锁定（database is locked）");
    EXPECT_EQ(seen->text, "[第一套]数据保存失败！");
    EXPECT_EQ(seen->icon, QMessageBox::Information);
    EXPECT_EQ(*details, "数据库被其他程序锁定（database is locked）");
}

// Qt's own texts follow the window's language: a box's standard buttons and its detail button,
// and the file dialog's, read Chinese in the Chinese window and English in the English one.
// The described text and caption stay as they are.
TEST(MessageBoxPrompter, QtsOwnButtonsSpeakTheWindowsLanguage) {
    testApplication();
    const auto buttonsOf = [](QWidget* window) {
        QStringList texts;
        for (const auto* button : window->findChildren<QAbstractButton*>())
            texts.append(button->text());
        texts.sort();
        return texts;
    };
    const auto boxButtons = [&buttonsOf](Language language) {
        const LanguageCatalogues catalogues(language);
        MessageBoxPrompter prompter;
        auto seen = std::make_shared<std::pair<QStringList, QString>>();
        QTimer::singleShot(0, [seen, &buttonsOf] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            *seen = {buttonsOf(box), box->windowTitle() + ' ' + box->text()};
            box->button(QMessageBox::Cancel)->click();
        });
        prompter.show({standardCaption(),
                       "确实需要关闭系统吗？",
                       MessageBox::Icon::Question,
                       {MessageBox::Button::Ok, MessageBox::Button::Cancel},
                       MessageBox::Button::Cancel,
                       "details"});
        return *seen;
    };
    const auto fileDialogButtons = [&buttonsOf](Language language) {
        const LanguageCatalogues catalogues(language);
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        return buttonsOf(&dialog).filter(QRegularExpression("^(&?Save|&?Cancel|保存|取消)"));
    };

    const auto [chinese, chineseText] = boxButtons(Language::Chinese);
    EXPECT_EQ(chinese, (QStringList{"取消", "显示详情...", "确定"}));
    EXPECT_EQ(chineseText, "信息提示： 确实需要关闭系统吗？");
    EXPECT_EQ(fileDialogButtons(Language::Chinese), (QStringList{"保存(&S)", "取消"}));

    const auto [english, englishText] = boxButtons(Language::English);
    EXPECT_EQ(english, (QStringList{"Cancel", "OK", "Show Details..."}));
    EXPECT_EQ(fileDialogButtons(Language::English), (QStringList{"&Save", "Cancel"}));
}

// A window manager's title bar shows the caption beside the window's icon and its three
// buttons: a box must be wide enough for all of them, whatever its text, in both languages.
TEST(MessageBoxPrompter, TheCaptionShowsWholeInTheTitleBar) {
    testApplication();
    constexpr int titleBarButtonsAndIcon = 150;
    struct Case {
        Language language;
        QString caption, text, details;
    };
    const QList<Case> cases = {
        {Language::Chinese, "信息提示：", "保存成功！", {}},
        {Language::Chinese, "信息提示：", "数据保存失败！", "database is locked"},
        {Language::English, "Information", "Saved.", {}},
        {Language::English, "Tessaly - Confirm the replacement", "OK?", {}},
    };
    for (const auto& c : cases) {
        const LanguageCatalogues catalogues(c.language);
        MessageBoxPrompter prompter;
        auto seen = std::make_shared<std::tuple<int, int, QString>>();
        QTimer::singleShot(0, [seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
            titleFont.setBold(true);
            *seen = {box->width(), QFontMetrics(titleFont).horizontalAdvance(box->windowTitle()),
                     box->text()};
            box->button(QMessageBox::Ok)->click();
        });
        prompter.show({c.caption,
                       c.text,
                       MessageBox::Icon::Information,
                       {MessageBox::Button::Ok},
                       MessageBox::Button::Ok,
                       c.details});
        const auto [boxWidth, captionWidth, text] = *seen;
        EXPECT_GE(boxWidth, captionWidth + titleBarButtonsAndIcon) << c.caption.toStdString();
        EXPECT_EQ(text, c.text);
    }
}
