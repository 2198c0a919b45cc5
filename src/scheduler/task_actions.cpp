#include "task_actions.h"

#include "common/text.h"
#include "store/task_kinds.h"

#include <cctype>

namespace velloran {
namespace {

// What names a task in a notice: its description's first line, else its target.
std::string taskName(const Task& task) {
    std::string name = task.Description.str();
    name = name.substr(0, name.find_first_of("\r\n"));
    return name.empty() ? task.Target.str() : name;
}

} // namespace

void TaskActions::carryOut(const Task& task, DateTime due) {
    const TaskKindInfo* kind = taskKind(task.TaskType);
    // An unknown kind comes only from a damaged file; opening its target could do anything.
    if (kind == nullptr)
        return;
    switch (kind->action) {
    case KindAction::ShowAlarm:
        windows_.showAlarm(task.Description.str(), task.AlarmSound.str(), {task.TaskId, due});
        break;
    case KindAction::ShowMemo: {
        // The window copies what it needs from the block while it is shown.
        const FontBlock memoFont = task.MemoFont.block();
        windows_.showMemo(task.Description.str(), memoFont, {task.TaskId, due});
        break;
    }
    case KindAction::RunProgram:
    case KindAction::OpenTarget: {
        // The task's record moves on all the same; the user is told that it did nothing.
        auto failed = [&windows = windows_, name = taskName(task), target = task.Target.str()](
                          OpenFailure why) { windows.tellFailure(name, target, why); };
        if (kind->action == KindAction::OpenTarget)
            opener_.open(task.Target.str(), failed);
        else if (const auto program = findProgram(task.Target.view(), programs_))
            opener_.runProgram(*program, splitArguments(task.ExeArguments.view()), failed);
        else
            failed(OpenFailure::ProgramMissing);
        break;
    }
    }
}

std::optional<OpenFailure> openerFailure(int exitStatus) {
    switch (exitStatus) {
    case 0:
        return std::nullopt;
    case 1:
        return OpenFailure::BadRequest;
    case 2:
        return OpenFailure::FileMissing;
    case 3:
        return OpenFailure::NoProgramForIt;
    default:
        return OpenFailure::OpenFailed;
    }
}

bool isWindowsPath(std::string_view target) {
    const bool drive = target.size() >= 3 && std::isalpha(static_cast<unsigned char>(target[0])) != 0 &&
                       target[1] == ':' && target[2] == '\\';
    const bool share = target.size() >= 3 && target.substr(0, 2) == "\\\\";
    return drive || share;
}

std::vector<std::string> splitArguments(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            // Everything up to the closing quote is taken literally.
            const std::size_t close = text.find('\'', i + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close;
            word.append(text.substr(i + 1, end - i - 1));
            i = end;
        } else if (c == '"') {
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                // Inside double quotes a backslash escapes only what would end or change the text.
                if (text[i] == '\\' && i + 1 < text.size() &&
                    (text[i + 1] == '"' || text[i + 1] == '\\' || text[i + 1] == '$' || text[i + 1] == '`'))
                    ++i;
                word += text[i];
            }
        } else if (c == '\\' && i + 1 < text.size()) {
            word += text[++i];
        } else {
            word += c;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

} // namespace velloran
