#include "task_text.h"

#include <cstring>

namespace velloran {

TaskText& TaskText::operator=(const TaskText& other) {
    if (this != &other)
        assign(other.view());
    return *this;
}

TaskText& TaskText::operator=(std::string_view text) {
    assign(text);
    return *this;
}

std::string_view TaskText::view() const {
    return bytes_ ? std::string_view(bytes_.get()) : std::string_view();
}

void TaskText::assign(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (text.empty()) {
        bytes_.reset();
        return;
    }
    // The new bytes are complete before the old go, so a text may be assigned a part of itself.
    auto bytes = std::make_unique_for_overwrite<char[]>(text.size() + 1);
    std::memcpy(bytes.get(), text.data(), text.size());
    bytes[text.size()] = '\0';
    bytes_ = std::move(bytes);
}

} // namespace velloran
