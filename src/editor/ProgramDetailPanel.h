#pragma once

#include "Clock.h"
#include "ProgramRecord.h"

#include <QFrame>
#include <qcoro/qcorotask.h>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace tessaly {

// Pan_Edt: the detail panel of one program, shared by the schedule editor and the read-back
// viewer.
//
// How to use it:
//   auto* panel = new ProgramDetailPanel(clock, parent);
//   panel->setEditable(false);          // a viewer only displays: the whole panel is disabled
//   panel->showRecord(record);          // on every change of the current record
//   panel->clearTimes();                // when the list has become empty
// An editor also uses showFields() for the defaults of a new program (the time boxes keep
// what they show), readFields() and timeTexts() to collect the entry, and focusControl() to
// put the focus on a refused box. Children carry their described objectNames (edtKS1 ..
// edtJS3, chXQ1 .. chXQ7, LbQM, edtQM1 .. edtQM6, Lb2 .. Lb6, cmbYL, chFQ1 .. chFQ32,
// chAllOpen, chAllClose, chMP3, chSY) and accessible names. Only digits reach the time and
// track boxes, typed or pasted. "全开"/"全关" tick zones 1 to 6 and untick themselves after
// ZoneBoxMs on the given clock; disabled, they are inert.
class ProgramDetailPanel final : public QFrame {
    Q_OBJECT
public:
    static constexpr int ZoneBoxMs = 3000;
    static constexpr int VisibleZones = 6;

    ProgramDetailPanel(Clock& clock, QWidget* parent = nullptr);
    ~ProgramDetailPanel() override;

    // The display step: the time boxes with two digits and every field of the record.
    void showRecord(const ProgramRecord& record);
    // Every field but the times: weekdays, tracks or station, volume, zones, source.
    void showFields(const ProgramRecord& record);
    // The six time boxes read "00".
    void clearTimes();
    void setEditable(bool editable) { setEnabled(editable); }

    // The fields that the controls edit, written into record (times excluded).
    void readFields(ProgramRecord& record) const;
    // edtKS1, edtKS2, edtKS3, edtJS1, edtJS2, edtJS3 as typed.
    std::array<QString, 6> timeTexts() const;
    bool volumeChosen() const;
    std::array<bool, 7> weekdays() const;
    // Moves the focus to the child with this objectName, if there is one.
    void focusControl(const QString& objectName);
    void untickZoneButtons();

    // For a window that takes its times elsewhere: the time row goes and the rest moves up.
    void hideTimes();
    // MP3 tracks or a radio station, for a window that lets the source be chosen.
    void setSource(bool mp3);

signals:
    // The weekdays or the volume changed: what the checks of a save look at.
    void edited();

private:
    void buildTimes();
    void buildWeekdays();
    void buildTracks();
    void buildVolume();
    void buildZones();
    void buildSource();
    void fitAllOnAndOff(int right);
    void setTabOrder();
    void showSource(bool mp3);
    void zoneButtonClicked(bool checked, bool open);
    QCoro::Task<> untickZoneButtonsLater();

    Clock& m_clock;
    CancelToken m_cancel;
    bool m_zoneTimerRunning = false;

    std::array<QLineEdit*, 6> m_times{};
    QList<QWidget*> m_timeRow; // the boxes with their captions, separators and spinners
    std::array<QCheckBox*, 7> m_weekdays{};
    QLabel* m_trackCaption = nullptr; // LbQM
    std::array<QLineEdit*, 6> m_tracks{};
    std::array<QLabel*, 5> m_trackSeparators{}; // Lb2 .. Lb6
    QComboBox* m_volume = nullptr;
    std::array<QCheckBox*, 32> m_zones{};
    QCheckBox* m_allOpen = nullptr;
    QCheckBox* m_allClose = nullptr;
    QCheckBox* m_mp3 = nullptr;
    QCheckBox* m_radio = nullptr;
};

} // namespace tessaly
