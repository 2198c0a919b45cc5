// The task editor's entries, the checks they must pass and the task record built from them.
#pragma once

#include "common/result.h"
#include "store/task_store.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velloran {

inline constexpr int kNoPage = -1;
inline constexpr std::size_t kLongTextBytes = 1023; // paths, addresses, descriptions, the memo
inline constexpr std::size_t kArgumentBytes = 255;

// The refusals of the checks, in the translations' context "TaskEditor".
inline constexpr const char* kEditorContext = "TaskEditor";
inline constexpr const char* kElapsedStartMessage =
    QT_TRANSLATE_NOOP("TaskEditor", "Start Date & Time has elapsed.\nYou must set it for a future time.");
inline constexpr const char* kNoDaysMessage = QT_TRANSLATE_NOOP(
    "TaskEditor", "You selected to run this task Daily, but\ndid not select any days to run on.");
inline constexpr const char* kEmptyMemoMessage =
    QT_TRANSLATE_NOOP("TaskEditor", "You must type a memo to be displayed.");
// %1: the path as it was typed.
inline constexpr const char* kFileNotFoundMessage = QT_TRANSLATE_NOOP("TaskEditor", "%1\nfile not found.");
inline constexpr const char* kNoPageMessage = QT_TRANSLATE_NOOP("TaskEditor", "You must select a task type.");
inline constexpr const char* kWebAddressMessage = QT_TRANSLATE_NOOP(
    "TaskEditor", "Must type a web address or file transfer protocol using http:// or ftp://\n"
                  "ex: http://www.example.com/");

// What the editor's controls hold when Save is pressed. Texts are UTF-8; the memo's lines end in "\n".
struct TaskEntries {
    DateTime date = 0; // the date picker: only its date counts
    DateTime time = 0; // the time picker: only its time of day counts
    int repeatType = kOnce;
    std::array<bool, 7> days{}; // Sunday .. Saturday, checked or not, whether enabled or not
    bool statusEnabled = true;
    bool runIfMissed = true;
    bool autoDelete = true;
    int page = kNoPage; // the active page, the kind of the task
    std::string target; // the page's path box or web address
    std::string arguments;
    std::string description; // the page's description box, or the memo
    std::string alarmSound;
    FontBlock memoFont{};
    // The user's home folder: a path typed as "~/..." is checked and stored in it.
    std::string home;
};

using PathExists = std::function<bool(const std::string&)>;

// The start moment: the date of one picker and the time of day of the other.
DateTime startMoment(DateTime date, DateTime time);

// Runs the checks in their fixed order and, when all pass, builds the complete task (without its id);
// otherwise fails with the first failed check's message. A program's path is checked
// with programExists (where the task's start will look for it), every other path with pathExists.
Result<Task> checkEntries(const TaskEntries& entries, DateTime now, const PathExists& pathExists,
                          const PathExists& programExists);

// At least 12 characters, beginning with http://, https:// or ftp:// in any letter case.
bool isValidWebAddress(std::string_view address);

// Puts a built task into the store: appended as a new task (receiving its id), or written over the task
// with editedTaskId, which keeps its id, reserved fields and place. Returns the stored task's id, or
// nothing when the edited task is no longer in the list.
std::optional<std::uint32_t> storeTask(TaskStore& tasks, const Task& built, bool isNewTask,
                                       std::uint32_t editedTaskId, std::uint32_t unixSecondsNow);

// Memo lines: "\n" in the editor, "\r\n" in the record.
std::string recordLineBreaks(std::string_view text);
std::string editorLineBreaks(std::string_view stored);

} // namespace velloran
