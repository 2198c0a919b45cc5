#include "notification_window_table.h"

#include "notification_form.h"

#include <algorithm>
#include <utility>

namespace velloran {

NotificationWindowTable::~NotificationWindowTable() {
    destroyAll();
}

bool NotificationWindowTable::registerWindow(NotificationForm* window) {
    // Registering twice would destroy the window twice.
    if (contains(window))
        return true;
    const auto empty = std::find(slots_.begin(), slots_.end(), nullptr);
    if (window == nullptr || empty == slots_.end())
        return false;
    *empty = window;
    ++count_;
    return true;
}

int NotificationWindowTable::sweep() {
    if (count_ == 0)
        return 0;
    int freed = 0;
    for (NotificationForm*& slot : slots_) {
        if (slot != nullptr && slot->closed()) {
            delete std::exchange(slot, nullptr);
            --count_;
            ++freed;
        }
    }
    return freed;
}

void NotificationWindowTable::destroyAll() {
    for (NotificationForm*& slot : slots_) {
        if (slot != nullptr) {
            delete std::exchange(slot, nullptr);
            --count_;
        }
    }
}

bool NotificationWindowTable::contains(const NotificationForm* window) const {
    return window != nullptr && std::find(slots_.begin(), slots_.end(), window) != slots_.end();
}

} // namespace velloran
