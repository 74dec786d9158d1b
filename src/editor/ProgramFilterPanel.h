#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QFrame;

namespace tessaly {

// The top right of the editor and of the read-back viewer: the set boxes (Pan_Taoshu,
// chJM1 .. chJM4), the priority box chJM0 in its own panel, and the pre-heat and delay boxes
// cmbYR and cmbYS (items "0" .. "59", digits only, typed or pasted).
//
// The set boxes act as radio buttons: a click ticks the clicked box, unticks the others and
// emits setChosen; the owner reopens its list. priorityClicked tells the owner that the
// operator toggled chJM0. tickedSetLabel() gives the set label by the rule shared by both
// windows ("第一套" unless a later box is ticked).
class ProgramFilterPanel final : public QWidget {
    Q_OBJECT
public:
    explicit ProgramFilterPanel(QWidget* parent = nullptr);

    // Ticks the box of set 1..4 and unticks the others; any other number unticks all four.
    void tickSet(int set);
    QString tickedSetLabel() const;
    // The label of the ticked set box; empty when none is ticked (programs without a set).
    QString checkedSetLabel() const;
    void setSetBoxesEnabled(bool enabled);

    bool priorityTicked() const;
    void setPriorityTicked(bool ticked);

    void setMinutes(int preheat, int delay);
    QString preheatText() const;
    QString delayText() const;
    // Moves the focus to cmbYR or cmbYS.
    void focusControl(const QString& objectName);

signals:
    void setChosen(int set);
    void priorityClicked();

private:
    QFrame* m_setPanel = nullptr; // Pan_Taoshu
    std::array<QCheckBox*, 4> m_sets{};
    QCheckBox* m_priority = nullptr; // chJM0
    QComboBox* m_preheat = nullptr;  // cmbYR
    QComboBox* m_delay = nullptr;    // cmbYS
};

} // namespace tessaly
