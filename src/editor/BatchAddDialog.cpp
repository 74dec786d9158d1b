#include "BatchAddDialog.h"

#include "EntryChecks.h"
#include "ProgramDetailPanel.h"
#include "ProgramSet.h"
#include "Prompter.h"
#include "ScheduleEditor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

// At most this many refused lines are listed in a message box; the rest are counted.
constexpr int ListedRefusals = 20;

BatchTemplate newProgramsOf(const QString& setLabel) {
    BatchTemplate shared;
    shared.program = newProgramDefaults();
    shared.program.JMTaoNo = setLabel;
    shared.program.YXCX = QStringLiteral("");
    return shared;
}

QString refusalList(const BatchCheck& check) {
    QStringList lines;
    for (const BatchLine& line : check.lines)
        if (!line.accepted())
            lines.append(line.message());
    const qsizetype more = lines.size() - ListedRefusals;
    lines = lines.mid(0, ListedRefusals);
    if (more > 0)
        lines.append(BatchAddDialog::tr("……另有%n行不能添加", nullptr, more));
    return lines.join(QLatin1Char('\n'));
}

QSpinBox* addSpinBox(const char* name, const QString& accessibleName, int max, int value) {
    auto* box = new QSpinBox;
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(accessibleName);
    box->setRange(0, max);
    box->setValue(value);
    return box;
}

} // namespace

BatchAddDialog::BatchAddDialog(Clock& clock, Prompter& prompter, ScheduleEditor& editor,
                               const QString& setLabel, QWidget* parent)
    : BatchAddDialog(clock, prompter, editor, newProgramsOf(setLabel), false, parent) {}

BatchAddDialog::BatchAddDialog(Clock& clock, Prompter& prompter, ScheduleEditor& editor,
                               const ProgramRecord& original, QWidget* parent)
    : BatchAddDialog(clock, prompter, editor, copyTemplate(original), true, parent) {}

BatchAddDialog::BatchAddDialog(Clock& clock, Prompter& prompter, ScheduleEditor& editor,
                               const BatchTemplate& shared, bool copying, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_editor(editor), m_initial(shared),
      m_copying(copying) {
    const QString set = displayedSetLabel(shared.program.JMTaoNo);
    setObjectName(copying ? QStringLiteral("frmCopyProgram") : QStringLiteral("frmBatchAdd"));
    setWindowTitle(copying ? tr("复制节目 - %1").arg(set) : tr("批量添加 - %1").arg(set));
    setModal(true);
    m_stored = m_editor.programsOfSet(shared.program.JMTaoNo).value_or(QList<ProgramRecord>());

    m_detail = new ProgramDetailPanel(clock);
    auto* top = new QHBoxLayout;
    top->addWidget(buildTimes(), 1);
    top->addWidget(buildShared());
    auto* buttons = new QDialogButtonBox;
    m_add = buttons->addButton(tr("添加"), QDialogButtonBox::AcceptRole);
    m_add->setObjectName(QStringLiteral("sbBatchAdd"));
    auto* close = buttons->addButton(tr("关闭"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("sbBatchClose"));
    // "添加" checks before it closes; only a stored batch closes the window.
    connect(m_add, &QPushButton::clicked, this, &BatchAddDialog::addClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buildPreview(), 1);
    layout->addWidget(buttons);

    showTemplate();
    connect(m_times, &QPlainTextEdit::textChanged, this, &BatchAddDialog::updatePreview);
    connect(m_minutes, &QSpinBox::valueChanged, this, &BatchAddDialog::updatePreview);
    connect(m_seconds, &QSpinBox::valueChanged, this, &BatchAddDialog::updatePreview);
    connect(m_priority, &QCheckBox::toggled, this, &BatchAddDialog::updatePreview);
    connect(m_detail, &ProgramDetailPanel::edited, this, &BatchAddDialog::updatePreview);
    updatePreview();
    m_times->setFocus();
}

QWidget* BatchAddDialog::buildTimes() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(tr("开始时间（每行一个，或用逗号隔开）："));
    m_times = new QPlainTextEdit;
    m_times->setObjectName(QStringLiteral("edtStartTimes"));
    m_times->setAccessibleName(tr("开始时间"));
    m_times->setTabChangesFocus(true);
    caption->setBuddy(m_times);
    auto* hint = new QLabel(tr("可写作8:00、08:00:00、8.00或0800；\n"
                               "写上结束时间则不按时长：08:00-08:00:30"));
    hint->setObjectName(QStringLiteral("LbTimesHint"));
    layout->addWidget(caption);
    layout->addWidget(m_times, 1);
    layout->addWidget(hint);

    const int duration = m_initial.durationSeconds;
    m_minutes = addSpinBox("edtMinutes", tr("时长 分钟"), 24 * 60 - 1, duration / 60);
    m_seconds = addSpinBox("edtSeconds", tr("时长 秒"), 59, duration % 60);
    auto* durationRow = new QHBoxLayout;
    durationRow->addWidget(new QLabel(tr("时长：")));
    durationRow->addWidget(m_minutes);
    durationRow->addWidget(new QLabel(tr("分")));
    durationRow->addWidget(m_seconds);
    durationRow->addWidget(new QLabel(tr("秒")));
    durationRow->addStretch();
    layout->addLayout(durationRow);
    // A copy keeps the program's own duration.
    m_minutes->setEnabled(!m_copying);
    m_seconds->setEnabled(!m_copying);
    return box;
}

QWidget* BatchAddDialog::buildShared() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    m_priority = new QCheckBox(tr("优先程序"));
    m_priority->setObjectName(QStringLiteral("chBatchPriority"));
    m_mp3 = new QRadioButton(tr("MP3曲目"));
    m_mp3->setObjectName(QStringLiteral("rbMP3"));
    m_radio = new QRadioButton(tr("收音"));
    m_radio->setObjectName(QStringLiteral("rbRadio"));
    auto* source = new QButtonGroup(box);
    source->addButton(m_mp3);
    source->addButton(m_radio);
    connect(m_mp3, &QRadioButton::toggled, m_detail, &ProgramDetailPanel::setSource);
    row->addWidget(m_priority);
    row->addSpacing(24);
    row->addWidget(new QLabel(tr("节目源：")));
    row->addWidget(m_mp3);
    row->addWidget(m_radio);
    row->addStretch();
    layout->addLayout(row);
    m_detail->hideTimes();
    layout->addWidget(m_detail);
    layout->addStretch();
    // A copy is the program as it is stored: its fields are shown, not changed.
    for (QWidget* control : std::initializer_list<QWidget*>{m_priority, m_mp3, m_radio, m_detail})
        control->setEnabled(!m_copying);
    return box;
}

QWidget* BatchAddDialog::buildPreview() {
    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("lvPreview"));
    m_list->setAccessibleName(tr("预览"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({tr("行"), tr("开始时间", "column"), tr("结束时间"), tr("检查结果")});
    m_list->header()->setStretchLastSection(true);
    m_list->setMinimumHeight(160);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("LbBatchSummary"));
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_summary);
    return box;
}

void BatchAddDialog::showTemplate() {
    const ProgramRecord& program = m_initial.program;
    m_detail->showFields(program);
    m_detail->setSource(program.MP3);
    (program.MP3 ? m_mp3 : m_radio)->setChecked(true);
    m_priority->setChecked(isPriority(program));
}

BatchTemplate BatchAddDialog::currentTemplate() const {
    BatchTemplate shared = m_initial;
    shared.durationSeconds = m_minutes->value() * 60 + m_seconds->value();
    if (m_copying)
        return shared;
    m_detail->readFields(shared.program);
    shared.volumeChosen = m_detail->volumeChosen();
    shared.program.YXCX = m_priority->isChecked() ? priorityMarker() : QStringLiteral("");
    return shared;
}

void BatchAddDialog::updatePreview() {
    m_preview = checkBatch(currentTemplate(), m_times->toPlainText(), m_stored);
    m_list->clear();
    QList<QTreeWidgetItem*> rows;
    for (const BatchLine& line : m_preview.lines) {
        const bool read = line.program.KSTime.isValid();
        auto* row =
            new QTreeWidgetItem({QString::number(line.item.line),
                                 read ? formatTimeOfDay(line.program.KSTime) : line.item.text,
                                 read ? formatTimeOfDay(line.program.JSTime) : QString(),
                                 line.accepted() ? tr("可以添加") : line.verdict});
        if (!line.accepted())
            row->setForeground(3, QColor(Qt::red));
        rows.append(row);
    }
    m_list->addTopLevelItems(rows);
    const int refused = m_preview.refusedCount();
    const int count = int(m_preview.lines.size());
    m_summary->setText(count == 0 ? tr("请输入开始时间。")
                       : refused ? tr("%n行不能添加，请修改后再添加。", nullptr, refused)
                                 : tr("可以添加%n个程序。", nullptr, count));
    m_add->setEnabled(m_preview.canAdd());
}

void BatchAddDialog::addClick() {
    updatePreview();
    if (m_preview.lines.isEmpty()) {
        m_prompter.notice(tr("请输入开始时间。"));
        return;
    }
    const BatchOutcome outcome = m_editor.addBatch(currentTemplate(), m_times->toPlainText());
    if (!outcome.error.isEmpty()) {
        m_prompter.failure(tr("添加失败，未添加任何程序！"), outcome.error);
        return;
    }
    if (!outcome.succeeded()) {
        m_prompter.show(
            {standardCaption(),
             tr("%n行不能添加，未添加任何程序：\n%1", nullptr, outcome.check.refusedCount())
                 .arg(refusalList(outcome.check)),
             MessageBox::Icon::Warning});
        return;
    }
    m_prompter.notice(tr("共添加%n个程序。", nullptr, outcome.added));
    emit programsAdded(outcome.added);
    accept();
}

} // namespace tessaly
