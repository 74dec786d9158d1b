#include "ProgramListModel.h"

#include "ProgramSet.h"

namespace tessaly {

ProgramListModel::ProgramListModel(const QSqlDatabase& db, ProgramTable table, QObject* parent)
    : QAbstractTableModel(parent), m_store(db), m_table(table) {}

bool ProgramListModel::openSet(const QString& setLabel, SetRows rows) {
    m_error.clear();
    return reset(m_store.programsOfSet(m_table, setLabel, rows, &m_error));
}

bool ProgramListModel::openAll() {
    m_error.clear();
    return reset(m_store.allPrograms(m_table, &m_error));
}

bool ProgramListModel::reset(std::optional<QList<ProgramRecord>> records) {
    beginResetModel();
    m_records = records ? std::move(*records) : QList<ProgramRecord>{};
    endResetModel();
    return records.has_value();
}

int ProgramListModel::rowOf(qint64 autoId) const {
    for (int row = 0; row < m_records.size(); ++row) {
        if (m_records[row].AutoID == autoId)
            return row;
    }
    return -1;
}

int ProgramListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_records.size());
}

int ProgramListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ProgramListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    const ProgramRecord& r = m_records.at(index.row());
    switch (index.column()) {
    case OrderNoColumn:
        return r.OrderNo;
    case StartColumn:
        return formatTimeOfDay(r.KSTime);
    case EndColumn:
        return formatTimeOfDay(r.JSTime);
    case SetColumn:
        return displayedSetLabel(r.JMTaoNo);
    case PriorityColumn:
        return isPriority(r) ? displayedPriority(r) : r.YXCX;
    default:
        return {};
    }
}

QVariant ProgramListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case OrderNoColumn:
        return tr("序号");
    case StartColumn:
        return tr("开始时间");
    case EndColumn:
        return tr("结束时间");
    case SetColumn:
        return tr("节目套数");
    case PriorityColumn:
        return tr("优先");
    default:
        return {};
    }
}

} // namespace tessaly
