#include "BackupDialog.h"

#include "Backups.h"
#include "ProgramStore.h"
#include "Prompter.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
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

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("lblProblem"));
    m_problem->setWordWrap(true);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_problem->hide();

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
    layout->addWidget(m_problem);
    layout->addWidget(m_table);
    layout->addLayout(buttons);

    refresh();
}

void BackupDialog::refresh() {
    // An unreadable folder would list as empty, which reads as "no backups": say why instead.
    const QString problem = unlistableBackupsText(m_db);
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    m_entries = problem.isEmpty() ? listBackups(m_db) : QList<BackupEntry>();
    const auto& entries = m_entries;
    m_table->setRowCount(int(entries.size()));
    for (int row = 0; row < entries.size(); ++row) {
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

// What the backup holds against what it replaces, so that the operator sees what is lost. A
// file whose counts cannot be read gets the plain question; its restore is refused anyway.
QString BackupDialog::restoreQuestion(const BackupEntry& backup) const {
    const QString name = QFileInfo(backup.path).fileName();
    const ProgramStore store(m_db);
    const auto current = store.count(ProgramTable::MusicTab);
    const auto currentReadBack = store.count(ProgramTable::MusicReadTab);
    if (!backup.setCounts || !backup.readBackCount || !current || !currentReadBack)
        return tr("确实要用备份%1恢复电脑中的全部程序和设置吗？恢复前会先备份当前数据。").arg(name);
    const auto& sets = *backup.setCounts;
    QString question = tr("备份%1含第一套%2个、第二套%3个、第三套%4个、第四套%"
                          "5个程序，将替换电脑中现有的%n个程序。",
                          nullptr, *current)
                           .arg(name)
                           .arg(sets[0])
                           .arg(sets[1])
                           .arg(sets[2])
                           .arg(sets[3]);
    if (*backup.readBackCount > 0 || *currentReadBack > 0)
        question += tr("读回的程序：备份中%1个，将替换现有的%2个。")
                        .arg(*backup.readBackCount)
                        .arg(*currentReadBack);
    return question + tr("继续吗？恢复前会先备份当前数据。");
}

void BackupDialog::sbRestoreClick() {
    const int row = m_table->currentRow();
    if (row < 0 || row >= m_entries.size()) {
        m_prompter.notice(tr("请选择需要恢复的备份！"));
        return;
    }
    const QString path = m_entries[row].path;
    if (!m_prompter.question(restoreQuestion(m_entries[row])))
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
