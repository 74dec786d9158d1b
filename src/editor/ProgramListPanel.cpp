#include "ProgramListPanel.h"

#include "ProgramListModel.h"
#include "ProgramSet.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace tessaly {

ProgramListPanel::ProgramListPanel(ProgramListModel* model, QWidget* parent)
    : QWidget(parent), m_model(model) {
    setObjectName(QStringLiteral("PanList"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setAccessibleName(tr("节目列表"));
    m_grid->setModel(model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->verticalHeader()->hide();
    sizeColumns();
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(m_grid);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                emit currentRowChanged(current.isValid() ? current.row() : -1);
            });

    m_footer = new QHBoxLayout;
    m_footer->addWidget(new QLabel(tr("总共："), this));
    m_count = new QLabel(QStringLiteral("0"), this);
    m_count->setObjectName(QStringLiteral("LbNum"));
    m_footer->addWidget(m_count);
    m_unit = new QLabel(this);
    m_unit->setObjectName(QStringLiteral("LbNumUnit"));
    m_footer->addWidget(m_unit);
    updateCount();
    m_footer->addStretch();
    layout->addLayout(m_footer);
}

// Widths from the longest texts a column can hold: measuring 999 rows would slow every open.
void ProgramListPanel::sizeColumns() {
    const QFontMetrics metrics(m_grid->font());
    const int padding = 14;
    const auto widest = [&](int column, const QString& cell) {
        const QString title =
            m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        return std::max(metrics.horizontalAdvance(title), metrics.horizontalAdvance(cell));
    };
    const int time = metrics.horizontalAdvance(QStringLiteral("00:00:00")) + padding;
    const int widths[] = {widest(ProgramListModel::OrderNoColumn, QStringLiteral("000")) + padding,
                          time, time,
                          widest(ProgramListModel::SetColumn, setDisplayName(LastSet)) + padding,
                          widest(ProgramListModel::PriorityColumn, QString()) + 2 * padding};
    QHeaderView* header = m_grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    for (int column = 0; column < int(std::size(widths)); ++column)
        header->resizeSection(column, widths[column]);
    // A stretched last section reached under the hidden scroll bar, pushing its title against
    // the grid's right edge; every column has its own width instead.
    header->setStretchLastSection(false);
}

int ProgramListPanel::currentRow() const {
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ProgramListPanel::setCurrentRow(int row) {
    if (row < 0 || row >= m_model->rowCount()) {
        m_grid->setCurrentIndex({});
        emit currentRowChanged(-1);
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    if (m_grid->currentIndex() == index) {
        emit currentRowChanged(row); // a reopened list shows its current record again
        return;
    }
    m_grid->setCurrentIndex(index);
    m_grid->scrollTo(index);
}

void ProgramListPanel::addGridActions(const QList<QAction*>& actions) {
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_grid->addActions(actions);
}

void ProgramListPanel::updateCount() {
    const int count = m_model->rowCount();
    m_count->setText(QString::number(count));
    // The word after the number is the same for any count in Chinese; English says
    // "1 program" but "2 programs".
    m_unit->setText(tr("记录", nullptr, count));
}

void ProgramListPanel::addFooterWidget(QWidget* widget) {
    m_footer->addWidget(widget);
}

void ProgramListPanel::setGridEnabled(bool enabled) {
    m_grid->setEnabled(enabled);
}

} // namespace tessaly
