#pragma once

#include "DataModule.h"
#include "DeviceChannel.h"
#include "PlayerDatabase.h"
#include "ProgramLoad.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "Session.h"
#include "SimulatedSerialLink.h"
#include "VirtualClock.h"

#include "ProgramSamples.h"
#include "QtPrinters.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace tessaly::testing {

// A simulated player on COM1 in virtual time, and the session a load shares with the windows.
struct PlayerLine {
    explicit PlayerLine(PlayerOptions options = {}) : serial(clock, options) {}

    // The frames the player recognised, as upper-case hex without spaces.
    QStringList framesReceived() const {
        QStringList frames;
        for (const auto& frame : serial.player().received())
            frames.append(QString::fromLatin1(frame.bytes.toHex().toUpper()));
        return frames;
    }
    QList<qint64> timesReceived() const {
        QList<qint64> times;
        for (const auto& frame : serial.player().received())
            times.append(frame.timeMs);
        return times;
    }
    int recordFramesReceived() const {
        int count = 0;
        for (const auto& frame : serial.player().received())
            count += frame.bytes.size() == frame::RecordLength;
        return count;
    }

    LoadContext context(const QSqlDatabase& database) {
        return {channel, clock, database, session};
    }

    VirtualClock clock;
    Session session;
    SimulatedSerialLink serial;
    DeviceChannel channel{serial, session.link};
};

// A fresh PlayerDB.mdb with programs added by the test.
class LoadFixture : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        ASSERT_TRUE(folder.isValid());
        QString error;
        ASSERT_TRUE(createPlayerDatabase(folder.filePath(databaseFileName()), &error))
            << error.toStdString();
        ScriptedPrompter quiet;
        ASSERT_TRUE(data.ConnectDatabase(quiet, folder.path()));
    }

    void addProgram(const ProgramRecord& record) {
        QString error;
        ASSERT_TRUE(ProgramStore(data.database()).insert(ProgramTable::MusicTab, record, &error))
            << error.toStdString();
    }

    // What the PC's programs of `set` encode to, as the player should store them.
    std::vector<RecordFrame> expectedFrames(int set) {
        QString error;
        const auto frames = buildSetFrames(data.database(), set, &error);
        EXPECT_TRUE(frames.has_value()) << error.toStdString();
        return frames.value_or(std::vector<RecordFrame>{});
    }

    QTemporaryDir folder;
    DataModule data;
};

} // namespace tessaly::testing
