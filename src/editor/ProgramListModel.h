#pragma once

#include "ProgramRecord.h"
#include "ProgramStore.h"

#include <QAbstractTableModel>
#include <QList>

namespace tessaly {

// The list of programs that the editor and the read-back viewer show: a snapshot of the rows
// of one table (MusicTab or MusicReadTab), taken by open and kept until the next open, in the
// five columns "序号", "开始时间", "结束时间", "节目套数", "优先".
class ProgramListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { OrderNoColumn, StartColumn, EndColumn, SetColumn, PriorityColumn, ColumnCount };

    ProgramListModel(const QSqlDatabase& db, ProgramTable table, QObject* parent = nullptr);

    // The programs of one set (only its priority programs with PriorityOnly), by OrderNo.
    bool openSet(const QString& setLabel, SetRows rows = SetRows::All);
    // Every program of the table, by OrderNo.
    bool openAll();

    ProgramTable table() const { return m_table; }
    const QList<ProgramRecord>& records() const { return m_records; }
    const ProgramRecord& record(int row) const { return m_records.at(row); }
    // The row of the program stored under autoId, or -1.
    int rowOf(qint64 autoId) const;
    // Why the last open failed; the list is then empty.
    const QString& errorText() const { return m_error; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool reset(std::optional<QList<ProgramRecord>> records);

    ProgramStore m_store;
    ProgramTable m_table;
    QList<ProgramRecord> m_records;
    QString m_error;
};

} // namespace tessaly
