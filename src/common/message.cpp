#include "message.h"

#include <cstring>

namespace velloran {

std::string Message::english() const {
    if (context_ == nullptr)
        return source_;
    const std::string pattern = count_ >= 0 ? englishPlural(source_, count_) : source_;
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const std::size_t number = next >= '1' && next <= '9' ? static_cast<std::size_t>(next - '0') : 0;
        if (pattern[i] == '%' && number != 0 && number <= arguments_.size()) {
            out += arguments_[number - 1].english();
            ++i;
        } else if (pattern[i] == '%' && next == 'n' && count_ >= 0) {
            out += std::to_string(count_);
            ++i;
        } else {
            out.push_back(pattern[i]);
        }
    }
    return out;
}

std::string Message::englishPlural(std::string_view text, long long count) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "(s)") == 0) {
            out += count == 1 ? "" : "s";
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

bool operator==(const Message& a, const Message& b) {
    // Two marked texts are one when their contexts read alike, wherever the literals live.
    const bool sameContext = a.context_ == nullptr || b.context_ == nullptr
                                 ? a.context_ == b.context_
                                 : std::strcmp(a.context_, b.context_) == 0;
    return sameContext && a.source_ == b.source_ && a.arguments_ == b.arguments_ && a.count_ == b.count_;
}

} // namespace velloran
