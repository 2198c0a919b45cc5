// Input limits that count the bytes a text takes in its record field.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velloran {

// Bytes the text takes when stored; with crlf, every line break takes two ("\r\n").
std::size_t storedSize(std::string_view utf8, bool crlf);

struct FittedEdit {
    std::string text;
    std::size_t cursor = 0; // byte offset behind what was kept of the insertion
};

// An edit turned `before` into `after`. When `after` is longer than maxBytes, only as much of what the
// edit inserted is kept as fits, never splitting a character; the rest of the text stays as it was.
FittedEdit fitEdit(std::string_view before, std::string_view after, std::size_t maxBytes, bool crlf);

} // namespace velloran
