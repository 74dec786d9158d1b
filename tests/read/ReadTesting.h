#pragma once

#include "DbTesting.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "ReadObserver.h"
#include "RecordFrame.h"
#include "Session.h"
#include "SetRead.h"
#include "SimulatedSerialLink.h"
#include "TestApplication.h"
#include "VirtualClock.h"

#include <functional>

namespace tessaly {
// Failures name the fields of a program rather than its bytes.
inline void PrintTo(const ProgramRecord& record, std::ostream* out) {
    *out << record.JMTaoNo.toStdString() << record.OrderNo.toStdString() << ' '
         << formatTimeOfDay(record.KSTime).toStdString() << '-'
         << formatTimeOfDay(record.JSTime).toStdString() << " YXCX=" << record.YXCX.toStdString()
         << " MP3=" << record.MP3 << " tracks=" << record.QuMu[0].toStdString() << ".."
         << record.QuMu[5].toStdString() << " vol=" << record.YinLiang;
}
} // namespace tessaly

namespace tessaly::testing {

// A program with distinct values in every field, numbered `order` (its start minute too).
inline ProgramRecord sampleProgram(int order, const QString& set = QStringLiteral("第一套")) {
    ProgramRecord r;
    r.OrderNo = formatOrderNo(order);
    r.JMTaoNo = set;
    r.YXCX = order % 2 ? priorityMarker() : QStringLiteral("");
    r.KS1 = 8;
    r.KS2 = order % 60;
    r.KS3 = 5;
    r.JS1 = 9;
    r.JS2 = 30;
    r.JS3 = 59;
    r.KSTime = timeOfDay(r.KS1, r.KS2, r.KS3);
    r.JSTime = timeOfDay(r.JS1, r.JS2, r.JS3);
    r.MP3 = order % 3 != 0;
    r.ShouYin = !r.MP3;
    r.Week = {true, false, true, false, true, false, order % 2 == 0};
    r.QuMu = {QStringLiteral("123"), QStringLiteral("005"), QStringLiteral("000"),
              QStringLiteral("999"), QStringLiteral("100"), QStringLiteral("099")};
    r.YinLiang = order % 39;
    r.FQ[0] = true;
    r.FQ[order % 32] = true;
    r.FQ[31] = true;
    return r;
}

// The same with the priority marker chosen.
inline ProgramRecord sampleProgram(int order, const QString& set, bool priority) {
    ProgramRecord record = sampleProgram(order, set);
    record.YXCX = priority ? priorityMarker() : QStringLiteral("");
    return record;
}

// The frame the PC loads for `record` as the index-th of count programs of set.
inline RecordFrame frameOf(const ProgramRecord& record, int count, int index, int set) {
    return BuildRecordFrame(record, count, index, set).frame.value();
}

// The player's copy of programs 1..count of `set`.
inline std::vector<RecordFrame> storedSet(int set, int count) {
    std::vector<RecordFrame> frames;
    for (int i = 1; i <= count; ++i)
        frames.push_back(frameOf(sampleProgram(i, setLabel(set)), count, i, set));
    return frames;
}

// `count` frames for the player's set; it numbers them itself, so a count byte can wrap.
inline std::vector<RecordFrame> manyFrames(int set, int count) {
    std::vector<RecordFrame> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(frameOf(sampleProgram(i % 255 + 1, setLabel(set)), 1, 1, set));
    return frames;
}

// Every event a read reports, for assertions; `onBusy` lets a test change the player mid-way.
struct RecordingObserver : ReadObserver {
    void linkChecked(bool up) override { links.append(up); }
    void busy(bool value) override {
        busyChanges.append(value);
        if (value && onBusy)
            onBusy();
    }
    void readStarted(int set) override { started.append(set); }
    void headSeen(int announced) override { heads.append(announced); }
    void bytesStored(int count, int recordsLeft) override {
        progress += count;
        left.append(recordsLeft);
    }
    void recordStored() override {
        ++progress;
        ++records;
    }
    void setReadEnded(SetReadEnd end) override { ends.append(end); }
    void setEmpty(int set) override { empties.append(set); }

    std::function<void()> onBusy;
    QList<bool> links, busyChanges;
    QList<int> started, heads, left, empties;
    QList<SetReadEnd> ends;
    int progress = 0;
    int records = 0;
};

// A simulated player on COM1 and a fresh database, in virtual time.
class ReadTest : public PlayerDbTest {
protected:
    void SetUp() override {
        testApplication();
        PlayerDbTest::SetUp();
    }

public:
    ReadContext context() {
        return ReadContext{channel, clock, prompter, session, module.database()};
    }

    // A second connection to the database that may read but never write: a backup of it can be
    // taken, a change of it fails as on a write-protected file.
    QSqlDatabase readOnlyDatabase() {
        if (!m_readOnly.isOpen()) {
            m_readOnly = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                   QStringLiteral("read-test-read-only"));
            m_readOnly.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            m_readOnly.setDatabaseName(module.databasePath());
            EXPECT_TRUE(m_readOnly.open());
        }
        return m_readOnly;
    }

    void TearDown() override {
        if (m_readOnly.isValid()) {
            m_readOnly.close();
            m_readOnly = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("read-test-read-only"));
        }
    }

private:
    QSqlDatabase m_readOnly;

public:
    // Runs a sequence to its end in virtual time and returns its result.
    template <typename T> T run(QCoro::Task<T> task) {
        std::optional<T> result;
        const qint64 start = clock.nowMs();
        auto done = task.then([&](T value) { result = std::move(value); });
        EXPECT_TRUE(clock.runUntil([&] { return result.has_value(); }));
        elapsedMs = clock.nowMs() - start;
        return *result;
    }

    QList<ProgramRecord> table(ProgramTable which) {
        return ProgramStore(module.database()).allPrograms(which).value();
    }

    void fillMusicTab(const QList<ProgramRecord>& records) {
        ProgramStore store(module.database());
        for (const auto& record : records)
            ASSERT_TRUE(store.insert(ProgramTable::MusicTab, record));
    }

    // The read requests and queries the player got, as hex.
    QStringList framesSent() const {
        QStringList frames;
        for (const auto& frame : serial.player().received())
            frames.append(QString::fromLatin1(frame.bytes.toHex().toUpper()));
        return frames;
    }

    VirtualClock clock;
    SimulatedSerialLink serial{clock};
    Session session;
    DeviceChannel channel{serial, session.link};
    ScriptedPrompter prompter;
    RecordingObserver observer;
    qint64 elapsedMs = 0;
};

// Programs compare without their database keys.
inline QList<ProgramRecord> withoutIds(QList<ProgramRecord> records) {
    for (auto& record : records)
        record.AutoID = 0;
    return records;
}

} // namespace tessaly::testing
