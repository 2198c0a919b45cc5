#include "typed_date_time.h"

#include "common/datetime.h"

#include <algorithm>

namespace velloran {
namespace {

struct Token {
    enum Kind { Number, Word, Separator } kind;
    std::string text;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Letters of any script: ASCII letters and every byte of a multi-byte UTF-8 character.
bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80;
}

// Numbers, words (a '.' inside or after letters belongs to the word: "a.m.", "déc.") and single
// separator characters; a run of blanks is one " ".
std::vector<Token> tokenize(std::string_view text) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        std::size_t end = i + 1;
        if (isDigit(c)) {
            while (end < text.size() && isDigit(text[end]))
                ++end;
            tokens.push_back({Token::Number, std::string(text.substr(i, end - i))});
        } else if (isLetter(c)) {
            while (end < text.size() && (isLetter(text[end]) || text[end] == '.'))
                ++end;
            tokens.push_back({Token::Word, std::string(text.substr(i, end - i))});
        } else if (c == ' ' || c == '\t') {
            while (end < text.size() && (text[end] == ' ' || text[end] == '\t'))
                ++end;
            tokens.push_back({Token::Separator, " "});
        } else {
            tokens.push_back({Token::Separator, std::string(1, c)});
        }
        i = end;
    }
    return tokens;
}

std::string withoutDots(std::string_view word) {
    std::string plain;
    std::copy_if(word.begin(), word.end(), std::back_inserter(plain), [](char c) { return c != '.'; });
    return plain;
}

bool isOneOf(std::string_view word, const std::vector<std::string>& names) {
    const std::string plain = withoutDots(word);
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return !plain.empty() && withoutDots(name) == plain; });
}

// The month a word names: a whole name, or (unless exactOnly) the start, three letters at least, of only
// one month's names.
std::optional<int> monthOf(std::string_view word, const DateWords& words, bool exactOnly) {
    const std::string plain = withoutDots(word);
    std::optional<int> byStart;
    bool ambiguous = false;
    for (int month = 0; month < 12; ++month) {
        for (const std::string& name : words.monthNames[static_cast<std::size_t>(month)]) {
            const std::string full = withoutDots(name);
            if (full == plain)
                return month + 1;
            if (!exactOnly && plain.size() >= 3 && full.compare(0, plain.size(), plain) == 0) {
                ambiguous = ambiguous || (byStart && *byStart != month + 1);
                byStart = month + 1;
            }
        }
    }
    return ambiguous ? std::nullopt : byStart;
}

// A number of at most maxDigits digits, and at least minDigits.
std::optional<int> numberOf(const std::string& digits, std::size_t minDigits, std::size_t maxDigits) {
    if (digits.size() < minDigits || digits.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

// The year of four digits, or of two within the hundred years around thisYear.
std::optional<int> yearOf(const std::string& digits, int thisYear) {
    if (digits.size() == 2 && thisYear > 0) {
        const int first = thisYear - 50;
        const auto twoDigits = numberOf(digits, 2, 2);
        return first + ((*twoDigits - first) % 100 + 100) % 100;
    }
    return numberOf(digits, 4, 4);
}

std::optional<TypedDate> dateOf(const std::string& year, const std::string& month, const std::string& day,
                                int thisYear) {
    const auto y = yearOf(year, thisYear);
    const auto m = numberOf(month, 1, 2);
    const auto d = numberOf(day, 1, 2);
    if (!y || !m || !d || !isValidDate(*y, *m, *d))
        return std::nullopt;
    return TypedDate{*y, *m, *d};
}

std::optional<int> markerOf(std::string_view word, const TimeWords& words) {
    if (isOneOf(word, words.amTexts))
        return 0;
    if (isOneOf(word, words.pmTexts))
        return 12;
    return std::nullopt;
}

} // namespace

std::optional<TypedDate> readTypedDate(std::string_view text, const DateWords& words) {
    std::vector<std::string> numbers;
    std::optional<int> month;
    for (const Token& token : tokenize(text)) {
        switch (token.kind) {
        case Token::Number:
            numbers.push_back(token.text);
            break;
        case Token::Word: {
            // A month's whole name wins over a weekday's ("mar" in Spanish), a weekday over a month's start.
            std::optional<int> named = monthOf(token.text, words, true);
            if (!named && isOneOf(token.text, words.dayNames))
                break;
            if (!named)
                named = monthOf(token.text, words, false);
            if (!named || month)
                return std::nullopt;
            month = named;
            break;
        }
        case Token::Separator:
            if (std::string_view(" /-.,").find(token.text) == std::string_view::npos)
                return std::nullopt;
            break;
        }
    }
    if (month) {
        // Day and year around a month's name: the year is the one with four digits.
        if (numbers.size() != 2)
            return std::nullopt;
        const bool yearFirst = numbers[0].size() == 4;
        return dateOf(numbers[yearFirst ? 0 : 1], std::to_string(*month), numbers[yearFirst ? 1 : 0],
                      words.thisYear);
    }
    if (numbers.size() != 3)
        return std::nullopt;
    if (numbers[0].size() == 4)
        return dateOf(numbers[0], numbers[1], numbers[2], words.thisYear);
    switch (words.order) {
    case DateOrder::DayMonthYear:
        return dateOf(numbers[2], numbers[1], numbers[0], words.thisYear);
    case DateOrder::MonthDayYear:
        return dateOf(numbers[2], numbers[0], numbers[1], words.thisYear);
    case DateOrder::YearMonthDay:
        break; // a year-first order needs its four-digit year first
    }
    return std::nullopt;
}

std::optional<TypedTime> readTypedTime(std::string_view text, const TimeWords& words) {
    std::vector<Token> tokens = tokenize(text);
    auto isBlank = [](const Token& token) { return token.kind == Token::Separator && token.text == " "; };
    std::size_t i = 0;
    std::size_t end = tokens.size();
    while (i < end && isBlank(tokens[i]))
        ++i;
    while (end > i && isBlank(tokens[end - 1]))
        --end;

    std::optional<int> half; // 0 for AM, 12 for PM
    if (i < end && tokens[i].kind == Token::Word) {
        half = markerOf(tokens[i].text, words);
        if (!half)
            return std::nullopt;
        for (++i; i < end && isBlank(tokens[i]);)
            ++i;
    }
    if (!half && end > i && tokens[end - 1].kind == Token::Word) {
        half = markerOf(tokens[end - 1].text, words);
        if (!half)
            return std::nullopt;
        for (--end; end > i && isBlank(tokens[end - 1]);)
            --end;
    }

    // What is left: number, then one or two of ':' or '.' and a number.
    std::vector<std::string> numbers;
    for (std::size_t at = i; at < end; ++at) {
        const bool wantsNumber = (at - i) % 2 == 0;
        if (wantsNumber ? tokens[at].kind != Token::Number
                        : (tokens[at].text != ":" && tokens[at].text != "."))
            return std::nullopt;
        if (wantsNumber)
            numbers.push_back(tokens[at].text);
    }
    if ((end - i) % 2 == 0 || numbers.size() < 2 || numbers.size() > 3)
        return std::nullopt;

    auto hour = numberOf(numbers[0], 1, 2);
    const auto minute = numberOf(numbers[1], 2, 2);
    const auto second = numbers.size() == 3 ? numberOf(numbers[2], 2, 2) : std::optional<int>(0);
    if (!hour || !minute || !second || *minute > 59 || *second > 59)
        return std::nullopt;
    if (half) {
        if (*hour < 1 || *hour > 12)
            return std::nullopt;
        hour = *hour % 12 + *half;
    } else if (*hour > 23 || (words.twelveHour && *hour >= 1 && *hour <= 12)) {
        return std::nullopt;
    }
    return TypedTime{*hour, *minute, *second};
}

} // namespace velloran
