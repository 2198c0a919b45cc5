// TaskView1: the report-style list of tasks, one row per task, each row linked to its task by TaskId.
#pragma once

#include "task_rows.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QTableView>
#include <functional>
#include <optional>

namespace velloran {

class TaskRowsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using IconForKind = std::function<QIcon(int kind)>;

    explicit TaskRowsModel(IconForKind iconForKind, QObject* parent = nullptr);

    void setRows(std::vector<TaskRow> rows);
    void removeRowAt(int row);
    const TaskRow& rowAt(int row) const { return rows_[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<TaskRow> rows_;
    IconForKind iconForKind_;
};

class TaskListView final : public QTableView {
    Q_OBJECT
public:
    enum Column { TypeColumn, TaskColumn, DateColumn, RunColumn, StatusColumn, DescriptionColumn };

    explicit TaskListView(TaskRowsModel::IconForKind iconForKind, QWidget* parent = nullptr);

    // Rebuilds every row; afterwards no row is selected. Column "Date & Time" takes the width of the
    // display format, except when there is no task.
    void refresh(std::vector<TaskRow> rows, bool longDisplay);
    std::optional<std::uint32_t> selectedTaskId() const;
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
