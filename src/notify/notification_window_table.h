// The alarm window table and the memo window table: 500 slots of open notification windows and a count.
// A window registers itself when it is shown; the main window's sweep destroys the ones that were closed.
#pragma once

#include <array>

namespace velloran {

class NotificationForm;

class NotificationWindowTable {
public:
    static constexpr int kSlots = 500;

    NotificationWindowTable() = default;
    // Destroys every window still registered.
    ~NotificationWindowTable();
    NotificationWindowTable(const NotificationWindowTable&) = delete;
    NotificationWindowTable& operator=(const NotificationWindowTable&) = delete;

    // Takes the first empty slot and from then on owns the window. False when all slots are taken: the
    // window then works on but is never destroyed by a sweep.
    bool registerWindow(NotificationForm* window);

    // Destroys every registered window whose closed flag is set and empties its slot; returns how many.
    int sweep();
    // Destroys every registered window, open or closed.
    void destroyAll();

    int count() const { return count_; }
    bool contains(const NotificationForm* window) const;
    NotificationForm* at(int slot) const { return slots_[static_cast<std::size_t>(slot)]; }

private:
    std::array<NotificationForm*, kSlots> slots_{};
    int count_ = 0;
};

} // namespace velloran
