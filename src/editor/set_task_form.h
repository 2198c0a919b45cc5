// The task editor "Task Setup": creates a new task or changes an existing one. Its controls are laid out
// in set_task_form.ui; this class gives them their behaviour.
#pragma once

#include "editor/task_entries.h"
#include "prefs/settings_record.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace Ui {
class SetTaskForm;
}

namespace velloran {

class Clock;
class Opener;
class RingingSounds;

class SetTaskForm : public QDialog {
    Q_OBJECT
public:
    enum class Result {
        NotShown, // showEditTask for an id that no task has
        Closed,   // cancelled, or closed without saving
        Saved,    // a task was appended or changed
    };

    // programDirectory is where Sounds/ lives; the store saves its tasks on every close.
    SetTaskForm(QWidget* parent, TaskStore& tasks, const SettingsRecord& settings, RingingSounds& sounds,
                Opener& opener, const Clock& clock, std::string programDirectory);
    ~SetTaskForm() override;

    // Opens modally for a new task on the page of kind (0..7), or on no page for -1; returns when closed.
    Result showNewTask(int kind);
    // Opens modally for the task with this id; returns NotShown at once when no task has it.
    Result showEditTask(std::uint32_t taskId);

    // The two steps before the modal loop, for tests that drive the window themselves.
    void prepareNewTask(int kind);
    bool prepareEditTask(std::uint32_t taskId);

    bool isNewTask() const { return isNewTask_; }
    std::uint32_t editedTaskId() const { return editedTaskId_; }
    // The id of the task that Save stored, once it did.
    std::optional<std::uint32_t> savedTaskId() const { return savedTaskId_; }

    // Every close, after Save or Cancel, goes through here.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void findPageBoxes();
    void connectControls();
    void fillDefaults();
    void loadTask(const Task& task);
    void applyRepeatType();
    void playAlarmSound();
    void stopAlarmSound();
    // The Browse button of a kind's page: the file chosen goes into its box.
    void browseForTarget(int kind);
    void verifyWebAddress();
    void chooseMemoFont();
    void saveTask();
    void stopSoundAndSaveTasks();

    void setMemoFont(const FontBlock& block);
    void showMemoColor();
    FontBlock memoFontBlock() const;
    TaskEntries entries() const;
    // Takes what was typed into the date and time; false, after telling the user, when either was refused.
    bool takeTypedStart();
    Result runModal();
    // The path or address box of a page (nullptr for Alarm Clock and Memo) and its description box.
    QLineEdit* targetBox(int page) const;
    QLineEdit* descriptionBox(int page) const;

    std::unique_ptr<Ui::SetTaskForm> ui_;
    // The form's controls by kind code, as the kind table names them; nullptr where a page has none.
    std::array<QLineEdit*, kTaskKindCount> targetBoxes_{};
    std::array<QPushButton*, kTaskKindCount> targetButtons_{};
    std::array<QLineEdit*, kTaskKindCount> descriptionBoxes_{};
    std::array<QCheckBox*, 7> dayBoxes_{}; // SunCK .. SatCK

    TaskStore& tasks_;
    const SettingsRecord& settings_;
    RingingSounds& sounds_; // the preview takes its turn beside ringing alarms
    Opener& opener_;
    const Clock& clock_;
    std::string programDirectory_;

    bool isNewTask_ = true;
    std::uint32_t editedTaskId_ = 0;
    std::optional<std::uint32_t> savedTaskId_;
    // What the memo box's font carries besides the QFont: kept as stored, so that a system colour
    // value or a character set survives an edit.
    std::uint8_t memoCharset_ = 1;
    std::int32_t memoColor_ = 0;
};

} // namespace velloran
