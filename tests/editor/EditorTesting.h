#pragma once

#include "Backups.h"
#include "DataModule.h"
#include "EditorWindow.h"
#include "Prompter.h"
#include "Session.h"
#include "VirtualClock.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>

// The editor window over a fresh database and virtual time, with scripted message boxes.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Stores a program directly, as earlier sessions would have left it.
    qint64 store(const QString& set, QTime start, bool priority = false,
                 std::array<bool, 7> weekdays = {true}, const QString& orderNo = "001");
    void execute(const QString& sql);
    // "hh:mm:ss=OrderNo" of the set's stored programs, in start order.
    QStringList numbering(const QString& set);
    int storedCount(const QString& set);
    // The set's stored programs, in OrderNo order.
    QList<tessaly::ProgramRecord> stored(const QString& set);

    void open();
    void reopen();

    template <typename T = QWidget> T* control(const QString& name) {
        auto* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void click(const QString& button);
    void tick(const QString& box); // a click on a check box
    void setText(const QString& box, const QString& text);
    QString text(const QString& control);
    bool checked(const QString& box);
    void setTimes(const QString& start, const QString& end = "00:00:00");
    QString focused() const;
    // Key presses as the keyboard sends them, through the application's event filters.
    void typeKeys(QWidget* target, const QString& text);
    void pressKey(QWidget* target, Qt::Key key);
    QString lastMessage() const;
    // The backups taken so far, newest first.
    QList<tessaly::BackupEntry> backups() const {
        return tessaly::listBackups(folder.filePath("backups"));
    }

    QTemporaryDir folder;
    tessaly::VirtualClock clock;
    tessaly::Session session;
    tessaly::ScriptedPrompter prompter;
    tessaly::DataModule data;
    std::unique_ptr<tessaly::EditorWindow> window;
};
