#include "ScheduleEditor.h"

#include "ProgramSet.h"
#include "Session.h"
#include "SqlSupport.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace tessaly {

namespace {

bool startsAt(const ProgramRecord& record, const std::array<int, 3>& start) {
    return record.KS1 == start[0] && record.KS2 == start[1] && record.KS3 == start[2];
}

// A radio program keeps its station in QuMu1 only.
void completeRecord(ProgramRecord& record, const ScheduleEditor::SaveRequest& request) {
    record.JMTaoNo = request.setLabel;
    record.YXCX = request.priority ? priorityMarker() : QStringLiteral("");
    applyTimes(record, request.form.times);
    if (record.ShouYin) {
        for (std::size_t i = 1; i < record.QuMu.size(); ++i)
            record.QuMu[i] = QStringLiteral("");
    }
}

} // namespace

QString setFullMessage(const QString& setLabel) {
    return QCoreApplication::translate("ScheduleEditor", "[%1]已有%2个程序，无法再增加！")
        .arg(displayedSetLabel(setLabel))
        .arg(ScheduleEditor::MaxProgramsPerSet);
}

ScheduleEditor::ScheduleEditor(const QSqlDatabase& db, Session& session)
    : m_db(db), m_session(session), m_programs(db), m_settings(db) {}

int ScheduleEditor::openingSet() const {
    for (int set = FirstSet; set < LastSet; ++set) {
        if (programCount(setLabel(set)).value_or(0) > 0)
            return set;
    }
    return LastSet;
}

std::optional<int> ScheduleEditor::programCount(const QString& setLabel) const {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT count(*) FROM MusicTab WHERE JMTaoNo = ?"));
    query.addBindValue(setLabel);
    if (!execPrepared(query, nullptr) || !query.next())
        return std::nullopt;
    return query.value(0).toInt();
}

ScheduleEditor::SaveOutcome ScheduleEditor::save(const SaveRequest& request) {
    SaveOutcome outcome;
    const EntryCheck check = checkEntry(request.form);
    if (check.preheat)
        m_session.PreheatMinutes = *check.preheat;
    if (check.delay)
        m_session.DelayMinutes = *check.delay;
    if (check.failure) {
        outcome.failure = check.failure;
        return outcome;
    }

    ProgramRecord record = request.pending;
    completeRecord(record, request);
    // An edited program that keeps its start is not checked again.
    if (!startsAt(record, request.editStartTime) && hasDuplicate(record)) {
        outcome.failure = duplicateFailure();
        return outcome;
    }
    if (request.isNew &&
        programCount(request.setLabel).value_or(MaxProgramsPerSet) >= MaxProgramsPerSet) {
        outcome.failure = EntryFailure{setFullMessage(request.setLabel), QString()};
        return outcome;
    }

    QString error;
    if (!post(record, request.isNew, &error)) {
        outcome.failure = EntryFailure{
            QCoreApplication::translate("ScheduleEditor", "程序保存失败：%1").arg(error),
            QString()};
        return outcome;
    }
    ProgramsChanged = true;
    outcome.stored = record;
    return outcome;
}

bool ScheduleEditor::post(ProgramRecord& record, bool isNew, QString* error) {
    Transaction transaction(m_db);
    if (!transaction.isActive()) {
        setError(error, transaction.errorText());
        return false;
    }
    if (isNew) {
        const auto orderNo = nextOrderNo(record.JMTaoNo, error);
        if (!orderNo)
            return false;
        record.OrderNo = *orderNo;
        const auto id = m_programs.insert(ProgramTable::MusicTab, record, error);
        if (!id)
            return false;
        record.AutoID = *id;
    } else if (!m_programs.update(ProgramTable::MusicTab, record, error)) {
        return false;
    }
    return renumberSet(record.JMTaoNo, error) && transaction.commit(error);
}

std::optional<QString> ScheduleEditor::nextOrderNo(const QString& setLabel, QString* error) const {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral(
        "SELECT OrderNo FROM MusicTab WHERE JMTaoNo = ? ORDER BY OrderNo DESC LIMIT 1"));
    query.addBindValue(setLabel);
    if (!execPrepared(query, error))
        return std::nullopt;
    if (!query.next())
        return formatOrderNo(1);
    // A set with gaps may already use 999; the renumbering in the same transaction closes
    // the gap before anyone sees the number.
    return formatOrderNo(std::min(query.value(0).toString().toInt() + 1, MaxProgramsPerSet));
}

bool ScheduleEditor::hasDuplicate(const ProgramRecord& candidate) const {
    // The store narrows the search to the set and the start; the rule decides.
    const auto programs = m_programs.programsStartingAt(
        ProgramTable::MusicTab, candidate.JMTaoNo, candidate.KS1, candidate.KS2, candidate.KS3);
    if (!programs)
        return false;
    return std::any_of(programs->begin(), programs->end(),
                       [&](const ProgramRecord& other) { return startsClash(candidate, other); });
}

bool ScheduleEditor::renumberSet(const QString& setLabel, QString* error) {
    return renumberProgramSet(m_db, setLabel, error);
}

bool renumberProgramSet(const QSqlDatabase& db, const QString& setLabel, QString* error) {
    Transaction transaction(db);
    if (!transaction.isActive()) {
        setError(error, transaction.errorText());
        return false;
    }
    QSqlQuery select(db);
    select.setForwardOnly(true);
    select.prepare(QStringLiteral(
        "SELECT AutoID, OrderNo FROM MusicTab WHERE JMTaoNo = ? ORDER BY KSTime, AutoID"));
    select.addBindValue(setLabel);
    if (!execPrepared(select, error))
        return false;
    QList<std::pair<qint64, QString>> changes;
    for (int n = 1; select.next(); ++n) {
        const QString orderNo = formatOrderNo(n);
        if (select.value(1).toString() != orderNo)
            changes.append({select.value(0).toLongLong(), orderNo});
    }
    select.finish();

    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE MusicTab SET OrderNo = ? WHERE AutoID = ?"));
    for (const auto& [autoId, orderNo] : changes) {
        update.bindValue(0, orderNo);
        update.bindValue(1, autoId);
        if (!execPrepared(update, error))
            return false;
    }
    return transaction.commit(error);
}

bool ScheduleEditor::deleteProgram(qint64 autoId, const QString& setLabel, bool renumber,
                                   QString* error) {
    Transaction transaction(m_db);
    if (!transaction.isActive()) {
        setError(error, transaction.errorText());
        return false;
    }
    if (!m_programs.deleteProgram(ProgramTable::MusicTab, autoId, error))
        return false;
    if (renumber && !renumberSet(setLabel, error))
        return false;
    if (!transaction.commit(error))
        return false;
    ProgramsChanged = true;
    return true;
}

BatchOutcome ScheduleEditor::addBatch(const BatchTemplate& shared, const QString& times) {
    BatchOutcome outcome = tessaly::addBatch(m_db, shared, times);
    if (outcome.succeeded())
        ProgramsChanged = true;
    return outcome;
}

std::optional<QList<ProgramRecord>> ScheduleEditor::programsOfSet(const QString& setLabel) const {
    return m_programs.programsOfSet(ProgramTable::MusicTab, setLabel);
}

bool ScheduleEditor::deleteSet(const QString& setLabel, QString* error) {
    return m_programs.deleteSet(ProgramTable::MusicTab, setLabel, SetRows::All, error);
}

bool ScheduleEditor::copySet(const QString& src, const QString& dst, QString* error) {
    return m_programs.copySet(ProgramTable::MusicTab, src, dst, error);
}

bool ScheduleEditor::copyChangesNothing(const QString& src, const QString& dst) const {
    const auto from = m_programs.programsOfSet(ProgramTable::MusicTab, src);
    const auto to = m_programs.programsOfSet(ProgramTable::MusicTab, dst);
    if (!from || !to)
        return false;
    // The copies get new row numbers and the target's label; everything else is the source's.
    const auto asCopied = [&dst](ProgramRecord record) {
        record.AutoID = 0;
        record.JMTaoNo = dst;
        return record;
    };
    return std::ranges::equal(*from, *to, {}, asCopied, asCopied);
}

bool ScheduleEditor::FormClose(const QString& preheat, const QString& delay) {
    if (const auto pair = closingPair(preheat, delay)) {
        m_session.PreheatMinutes = pair->first;
        m_session.DelayMinutes = pair->second;
        m_settings.writePreheatDelay(pair->first, pair->second); // no settings row: nothing kept
    }
    return ProgramsChanged;
}

} // namespace tessaly
