#pragma once

#include "CliProcess.h"
#include "DataModule.h"
#include "PlayerDatabase.h"
#include "ProgramStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tessaly::testing {

// A fresh program database in a folder of its own; tessaly-cli (TESSALY_CLI) is pointed at it
// with --db.
class CliDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QString error;
        ASSERT_TRUE(createPlayerDatabase(database(), &error)) << error.toStdString();
    }

    QString database() const { return folder.filePath(databaseFileName()); }

    // Stores `programs` in `table` of the database.
    void store(ProgramTable table, const QList<ProgramRecord>& programs) const {
        ScriptedPrompter prompter;
        DataModule data;
        ASSERT_TRUE(data.ConnectDatabaseFile(prompter, database()));
        ProgramStore store(data.database());
        for (const auto& program : programs)
            ASSERT_TRUE(store.insert(table, program));
    }

    // Runs tessaly-cli on the database, with `environment` added to the test's own.
    CliRun cliOnDatabase(const QStringList& arguments,
                         const QMap<QString, QString>& environment = {}) const {
        return runCli(TESSALY_CLI, QStringList{QStringLiteral("--db"), database()} + arguments,
                      environment);
    }

    QTemporaryDir folder;
};

} // namespace tessaly::testing
