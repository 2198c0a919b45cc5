// TaskView1: the report-style list of tasks, one row per task, each row linked to its task by TaskId.
#pragma once

#include "task_rows.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QIcon>
#include <QTableView>
#include <functional>
#include <optional>

namespace velloran {

// The "Task" column's text: the target's last part, or an Alarm Clock's or Memo's fixed target in the
// user's language (the stored text stays as it is).
QString shownTargetText(const Task& task);

class TaskRowsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using IconForKind = std::function<QIcon(int kind)>;

    explicit TaskRowsModel(QObject* parent = nullptr);

    void setIconForKind(IconForKind iconForKind) { iconForKind_ = std::move(iconForKind); }

    // The rows stand for tasks of this list, which must outlive the model; a row's texts are made from
    // its task each time the view asks for them.
    void setRows(const TaskList& tasks, std::vector<TaskRowRef> rows, bool longDisplay, DateStyle names);
    void removeRowAt(int row);
    std::uint32_t taskIdAt(int row) const { return rows_[static_cast<std::size_t>(row)].taskId; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TaskList* tasks_ = nullptr;
    std::vector<TaskRowRef> rows_;
    bool longDisplay_ = false;
    DateStyle names_;
    IconForKind iconForKind_;
};

// The list's column headers. They are never shown highlighted, so they are measured in the list's own
// font: the standard header measures in bold to make room for highlighting, and loads a second face of
// the font only for that.
class TaskListHeader final : public QHeaderView {
    Q_OBJECT
public:
    TaskListHeader(Qt::Orientation orientation, QWidget* parent);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};

class TaskListView final : public QTableView {
    Q_OBJECT
public:
    enum Column { TypeColumn, TaskColumn, DateColumn, RunColumn, StatusColumn, DescriptionColumn };

    explicit TaskListView(QWidget* parent = nullptr);

    // The small picture of each kind in the "Type" column; none until it is given.
    void setIconForKind(TaskRowsModel::IconForKind iconForKind);

    // Rebuilds every row from the tasks, which must outlive the view; afterwards no row is selected.
    // Column "Date & Time" takes the width of the display format, except when there is no task.
    void refresh(const TaskList& tasks, bool sortByDate, bool longDisplay, const DateStyle& names);
    std::optional<std::uint32_t> selectedTaskId() const;
    // After the selected row's task was removed from the list; afterwards no row is selected.
    void removeSelectedRow();

signals:
    void contextMenuWanted(const QPoint& globalPosition);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void shareFreeWidth();
    std::optional<int> selectedRow() const;

    TaskRowsModel model_;
};

} // namespace velloran
