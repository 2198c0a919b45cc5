#include "task_list_view.h"

#include "platform/translated_message.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QResizeEvent>
#include <QStyleOptionHeader>

namespace velloran {
namespace {

constexpr int kColumnCount = 6;
constexpr int kMinimumColumnWidth = 30;
constexpr int kNormalDateWidth = 115;
constexpr int kLongDateWidth = 160;
const char* const kHeaders[kColumnCount] = {
    QT_TRANSLATE_NOOP("TaskListView", "Type"),        QT_TRANSLATE_NOOP("TaskListView", "Task"),
    QT_TRANSLATE_NOOP("TaskListView", "Date & Time"), QT_TRANSLATE_NOOP("TaskListView", "Run Task"),
    QT_TRANSLATE_NOOP("TaskListView", "Status"),      QT_TRANSLATE_NOOP("TaskListView", "Description")};

} // namespace

QString shownTargetText(const Task& task) {
    if (const std::string_view fixed = fixedTargetName(task); !fixed.empty())
        return translatedText("TaskKinds", fixed);
    return QString::fromStdString(targetText(task));
}

TaskRowsModel::TaskRowsModel(QObject* parent) : QAbstractTableModel(parent) {}

void TaskRowsModel::setRows(const TaskList& tasks, std::vector<TaskRowRef> rows, bool longDisplay,
                            DateStyle names) {
    beginResetModel();
    tasks_ = &tasks;
    rows_ = std::move(rows);
    longDisplay_ = longDisplay;
    names_ = std::move(names);
    endResetModel();
}

void TaskRowsModel::removeRowAt(int row) {
    beginRemoveRows({}, row, row);
    removeTaskRow(rows_, static_cast<std::size_t>(row));
    endRemoveRows();
}

int TaskRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TaskRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TaskRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || tasks_ == nullptr)
        return {};
    const TaskRowRef row = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::UserRole)
        return QVariant::fromValue(row.taskId);
    // A task removed or moved since the rows were made shows an empty row until the next refresh.
    const Task* task = rowTask(*tasks_, row);
    if (task == nullptr)
        return {};
    if (role == Qt::DecorationRole && index.column() == TaskListView::TypeColumn && iconForKind_)
        return iconForKind_(task->TaskType);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case TaskListView::TypeColumn:
        return translatedText("TaskKinds", kindName(task->TaskType));
    case TaskListView::TaskColumn:
        return shownTargetText(*task);
    case TaskListView::DateColumn:
        return QString::fromStdString(nextRunText(*task, longDisplay_, names_));
    case TaskListView::RunColumn:
        return translatedText("TaskRows", repeatName(task->RepeatType));
    case TaskListView::StatusColumn:
        return translatedText("TaskRows", statusName(*task));
    case TaskListView::DescriptionColumn:
        // One line per row: a memo's line breaks show as blanks.
        return QString::fromStdString(descriptionText(*task)).replace("\r\n", " ").replace('\n', ' ');
    default:
        return {};
    }
}

QVariant TaskRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumnCount)
        return QCoreApplication::translate("TaskListView", kHeaders[section]);
    return {};
}

TaskListHeader::TaskListHeader(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent) {}

QSize TaskListHeader::sectionSizeFromContents(int logicalIndex) const {
    if (model() == nullptr || isSectionHidden(logicalIndex))
        return {};
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.section = logicalIndex;
    option.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    option.fontMetrics = fontMetrics();
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
}

TaskListView::TaskListView(QWidget* parent) : QTableView(parent) {
    setHorizontalHeader(new TaskListHeader(Qt::Horizontal, this));
    setVerticalHeader(new TaskListHeader(Qt::Vertical, this));
    setModel(&model_);
    setShowGrid(true);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setWordWrap(false);
    setIconSize({16, 16});
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setMinimumSectionSize(kMinimumColumnWidth);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setColumnWidth(TypeColumn, 100);
    setColumnWidth(DateColumn, kNormalDateWidth);
    setColumnWidth(RunColumn, 60);
    setColumnWidth(StatusColumn, 60);
    // The selected row stays marked while another control has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { emit contextMenuWanted(viewport()->mapToGlobal(at)); });
    shareFreeWidth();
}

void TaskListView::setIconForKind(TaskRowsModel::IconForKind iconForKind) {
    model_.setIconForKind(std::move(iconForKind));
}

void TaskListView::refresh(const TaskList& tasks, bool sortByDate, bool longDisplay, const DateStyle& names) {
    const bool any = !tasks.empty();
    model_.setRows(tasks, orderTaskRows(tasks, sortByDate, names), longDisplay, names);
    clearSelection();
    setCurrentIndex({});
    if (any) {
        // The designed width, wider only where the locale's longest text needs it.
        setColumnWidth(DateColumn, std::max(longDisplay ? kLongDateWidth : kNormalDateWidth,
                                            sizeHintForColumn(DateColumn)));
        shareFreeWidth();
    }
}

std::optional<int> TaskListView::selectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.first().row();
}

std::optional<std::uint32_t> TaskListView::selectedTaskId() const {
    const auto row = selectedRow();
    if (!row)
        return std::nullopt;
    return model_.taskIdAt(*row);
}

void TaskListView::removeSelectedRow() {
    if (const auto row = selectedRow())
        model_.removeRowAt(*row);
    // The row that moves up into its place is no choice of the user's.
    clearSelection();
    setCurrentIndex({});
}

void TaskListView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    shareFreeWidth();
}

// "Task" and "Description" share what the fixed columns leave.
void TaskListView::shareFreeWidth() {
    const int fixed = columnWidth(TypeColumn) + columnWidth(DateColumn) + columnWidth(RunColumn) +
                      columnWidth(StatusColumn);
    const int free = std::max(0, viewport()->width() - fixed);
    const int task = std::max(kMinimumColumnWidth, free / 2);
    setColumnWidth(TaskColumn, task);
    setColumnWidth(DescriptionColumn, std::max(kMinimumColumnWidth, free - task));
}

} // namespace velloran
