// The yardstick for the program's start-up: an empty window of the main window's size,
// started and ended the same way (TESSALY_EXIT_AFTER_FIRST_PAINT).
#include "FirstPaintExit.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tessaly"));
    window.setFixedSize(558, 411);
    tessaly::exitAfterFirstPaintWhenAsked(window);
    window.show();
    return application.exec();
}
