#include "task_actions.h"

#include "common/text.h"
#include "store/task_kinds.h"

namespace velloran {

void TaskActions::carryOut(const Task& task) {
    const TaskKindInfo* kind = taskKind(task.TaskType);
    // An unknown kind comes only from a damaged file; opening its target could do anything.
    if (kind == nullptr)
        return;
    switch (kind->action) {
    case KindAction::ShowAlarm:
        windows_.showAlarm(task.Description.str(), task.AlarmSound.str());
        break;
    case KindAction::ShowMemo: {
        // The window copies what it needs from the block while it is shown.
        const FontBlock memoFont = task.MemoFont.block();
        windows_.showMemo(task.Description.str(), memoFont);
        break;
    }
    case KindAction::RunProgram:
        // A program that is gone is no error anyone is told of, as for any target that cannot be opened.
        if (const auto program = findProgram(task.Target.view(), programs_))
            opener_.runProgram(*program, splitArguments(task.ExeArguments.view()));
        break;
    case KindAction::OpenTarget:
        opener_.open(task.Target.str());
        break;
    }
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
