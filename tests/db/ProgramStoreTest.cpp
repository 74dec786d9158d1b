#include "ProgramStore.h"
#include "DbTesting.h"
#include "ProgramSet.h"

using namespace tessaly;

namespace {

ProgramRecord program(const QString& orderNo, int set, bool priority = false) {
    ProgramRecord r;
    r.OrderNo = orderNo;
    r.JMTaoNo = setLabel(set);
    r.YXCX = priority ? priorityMarker() : QString();
    r.KS1 = 7;
    r.KS2 = 30;
    r.KSTime = timeOfDay(7, 30, 0);
    r.JS1 = 8;
    r.JSTime = timeOfDay(8, 0, 0);
    r.QuMu[0] = "001";
    r.YinLiang = 20;
    return r;
}

// A radio program with every kind of field set to something other than its default.
ProgramRecord radioProgram() {
    ProgramRecord r = program("012", 3, true);
    r.MP3 = false;
    r.ShouYin = true;
    r.YuRe = -300;
    r.YuanShi = 32767;
    r.KS1 = 23, r.KS2 = 59, r.KS3 = 58;
    r.KSTime = timeOfDay(23, 59, 58);
    r.JS1 = 23, r.JS2 = 59, r.JS3 = 59;
    r.JSTime = timeOfDay(23, 59, 59);
    r.Week = {true, false, true, false, false, false, true};
    r.QuMu = {"087", "2", "", "30", "", "999"};
    r.YinLiang = 38;
    r.FQ[0] = r.FQ[7] = r.FQ[16] = r.FQ[31] = true;
    return r;
}

QStringList orderNos(const std::optional<QList<ProgramRecord>>& records) {
    QStringList result;
    for (const auto& r : records.value_or(QList<ProgramRecord>{}))
        result.append(r.JMTaoNo + r.OrderNo);
    return result;
}

} // namespace

class ProgramStoreTest : public PlayerDbTest {
protected:
    void insertAll(ProgramTable table, const QList<ProgramRecord>& records) {
        for (const auto& r : records) {
            QString error;
            ASSERT_TRUE(store().insert(table, r, &error)) << error.toStdString();
        }
    }
    ProgramStore store() { return ProgramStore(module.database()); }

    // Three sets, stored out of order, with priority rows in two of them.
    void insertSets(ProgramTable table) {
        insertAll(table, {program("010", 1), program("002", 2, true), program("009", 1, true),
                          program("001", 1), program("001", 2)});
    }
};

TEST_F(ProgramStoreTest, RecordsComeBackAsStoredInBothTables) {
    ProgramRecord radio = radioProgram();
    ProgramRecord plain = program("001", 1);
    plain.KSTime = plain.JSTime = QTime(); // a row without times
    for (const ProgramTable table : {ProgramTable::MusicTab, ProgramTable::MusicReadTab}) {
        QString error;
        const auto radioId = store().insert(table, radio, &error);
        const auto plainId = store().insert(table, plain, &error);
        ASSERT_TRUE(radioId && plainId) << error.toStdString();
        EXPECT_NE(*radioId, *plainId);
        radio.AutoID = *radioId;
        plain.AutoID = *plainId;
        EXPECT_EQ(store().allPrograms(table), (QList<ProgramRecord>{plain, radio}));
    }
    // Each field lands in its own column, in the form other programs read.
    EXPECT_EQ(rawRow("SELECT KSTime, JSTime, KS3, JS1, YuRe, YuanShi, MP3, ShouYin, Week1, "
                     "Week2, Week7, QuMu1, QuMu6, YinLiang, FQ1, FQ2, FQ8, FQ32, YXCX, JMTaoNo "
                     "FROM MusicReadTab WHERE AutoID = ?",
                     {radio.AutoID}),
              (QVariantList{"23:59:58", "23:59:59", 58, 23, -300, 32767, 0, 1,      1,       0, 1,
                            "087",      "999",      38, 1,  0,    1,     1, "优先", "第三套"}));
}

TEST_F(ProgramStoreTest, EmptyTextsAreStoredAsEmptyAndUnwrittenOnesAsNull) {
    ProgramRecord r = program("001", 1);
    r.YXCX = QString(); // null, as a freshly made record has
    r.KSTime = QTime();
    const auto id = store().insert(ProgramTable::MusicTab, r);
    ASSERT_TRUE(id);
    EXPECT_EQ(rawRow("SELECT YXCX IS NULL, YXCX = '', QuMu2 IS NULL, KSTime IS NULL FROM "
                     "MusicTab WHERE AutoID = ?",
                     {*id}),
              (QVariantList{0, 1, 0, 1}));

    // A program read back without a set: label, marker, pre-heat and delay never written.
    ProgramRecord withoutSet = program("002", 1);
    withoutSet.JMTaoNo = QString();
    withoutSet.YXCX = QString();
    withoutSet.YuRe.reset();
    withoutSet.YuanShi.reset();
    const auto other = store().insert(ProgramTable::MusicReadTab, withoutSet);
    ASSERT_TRUE(other);
    EXPECT_EQ(rawRow("SELECT JMTaoNo IS NULL, YXCX IS NULL, YuRe IS NULL, YuanShi IS NULL FROM "
                     "MusicReadTab WHERE AutoID = ?",
                     {*other}),
              (QVariantList{1, 1, 1, 1}));
    const auto readAgain = store().allPrograms(ProgramTable::MusicReadTab).value();
    ASSERT_EQ(readAgain.size(), 1);
    EXPECT_TRUE(readAgain[0].JMTaoNo.isEmpty());
    EXPECT_FALSE(readAgain[0].YuRe.has_value());
}

TEST_F(ProgramStoreTest, NullColumnsReadAsDefaults) {
    rawExec("INSERT INTO MusicTab (OrderNo) VALUES ('001')");
    const auto records = store().allPrograms(ProgramTable::MusicTab);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 1);
    ProgramRecord expected;
    expected.AutoID = records->first().AutoID;
    expected.OrderNo = "001";
    expected.MP3 = false;
    EXPECT_EQ(records->first(), expected);
}

TEST_F(ProgramStoreTest, SetsAreReadInOrderAndFilteredByPriority) {
    insertSets(ProgramTable::MusicTab);
    insertAll(ProgramTable::MusicReadTab, {program("005", 1)});

    EXPECT_EQ(orderNos(store().programsOfSet(ProgramTable::MusicTab, setLabel(1))),
              (QStringList{"第一套001", "第一套009", "第一套010"}));
    EXPECT_EQ(
        orderNos(store().programsOfSet(ProgramTable::MusicTab, setLabel(1), SetRows::PriorityOnly)),
        QStringList{"第一套009"});
    EXPECT_EQ(orderNos(store().programsOfSet(ProgramTable::MusicTab, setLabel(4))), QStringList{});
    EXPECT_EQ(orderNos(store().allPrograms(ProgramTable::MusicTab)),
              (QStringList{"第一套001", "第二套001", "第二套002", "第一套009", "第一套010"}));
    EXPECT_EQ(store().count(ProgramTable::MusicTab), 5);
    EXPECT_EQ(store().count(ProgramTable::MusicReadTab), 1);
}

TEST_F(ProgramStoreTest, DeletesTakeTheirRowsAndNoOthers) {
    for (const ProgramTable table : {ProgramTable::MusicTab, ProgramTable::MusicReadTab})
        insertSets(table);
    const auto remaining = [this](ProgramTable table) {
        return orderNos(store().allPrograms(table));
    };

    ASSERT_TRUE(store().deleteSet(ProgramTable::MusicTab, setLabel(1), SetRows::PriorityOnly));
    EXPECT_EQ(remaining(ProgramTable::MusicTab),
              (QStringList{"第一套001", "第二套001", "第二套002", "第一套010"}));

    ASSERT_TRUE(store().deleteSet(ProgramTable::MusicTab, setLabel(2)));
    EXPECT_EQ(remaining(ProgramTable::MusicTab), (QStringList{"第一套001", "第一套010"}));

    ASSERT_TRUE(store().deleteAll(ProgramTable::MusicTab));
    EXPECT_EQ(store().count(ProgramTable::MusicTab), 0);
    EXPECT_EQ(store().count(ProgramTable::MusicReadTab), 5);
}

TEST_F(ProgramStoreTest, InvalidRecordsAreRefusedWithAReason) {
    ProgramRecord longOrderNo = program("0001", 1);
    ProgramRecord wideTrack = program("001", 1);
    wideTrack.QuMu[5] = "1000";
    ProgramRecord preheat = program("001", 1);
    preheat.YuRe = 40000;
    for (const auto& r : {longOrderNo, wideTrack, preheat}) {
        QString error;
        EXPECT_FALSE(store().insert(ProgramTable::MusicTab, r, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(store().count(ProgramTable::MusicTab), 0);
}

TEST_F(ProgramStoreTest, UncommittedTransactionLeavesTheTablesUnchanged) {
    insertSets(ProgramTable::MusicTab);
    const auto before = store().allPrograms(ProgramTable::MusicTab);
    {
        Transaction transaction = store().beginTransaction();
        ASSERT_TRUE(transaction.isActive()) << transaction.errorText().toStdString();
        // Guarded writes nest inside the caller's transaction.
        ASSERT_TRUE(store().deleteSet(ProgramTable::MusicTab, setLabel(1)));
        ASSERT_TRUE(store().insert(ProgramTable::MusicTab, program("003", 1)));
        ASSERT_TRUE(store().deleteAll(ProgramTable::MusicTab));
        EXPECT_EQ(store().count(ProgramTable::MusicTab), 0);
    }
    EXPECT_EQ(store().allPrograms(ProgramTable::MusicTab), before);
}

TEST_F(ProgramStoreTest, CommittedTransactionKeepsEveryWrite) {
    insertSets(ProgramTable::MusicTab);
    {
        Transaction transaction = store().beginTransaction();
        ASSERT_TRUE(store().deleteSet(ProgramTable::MusicTab, setLabel(1)));
        ASSERT_TRUE(store().insert(ProgramTable::MusicTab, program("003", 1)));
        QString error;
        ASSERT_TRUE(transaction.commit(&error)) << error.toStdString();
        EXPECT_FALSE(transaction.commit()); // once only
    }
    EXPECT_EQ(orderNos(store().allPrograms(ProgramTable::MusicTab)),
              (QStringList{"第二套001", "第二套002", "第一套003"}));
}
