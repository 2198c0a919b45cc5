#include "date_time_typing.h"

#include "typed_date_time.h"

#include <QDateTimeEdit>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>

namespace velloran {
namespace {

const QColor kErrorText(204, 0, 0);

// Lower case with every kind of blank (the no-break spaces some locales put before AM and PM) as ' '.
std::string folded(const QString& text) {
    QString plain = text.toLower();
    for (QChar& c : plain) {
        if (c.isSpace())
            c = QLatin1Char(' ');
    }
    return plain.toStdString();
}

// The display format's letters outside its quoted texts.
QString formatLetters(const QString& format) {
    QString letters;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted)
            letters += c;
    }
    return letters;
}

DateWords dateWordsOf(const QLocale& locale, const QString& format) {
    DateWords words;
    const QString letters = formatLetters(format);
    // The day is 'd' or "dd"; "ddd" and "dddd" are weekday names.
    qsizetype dayAt = -1;
    for (qsizetype i = 0; i < letters.size(); ++i) {
        if (letters[i] != QLatin1Char('d'))
            continue;
        qsizetype run = i;
        while (run < letters.size() && letters[run] == QLatin1Char('d'))
            ++run;
        if (run - i <= 2) {
            dayAt = i;
            break;
        }
        i = run;
    }
    const qsizetype monthAt = letters.indexOf(QLatin1Char('M'));
    const qsizetype yearAt = letters.indexOf(QLatin1Char('y'));
    if (yearAt >= 0 && yearAt < monthAt && yearAt < dayAt)
        words.order = DateOrder::YearMonthDay;
    else if (monthAt >= 0 && monthAt < dayAt)
        words.order = DateOrder::MonthDayYear;
    for (int month = 1; month <= 12; ++month) {
        auto& names = words.monthNames[static_cast<std::size_t>(month - 1)];
        for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
            names.push_back(folded(locale.monthName(month, type)));
            names.push_back(folded(locale.standaloneMonthName(month, type)));
        }
    }
    for (int day = 1; day <= 7; ++day) {
        for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
            words.dayNames.push_back(folded(locale.dayName(day, type)));
            words.dayNames.push_back(folded(locale.standaloneDayName(day, type)));
        }
    }
    return words;
}

TimeWords timeWordsOf(const QLocale& locale, const QString& format) {
    TimeWords words;
    words.amTexts = {folded(locale.amText()), "am"};
    words.pmTexts = {folded(locale.pmText()), "pm"};
    const QString letters = formatLetters(format);
    words.twelveHour = letters.contains(QLatin1Char('a'), Qt::CaseInsensitive);
    return words;
}

bool isPlainText(const QKeyEvent* event) {
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier;
    return !event->text().isEmpty() && event->text().front().isPrint() &&
           (event->modifiers() & commands) == 0;
}

bool changesText(const QKeyEvent* event) {
    if (isPlainText(event) || event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    for (const QKeySequence::StandardKey key :
         {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::DeleteStartOfWord,
          QKeySequence::DeleteEndOfWord, QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine}) {
        if (event->matches(key))
            return true;
    }
    return false;
}

// Keys that move or select within the typed text, or undo a step of it.
bool staysInText(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        break;
    }
    for (const QKeySequence::StandardKey key :
         {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Undo, QKeySequence::Redo})
        if (event->matches(key))
            return true;
    return false;
}

// A key that only changes what the next one types: Shift for ':', a dead key for an accent.
bool preparesAKey(const QKeyEvent* event) {
    const int key = event->key();
    return (key >= Qt::Key_Shift && key <= Qt::Key_ScrollLock) || key == Qt::Key_AltGr ||
           key == Qt::Key_Super_L || key == Qt::Key_Super_R || key == Qt::Key_Hyper_L ||
           key == Qt::Key_Hyper_R || key == Qt::Key_Mode_switch ||
           (key >= Qt::Key_Dead_Grave && key <= Qt::Key_Dead_Longsolidusoverlay);
}

} // namespace

DateTimeTyping::DateTimeTyping(QDateTimeEdit& edit, QLineEdit& line)
    : edit_(edit), line_(line), isDate_((edit.displayedSections() & QDateTimeEdit::DateSections_Mask) != 0) {
    // A value set another way (the arrows, the calendar, the program) ends the typing and what it refused.
    QObject::connect(&edit_, &QDateTimeEdit::dateTimeChanged, &edit_, [this] {
        refused_.reset();
        if (typing_) {
            typing_ = false;
            showError(false);
        }
    });
}

bool DateTimeTyping::keyPress(QKeyEvent* event) {
    if (typing_ && event->key() == Qt::Key_Escape) {
        abandon();
        return true;
    }
    const bool edits = changesText(event);
    if (!typing_) {
        if (!edits)
            return false;
        begin(event->matches(QKeySequence::Paste) ? FirstEdit::OverEverything
              : isPlainText(event)                ? FirstEdit::OverThePart
                                                  : FirstEdit::AtCursor);
    } else if (preparesAKey(event)) {
        return true;
    } else if (!edits && !staysInText(event)) {
        // Enter, the arrows, Tab, the calendar's key: what was typed is taken first.
        commit();
        return false;
    }
    deliver(event);
    showValidity();
    return true;
}

bool DateTimeTyping::inputMethod(QInputMethodEvent* event) {
    if (!typing_) {
        if (event->commitString().isEmpty() && event->preeditString().isEmpty())
            return false;
        begin(FirstEdit::OverThePart);
    }
    deliver(event);
    showValidity();
    return true;
}

bool DateTimeTyping::focusOut(QFocusEvent* event) {
    if (!typing_)
        return false;
    // A menu opening over the field is no leaving of it; the picker's own handling would put the value's
    // text back over the typed one.
    if (event->reason() == Qt::PopupFocusReason) {
        deliver(event);
        return true;
    }
    commit();
    return false;
}

bool DateTimeTyping::lineEvent(QObject* watched, QEvent* event) {
    if (watched != &line_)
        return false;
    switch (event->type()) {
    case QEvent::Drop:
        if (!typing_)
            begin(FirstEdit::AtCursor);
        deliver(event);
        showValidity();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        // The picker's own handling jumps the cursor to its sections; within typed text it stays put.
        if (!typing_)
            return false;
        deliver(event);
        return true;
    default:
        return false;
    }
}

void DateTimeTyping::aroundMenu(const std::function<void()>& showMenu) {
    const bool wasTyping = typing_;
    const QString before = line_.text();
    typing_ = true;
    {
        const QSignalBlocker block(&line_);
        showMenu();
    }
    if (!typing_) // a step up or down from the menu took the text
        return;
    if (!wasTyping && line_.text() == before) {
        typing_ = false;
        return;
    }
    showValidity();
}

bool DateTimeTyping::commit() {
    if (!typing_)
        return true;
    typing_ = false;
    const QString typed = line_.text();
    const bool taken = takeValue(typed);
    if (!taken) {
        refused_ = typed;
        abandon();
    }
    showError(false);
    return taken;
}

std::optional<QString> DateTimeTyping::takeRefused() {
    return std::exchange(refused_, std::nullopt);
}

DateWords DateTimeTyping::dateWords() const {
    DateWords words = dateWordsOf(edit_.locale(), edit_.displayFormat());
    words.thisYear = thisYear_ ? thisYear_() : QDate::currentDate().year();
    return words;
}

bool DateTimeTyping::accepts(const QString& text) const {
    const QLocale locale = edit_.locale();
    if (isDate_) {
        const auto date = readTypedDate(folded(text), dateWords());
        if (!date)
            return false;
        const QDate value(date->year, date->month, date->day);
        return value >= edit_.minimumDate() && value <= edit_.maximumDate();
    }
    const auto time = readTypedTime(folded(text), timeWordsOf(locale, edit_.displayFormat()));
    if (!time)
        return false;
    const QTime value(time->hour, time->minute, time->second);
    return value >= edit_.minimumTime() && value <= edit_.maximumTime();
}

bool DateTimeTyping::takeValue(const QString& text) {
    if (!accepts(text))
        return false;
    const QLocale locale = edit_.locale();
    if (isDate_) {
        const auto date = readTypedDate(folded(text), dateWords());
        edit_.setDate(QDate(date->year, date->month, date->day));
    } else {
        const auto time = readTypedTime(folded(text), timeWordsOf(locale, edit_.displayFormat()));
        edit_.setTime(QTime(time->hour, time->minute, time->second));
    }
    // The value may be the one shown before: its text still replaces the typed one.
    edit_.setDateTime(edit_.dateTime());
    return true;
}

void DateTimeTyping::begin(FirstEdit first) {
    typing_ = true;
    if (line_.hasSelectedText() || first == FirstEdit::AtCursor)
        return;
    if (first == FirstEdit::OverEverything) {
        line_.selectAll();
        return;
    }
    // The first key typed over a part of the value (the day, the hour) replaces that part, as a picker's
    // section does, rather than growing it: "11" at the start of "7 Dec 2026" is the 11th.
    const QString text = line_.text();
    auto inWord = [&](qsizetype at) { return at >= 0 && at < text.size() && text[at].isLetterOrNumber(); };
    qsizetype start = line_.cursorPosition();
    if (!inWord(start) && inWord(start - 1))
        --start;
    if (!inWord(start))
        return;
    qsizetype end = start;
    while (inWord(start - 1))
        --start;
    while (inWord(end))
        ++end;
    line_.setSelection(static_cast<int>(start), static_cast<int>(end - start));
}

void DateTimeTyping::deliver(QEvent* event) {
    // The picker listens to its line edit's changes and would read them section by section.
    const QSignalBlocker block(&line_);
    static_cast<QObject&>(line_).event(event);
}

void DateTimeTyping::showValidity() {
    showError(!accepts(line_.text()));
}

void DateTimeTyping::showError(bool error) {
    if (error == shownInError_)
        return;
    shownInError_ = error;
    if (!error) {
        line_.setPalette(QPalette());
        return;
    }
    QPalette palette = line_.palette();
    palette.setColor(QPalette::Text, kErrorText);
    line_.setPalette(palette);
}

void DateTimeTyping::abandon() {
    typing_ = false;
    edit_.setDateTime(edit_.dateTime());
    showError(false);
}

} // namespace velloran
