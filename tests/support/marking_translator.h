// A translator that answers each text in brackets, so that a text shown without them never reached
// tr(): a text that skips the translator stays English in every language.
#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

namespace velloran::test {

class MarkingTranslator final : public QTranslator {
public:
    // Qt's own texts (their contexts are Qt's class names) are marked only when asked for.
    explicit MarkingTranslator(bool markQtTexts = true) : markQtTexts_(markQtTexts) {}

    QString translate(const char* context, const char* source, const char* = nullptr,
                      int = -1) const override {
        if (!markQtTexts_ && context != nullptr && context[0] == 'Q')
            return {};
        asked << QString::fromLatin1(context) + u'|' + QString::fromUtf8(source);
        return u'[' + QString::fromUtf8(source) + u']';
    }
    bool isEmpty() const override { return false; }

    mutable QStringList asked; // "context|text", in the order asked

private:
    bool markQtTexts_;
};

inline bool marked(const QString& text) {
    return text.size() >= 2 && text.startsWith(u'[') && text.endsWith(u']');
}

} // namespace velloran::test
