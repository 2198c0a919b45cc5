// What the user types into a date or time picker, taken as a whole. Qt's own editing works section by
// section and fills what a keystroke leaves open from the value shown before (Ctrl+A and "07:30:00" over
// 19:14 gives 19:30); here the text is edited freely, shown in error while it is no valid value, and read
// when the user leaves the field, presses Enter or saves: a valid text becomes the value, anything else
// brings the old value back. The arrows, the wheel and the calendar stay Qt's.
#pragma once

#include <QPalette>
#include <QString>
#include <QValidator>
#include <functional>
#include <optional>

class QDateTimeEdit;
class QEvent;
class QFocusEvent;
class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;
class QObject;

namespace velloran {

struct DateWords;

class DateTimeTyping {
public:
    // line is the picker's own line edit.
    DateTimeTyping(QDateTimeEdit& edit, QLineEdit& line);

    // The picker's events; each returns true when the typing took the event and the picker's own
    // handling must not run.
    bool keyPress(QKeyEvent* event);
    bool inputMethod(QInputMethodEvent* event);
    bool focusOut(QFocusEvent* event);
    bool lineEvent(QObject* watched, QEvent* event);
    // The context menu's Paste, Cut and Delete edit the text as typing does.
    void aroundMenu(const std::function<void()>& showMenu);
    // While the user types, the text is the user's: nothing of Qt's may read or correct it.
    bool active() const { return typing_; }
    QValidator::State validate() const { return QValidator::Intermediate; }

    // Takes what was typed: true when it became the value (or nothing was typed), false when it was no
    // valid date or time and the old value came back.
    bool commit();
    // The last text that was refused, once; forgotten when the value changes another way.
    std::optional<QString> takeRefused();

    // This year, around which a typed two-digit year is read; the system's date's until set.
    void setThisYear(std::function<int()> thisYear) { thisYear_ = std::move(thisYear); }

    // Whether a text is a date or time this picker can hold, and which.
    bool accepts(const QString& text) const;

private:
    DateWords dateWords() const;
    bool takeValue(const QString& text);
    // What the first edit replaces when nothing is selected.
    enum class FirstEdit { AtCursor, OverThePart, OverEverything };
    void begin(FirstEdit first);
    void deliver(QEvent* event);
    void showValidity();
    void showError(bool error);
    void abandon();

    QDateTimeEdit& edit_;
    QLineEdit& line_;
    bool isDate_;
    bool typing_ = false;
    bool shownInError_ = false;
    std::optional<QString> refused_;
    std::function<int()> thisYear_;
};

} // namespace velloran
