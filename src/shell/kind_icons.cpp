#include "kind_icons.h"

#include "look/artwork.h"
#include "store/task_kinds.h"

namespace velloran {

QIcon kindIcon(int kind) {
    const TaskKindInfo* info = taskKind(kind);
    return info != nullptr ? kindPictureIcon(info->picture) : QIcon();
}

} // namespace velloran
