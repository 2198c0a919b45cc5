// Keeps edit boxes within the bytes their record fields hold, never cutting a character.
#pragma once

#include <cstddef>

class QLineEdit;
class QPlainTextEdit;

namespace velloran {

void limitStoredBytes(QLineEdit* edit, std::size_t maxBytes);
// A memo's line breaks are stored as "\r\n" and count two bytes each.
void limitStoredBytes(QPlainTextEdit* edit, std::size_t maxBytes);

} // namespace velloran
