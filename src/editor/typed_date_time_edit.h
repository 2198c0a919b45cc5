// The editor's date and time pickers: Qt's QDateEdit and QTimeEdit, with what the user types taken as a
// whole (date_time_typing.h says how).
#pragma once

#include "date_time_typing.h"

#include <QDateEdit>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimeEdit>

namespace velloran {

template <typename Edit> class TypedDateTimeEdit final : public Edit {
public:
    explicit TypedDateTimeEdit(QWidget* parent) : Edit(parent), typing_(*this, *this->lineEdit()) {
        this->lineEdit()->installEventFilter(this);
    }

    // Takes what the user typed: true when it became the value or nothing was typed.
    bool commitTyping() { return typing_.commit(); }
    // The last typed text that was no valid value and gave way to the old one, once.
    std::optional<QString> takeRefusedText() { return typing_.takeRefused(); }
    // This year, around which a typed two-digit year is read.
    void setThisYear(std::function<int()> thisYear) { typing_.setThisYear(std::move(thisYear)); }
    // Whether a text, typed into this picker, would be taken.
    bool acceptsTyped(const QString& text) const { return typing_.accepts(text); }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!typing_.keyPress(event))
            Edit::keyPressEvent(event);
    }
    void inputMethodEvent(QInputMethodEvent* event) override {
        if (!typing_.inputMethod(event))
            Edit::inputMethodEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override {
        if (!typing_.focusOut(event))
            Edit::focusOutEvent(event);
    }
    bool focusNextPrevChild(bool next) override {
        typing_.commit();
        return Edit::focusNextPrevChild(next);
    }
    // The arrow buttons and the calendar's button.
    void mousePressEvent(QMouseEvent* event) override {
        typing_.commit();
        Edit::mousePressEvent(event);
    }
    // The arrow keys, the wheel and the menu's steps step from the typed value when there is one.
    void stepBy(int steps) override {
        typing_.commit();
        Edit::stepBy(steps);
    }
    void contextMenuEvent(QContextMenuEvent* event) override {
        typing_.aroundMenu([&] { Edit::contextMenuEvent(event); });
    }
    QValidator::State validate(QString& text, int& position) const override {
        return typing_.active() ? typing_.validate() : Edit::validate(text, position);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        return typing_.lineEvent(watched, event) || Edit::eventFilter(watched, event);
    }

private:
    DateTimeTyping typing_;
};

using TypedDateEdit = TypedDateTimeEdit<QDateEdit>;
using TypedTimeEdit = TypedDateTimeEdit<QTimeEdit>;

} // namespace velloran
