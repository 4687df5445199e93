#include "pages/PageJudge.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <functional>
#include <limits>
#include <queue>
#include <unordered_map>
#include <utility>
#include <vector>

namespace page_judge {

namespace {

// The elements whose kind changes where Qt's parser puts the next element.
enum class Id : std::uint8_t {
    kOther,
    kTable,
    kThead,
    kTbody,
    kTfoot,
    kCaption,
    kTr,
    kTd,
    kTh,
    kP,
    kLi,
    kDl,
    kDt,
    kDd,
    kBody,
    kHead,
    kCount
};

struct Kind {
    std::string_view name;
    Id id = Id::kOther;
    bool block = false;  // a block to Qt's parser (table parts are not)
    bool isVoid = false;
    bool hidden = false;  // never shown, nor anything inside it
};

// Qt's names that are blocks, void or have an Id; any other name is an inline element.
constexpr std::array<Kind, 36> kKinds = {{
    {"blockquote", Id::kOther, true},
    {"body", Id::kBody, true},
    {"br", Id::kOther, false, true},
    {"caption", Id::kCaption, true},
    {"center", Id::kOther, true},
    {"dd", Id::kDd, true},
    {"div", Id::kOther, true},
    {"dl", Id::kDl, true},
    {"dt", Id::kDt, true},
    {"h1", Id::kOther, true},
    {"h2", Id::kOther, true},
    {"h3", Id::kOther, true},
    {"h4", Id::kOther, true},
    {"h5", Id::kOther, true},
    {"h6", Id::kOther, true},
    {"head", Id::kHead, false, false, true},
    {"hr", Id::kOther, true, true},
    {"img", Id::kOther, false, true},
    {"li", Id::kLi, true},
    {"link", Id::kOther, false, false, true},
    {"meta", Id::kOther, false, true},
    {"ol", Id::kOther, true},
    {"p", Id::kP, true},
    {"pre", Id::kOther, true},
    {"qt", Id::kBody, true},
    {"script", Id::kOther, false, false, true},
    {"style", Id::kOther, false, false, true},
    {"table", Id::kTable},
    {"tbody", Id::kTbody},
    {"td", Id::kTd, true},
    {"tfoot", Id::kTfoot},
    {"th", Id::kTh, true},
    {"thead", Id::kThead},
    {"title", Id::kOther, false, false, true},
    {"tr", Id::kTr},
    {"ul", Id::kOther, true},
}};

// Lower case as Qt sees the code page's letters.
constexpr unsigned char lower(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 0x10;
    if (c == 0x9F) return 0xFF;
    return c;
}

// Qt's white space among the code page's characters.
constexpr bool isSpace(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b == ' ' || (b >= '\t' && b <= '\r') || b == 0xA0;
}

bool sameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
           });
}

bool startsNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && sameNoCase(text.substr(0, prefix.size()), prefix);
}

Kind kindOf(std::string_view name) {
    for (const Kind& kind : kKinds)
        if (sameNoCase(name, kind.name)) return kind;
    return {name};
}

bool isHexDigit(unsigned char c) {
    return (c >= '0' && c <= '9') || (lower(c) >= 'a' && lower(c) <= 'f');
}

// Whether a style sheet or style attribute names "display", which can make any element a
// block or hide it; CSS escapes are read as the characters they stand for.
bool mayRestyle(std::string_view css) {
    std::string letters;
    letters.reserve(css.size());
    for (std::size_t k = 0; k < css.size(); ++k) {
        auto c = static_cast<unsigned char>(css[k]);
        if (c == '\\' && k + 1 < css.size()) {
            std::size_t digits = 0;
            std::uint32_t code = 0;
            while (digits < 6 && k + 1 < css.size() &&
                   isHexDigit(static_cast<unsigned char>(css[k + 1]))) {
                const auto h = lower(static_cast<unsigned char>(css[++k]));
                code = code * 16 + static_cast<std::uint32_t>(h <= '9' ? h - '0' : h - 'a' + 10);
                ++digits;
            }
            if (digits == 0) {
                c = static_cast<unsigned char>(css[++k]);
            } else {
                if (k + 1 < css.size() && isSpace(css[k + 1])) ++k;
                c = code < 0x80 ? static_cast<unsigned char>(code) : '?';
            }
        }
        letters += static_cast<char>(lower(c));
    }
    return letters.find("display") != std::string::npos;
}

// A number as Qt reads a span attribute: digits only, otherwise 1; never below 1.
std::size_t spanValue(std::string_view value) {
    while (!value.empty() && isSpace(value.front()))
        value.remove_prefix(1);
    while (!value.empty() && isSpace(value.back()))
        value.remove_suffix(1);
    if (value.empty()) return 1;
    std::size_t number = 0;
    for (const char c : value) {
        if (c < '0' || c > '9') return 1;
        number = std::min<std::size_t>(number * 10 + static_cast<std::size_t>(c - '0'),
                                       std::size_t{1} << 40);
    }
    return std::max<std::size_t>(number, 1);
}

struct NameHash {
    std::size_t operator()(std::string_view name) const {
        std::uint64_t hash = 14695981039346656037ULL;
        for (const char c : name)
            hash = (hash ^ lower(static_cast<unsigned char>(c))) * 1099511628211ULL;
        return static_cast<std::size_t>(hash);
    }
};

struct NameEqual {
    bool operator()(std::string_view a, std::string_view b) const { return sameNoCase(a, b); }
};

// An element Qt's parser holds open.
struct Open {
    std::string_view name;
    Id id;
    bool hidden;
    std::size_t nearestBlock;  // index of the innermost block at or below it, or npos
};

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The grid Qt builds for one table: as many columns as its widest row, spans counted, and a
// cell spanning rows takes its columns in the rows below too.
class TableGrid {
public:
    void StartRow() {
        while (!spans_.empty() && spans_.top().first <= rows_) {
            carried_ -= spans_.top().second;
            spans_.pop();
        }
        ++rows_;
        rowColumns_ = carried_;
    }
    void AddCell(std::size_t columnSpan, std::size_t rowSpan) {
        if (rows_ == 0) StartRow();
        rowColumns_ = saturatingAdd(rowColumns_, columnSpan);
        columns_ = std::max(columns_, rowColumns_);
        if (rowSpan > 1) {
            // It covers the rows after this one, up to row (this + rowSpan - 1).
            spans_.emplace(saturatingAdd(rows_ - 1, rowSpan), columnSpan);
            carried_ = saturatingAdd(carried_, columnSpan);
        }
    }
    [[nodiscard]] std::size_t Cells() const {
        return columns_ == 0 || rows_ <= std::numeric_limits<std::size_t>::max() / columns_
                   ? rows_ * columns_
                   : std::numeric_limits<std::size_t>::max();
    }

private:
    static std::size_t saturatingAdd(std::size_t a, std::size_t b) {
        return a > std::numeric_limits<std::size_t>::max() - b
                   ? std::numeric_limits<std::size_t>::max()
                   : a + b;
    }

    using Span = std::pair<std::size_t, std::size_t>;  // row it ends before, columns
    std::priority_queue<Span, std::vector<Span>, std::greater<>> spans_;
    std::size_t rows_ = 0;
    std::size_t columns_ = 0;
    std::size_t rowColumns_ = 0;
    std::size_t carried_ = 0;
};

class Judge {
public:
    explicit Judge(std::string_view page) : text_(page) {}

    std::optional<page_refusals::Refusal> Run();
    [[nodiscard]] const page_refusals::Contents& Holds() const { return holds_; }

private:
    [[nodiscard]] bool at(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
    void eatSpace() {
        while (pos_ < text_.size() && isSpace(text_[pos_]))
            ++pos_;
    }
    std::string_view word();
    void skipPast(char c);
    bool tag();
    void attributes();
    bool closeTag();
    void comment();
    bool openElement(std::string_view name);
    bool push(const Kind& kind);
    void pop();
    template <typename Stop>
    void popUntil(Stop stop) {
        while (!open_.empty() && !stop(open_.back().id))
            pop();
    }
    [[nodiscard]] bool topIs(Id id) const { return !open_.empty() && open_.back().id == id; }
    bool refuse(page_refusals::Cause cause, std::size_t limit, std::size_t amount = 0) {
        refusal_ = page_refusals::Refusal(cause, limit, amount, holds_);
        return false;
    }
    bool refuseData();
    bool addElement();
    void addGrid(const TableGrid& grid);
    void lookAtStyleSheet();

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t pictureData_ = 0;
    std::size_t linkData_ = 0;
    std::size_t elements_ = 0;
    std::size_t grid_ = 0;
    std::size_t pictures_ = 0;
    std::size_t tables_ = 0;
    std::size_t rows_ = 0;
    std::size_t hidden_ = 0;
    // A style (even one written with escapes) may make any element a block or hide it; the
    // paragraph rule then assumes the deepest case.
    bool styled_ = false;
    std::size_t styleSheetsRead_ = 0;  // up to where style sheets were looked at
    // The span attributes of the element being read.
    std::size_t columnSpan_ = 1;
    std::size_t rowSpan_ = 1;
    std::vector<TableGrid> grids_;
    std::vector<Open> open_;
    std::unordered_map<std::string_view, std::size_t, NameHash, NameEqual> openNames_;
    page_refusals::Contents holds_;
    std::optional<page_refusals::Refusal> refusal_;
};

// Qt's word: quoted in either quote, or up to white space or a character of the markup.
std::string_view Judge::word() {
    const std::size_t size = text_.size();
    if (at('"')) {
        const std::size_t start = ++pos_;
        const std::size_t end = std::min(text_.find('"', start), size);
        pos_ = std::min(end + 1, size);
        return text_.substr(start, end - start);
    }
    if (at('\'')) {
        const std::size_t start = ++pos_;
        while (pos_ < size) {
            const char c = text_[pos_++];
            if (c == '\'' && text_[pos_ - 2] != '\\') return text_.substr(start, pos_ - 1 - start);
        }
        return text_.substr(start);
    }
    const std::size_t start = pos_;
    while (pos_ < size) {
        const char c = text_[pos_];
        if (c == '>' || c == '<' || c == '=' || isSpace(c) ||
            (c == '/' && pos_ + 1 < size && text_[pos_ + 1] == '>'))
            break;
        ++pos_;
    }
    return text_.substr(start, pos_ - start);
}

void Judge::skipPast(char c) {
    const std::size_t found = text_.find(c, pos_);
    pos_ = found == std::string_view::npos ? text_.size() : found + 1;
}

std::optional<page_refusals::Refusal> Judge::Run() {
    if (auto refusal = JudgeSize(text_)) {
        holds_ = refusal->holds;
        return refusal;
    }
    open_.reserve(64);
    for (std::size_t start = text_.find('<'); start != std::string_view::npos;
         start = text_.find('<', pos_)) {
        pos_ = start + 1;
        // A table closed on the way may have refused the page too.
        if (!tag() || refusal_) return refusal_;
        pos_ = std::min(pos_, text_.size());
    }
    // Tables left open are built all the same.
    while (!open_.empty())
        pop();
    return refusal_;
}

void Judge::addGrid(const TableGrid& grid) {
    const std::size_t cells = grid.Cells();
    grid_ = cells > kPageLimits.gridCells ? cells : grid_ + cells;
    if (grid_ > kPageLimits.gridCells && !refusal_)
        refuse(page_refusals::Cause::kTooManyCells, kPageLimits.gridCells);
}

// Qt reads a style element's text as a style sheet.
void Judge::lookAtStyleSheet() {
    // Style elements nested in one another end at the same closing tag: read it once.
    if (styled_ || pos_ < styleSheetsRead_) return;
    std::size_t end = pos_;
    while (true) {
        end = text_.find("</", end);
        if (end == std::string_view::npos || startsNoCase(text_.substr(end + 2), "style")) break;
        end += 2;
    }
    end = std::min(end, text_.size());
    styleSheetsRead_ = end;
    styled_ = mayRestyle(text_.substr(pos_, end - pos_));
}

// After '<': a comment, a closing tag or an element.
bool Judge::tag() {
    eatSpace();
    if (at('!')) {
        comment();
        return true;
    }
    if (at('/')) return closeTag();
    const std::string_view name = word();
    columnSpan_ = rowSpan_ = 1;
    if (pos_ < text_.size() && isSpace(text_[pos_])) attributes();
    if (pictureData_ + linkData_ > kPageLimits.pictureDataBytes) return refuseData();
    if (!openElement(name)) return false;
    bool closed = false;
    while (pos_ < text_.size() && text_[pos_] != '>') {
        closed = closed || text_[pos_] == '/';
        ++pos_;
    }
    // Past the '>', or at the end of a page cut short inside the tag: a style sheet read next
    // starts there.
    pos_ = std::min(pos_ + 1, text_.size());
    if (!name.empty() && (closed || kindOf(name).isVoid)) pop();
    if (sameNoCase(name, "style")) lookAtStyleSheet();
    return true;
}

void Judge::attributes() {
    while (pos_ < text_.size()) {
        eatSpace();
        if (at('>') || at('/')) return;
        const std::string_view attribute = word();
        if (attribute.empty()) return;
        eatSpace();
        if (!at('=')) continue;
        ++pos_;
        eatSpace();
        const std::string_view value = word();
        // Pictures come from src and background; data in any other attribute is a link's.
        if (startsNoCase(value, "data:")) {
            const bool picture =
                sameNoCase(attribute, "src") || sameNoCase(attribute, "background");
            (picture ? pictureData_ : linkData_) += value.size();
            holds_.pictures = holds_.pictures || picture;
        }
        if (sameNoCase(attribute, "colspan")) columnSpan_ = spanValue(value);
        if (sameNoCase(attribute, "rowspan")) rowSpan_ = spanValue(value);
        if (!styled_ && sameNoCase(attribute, "style")) styled_ = mayRestyle(value);
    }
}

bool Judge::closeTag() {
    ++pos_;
    std::string_view name = word();
    while (!name.empty() && isSpace(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && isSpace(name.back()))
        name.remove_suffix(1);
    skipPast('>');
    // Qt's parser starts a node after each closing tag, and looks for a stray one's element
    // all the way up.
    if (!addElement()) return false;
    // A void element is never open: its closing tag closes nothing that nests.
    if (name.empty() || kindOf(name).isVoid || !openNames_.contains(name)) return true;
    while (!open_.empty()) {
        const bool found = NameEqual()(open_.back().name, name);
        pop();
        if (found) return true;
    }
    return true;
}

void Judge::comment() {
    ++pos_;
    if (text_.substr(pos_, 2) != "--") {
        skipPast('>');
        return;
    }
    const std::size_t end = text_.find("-->", pos_ + 2);
    pos_ = end == std::string_view::npos ? text_.size() : end + 3;
}

// Where Qt's parser puts the element, with the elements it closes or adds on the way.
bool Judge::openElement(std::string_view name) {
    // Qt keeps a nameless element as text: nothing nests in it.
    if (name.empty()) return addElement();
    const Kind kind = kindOf(name);
    const auto isTable = [](Id id) { return id == Id::kTable; };
    switch (kind.id) {
        case Id::kTd:
            if (rows_ == 0) {
                if (!push({"table", Id::kTable}) || !push({"tr", Id::kTr})) return false;
            } else {
                popUntil([](Id id) { return id == Id::kTr; });
            }
            break;
        case Id::kTh:
            popUntil([](Id id) { return id == Id::kTr; });
            break;
        case Id::kTr:
            if (tables_ == 0 && !push({"table", Id::kTable})) return false;
            popUntil([](Id id) {
                return id == Id::kTable || id == Id::kThead || id == Id::kTbody || id == Id::kTfoot;
            });
            break;
        case Id::kThead:
        case Id::kTbody:
        case Id::kTfoot:
        case Id::kCaption:
            popUntil(isTable);
            break;
        case Id::kDd:
            popUntil([](Id id) { return id == Id::kDt || id == Id::kDl; });
            break;
        case Id::kDt:
            popUntil([](Id id) { return id == Id::kDl; });
            break;
        case Id::kBody:
            while (topIs(Id::kHead))
                pop();
            break;
        case Id::kP: {
            // A paragraph closes the inline elements of an open paragraph, and that paragraph.
            const std::size_t block = open_.empty() || styled_ ? kNone : open_.back().nearestBlock;
            if (block != kNone && open_[block].id == Id::kP) {
                while (open_.size() > block)
                    pop();
            } else if (topIs(Id::kP)) {
                pop();
            }
            break;
        }
        case Id::kLi:
            if (topIs(Id::kLi)) pop();
            break;
        default:
            break;
    }
    return push(kind);
}

bool Judge::refuseData() {
    using page_refusals::Cause;
    const Cause cause = linkData_ == 0      ? Cause::kPictureData
                        : pictureData_ == 0 ? Cause::kLinkData
                                            : Cause::kPictureAndLinkData;
    return refuse(cause, kPageLimits.pictureDataBytes, pictureData_ + linkData_);
}

bool Judge::addElement() {
    if (++elements_ > kPageLimits.elements)
        return refuse(page_refusals::Cause::kTooManyParts, kPageLimits.elements);
    return true;
}

bool Judge::push(const Kind& kind) {
    if (!addElement()) return false;
    if (kind.isVoid && kind.name == "img") {
        holds_.pictures = true;
        if (++pictures_ > kPageLimits.pictures)
            return refuse(page_refusals::Cause::kTooManyPictures, kPageLimits.pictures);
    }
    const std::size_t below = open_.empty() ? kNone : open_.back().nearestBlock;
    // Inside a hidden element nothing is a block.
    const bool block = kind.block && hidden_ == 0;
    open_.push_back({kind.name, kind.id, kind.hidden, block ? open_.size() : below});
    ++openNames_[kind.name];
    hidden_ += kind.hidden;
    tables_ += kind.id == Id::kTable;
    holds_.tables = holds_.tables || tables_ > 0;
    rows_ += kind.id == Id::kTr;
    if (kind.id == Id::kTable) grids_.emplace_back();
    if (!grids_.empty()) {
        if (kind.id == Id::kTr) grids_.back().StartRow();
        if (kind.id == Id::kTd || kind.id == Id::kTh) grids_.back().AddCell(columnSpan_, rowSpan_);
    }
    if (tables_ > kPageLimits.tableDepth)
        return refuse(page_refusals::Cause::kTablesTooDeep, kPageLimits.tableDepth);
    if (open_.size() > kPageLimits.depth)
        return refuse(page_refusals::Cause::kNestedTooDeep, kPageLimits.depth);
    return true;
}

void Judge::pop() {
    const Open& top = open_.back();
    const auto name = openNames_.find(top.name);
    if (--name->second == 0) openNames_.erase(name);
    tables_ -= top.id == Id::kTable;
    rows_ -= top.id == Id::kTr;
    if (top.id == Id::kTable) {
        addGrid(grids_.back());
        grids_.pop_back();
    }
    hidden_ -= top.hidden;
    open_.pop_back();
}

// What a page too large to be judged holds, from the names of its elements alone. Apart from
// the judge's own name lookups: sharing them made the compiler build its loop a fifth slower.
page_refusals::Contents contentsOf(std::string_view page) {
    page_refusals::Contents holds;
    for (std::size_t at = page.find('<');
         at != std::string_view::npos && !(holds.tables && holds.pictures);
         at = page.find('<', at + 1)) {
        std::string name;
        for (std::size_t k = at + 1; k < page.size() && name.size() <= 5 &&
                                     std::isalnum(static_cast<unsigned char>(page[k]));
             ++k)
            name += static_cast<char>(lower(static_cast<unsigned char>(page[k])));
        holds.tables =
            holds.tables || name == "table" || name == "tr" || name == "td" || name == "th";
        holds.pictures = holds.pictures || name == "img";
    }
    return holds;
}

}  // namespace

std::optional<page_refusals::Refusal> JudgeSize(std::size_t bytes,
                                                const page_refusals::Contents& holds) {
    if (bytes <= kPageLimits.pageBytes) return std::nullopt;
    return page_refusals::Refusal(page_refusals::Cause::kTooLarge, kPageLimits.pageBytes, bytes,
                                  holds);
}

std::optional<page_refusals::Refusal> JudgeSize(std::string_view page) {
    if (page.size() <= kPageLimits.pageBytes) return std::nullopt;
    return JudgeSize(page.size(), contentsOf(page));
}

std::optional<page_refusals::Refusal> JudgePage(std::string_view page,
                                                page_refusals::Contents* holds) {
    Judge judge(page);
    auto refusal = judge.Run();
    if (holds) *holds = judge.Holds();
    return refusal;
}

}  // namespace page_judge
