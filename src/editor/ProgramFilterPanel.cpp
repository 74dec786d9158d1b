#include "ProgramFilterPanel.h"

#include "ProgramSet.h"
#include "ProgramWindowLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace tessaly {

namespace {

constexpr int MinuteItems = 60; // "0" .. "59"

QFrame* addPanel(QWidget* parent, const QString& name, QRect geometry) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(geometry);
    return panel;
}

QComboBox* addMinutesBox(QWidget* parent, const QString& name, const QString& accessibleName,
                         const QString& caption, int x) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(x, 44, 44, 24);
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (int minutes = 0; minutes < MinuteItems; ++minutes)
        box->addItem(QString::number(minutes));
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    box->setEditText(QStringLiteral("0"));
    box->setGeometry(x + 44, 44, 64, 24);
    auto* unit = new QLabel(ProgramFilterPanel::tr("分钟"), parent);
    unit->setGeometry(x + 112, 44, 36, 24);
    programWindow::fitCaption(label, {box, unit});
    return box;
}

} // namespace

ProgramFilterPanel::ProgramFilterPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanFilter"));
    setFixedSize(500, 72);
    m_setPanel = addPanel(this, QStringLiteral("Pan_Taoshu"), QRect(0, 0, 340, 36));
    for (int set = FirstSet; set <= LastSet; ++set) {
        auto* box = new QCheckBox(setDisplayName(set), m_setPanel);
        box->setObjectName(QStringLiteral("chJM%1").arg(set));
        box->setGeometry(8 + (set - FirstSet) * 82, 6, 80, 24);
        connect(box, &QCheckBox::clicked, this, [this, set] {
            tickSet(set);
            emit setChosen(set);
        });
        m_sets[set - FirstSet] = box;
    }
    m_sets[0]->setChecked(true);

    auto* priorityPanel = addPanel(this, QStringLiteral("Pan_YX"), QRect(348, 0, 152, 36));
    m_priority = new QCheckBox(tr("优先程序"), priorityPanel);
    m_priority->setObjectName(QStringLiteral("chJM0"));
    m_priority->setGeometry(8, 6, 136, 24);
    connect(m_priority, &QCheckBox::clicked, this, &ProgramFilterPanel::priorityClicked);

    m_preheat = addMinutesBox(this, QStringLiteral("cmbYR"), tr("预热"), tr("预热："), 0);
    m_delay = addMinutesBox(this, QStringLiteral("cmbYS"), tr("延时"), tr("延时:"), 170);
}

void ProgramFilterPanel::tickSet(int set) {
    for (int i = 0; i < int(m_sets.size()); ++i)
        m_sets[i]->setChecked(i + FirstSet == set);
}

QString ProgramFilterPanel::tickedSetLabel() const {
    const QString label = checkedSetLabel();
    return label.isEmpty() ? setLabel(FirstSet) : label;
}

QString ProgramFilterPanel::checkedSetLabel() const {
    QString label;
    for (int set = FirstSet; set <= LastSet; ++set) {
        if (m_sets[set - FirstSet]->isChecked())
            label = setLabel(set);
    }
    return label;
}

void ProgramFilterPanel::setSetBoxesEnabled(bool enabled) {
    m_setPanel->setEnabled(enabled);
}

bool ProgramFilterPanel::priorityTicked() const {
    return m_priority->isChecked();
}

void ProgramFilterPanel::setPriorityTicked(bool ticked) {
    m_priority->setChecked(ticked);
}

void ProgramFilterPanel::setMinutes(int preheat, int delay) {
    m_preheat->setEditText(QString::number(preheat));
    m_delay->setEditText(QString::number(delay));
}

QString ProgramFilterPanel::preheatText() const {
    return m_preheat->currentText();
}

QString ProgramFilterPanel::delayText() const {
    return m_delay->currentText();
}

void ProgramFilterPanel::focusControl(const QString& objectName) {
    if (auto* control = findChild<QWidget*>(objectName))
        control->setFocus();
}

} // namespace tessaly
