#include "ProgramStore.h"

#include "ProgramSet.h"
#include "SqlSupport.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace tessaly {

namespace {

QString selectSql(ProgramTable table, const QString& where) {
    return QStringLiteral("SELECT AutoID, %1 FROM %2 %3 ORDER BY OrderNo, AutoID")
        .arg(programColumns().join(QStringLiteral(", ")), tableName(table), where);
}

QString setFilter(SetRows rows) {
    return rows == SetRows::PriorityOnly ? QStringLiteral("WHERE JMTaoNo = ? AND YXCX = ?")
                                         : QStringLiteral("WHERE JMTaoNo = ?");
}

void bindSetFilter(QSqlQuery& query, const QString& setLabel, SetRows rows) {
    query.addBindValue(setLabel);
    if (rows == SetRows::PriorityOnly)
        query.addBindValue(priorityMarker());
}

// A null QString would be bound as NULL; texts are stored as text, empty ones as ''.
QVariant textValue(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QVariant nullText() {
    return QVariant(QMetaType::fromType<QString>());
}

QVariant optionalValue(const std::optional<int>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<int>());
}

QVariant timeValue(const QTime& time) {
    return time.isValid() ? QVariant(formatTimeOfDay(time)) : QVariant();
}

QVariant boolValue(bool value) {
    return QVariant(value ? 1 : 0);
}

// Binds by position, so that one prepared statement serves many rows.
class RowBinder {
public:
    explicit RowBinder(QSqlQuery& query) : m_query(query) {}

    void bind(const QVariant& value) { m_query.bindValue(m_index++, value); }
    template <std::size_t N> void bindBools(const std::array<bool, N>& values) {
        for (const bool value : values)
            bind(boolValue(value));
    }

private:
    QSqlQuery& m_query;
    int m_index = 0;
};

void bindRecord(QSqlQuery& query, const ProgramRecord& r) {
    RowBinder row(query);
    row.bind(textValue(r.OrderNo));
    row.bind(timeValue(r.KSTime));
    row.bind(timeValue(r.JSTime));
    // A program read back without a set had neither its label nor its marker written: NULL.
    const bool withoutSet = r.JMTaoNo.isNull();
    row.bind(withoutSet ? nullText() : QVariant(r.JMTaoNo));
    row.bind(withoutSet && r.YXCX.isNull() ? nullText() : textValue(r.YXCX));
    row.bind(boolValue(r.MP3));
    row.bind(boolValue(r.ShouYin));
    row.bind(optionalValue(r.YuRe));
    row.bind(optionalValue(r.YuanShi));
    for (const int value : {r.KS1, r.KS2, r.KS3, r.JS1, r.JS2, r.JS3})
        row.bind(value);
    row.bindBools(r.Week);
    for (const QString& track : r.QuMu)
        row.bind(textValue(track));
    row.bind(r.YinLiang);
    row.bindBools(r.FQ);
}

// Reads the columns of programColumns() in order; NULL reads as false, 0 or empty.
class RowReader {
public:
    explicit RowReader(const QSqlQuery& query) : m_query(query) {}

    QVariant next() { return m_query.value(m_index++); }
    QString text() { return next().toString(); }
    int integer() { return next().toInt(); }
    std::optional<int> optionalInteger() {
        const QVariant value = next();
        return value.isNull() ? std::nullopt : std::optional<int>(value.toInt());
    }
    bool boolean() { return next().toInt() != 0; }
    QTime time() {
        const QVariant value = next();
        return value.isNull() ? QTime() : parseTimeOfDay(value.toString());
    }
    template <std::size_t N> void booleans(std::array<bool, N>& values) {
        for (bool& value : values)
            value = boolean();
    }

private:
    const QSqlQuery& m_query;
    int m_index = 0;
};

ProgramRecord readRecord(const QSqlQuery& query) {
    RowReader row(query);
    ProgramRecord r;
    r.AutoID = row.next().toLongLong();
    r.OrderNo = row.text();
    r.KSTime = row.time();
    r.JSTime = row.time();
    r.JMTaoNo = row.text();
    r.YXCX = row.text();
    r.MP3 = row.boolean();
    r.ShouYin = row.boolean();
    r.YuRe = row.optionalInteger();
    r.YuanShi = row.optionalInteger();
    for (int* value : {&r.KS1, &r.KS2, &r.KS3, &r.JS1, &r.JS2, &r.JS3})
        *value = row.integer();
    row.booleans(r.Week);
    for (QString& track : r.QuMu)
        track = row.text();
    r.YinLiang = row.integer();
    row.booleans(r.FQ);
    return r;
}

QString insertSql(ProgramTable table) {
    const QStringList& columns = programColumns();
    const QStringList placeholders(columns.size(), QStringLiteral("?"));
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(tableName(table), columns.join(QStringLiteral(", ")),
             placeholders.join(QStringLiteral(", ")));
}

// Runs a change of many rows as one transaction of its own, or as part of the caller's.
bool execGuarded(const QSqlDatabase& db, QSqlQuery& query, QString* error) {
    Transaction transaction(db);
    if (!transaction.isActive()) {
        setError(error, transaction.errorText());
        return false;
    }
    return execPrepared(query, error) && transaction.commit(error);
}

} // namespace

// bindRecord and readRecord follow the same order.
const QStringList& programColumns() {
    static const QStringList columns = [] {
        QStringList names{
            QStringLiteral("OrderNo"), QStringLiteral("KSTime"), QStringLiteral("JSTime"),
            QStringLiteral("JMTaoNo"), QStringLiteral("YXCX"),   QStringLiteral("MP3"),
            QStringLiteral("ShouYin"), QStringLiteral("YuRe"),   QStringLiteral("YuanShi")};
        const auto numbered = [&names](const char* stem, int last) {
            for (int i = 1; i <= last; ++i)
                names.append(QString::fromLatin1(stem) + QString::number(i));
        };
        numbered("KS", 3);
        numbered("JS", 3);
        numbered("Week", 7);
        numbered("QuMu", 6);
        names.append(QStringLiteral("YinLiang"));
        numbered("FQ", 32);
        return names;
    }();
    return columns;
}

QString tableName(ProgramTable table) {
    return table == ProgramTable::MusicTab ? QStringLiteral("MusicTab")
                                           : QStringLiteral("MusicReadTab");
}

std::optional<QList<ProgramRecord>> ProgramStore::programsOfSet(ProgramTable table,
                                                                const QString& setLabel,
                                                                SetRows rows,
                                                                QString* error) const {
    QSqlQuery query(m_db);
    query.prepare(selectSql(table, setFilter(rows)));
    bindSetFilter(query, setLabel, rows);
    return select(query, error);
}

std::optional<QList<ProgramRecord>>
ProgramStore::programsStartingAt(ProgramTable table, const QString& setLabel, int hour, int minute,
                                 int second, QString* error) const {
    QSqlQuery query(m_db);
    query.prepare(selectSql(table, QStringLiteral("WHERE JMTaoNo = ? AND KS1 = ? AND KS2 = ? "
                                                  "AND KS3 = ?")));
    query.addBindValue(setLabel);
    query.addBindValue(hour);
    query.addBindValue(minute);
    query.addBindValue(second);
    return select(query, error);
}

std::optional<QList<ProgramRecord>> ProgramStore::allPrograms(ProgramTable table,
                                                              QString* error) const {
    QSqlQuery query(m_db);
    query.prepare(selectSql(table, QString()));
    return select(query, error);
}

std::optional<QList<ProgramRecord>> ProgramStore::select(QSqlQuery& query, QString* error) const {
    query.setForwardOnly(true);
    if (!execPrepared(query, error))
        return std::nullopt;
    QList<ProgramRecord> records;
    while (query.next())
        records.append(readRecord(query));
    return records;
}

std::optional<int> ProgramStore::count(ProgramTable table, QString* error) const {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT count(*) FROM %1").arg(tableName(table)));
    if (!execPrepared(query, error) || !query.next())
        return std::nullopt;
    return query.value(0).toInt();
}

namespace {

// One query for every column that a program's values are read from: each branch names the
// rows of the set whose column would read as another value.
QString unreadableValuesSql(ProgramTable table) {
    QStringList branches;
    const auto branch = [&branches](const QString& column, const QString& condition) {
        branches.append(QStringLiteral("SELECT OrderNo, '%1' AS col, quote(%1) AS val, AutoID "
                                       "FROM program WHERE %2")
                            .arg(column, condition.arg(column)));
    };
    for (const QString& column : programColumns()) {
        const bool flag = column == QStringLiteral("MP3") || column == QStringLiteral("ShouYin") ||
                          column.startsWith(QStringLiteral("Week")) ||
                          column.startsWith(QStringLiteral("FQ"));
        const bool number = column.startsWith(QStringLiteral("KS")) ||
                            column.startsWith(QStringLiteral("JS")) ||
                            column == QStringLiteral("YinLiang");
        if (flag)
            branch(column, QStringLiteral("%1 IS NOT NULL AND %1 NOT IN (0, 1)"));
        else if (number && column != QStringLiteral("KSTime") && column != QStringLiteral("JSTime"))
            branch(column, QStringLiteral("typeof(%1) <> 'integer'"));
    }
    return QStringLiteral("WITH program AS (SELECT * FROM %1 WHERE JMTaoNo = ?) %2 "
                          "ORDER BY OrderNo, AutoID LIMIT 1")
        .arg(tableName(table), branches.join(QStringLiteral(" UNION ALL ")));
}

} // namespace

std::optional<std::optional<ProgramStore::UnreadableValue>>
ProgramStore::firstUnreadableValue(ProgramTable table, const QString& setLabel,
                                   QString* error) const {
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(unreadableValuesSql(table));
    query.addBindValue(setLabel);
    if (!execPrepared(query, error))
        return std::nullopt;
    if (!query.next())
        return std::optional<UnreadableValue>();
    return std::optional<UnreadableValue>(UnreadableValue{
        query.value(0).toString(), query.value(1).toString(), query.value(2).toString()});
}

bool ProgramStore::insertAll(ProgramTable table, const QList<ProgramRecord>& records,
                             QString* error) {
    Transaction transaction(m_db);
    if (!transaction.isActive()) {
        setError(error, transaction.errorText());
        return false;
    }
    QSqlQuery query(m_db);
    query.prepare(insertSql(table)); // a failed preparation fails the first execution
    for (const ProgramRecord& record : records) {
        bindRecord(query, record);
        if (!execPrepared(query, error))
            return false;
    }
    return transaction.commit(error);
}

std::optional<qint64> ProgramStore::insert(ProgramTable table, const ProgramRecord& record,
                                           QString* error) {
    QSqlQuery query(m_db);
    query.prepare(insertSql(table));
    bindRecord(query, record);
    if (!execPrepared(query, error))
        return std::nullopt;
    return query.lastInsertId().toLongLong();
}

bool ProgramStore::copySet(ProgramTable table, const QString& src, const QString& dst,
                           QString* error) {
    if (src == dst) {
        setError(error, QCoreApplication::translate("ProgramStore", "不能把一套程序复制到它自己"));
        return false;
    }
    Transaction transaction(m_db);
    if (!transaction.isActive()) {
        setError(error, transaction.errorText());
        return false;
    }
    if (!deleteSet(table, dst, SetRows::All, error))
        return false;
    // The rows go over inside the engine; only the set label is new.
    QStringList values = programColumns();
    values.replace(values.indexOf(QStringLiteral("JMTaoNo")), QStringLiteral("?"));
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %1 WHERE JMTaoNo = ? "
                                 "ORDER BY OrderNo, AutoID")
                      .arg(tableName(table), programColumns().join(QStringLiteral(", ")),
                           values.join(QStringLiteral(", "))));
    query.addBindValue(dst);
    query.addBindValue(src);
    return execPrepared(query, error) && transaction.commit(error);
}

bool ProgramStore::update(ProgramTable table, const ProgramRecord& record, QString* error) {
    QStringList assignments;
    for (const QString& column : programColumns())
        assignments.append(column + QStringLiteral(" = ?"));
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE AutoID = ?")
                      .arg(tableName(table), assignments.join(QStringLiteral(", "))));
    bindRecord(query, record);
    query.bindValue(int(programColumns().size()), record.AutoID);
    if (!execPrepared(query, error))
        return false;
    if (query.numRowsAffected() == 1)
        return true;
    setError(error, QCoreApplication::translate("ProgramStore", "该程序已不在数据库中"));
    return false;
}

bool ProgramStore::deleteProgram(ProgramTable table, qint64 autoId, QString* error) {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("DELETE FROM %1 WHERE AutoID = ?").arg(tableName(table)));
    query.addBindValue(autoId);
    return execPrepared(query, error);
}

bool ProgramStore::deleteAll(ProgramTable table, QString* error) {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("DELETE FROM %1").arg(tableName(table)));
    return execGuarded(m_db, query, error);
}

bool ProgramStore::deleteSet(ProgramTable table, const QString& setLabel, SetRows rows,
                             QString* error) {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("DELETE FROM %1 %2").arg(tableName(table), setFilter(rows)));
    bindSetFilter(query, setLabel, rows);
    return execGuarded(m_db, query, error);
}

} // namespace tessaly
