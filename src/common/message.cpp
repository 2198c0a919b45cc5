#include "message.h"

#include <cstring>

namespace velloran {

std::string Message::english() const {
    if (context_ == nullptr)
        return source_;
    std::string out;
    out.reserve(source_.size());
    for (std::size_t i = 0; i < source_.size(); ++i) {
        const char next = i + 1 < source_.size() ? source_[i + 1] : '\0';
        const std::size_t number = next >= '1' && next <= '9' ? static_cast<std::size_t>(next - '0') : 0;
        if (source_[i] == '%' && number != 0 && number <= arguments_.size()) {
            out += arguments_[number - 1].english();
            ++i;
        } else {
            out.push_back(source_[i]);
        }
    }
    return out;
}

bool operator==(const Message& a, const Message& b) {
    // Two marked texts are one when their contexts read alike, wherever the literals live.
    const bool sameContext = a.context_ == nullptr || b.context_ == nullptr
                                 ? a.context_ == b.context_
                                 : std::strcmp(a.context_, b.context_) == 0;
    return sameContext && a.source_ == b.source_ && a.arguments_ == b.arguments_;
}

} // namespace velloran
