// A text for the user made where there is no Qt: a translation context, the English source text with
// Qt's placeholders %1..%9, and the arguments that fill them. The windows translate it (translated() in
// platform/); english() gives it as the English source reads.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

// Marks a source text for lupdate, which knows the macro by its name; the same definition as Qt's, so that
// a file that sees both is fine.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace velloran {

class Message {
public:
    // No text.
    Message() = default;
    // A text to translate. context and source are string literals, marked with QT_TRANSLATE_NOOP.
    Message(const char* context, const char* source, std::initializer_list<Message> arguments = {})
        : context_(context), source_(source), arguments_(arguments) {}
    Message(const char* context, const char* source, std::vector<Message> arguments)
        : context_(context), source_(source), arguments_(std::move(arguments)) {}
    // A text shown as it is, never translated: a path, a name, the system's words for an error.
    Message(std::string verbatim) : source_(std::move(verbatim)) {}

    bool empty() const { return source_.empty() && context_ == nullptr; }
    // Null for a verbatim text.
    const char* context() const { return context_; }
    const std::string& source() const { return source_; }
    const std::vector<Message>& arguments() const { return arguments_; }

    // How the user is shown it: a problem (the default), or news that asks nothing of them.
    enum class Severity : unsigned char { Problem, Information };
    Severity severity() const { return severity_; }
    void setSeverity(Severity severity) { severity_ = severity; }

    // The English text: each %1..%9 replaced by its argument's English text, in one pass, so that a '%'
    // inside an argument stays as it is. A placeholder without an argument stays too.
    std::string english() const;

    friend bool operator==(const Message& a, const Message& b);

private:
    const char* context_ = nullptr;
    std::string source_;
    std::vector<Message> arguments_;
    Severity severity_ = Severity::Problem;
};

} // namespace velloran
