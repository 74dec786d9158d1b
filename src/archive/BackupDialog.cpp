#include "BackupDialog.h"

#include "Backups.h"
#include "Prompter.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tessaly {

BackupDialog::BackupDialog(Prompter& prompter, const QSqlDatabase& db, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_db(db) {
    setObjectName(QStringLiteral("frmBackups"));
    setWindowTitle(tr("备份与恢复"));
    setModal(true);
    resize(760, 420);

    m_table = new QTableWidget(0, int(backupColumnTitles().size()), this);
    m_table->setObjectName(QStringLiteral("gridBackups"));
    m_table->setAccessibleName(tr("备份列表"));
    m_table->setHorizontalHeaderLabels(backupColumnTitles());
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    // The file name takes the room that is left; the other columns fit their texts.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_table->horizontalHeader()->setStretchLastSection(false);

    m_restore = new QPushButton(tr("恢复"), this);
    m_restore->setObjectName(QStringLiteral("sbRestore"));
    m_close = new QPushButton(tr("关闭"), this);
    m_close->setObjectName(QStringLiteral("sbClose"));
    connect(m_restore, &QPushButton::clicked, this, &BackupDialog::sbRestoreClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_restore);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(buttons);

    refresh();
}

void BackupDialog::refresh() {
    const auto entries = listBackups(m_db);
    m_paths.clear();
    m_table->setRowCount(int(entries.size()));
    for (int row = 0; row < entries.size(); ++row) {
        m_paths.append(entries[row].path);
        const QStringList cells = backupRow(entries[row]);
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column >= 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, column, item);
        }
    }
    m_restore->setEnabled(!entries.isEmpty());
    if (!entries.isEmpty())
        m_table->selectRow(0);
}

void BackupDialog::sbRestoreClick() {
    const int row = m_table->currentRow();
    if (row < 0 || row >= m_paths.size()) {
        m_prompter.notice(tr("请选择需要恢复的备份！"));
        return;
    }
    const QString path = m_paths[row];
    if (!m_prompter.question(
            tr("确实要用备份%1恢复电脑中的全部程序和设置吗？恢复前会先备份当前数据。")
                .arg(QFileInfo(path).fileName())))
        return;
    const auto result = restoreBackup(m_db, path);
    if (result.detail.isEmpty())
        m_prompter.notice(result.message);
    else
        m_prompter.failure(result.message, result.detail);
    if (result.end == RestoreEnd::Restored)
        emit restored();
    refresh();
}

} // namespace tessaly
