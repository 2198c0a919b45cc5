#include "store/task_kinds.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace velloran {
namespace {

// What the editor relies on when it finds each page's controls by the table's names.
TEST(TaskKinds, EveryRowIsWholeAndItsControlsAreNamedOnce) {
    std::set<std::string_view> controlNames;
    for (int code = 0; code < kTaskKindCount; ++code) {
        const TaskKindInfo& kind = *taskKind(code);
        EXPECT_FALSE(kind.name.empty()) << code;
        EXPECT_FALSE(kind.picture.empty()) << code;
        EXPECT_EQ(kind.target == KindTarget::Fixed, !kind.fixedTarget.empty()) << code;
        // A file is chosen with Browse, so its filter must name what to show.
        EXPECT_EQ(kind.target == KindTarget::File, kind.browseFilter.find('|') != std::string_view::npos)
            << code;
        for (const std::string_view name :
             {kind.pageName, kind.targetBoxName, kind.buttonName, kind.descriptionName}) {
            if (!name.empty()) {
                EXPECT_TRUE(controlNames.insert(name).second) << name;
            }
        }
        if (kind.target != KindTarget::Fixed) {
            EXPECT_FALSE(kind.targetBoxName.empty() || kind.buttonName.empty()) << code;
        }
    }
    EXPECT_EQ(taskKind(-1), nullptr);
    EXPECT_EQ(taskKind(kTaskKindCount), nullptr);
    EXPECT_EQ(taskKind(kMemo)->fixedTarget, "Memo");
    EXPECT_EQ(taskKind(kAlarmClock)->fixedTarget, "Alarm Clock");
}

} // namespace
} // namespace velloran
