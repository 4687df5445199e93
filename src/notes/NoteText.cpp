#include "notes/NoteText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/TextCodec.h"

namespace note_text {

namespace {

// Elements whose contents are no text a user wrote.
constexpr std::array<std::string_view, 3> kHidden = {"style", "script", "title"};
// Elements that start a line of their own.
constexpr std::array<std::string_view, 19> kLines = {
    "p",  "div", "li", "tr", "h1", "h2",    "h3",         "h4", "h5", "h6",
    "hr", "ul",  "ol", "dl", "dt", "table", "blockquote", "dd", "pre"};

// "&#1114111;" and the longest name read back fit.
constexpr std::size_t kLongestReference = 12;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

template <std::size_t N>
bool isOneOf(std::string_view name, const std::array<std::string_view, N>& names) {
    return std::any_of(names.begin(), names.end(),
                       [name](std::string_view known) { return equalNoCase(name, known); });
}

// Where `what` starts at or after `from`, ignoring case; npos when nowhere.
std::size_t findNoCase(std::string_view text, std::string_view what, std::size_t from) {
    const auto at = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                                what.begin(), what.end(), [](char x, char y) {
                                    return std::tolower(static_cast<unsigned char>(x)) ==
                                           std::tolower(static_cast<unsigned char>(y));
                                });
    return at == text.end() ? std::string_view::npos : static_cast<std::size_t>(at - text.begin());
}

// The end of a tag that starts at `from` ('<'): past its '>', quoted values skipped.
std::size_t tagEnd(std::string_view page, std::size_t from) {
    char quote = 0;
    for (std::size_t at = from + 1; at < page.size(); ++at) {
        const char c = page[at];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return at + 1;
        }
    }
    return page.size();
}

// The code point a reference stands for; 0 when it is none we read.
char32_t referenced(std::string_view name) {
    if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        std::uint32_t value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
        const bool whole = error == std::errc() && end == digits.data() + digits.size();
        const bool character = value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
        return whole && character ? value : 0;
    }
    constexpr std::array<std::pair<std::string_view, char32_t>, 6> kNamed = {{
        {"amp", U'&'},
        {"lt", U'<'},
        {"gt", U'>'},
        {"quot", U'"'},
        {"apos", U'\''},
        {"nbsp", U' '},
    }};
    for (const auto& [known, value] : kNamed)
        if (equalNoCase(name, known)) return value;
    return 0;
}

// Collects the text within the limits; spaces and line ends as the page means them.
class Collector {
public:
    [[nodiscard]] bool Full() const { return cut_; }
    NoteText Result() {
        flush();
        while (text_.endsWith(u'\n') || text_.endsWith(u' '))
            text_.chop(1);
        return {std::move(text_), cut_};
    }

    void Text(std::string_view bytes, bool preformatted) {
        for (const char c : bytes) {
            if (cut_) return;
            if (preformatted && (c == '\n' || c == '\r')) {
                if (c == '\n') Break();
            } else if (!preformatted && isSpace(c)) {
                space_ = true;
            } else {
                put(c);
            }
        }
    }
    void Character(char32_t c) {
        // Every line a reference makes counts against the limit as a break does.
        if (c == U'\n' || c == U'\u2028' || c == U'\u2029') {
            Break();
        } else if (c <= U' ') {
            space_ = true;
        } else if (c < 0x80) {
            put(static_cast<char>(c));
        } else {
            spaceBefore();
            if (!take(1)) return;
            flush();
            text_ += QString::fromUcs4(&c, 1);
        }
    }
    // A line of its own starts here, unless one has just started.
    void Line() {
        space_ = false;
        if (!atLineStart()) Break();
    }
    void Break() {
        space_ = false;
        if (lines_ + 1 >= kShownLines) {
            cut_ = true;
            return;
        }
        ++lines_;
        run_ += '\n';
        lastIsBreak_ = true;
    }

private:
    [[nodiscard]] bool atLineStart() const { return lastIsBreak_ || empty_; }
    void spaceBefore() {
        if (space_ && !atLineStart()) append(' ');
        space_ = false;
    }
    void put(char c) {
        spaceBefore();
        append(c);
    }
    void append(char c) {
        if (!take(1)) return;
        run_ += c;
    }
    bool take(std::size_t characters) {
        if (shown_ + characters > kShownCharacters) {
            cut_ = true;
            return false;
        }
        shown_ += characters;
        empty_ = false;
        lastIsBreak_ = false;
        return true;
    }
    void flush() {
        text_ += platform::toQt(run_);
        run_.clear();
    }

    QString text_;
    std::string run_;  // Windows-1252, not yet in text_
    std::size_t shown_ = 0;
    std::size_t lines_ = 0;
    bool space_ = false;
    bool lastIsBreak_ = false;
    bool empty_ = true;
    bool cut_ = false;
};

}  // namespace

NoteText TextOf(const std::string& page) {
    const std::string_view html(page);
    Collector collector;
    int preformatted = 0;
    std::size_t at = 0;
    while (at < html.size() && !collector.Full()) {
        const char c = html[at];
        if (c == '&') {
            // References are short: the search stays near, whatever follows.
            const std::size_t length = html.substr(at, kLongestReference).find(';');
            const char32_t value =
                length != std::string_view::npos ? referenced(html.substr(at + 1, length - 1)) : 0;
            if (value) {
                collector.Character(value);
                at += length + 1;
            } else {
                collector.Text(html.substr(at, 1), preformatted > 0);
                ++at;
            }
            continue;
        }
        const bool tag = c == '<' && at + 1 < html.size() &&
                         (std::isalpha(static_cast<unsigned char>(html[at + 1])) ||
                          html[at + 1] == '/' || html[at + 1] == '!' || html[at + 1] == '?');
        if (!tag) {
            const std::size_t next = std::min(html.find_first_of("<&", at + 1), html.size());
            collector.Text(html.substr(at, next - at), preformatted > 0);
            at = next;
            continue;
        }
        if (html.substr(at, 4) == "<!--") {
            const std::size_t end = html.find("-->", at + 4);
            at = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        const std::size_t end = tagEnd(html, at);
        const bool closing = html[at + 1] == '/';
        const std::size_t nameStart = at + (closing ? 2 : 1);
        std::size_t nameEnd = nameStart;
        while (nameEnd < end && std::isalnum(static_cast<unsigned char>(html[nameEnd])))
            ++nameEnd;
        const std::string_view name = html.substr(nameStart, nameEnd - nameStart);
        at = end;
        if (!closing && isOneOf(name, kHidden)) {
            const std::size_t close = findNoCase(html, "</" + std::string(name), at);
            at = close == std::string_view::npos ? html.size() : tagEnd(html, close);
        } else if (equalNoCase(name, "br")) {
            collector.Break();
        } else if (isOneOf(name, kLines)) {
            collector.Line();
            if (equalNoCase(name, "pre"))
                preformatted = std::max(0, preformatted + (closing ? -1 : 1));
        } else if (equalNoCase(name, "td") || equalNoCase(name, "th")) {
            collector.Character(U' ');
        }
    }
    return collector.Result();
}

}  // namespace note_text
