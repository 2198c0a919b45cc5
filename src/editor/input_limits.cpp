#include "input_limits.h"

#include "text_limit.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <memory>
#include <string>

namespace velloran {
namespace {

// Characters of the UTF-8 prefix of a text, for positions in the widget's own text.
int charactersIn(const std::string& text, std::size_t bytes) {
    return static_cast<int>(QString::fromUtf8(text.data(), static_cast<qsizetype>(bytes)).size());
}

} // namespace

void limitStoredBytes(QLineEdit* edit, std::size_t maxBytes) {
    auto last = std::make_shared<std::string>(edit->text().toStdString());
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, maxBytes, last](const QString& text) {
        std::string now = text.toStdString();
        if (now.size() <= maxBytes) {
            *last = std::move(now);
            return;
        }
        const FittedEdit fit = fitEdit(*last, now, maxBytes, false);
        *last = fit.text;
        edit->setText(QString::fromStdString(fit.text));
        edit->setCursorPosition(charactersIn(fit.text, fit.cursor));
    });
}

void limitStoredBytes(QPlainTextEdit* edit, std::size_t maxBytes) {
    auto last = std::make_shared<std::string>(edit->toPlainText().toStdString());
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, maxBytes, last] {
        std::string now = edit->toPlainText().toStdString();
        if (storedSize(now, true) <= maxBytes) {
            *last = std::move(now);
            return;
        }
        // What does not fit is one stretch of the new text, behind what was kept of the insertion;
        // removing it through a cursor keeps the rest of the document and its undo history.
        const FittedEdit fit = fitEdit(*last, now, maxBytes, true);
        const std::size_t removedBytes = now.size() - fit.text.size();
        const int start = charactersIn(now, fit.cursor);
        const int length = static_cast<int>(
            QString::fromUtf8(now.data() + fit.cursor, static_cast<qsizetype>(removedBytes)).size());
        *last = fit.text;
        QTextCursor cursor(edit->document());
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        QTextCursor caret = edit->textCursor();
        caret.setPosition(start);
        edit->setTextCursor(caret);
    });
}

} // namespace velloran
