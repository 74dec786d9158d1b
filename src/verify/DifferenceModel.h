#pragma once

#include "Verify.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace tessaly {

// The differences of a comparison as rows of text, as the table shows them and a screen
// reader reads them.
class DifferenceModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DifferenceModel(QObject* parent = nullptr);

    void setDifferences(const QList<ProgramDifference>& differences);
    void clear() { setDifferences({}); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_columns;
    QList<QStringList> m_rows;
};

} // namespace tessaly
