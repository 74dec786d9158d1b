#include "DifferenceModel.h"

#include "DifferenceText.h"

namespace tessaly {

DifferenceModel::DifferenceModel(QObject* parent)
    : QAbstractTableModel(parent), m_columns(differenceColumns()) {}

void DifferenceModel::setDifferences(const QList<ProgramDifference>& differences) {
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(differences.size());
    for (const ProgramDifference& difference : differences)
        m_rows.append(differenceRow(difference));
    endResetModel();
}

int DifferenceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DifferenceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DifferenceModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_rows[index.row()].value(index.column());
    return {};
}

QVariant DifferenceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return m_columns.value(section);
}

} // namespace tessaly
