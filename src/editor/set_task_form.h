// The task editor "Task Setup": creates a new task or changes an existing one.
#pragma once

#include "editor/task_entries.h"
#include "editor/task_pages.h"
#include "editor/typed_date_time_edit.h"
#include "prefs/settings_record.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace velloran {

class ButtonPageControl;
class Clock;
class Opener;
class SoundPlayer;

class TSetTaskForm : public QDialog {
    Q_OBJECT
public:
    enum class Result {
        NotShown, // ShowEditTask for an id that no task has
        Closed,   // cancelled, or closed without saving
        Saved,    // a task was appended or changed
    };

    // programDirectory is where Sounds/ lives; the store saves its tasks on every close.
    TSetTaskForm(QWidget* parent, TaskStore& tasks, const SettingsRecord& settings, SoundPlayer& sound,
                 Opener& opener, const Clock& clock, std::string programDirectory);

    // Opens modally for a new task on the page of kind (0..7), or on no page for -1; returns when closed.
    Result ShowNewTask(int kind);
    // Opens modally for the task with this id; returns NotShown at once when no task has it.
    Result ShowEditTask(std::uint32_t taskId);

    // The two steps before the modal loop, for tests that drive the window themselves.
    void prepareNewTask(int kind);
    bool prepareEditTask(std::uint32_t taskId);

    bool IsNewTask() const { return IsNewTask_; }
    std::uint32_t EditedTaskId() const { return EditedTaskId_; }
    // The id of the task that Save stored, once it did.
    std::optional<std::uint32_t> savedTaskId() const { return savedTaskId_; }

    // The controls, with the names the window's layout gives them.
    QGroupBox* GroupBox1;
    TypedDateEdit* DatePicker;
    TypedTimeEdit* TimePicker;
    QLabel* Label18;
    QComboBox* RepeatTypeCB;
    QCheckBox* AutoDeleteCK;
    QGroupBox* GroupBox2;
    QLabel* Label19;
    QRadioButton* TaskMissedRunRB;
    QRadioButton* TaskMissedSkipRB;
    QGroupBox* GroupBox3;
    QRadioButton* StatusEnabledRB;
    QRadioButton* StatusDisabledRB;
    QGroupBox* DaysGroupBox;
    std::array<QCheckBox*, 7> DayBoxes; // SunCK .. SatCK
    QLabel* label3;
    ButtonPageControl* PageControl;
    TaskPageControls Pages;
    QPushButton* SaveBT;
    QPushButton* CancelBT;

    void RepeatTypeCBSelect();
    void PlaySndBTClick();
    void StopSndBTClick();
    // The Browse button of a kind's page: the file chosen goes into its box.
    void BrowseClick(int kind);
    void WebVerifyClick();
    void SetFontBTClick();
    void SaveBTClick();
    void CancelBTClick();

    // Every close, after Save or Cancel, goes through here.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void connectHandlers();
    void FormCreate();
    void FormClose();
    void loadTask(const Task& task);
    void setMemoFont(const FontBlock& block);
    FontBlock memoFontBlock() const;
    TaskEntries entries() const;
    // Takes what was typed into the date and time; false, after telling the user, when either was refused.
    bool takeTypedStart();
    Result runModal();

    TaskStore& tasks_;
    const SettingsRecord& settings_;
    SoundPlayer& sound_;
    Opener& opener_;
    const Clock& clock_;
    std::string programDirectory_;

    bool IsNewTask_ = true;
    std::uint32_t EditedTaskId_ = 0;
    std::optional<std::uint32_t> savedTaskId_;
    // What the memo box's font carries besides the QFont: kept as stored, so that a system colour
    // value or a character set survives an edit.
    std::uint8_t memoCharset_ = 1;
    std::int32_t memoColor_ = 0;
};

} // namespace velloran
