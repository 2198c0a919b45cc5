#include "text_limit.h"

#include <algorithm>

namespace velloran {
namespace {

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Length of the UTF-8 character that begins with this byte (1 for a stray byte).
std::size_t characterLength(char lead) {
    const auto c = static_cast<unsigned char>(lead);
    if (c >= 0xF0)
        return 4;
    if (c >= 0xE0)
        return 3;
    if (c >= 0xC0)
        return 2;
    return 1;
}

} // namespace

std::size_t storedSize(std::string_view utf8, bool crlf) {
    if (!crlf)
        return utf8.size();
    return utf8.size() + static_cast<std::size_t>(std::count(utf8.begin(), utf8.end(), '\n'));
}

FittedEdit fitEdit(std::string_view before, std::string_view after, std::size_t maxBytes, bool crlf) {
    if (storedSize(after, crlf) <= maxBytes)
        return {std::string(after), after.size()};

    // The inserted part lies between the longest common prefix and suffix, both on character
    // boundaries and not overlapping.
    std::size_t prefix = 0;
    const std::size_t shorter = std::min(before.size(), after.size());
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    while (prefix > 0 && prefix < after.size() && isContinuation(after[prefix]))
        --prefix;
    std::size_t suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    while (suffix > 0 && isContinuation(after[after.size() - suffix]))
        --suffix;

    const std::string_view head = after.substr(0, prefix);
    const std::string_view inserted = after.substr(prefix, after.size() - prefix - suffix);
    const std::string_view tail = after.substr(after.size() - suffix);
    const std::size_t kept = storedSize(head, crlf) + storedSize(tail, crlf);
    if (kept > maxBytes) {
        // Not an insertion into a text that fit (text set from outside): cut the whole at the limit.
        std::size_t end = 0;
        std::size_t used = 0;
        while (end < after.size()) {
            const std::size_t length = std::min(characterLength(after[end]), after.size() - end);
            const std::size_t cost = storedSize(after.substr(end, length), crlf);
            if (used + cost > maxBytes)
                break;
            used += cost;
            end += length;
        }
        return {std::string(after.substr(0, end)), end};
    }

    std::size_t room = maxBytes - kept;
    std::size_t taken = 0;
    while (taken < inserted.size()) {
        const std::size_t length = std::min(characterLength(inserted[taken]), inserted.size() - taken);
        const std::size_t cost = storedSize(inserted.substr(taken, length), crlf);
        if (cost > room)
            break;
        room -= cost;
        taken += length;
    }
    std::string text;
    text.reserve(prefix + taken + suffix);
    text.append(head).append(inserted.substr(0, taken)).append(tail);
    return {std::move(text), prefix + taken};
}

} // namespace velloran
