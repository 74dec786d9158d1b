#pragma once

// A database in a temporary folder whose sets are full: the measure of the operations that
// work on whole sets.

#include "DataModule.h"
#include "EntryChecks.h"
#include "PlayerDatabase.h"
#include "ProgramSet.h"
#include "ProgramStore.h"
#include "Prompter.h"
#include "Transaction.h"

#include <QList>
#include <QTemporaryDir>

namespace tessaly::bench {

// OrderNo has three digits.
constexpr int FullSet = 999;

// Program `index` of `set` as the editor adds it, starting 80 s after the one before it.
inline ProgramRecord programAt(const QString& set, int index) {
    ProgramRecord record = newProgramDefaults();
    record.JMTaoNo = set;
    record.YXCX = QStringLiteral("");
    record.OrderNo = formatOrderNo(index + 1);
    const int second = 60 + index * 80; // 00:01:00 onwards
    record.KS1 = second / 3600, record.KS2 = second / 60 % 60, record.KS3 = second % 60;
    record.KSTime = timeOfDay(record.KS1, record.KS2, record.KS3);
    record.JS1 = 23, record.JSTime = QTime(23, 0);
    return record;
}

// PlayerDB.mdb with FullSet programs in each of `sets`, connected.
class BenchDatabase {
public:
    explicit BenchDatabase(const QList<int>& sets) : BenchDatabase(fullSets(sets)) {}

    // PlayerDB.mdb holding exactly these programs, connected.
    explicit BenchDatabase(const QList<ProgramRecord>& programs) {
        createPlayerDatabase(folder.filePath(databaseFileName()), nullptr);
        data.ConnectDatabase(prompter, folder.path());
        ProgramStore store(data.database());
        Transaction transaction(data.database());
        for (const ProgramRecord& program : programs)
            store.insert(ProgramTable::MusicTab, program);
        transaction.commit();
    }

    QTemporaryDir folder;
    ScriptedPrompter prompter;
    DataModule data;

private:
    static QList<ProgramRecord> fullSets(const QList<int>& sets) {
        QList<ProgramRecord> programs;
        for (const int set : sets)
            for (int i = 0; i < FullSet; ++i)
                programs.append(programAt(setLabel(set), i));
        return programs;
    }
};

} // namespace tessaly::bench
