// The yardstick for the program's start-up: a window of the main window's size that shows the
// same static texts, in the same fonts and sizes (the banner's title and line, the six button
// captions) and nothing else, in the language chosen as the program chooses it. Started and
// ended the same way (TESSALY_EXIT_AFTER_FIRST_PAINT).
#include "FirstPaintExit.h"
#include "Language.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

namespace {

// The main window's texts, looked up in its context of the catalogue.
QString mainWindowText(const char* text) {
    return QCoreApplication::translate("tessaly::MainWindow", text);
}

void addText(QWidget& window, const QString& text, QRect geometry, int pixels, bool bold = false) {
    auto* label = new QLabel(text, &window);
    QFont font = label->font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    label->setFont(font);
    label->setGeometry(geometry);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const auto language = tessaly::chooseLanguage(QApplication::arguments(), QLocale::system());
    tessaly::useLanguage(language.language);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Tessaly"));
    window.setFixedSize(558, 411);
    addText(window, QStringLiteral("Tessaly"), {21, 0, 200, 64}, 26, true);
    addText(window, mainWindowText("节目播放器编程"), {300, 0, 236, 64}, 14);
    const char* const captions[] = {
        "程序编辑", "程序装载", "程序读取", "数据同步 电脑->机器", "数据同步 机器->电脑",
        "退出系统"};
    for (int i = 0; i < 6; ++i)
        addText(window, mainWindowText(captions[i]), {i < 3 ? 76 : 294, 118 + i % 3 * 75, 188, 57},
                18);
    tessaly::exitAfterFirstPaintWhenAsked(window);
    window.show();
    return application.exec();
}
