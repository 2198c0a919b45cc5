// Texts that the layers without Qt made, in the user's language.
#pragma once

#include "common/message.h"

#include <QString>
#include <string>
#include <string_view>

namespace velloran {

// The message's source text translated in its context, its %1..%9 filled with its arguments, each
// translated the same way; a verbatim text as it is. The arguments are filled in one pass, so that a
// '%' in a path or a reason is never taken for a placeholder.
QString translated(const Message& message);

// A source text of a table without Qt (marked with QT_TRANSLATE_NOOP) translated in its context.
QString translatedText(const char* context, std::string_view source);

} // namespace velloran
