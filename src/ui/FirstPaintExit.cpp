#include "FirstPaintExit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace tessaly {

namespace {

class FirstPaintWatch final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued, so that the paint (children included) is finished when the line goes out.
            QTimer::singleShot(0, [] {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

void exitAfterFirstPaintWhenAsked(QWidget& window) {
    if (qEnvironmentVariableIsEmpty("TESSALY_EXIT_AFTER_FIRST_PAINT"))
        return;
    window.installEventFilter(new FirstPaintWatch(&window));
}

} // namespace tessaly
