#pragma once

#include <QWidget>

class QAction;
class QHBoxLayout;
class QLabel;
class QTableView;

namespace tessaly {

class ProgramListModel;

// The left side of the editor and of the read-back viewer: the read-only grid "grid" (one row
// per program, whole-row selection, accessible name "节目列表") over a ProgramListModel, and
// the footer "总共：" LbNum "记录". A window may add its own footer controls (the editor's
// "全部删除") with addFooterWidget. currentRowChanged reports every change of the current
// program, -1 when the list is empty.
class ProgramListPanel final : public QWidget {
    Q_OBJECT
public:
    explicit ProgramListPanel(ProgramListModel* model, QWidget* parent = nullptr);

    int currentRow() const;
    // Makes row current (-1: none) and reports it, even when it was current already.
    void setCurrentRow(int row);
    // LbNum shows the number of programs in the list.
    void updateCount();
    void addFooterWidget(QWidget* widget);
    // The grid's context menu: these actions, on a right click.
    void addGridActions(const QList<QAction*>& actions);
    void setGridEnabled(bool enabled);

signals:
    void currentRowChanged(int row);

private:
    void sizeColumns();

    ProgramListModel* m_model;
    QTableView* m_grid = nullptr;
    QLabel* m_count = nullptr; // LbNum
    QLabel* m_unit = nullptr;  // the word after the count
    QHBoxLayout* m_footer = nullptr;
};

} // namespace tessaly
