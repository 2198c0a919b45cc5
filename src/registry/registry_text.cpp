#include "registry_text.h"

#include "common/text.h"

#include <cstdint>
#include <optional>

namespace velloran {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";
// Files exported by newer tools: their hex(1) and hex(2) texts are UTF-16.
constexpr std::string_view kUnicodeHeader = "Windows Registry Editor Version 5.00";
constexpr std::size_t kHexLineWidth = 78;
constexpr char kHexDigits[] = "0123456789abcdef";

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::uint32_t> parseHexNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t number = 0;
    for (char c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        number = number * 16 + static_cast<std::uint32_t>(digit);
    }
    return number;
}

// "01,a2, ff": every byte one or two hex digits; a trailing comma, left by a continuation, is allowed.
std::optional<std::string> parseHexBytes(std::string_view list) {
    std::string bytes;
    list = trimBlanks(list);
    if (!list.empty() && list.back() == ',')
        list.remove_suffix(1);
    if (list.empty())
        return bytes;
    bytes.reserve(list.size() / 3 + 1);
    for (;;) {
        const std::size_t comma = list.find(',');
        const std::string_view token = trimBlanks(list.substr(0, comma));
        if (token.size() > 2)
            return std::nullopt;
        const std::optional<std::uint32_t> byte = parseHexNumber(token);
        if (!byte)
            return std::nullopt;
        bytes.push_back(static_cast<char>(*byte));
        if (comma == std::string_view::npos)
            return bytes;
        list.remove_prefix(comma + 1);
    }
}

// Little-endian UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD, an odd last byte is dropped.
std::string utf16ToUtf8(std::string_view bytes) {
    std::string out;
    const auto unit = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8));
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        std::uint32_t code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        appendUtf8(out, static_cast<char32_t>(code));
    }
    return out;
}

// A quoted name or text starting at line[pos]; \\ and \" are the only escapes. Moves pos past the closing
// quote.
std::optional<std::string> parseQuoted(std::string_view line, std::size_t& pos) {
    std::string out;
    for (++pos; pos < line.size();) {
        char c = line[pos++];
        if (c == '"')
            return out;
        if (c == '\\' && pos < line.size() && (line[pos] == '\\' || line[pos] == '"'))
            c = line[pos++];
        out.push_back(c);
    }
    return std::nullopt;
}

struct ParsedData {
    bool deletion = false; // "Name"=- : an instruction to delete, which holds no value
    RegistryValue value;
};

std::optional<ParsedData> parseData(std::string_view data, bool unicodeFile) {
    data = trimBlanks(data);
    if (data == "-")
        return ParsedData{true, {}};
    if (!data.empty() && data.front() == '"') {
        std::size_t pos = 0;
        std::optional<std::string> text = parseQuoted(data, pos);
        if (!text || !trimBlanks(data.substr(pos)).empty())
            return std::nullopt;
        return ParsedData{false, RegistryValue::text(*text)};
    }
    if (startsWithIgnoringAsciiCase(data, "dword:")) {
        const std::optional<std::uint32_t> number = parseHexNumber(trimBlanks(data.substr(6)));
        if (!number)
            return std::nullopt;
        return ParsedData{false, RegistryValue::number(*number)};
    }
    std::uint32_t type = kRegBinary;
    if (startsWithIgnoringAsciiCase(data, "hex(")) {
        const std::size_t close = data.find(')');
        if (close == std::string_view::npos || close + 1 >= data.size() || data[close + 1] != ':')
            return std::nullopt;
        const std::optional<std::uint32_t> code = parseHexNumber(data.substr(4, close - 4));
        if (!code)
            return std::nullopt;
        type = *code;
        data.remove_prefix(close + 2);
    } else if (startsWithIgnoringAsciiCase(data, "hex:")) {
        data.remove_prefix(4);
    } else {
        return std::nullopt;
    }
    std::optional<std::string> bytes = parseHexBytes(data);
    if (!bytes)
        return std::nullopt;
    if (type == kRegText || type == kRegExpandText)
        return ParsedData{false, RegistryValue::text(unicodeFile ? utf16ToUtf8(*bytes) : *bytes, type)};
    return ParsedData{false, RegistryValue{type, std::move(*bytes)}};
}

enum class Section { None, Key, Deleted };

class Reader {
public:
    explicit Reader(bool unicodeFile) : unicodeFile_(unicodeFile) {}

    void line(std::string_view line) {
        line = trimBlanks(line);
        if (line.empty() || line.front() == ';')
            return;
        if (line.front() == '[')
            return section(line);
        if (section_ == Section::None && !seenSection_ && (line == kHeader || line == kUnicodeHeader)) {
            unicodeFile_ = line == kUnicodeHeader;
            return;
        }
        if (line.front() == '"' || line.front() == '@')
            return value(line);
        ++result_.damagedLines;
    }

    RegistryTextRead take() { return std::move(result_); }

private:
    void section(std::string_view line) {
        seenSection_ = true;
        section_ = Section::None;
        if (line.size() < 2 || line.back() != ']') {
            ++result_.damagedLines;
            return;
        }
        const std::string_view inner = line.substr(1, line.size() - 2);
        const std::string_view path = trimKeyPath(inner);
        // [-HKEY_...] asks to delete a key: it holds nothing to keep.
        if (!inner.empty() && (inner.front() == '-' || (!path.empty() && path.front() == '-'))) {
            section_ = Section::Deleted;
            return;
        }
        if (path.empty()) {
            ++result_.damagedLines;
            return;
        }
        key_ = result_.data.addKey(path).name;
        section_ = Section::Key;
    }

    void value(std::string_view line) {
        std::size_t pos = 1;
        std::string name;
        if (line.front() == '"') {
            pos = 0;
            std::optional<std::string> quoted = parseQuoted(line, pos);
            if (!quoted) {
                ++result_.damagedLines;
                return;
            }
            name = std::move(*quoted);
        }
        const std::string_view rest = trimBlanks(line.substr(pos));
        std::optional<ParsedData> parsed;
        if (!rest.empty() && rest.front() == '=')
            parsed = parseData(rest.substr(1), unicodeFile_);
        if (!parsed || section_ == Section::None) {
            ++result_.damagedLines;
            return;
        }
        if (section_ == Section::Key && !parsed->deletion)
            result_.data.set(key_, name, std::move(parsed->value));
    }

    bool unicodeFile_;
    bool seenSection_ = false;
    Section section_ = Section::None;
    std::string key_;
    RegistryTextRead result_;
};

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

// Text that reads back the same between quotes: valid UTF-8 without line breaks or other control bytes.
bool fitsBetweenQuotes(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F)
            return false;
    }
    return isValidUtf8(text);
}

// Bytes as "01,02,..", continued on indented lines so that none grows much past 80 columns.
void appendHexBytes(std::string& out, std::size_t lineStart, std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (out.size() - lineStart + 3 > kHexLineWidth) {
            out += "\\\n  ";
            lineStart = out.size() - 2;
        }
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out.push_back(kHexDigits[byte >> 4]);
        out.push_back(kHexDigits[byte & 0xF]);
        if (i + 1 < bytes.size())
            out.push_back(',');
    }
}

void appendValue(std::string& out, std::string_view name, const RegistryValue& value) {
    const std::size_t lineStart = out.size();
    out += name.empty() ? std::string("@") : quoted(name);
    out += '=';
    if (value.type == kRegText && fitsBetweenQuotes(value.data)) {
        out += quoted(value.data);
    } else if (value.type == kRegNumber && value.data.size() == 4) {
        out += "dword:";
        for (int i = 3; i >= 0; --i) {
            const auto byte = static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
            out.push_back(kHexDigits[byte >> 4]);
            out.push_back(kHexDigits[byte & 0xF]);
        }
    } else {
        if (value.type == kRegBinary) {
            out += "hex:";
        } else {
            std::string code;
            for (std::uint32_t type = value.type; code.empty() || type != 0; type >>= 4)
                code.insert(code.begin(), kHexDigits[type & 0xF]);
            out += "hex(" + code + "):";
        }
        // Stored texts carry their terminating NUL, as exported files show them.
        appendHexBytes(out, lineStart, value.isText() ? value.data + '\0' : value.data);
    }
    out += '\n';
}

} // namespace

RegistryTextRead parseRegistryText(std::string_view text) {
    std::string converted;
    bool unicodeFile = false;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    } else if (text.substr(0, 2) == "\xFF\xFE") {
        converted = utf16ToUtf8(text.substr(2));
        text = converted;
        unicodeFile = true;
    }
    Reader reader(unicodeFile);
    std::string pending; // a line continued with '\'
    bool continued = false;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (continued) {
            line = trimBlanks(line);
        } else {
            pending.clear();
        }
        const std::string_view content = trimBlanks(line);
        continued = !content.empty() && content.back() == '\\' &&
                    (continued || (content.front() != '[' && content.front() != ';'));
        if (continued) {
            pending.append(content.substr(0, content.size() - 1));
            if (start <= text.size())
                continue;
        } else {
            pending.append(line);
        }
        reader.line(pending);
    }
    return reader.take();
}

std::string formatRegistryText(const RegistryData& data) {
    std::string out(kHeader);
    out += '\n';
    for (const RegistryData::Key& key : data.keys()) {
        out += "\n[" + key.name + "]\n";
        for (const auto& [name, value] : key.values)
            appendValue(out, name, value);
    }
    return out;
}

} // namespace velloran
