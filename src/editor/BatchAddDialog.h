#pragma once

#include "BatchAdd.h"
#include "Clock.h"
#include "ProgramRecord.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTreeWidget;

namespace tessaly {

class ProgramDetailPanel;
class Prompter;
class ScheduleEditor;

// "批量添加 - 第一套": programs that differ only in their times, entered once. The start times
// go into one box ("开始时间"), one a line or separated by commas, each with its own end
// ("08:00-08:00:30") or the duration for all; the fields they share are the editor's own
// controls with its defaults. The preview lists each line's program with the editor's verdict;
// "添加" stores them all, or none while a line is refused.
//
// "复制节目 - 第一套" is the same window for the same program at new start times: its fields are
// shown, not edited, and its duration is kept unless a line gives an end.
class BatchAddDialog final : public QDialog {
    Q_OBJECT
public:
    // New programs for the set with this label.
    BatchAddDialog(Clock& clock, Prompter& prompter, ScheduleEditor& editor,
                   const QString& setLabel, QWidget* parent = nullptr);
    // Copies of a stored program.
    BatchAddDialog(Clock& clock, Prompter& prompter, ScheduleEditor& editor,
                   const ProgramRecord& original, QWidget* parent = nullptr);

    // The preview as it stands.
    const BatchCheck& preview() const { return m_preview; }
    // "添加": all or nothing; closes the window once they are stored.
    void addClick();

signals:
    // The programs are stored; the set has been numbered again.
    void programsAdded(int count);

private:
    BatchAddDialog(Clock& clock, Prompter& prompter, ScheduleEditor& editor,
                   const BatchTemplate& shared, bool copying, QWidget* parent);
    QWidget* buildTimes();
    QWidget* buildShared();
    QWidget* buildPreview();
    void showTemplate();
    BatchTemplate currentTemplate() const;
    void updatePreview();

    Prompter& m_prompter;
    ScheduleEditor& m_editor;
    const BatchTemplate m_initial;
    const bool m_copying;
    QList<ProgramRecord> m_stored; // the set as it was when the window opened
    BatchCheck m_preview;

    QPlainTextEdit* m_times = nullptr;
    QSpinBox* m_minutes = nullptr;
    QSpinBox* m_seconds = nullptr;
    QCheckBox* m_priority = nullptr;
    QRadioButton* m_mp3 = nullptr;
    QRadioButton* m_radio = nullptr;
    ProgramDetailPanel* m_detail = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_add = nullptr;
};

} // namespace tessaly
