#include "ProgramDetailPanel.h"

#include "ProgramSet.h"
#include "ProgramWindowLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>

#include <algorithm>

namespace tessaly {

namespace {

constexpr int VolumeItems = MaxEditorVolume + 1; // "0" .. "38"

QLabel* addLabel(QWidget* parent, const QString& text, QRect geometry, const QString& name = {}) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    if (!name.isEmpty())
        label->setObjectName(name);
    return label;
}

QLineEdit* addDigitBox(QWidget* parent, const QString& name, const QString& accessibleName,
                       int maxLength, QRect geometry) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setMaxLength(maxLength);
    // A validator, not a key filter: pasted text is held to digits too.
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    box->setGeometry(geometry);
    return box;
}

QCheckBox* addCheckBox(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    return box;
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// UpDown: steps the number of its box between min and max, written without a leading zero.
QWidget* addSpinner(QWidget* parent, QLineEdit* box, int number, int max) {
    const QRect at = box->geometry();
    auto* spinner = new QWidget(parent);
    spinner->setObjectName(QStringLiteral("UpDown%1").arg(number));
    spinner->setGeometry(at.right() + 1, at.top(), 14, at.height());
    const auto addStep = [&](const QString& arrow, int step, const QString& what) {
        auto* button = new QToolButton(spinner);
        button->setObjectName(step > 0 ? QStringLiteral("Up") : QStringLiteral("Down"));
        button->setText(arrow);
        button->setAccessibleName(box->accessibleName() + QLatin1Char(' ') + what);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setGeometry(0, step > 0 ? 0 : at.height() / 2, 14, at.height() / 2);
        QObject::connect(button, &QToolButton::clicked, box, [box, step, max] {
            const int value = std::clamp(box->text().toInt() + step, 0, max);
            box->setText(QString::number(value));
        });
    };
    addStep(QStringLiteral("▴"), 1, ProgramDetailPanel::tr("增加"));
    addStep(QStringLiteral("▾"), -1, ProgramDetailPanel::tr("减少"));
    return spinner;
}

} // namespace

ProgramDetailPanel::ProgramDetailPanel(Clock& clock, QWidget* parent)
    : QFrame(parent), m_clock(clock) {
    setObjectName(QStringLiteral("Pan_Edt"));
    setFrameShape(QFrame::StyledPanel);
    setFixedSize(500, 250);
    buildTimes();
    buildWeekdays();
    buildTracks();
    buildVolume();
    buildZones();
    buildSource();
    setTabOrder();
}

ProgramDetailPanel::~ProgramDetailPanel() {
    m_cancel.cancel();
}

void ProgramDetailPanel::buildTimes() {
    const std::array<const char*, 6> names{"edtKS1", "edtKS2", "edtKS3",
                                           "edtJS1", "edtJS2", "edtJS3"};
    static constexpr std::array<const char*, 6> spoken{
        QT_TR_NOOP("开始 时"), QT_TR_NOOP("开始 分"), QT_TR_NOOP("开始 秒"),
        QT_TR_NOOP("结束 时"), QT_TR_NOOP("结束 分"), QT_TR_NOOP("结束 秒")};
    m_timeRow.append(addLabel(this, tr("开始:"), QRect(8, 10, 40, 22)));
    m_timeRow.append(addLabel(this, tr("结束:"), QRect(250, 10, 40, 22)));
    for (int i = 0; i < 6; ++i) {
        const int x = (i < 3 ? 50 : 292) + (i % 3) * 62;
        m_times[i] = addDigitBox(this, QString::fromLatin1(names[i]), tr(spoken[i]), 2,
                                 QRect(x, 10, 30, 22));
        m_times[i]->setText(QStringLiteral("0"));
        m_timeRow.append(m_times[i]);
        m_timeRow.append(addSpinner(this, m_times[i], i + 1, i % 3 == 0 ? 23 : 59));
        if (i % 3 != 2)
            m_timeRow.append(addLabel(this, QStringLiteral(":"), QRect(x + 48, 10, 10, 22)));
    }
}

void ProgramDetailPanel::buildWeekdays() {
    addLabel(this, tr("星期:"), QRect(8, 44, 40, 22));
    static constexpr std::array<const char*, 7> days{
        QT_TR_NOOP("星期一"), QT_TR_NOOP("星期二"), QT_TR_NOOP("星期三"), QT_TR_NOOP("星期四"),
        QT_TR_NOOP("星期五"), QT_TR_NOOP("星期六"), QT_TR_NOOP("星期日")};
    for (int i = 0; i < 7; ++i) {
        m_weekdays[i] = addCheckBox(this, QStringLiteral("chXQ%1").arg(i + 1), tr(days[i]),
                                    QRect(50 + i * 64, 44, 64, 22));
        connect(m_weekdays[i], &QCheckBox::toggled, this, &ProgramDetailPanel::edited);
    }
}

void ProgramDetailPanel::buildTracks() {
    m_trackCaption = addLabel(this, tr("曲目:"), QRect(8, 78, 40, 22), QStringLiteral("LbQM"));
    for (int i = 0; i < 6; ++i) {
        const int x = 50 + i * 52;
        m_tracks[i] = addDigitBox(this, QStringLiteral("edtQM%1").arg(i + 1),
                                  tr("曲目%1").arg(i + 1), 3, QRect(x, 78, 40, 22));
        if (i > 0)
            m_trackSeparators[i - 1] = addLabel(this, QStringLiteral(":"), QRect(x - 10, 78, 8, 22),
                                                QStringLiteral("Lb%1").arg(i + 1));
    }
    // Fitted to the wider of its two captions: it reads "电台:" for a radio program.
    const QString tracks = m_trackCaption->text();
    const QString station = tr("电台:");
    const QFontMetrics metrics = m_trackCaption->fontMetrics();
    if (metrics.horizontalAdvance(station) > metrics.horizontalAdvance(tracks))
        m_trackCaption->setText(station);
    programWindow::fitCaption(m_trackCaption,
                              {m_tracks[0], m_tracks[1], m_trackSeparators[0], m_tracks[2],
                               m_trackSeparators[1], m_tracks[3], m_trackSeparators[2], m_tracks[4],
                               m_trackSeparators[3], m_tracks[5], m_trackSeparators[4]});
    m_trackCaption->setText(tracks);
}

void ProgramDetailPanel::buildVolume() {
    auto* caption = addLabel(this, tr("音量:"), QRect(8, 112, 40, 22));
    m_volume = new QComboBox(this);
    m_volume->setObjectName(QStringLiteral("cmbYL"));
    m_volume->setAccessibleName(tr("音量"));
    for (int volume = 0; volume < VolumeItems; ++volume)
        m_volume->addItem(QString::number(volume));
    m_volume->setGeometry(50, 112, 64, 22);
    connect(m_volume, &QComboBox::currentIndexChanged, this, &ProgramDetailPanel::edited);
    programWindow::fitCaption(caption, {m_volume});
}

void ProgramDetailPanel::buildZones() {
    auto* group = new QGroupBox(tr(" 分区："), this);
    group->setObjectName(QStringLiteral("GroupFQ"));
    group->setGeometry(8, 144, 484, 56);
    for (int i = 0; i < 32; ++i) {
        m_zones[i] = addCheckBox(group, QStringLiteral("chFQ%1").arg(i + 1),
                                 tr("%1分区").arg(i + 1), QRect(8 + i * 60, 24, 60, 22));
        m_zones[i]->setVisible(i < VisibleZones);
    }
    m_allOpen = addCheckBox(group, QStringLiteral("chAllOpen"), tr("全开"), QRect(372, 24, 52, 22));
    m_allClose =
        addCheckBox(group, QStringLiteral("chAllClose"), tr("全关"), QRect(426, 24, 52, 22));
    fitAllOnAndOff(group->width() - 6);
    connect(m_allOpen, &QCheckBox::clicked, this,
            [this](bool checked) { zoneButtonClicked(checked, true); });
    connect(m_allClose, &QCheckBox::clicked, this,
            [this](bool checked) { zoneButtonClicked(checked, false); });
}

// The two switches are placed for "全开" and "全关". Longer captions ("All on", "All off") take
// the room they need, ending at `right`, and the last visible zone box, whose caption is short
// then, gives up what they take from it.
void ProgramDetailPanel::fitAllOnAndOff(int right) {
    const int openWidth = std::max(m_allOpen->width(), m_allOpen->sizeHint().width());
    const int closeWidth = std::max(m_allClose->width(), m_allClose->sizeHint().width());
    if (openWidth == m_allOpen->width() && closeWidth == m_allClose->width())
        return;
    m_allClose->setGeometry(right - closeWidth, m_allClose->y(), closeWidth, m_allClose->height());
    m_allOpen->setGeometry(m_allClose->x() - 2 - openWidth, m_allOpen->y(), openWidth,
                           m_allOpen->height());
    QCheckBox* lastZone = m_zones[VisibleZones - 1];
    lastZone->resize(std::min(lastZone->width(), m_allOpen->x() - 2 - lastZone->x()),
                     lastZone->height());
}

void ProgramDetailPanel::buildSource() {
    // The source of a program cannot be changed here: the boxes are never shown.
    m_mp3 =
        addCheckBox(this, QStringLiteral("chMP3"), QStringLiteral("MP3"), QRect(8, 210, 60, 22));
    m_radio = addCheckBox(this, QStringLiteral("chSY"), tr("收音"), QRect(70, 210, 60, 22));
    m_mp3->hide();
    m_radio->hide();
}

void ProgramDetailPanel::setTabOrder() {
    QList<QWidget*> order(m_times.begin(), m_times.end());
    order.append(QList<QWidget*>(m_tracks.begin(), m_tracks.end()));
    order.append(m_volume);
    order.append(QList<QWidget*>(m_weekdays.begin(), m_weekdays.end()));
    order.append(QList<QWidget*>(m_zones.begin(), m_zones.end()));
    order.append(m_allOpen);
    order.append(m_allClose);
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void ProgramDetailPanel::showRecord(const ProgramRecord& record) {
    const std::array<int, 6> values{record.KS1, record.KS2, record.KS3,
                                    record.JS1, record.JS2, record.JS3};
    for (int i = 0; i < 6; ++i)
        m_times[i]->setText(twoDigits(values[i]));
    showFields(record);
}

void ProgramDetailPanel::showFields(const ProgramRecord& record) {
    for (int i = 0; i < 7; ++i)
        m_weekdays[i]->setChecked(record.Week[i]);
    for (int i = 0; i < 6; ++i)
        m_tracks[i]->setText(record.QuMu[i]);
    // A volume outside the list shows no item and has to be chosen before a save.
    m_volume->setCurrentIndex(
        record.YinLiang >= 0 && record.YinLiang < VolumeItems ? record.YinLiang : -1);
    for (int i = 0; i < 32; ++i)
        m_zones[i]->setChecked(record.FQ[i]);
    m_mp3->setChecked(record.MP3);
    m_radio->setChecked(record.ShouYin);
    showSource(record.MP3);
}

void ProgramDetailPanel::showSource(bool mp3) {
    m_trackCaption->setText(mp3 ? tr("曲目:") : tr("电台:"));
    for (int i = 1; i < 6; ++i) {
        m_tracks[i]->setVisible(mp3);
        m_trackSeparators[i - 1]->setVisible(mp3);
    }
}

void ProgramDetailPanel::clearTimes() {
    for (auto* box : m_times)
        box->setText(QStringLiteral("00"));
}

void ProgramDetailPanel::readFields(ProgramRecord& record) const {
    for (int i = 0; i < 7; ++i)
        record.Week[i] = m_weekdays[i]->isChecked();
    for (int i = 0; i < 6; ++i)
        record.QuMu[i] = m_tracks[i]->text();
    if (m_volume->currentIndex() >= 0)
        record.YinLiang = m_volume->currentIndex();
    for (int i = 0; i < 32; ++i)
        record.FQ[i] = m_zones[i]->isChecked();
    record.MP3 = m_mp3->isChecked();
    record.ShouYin = m_radio->isChecked();
}

std::array<QString, 6> ProgramDetailPanel::timeTexts() const {
    std::array<QString, 6> texts;
    for (int i = 0; i < 6; ++i)
        texts[i] = m_times[i]->text();
    return texts;
}

bool ProgramDetailPanel::volumeChosen() const {
    return m_volume->currentIndex() >= 0;
}

std::array<bool, 7> ProgramDetailPanel::weekdays() const {
    std::array<bool, 7> days{};
    for (int i = 0; i < 7; ++i)
        days[i] = m_weekdays[i]->isChecked();
    return days;
}

void ProgramDetailPanel::focusControl(const QString& objectName) {
    if (auto* control = findChild<QWidget*>(objectName))
        control->setFocus();
}

void ProgramDetailPanel::hideTimes() {
    constexpr int rowHeight = 34;
    for (QWidget* widget : m_timeRow)
        widget->hide();
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!m_timeRow.contains(child))
            child->move(child->x(), child->y() - rowHeight);
    setFixedHeight(height() - rowHeight);
}

void ProgramDetailPanel::setSource(bool mp3) {
    m_mp3->setChecked(mp3);
    m_radio->setChecked(!mp3);
    showSource(mp3);
}

void ProgramDetailPanel::untickZoneButtons() {
    m_allOpen->setChecked(false);
    m_allClose->setChecked(false);
}

void ProgramDetailPanel::zoneButtonClicked(bool checked, bool open) {
    if (!checked)
        return;
    for (int i = 0; i < VisibleZones; ++i)
        m_zones[i]->setChecked(open);
    if (!m_zoneTimerRunning)
        untickZoneButtonsLater();
}

// The two boxes act as momentary buttons: their tick shows for ZoneBoxMs.
QCoro::Task<> ProgramDetailPanel::untickZoneButtonsLater() {
    const auto cancel = m_cancel;
    m_zoneTimerRunning = true;
    try {
        co_await m_clock.wait(ZoneBoxMs, cancel);
    } catch (const SequenceCancelled&) {
        co_return; // the panel is gone
    }
    m_zoneTimerRunning = false;
    untickZoneButtons();
}

} // namespace tessaly
