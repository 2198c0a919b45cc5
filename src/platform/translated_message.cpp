#include "translated_message.h"

#include <QCoreApplication>

namespace velloran {

QString translated(const Message& message) {
    if (message.context() == nullptr)
        return QString::fromStdString(message.source());
    const long long count = message.count();
    QString pattern = QCoreApplication::translate(message.context(), message.source().c_str(), nullptr,
                                                  count >= 0 ? static_cast<int>(count) : -1);
    // Without a translation the English source is shown, in the plural form of its count.
    if (count >= 0 && pattern.contains(QLatin1String("(s)")))
        pattern = QString::fromStdString(Message::englishPlural(pattern.toStdString(), count));
    const std::vector<Message>& arguments = message.arguments();
    QString out;
    out.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar next = i + 1 < pattern.size() ? pattern[i + 1] : QChar();
        const int number = next >= QLatin1Char('1') && next <= QLatin1Char('9') ? next.unicode() - '0' : 0;
        if (pattern[i] == QLatin1Char('%') && number != 0 &&
            static_cast<std::size_t>(number) <= arguments.size()) {
            out += translated(arguments[static_cast<std::size_t>(number - 1)]);
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

QString translatedText(const char* context, std::string_view source) {
    // A view need not end in a NUL; translate() reads up to one.
    return QCoreApplication::translate(context, std::string(source).c_str());
}

} // namespace velloran
