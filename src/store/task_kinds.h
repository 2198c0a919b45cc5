// What each kind of task is: its name, what its Target holds, what it does when due, and how the editor
// and the main window offer it. Everything that treats kinds differently reads this one table, so a new
// kind is one more row here and its pictures in the artwork.
#pragma once

#include "task_record.h"

#include <array>
#include <string_view>

namespace velloran {

enum class KindAction : std::uint8_t {
    ShowAlarm,  // an alarm clock window with Description and AlarmSound
    ShowMemo,   // a memo window with Description and the memo font
    RunProgram, // Target started with ExeArguments
    OpenTarget, // Target opened with the desktop's program for it
};

enum class KindTarget : std::uint8_t {
    Fixed,      // Target holds the kind's own text; the editor has no box for it
    File,       // a file path, which must exist when the task is saved
    WebAddress, // a web address, checked when the task is saved
};

// The user's own folder in which a kind's first Browse opens.
enum class UserFolder : std::uint8_t { Home, Music, Videos, Documents };

// What Browse offers beside the kind's own filter, and where it opens first.
struct BrowseOffer {
    // The types the desktop's MIME database knows for the kind, names separated by blanks ("audio/*" is
    // every audio type), offered after the filter: first all at once under this title, then each.
    std::string_view types;
    std::string_view typesTitle;
    UserFolder firstFolder = UserFolder::Home;
};

struct TaskKindInfo {
    std::string_view name; // the list's "Type" column; its translations are in the context "TaskKinds"
    KindTarget target;
    std::string_view fixedTarget; // what Target holds for a Fixed kind
    KindAction action;
    // The editor's page of the kind: the names under which the editor finds the page's controls (their
    // captions are the form's).
    std::string_view pageName;
    std::string_view targetBoxName;
    std::string_view buttonName; // the button beside the target box
    std::string_view descriptionName;
    std::string_view browseFilter; // the Browse button's file filter, "Title (*.a;*.b)|*.a;*.b"
    // The artwork: kind-<picture>.svg, and kind-<picture>-16.svg for small sizes.
    std::string_view picture;
    BrowseOffer browse;
};

extern const std::array<TaskKindInfo, kTaskKindCount> kTaskKinds;

// The row of a kind code; nullptr for a code that no kind has (a damaged file).
const TaskKindInfo* taskKind(int code);

} // namespace velloran
