#pragma once

#include <gtest/gtest.h>

#include <QApplication>

// The one QApplication of a widget test process, made on first use; offscreen unless the
// caller chose a display. It is deleted when the tests have run, not by the exit handlers:
// Qt's own globals (the input devices that QTest's key clicks register, among them) are
// already gone by then, and an application destroyed after them crashes on the way out.
inline QApplication& testApplication() {
    class Owner final : public ::testing::Environment {
    public:
        explicit Owner(QApplication* application) : m_application(application) {}
        void TearDown() override { delete m_application; }

    private:
        QApplication* m_application;
    };

    static QApplication* application = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tessaly-tests";
        static char* argv[] = {name, nullptr};
        auto* created = new QApplication(argc, argv);
        ::testing::AddGlobalTestEnvironment(new Owner(created));
        return created;
    }();
    return *application;
}
