// A text of a task in memory: only its bytes, on the heap, with nothing held for an empty one.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace velloran {

// Holds the bytes of a record text up to its first NUL. Eight bytes when empty; a text of a few dozen
// bytes costs one small allocation, where its record field took 256 or 1024 bytes.
class TaskText {
public:
    TaskText() = default;
    // Keeps text up to its first NUL, as a record field would.
    TaskText(std::string_view text) { assign(text); } // NOLINT: reads like the string it holds
    TaskText(const char* text) : TaskText(std::string_view(text)) {}
    TaskText(const TaskText& other) { assign(other.view()); }
    TaskText(TaskText&& other) noexcept = default;
    TaskText& operator=(const TaskText& other);
    TaskText& operator=(TaskText&& other) noexcept = default;
    TaskText& operator=(std::string_view text);
    TaskText& operator=(const char* text) { return *this = std::string_view(text); }
    ~TaskText() = default;

    std::string_view view() const;
    operator std::string_view() const { return view(); } // NOLINT: passes wherever a text view goes
    std::string str() const { return std::string(view()); }
    // Never null: an empty text gives "".
    const char* c_str() const { return bytes_ ? bytes_.get() : ""; }
    bool empty() const { return !bytes_; }
    std::size_t size() const { return view().size(); }

    friend bool operator==(const TaskText& a, const TaskText& b) { return a.view() == b.view(); }
    friend bool operator==(const TaskText& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const TaskText& a, const char* b) { return a.view() == std::string_view(b); }

private:
    void assign(std::string_view text);

    std::unique_ptr<char[]> bytes_; // NUL-terminated; null when the text is empty
};

} // namespace velloran
