// The icon of each task kind in the task list and the menus: the artwork its row in the kinds table names.
#pragma once

#include <QIcon>

namespace velloran {

// A null icon for a code that no kind has (a damaged file): its row shows without an image.
QIcon kindIcon(int kind);

} // namespace velloran
