#include "core/ListModel.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>
#include <unordered_set>

#include "platform/TextCodec.h"

namespace {

// Case folding works character by character, so a text's folded form is the folded forms of
// its bytes one after another: each byte's form is worked out once.
const std::array<std::u16string, 256>& foldedBytes() {
    static const auto table = [] {
        std::array<std::u16string, 256> folded;
        for (std::size_t byte = 0; byte < folded.size(); ++byte) {
            const char text = static_cast<char>(byte);
            const QString one = platform::toQt(std::string_view(&text, 1)).toCaseFolded();
            folded[byte] = one.toStdU16String();
        }
        return folded;
    }();
    return table;
}

// The folded unit of every byte, when each folds to exactly one unit (else empty): texts then
// compare byte by byte without being folded first.
const std::optional<std::array<char16_t, 256>>& foldedUnits() {
    static const auto units = []() -> std::optional<std::array<char16_t, 256>> {
        std::array<char16_t, 256> unit{};
        for (std::size_t byte = 0; byte < unit.size(); ++byte) {
            const std::u16string& form = foldedBytes()[byte];
            if (form.size() != 1) return std::nullopt;
            unit[byte] = form.front();
        }
        return unit;
    }();
    return units;
}

std::u16string foldedWindows1252(std::string_view text) {
    const auto& folded = foldedBytes();
    std::u16string key;
    key.reserve(text.size());
    for (const char c : text)
        key += folded[static_cast<unsigned char>(c)];
    return key;
}

bool foldedLess(std::string_view left, std::string_view right,
                const std::array<char16_t, 256>& unit) {
    const std::size_t common = std::min(left.size(), right.size());
    for (std::size_t k = 0; k < common; ++k) {
        const char16_t a = unit[static_cast<unsigned char>(left[k])];
        const char16_t b = unit[static_cast<unsigned char>(right[k])];
        if (a != b) return a < b;
    }
    return left.size() < right.size();
}

}  // namespace

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !inRange(index.row())) return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            if (const QString* shown = shownOverride(row, column)) return *shown;
            return hasText(row, column) ? QVariant(platform::toQt(text(index.row(), column)))
                                        : QVariant();
        case Qt::CheckStateRole:
            return column == 0 && row.check >= 0 ? QVariant(static_cast<int>(row.check))
                                                 : QVariant();
        case Qt::DecorationRole:
            return column == 0 && row.icon > 0 ? QVariant(icons_[row.icon - 1u]) : QVariant();
        default:
            return {};
    }
}

bool ListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 ||
        !inRange(index.row()) || rows_[static_cast<std::size_t>(index.row())].check < 0)
        return false;
    setCheckState(index.row(), static_cast<Qt::CheckState>(value.toInt()));
    return true;
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0 && inRange(index.row()) &&
        rows_[static_cast<std::size_t>(index.row())].check >= 0)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        static_cast<std::size_t>(section) >= headers_.size())
        return {};
    return headers_[static_cast<std::size_t>(section)];
}

void ListModel::clearColumns() {
    if (!headers_.empty()) {
        beginRemoveColumns({}, 0, static_cast<int>(headers_.size()) - 1);
        headers_.clear();
        endRemoveColumns();
    }
    borrowedColumns_.clear();
    source_ = nullptr;
}

void ListModel::addColumn(const QString& header) {
    const int column = static_cast<int>(headers_.size());
    beginInsertColumns({}, column, column);
    headers_.push_back(header);
    endInsertColumns();
}

void ListModel::setTextSource(std::vector<int> columns, ListView::TextSource source) {
    borrowedColumns_ = std::move(columns);
    source_ = std::move(source);
    if (!rows_.empty() && !headers_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

void ListModel::stageRow(const ListRow& row, bool withCheckBox) {
    Row packed;
    packed.firstCell = static_cast<std::uint32_t>(cellStarts_.size() - 1);
    packed.texts = static_cast<std::uint16_t>(
        std::min<std::size_t>(row.Texts.size(), std::numeric_limits<std::uint16_t>::max()));
    for (std::size_t k = 0; k < packed.texts; ++k)
        appendCell(row.Texts[k]);
    appendCell(row.Key);
    if (withCheckBox) packed.check = row.Checked ? Qt::Checked : Qt::Unchecked;
    if (!row.Icon.isNull()) packed.icon = iconSlot(row.Icon);
    packed.source = row.Source;
    staged_.push_back(packed);
}

void ListModel::showStagedRows() {
    if (staged_.empty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(staged_.size()) - 1);
    rows_.insert(rows_.end(), staged_.begin(), staged_.end());
    endInsertRows();
    staged_.clear();
    staged_.shrink_to_fit();
    // A list is mostly filled once: the room kept for growth would only sit there.
    texts_.shrink_to_fit();
    cellStarts_.shrink_to_fit();
}

void ListModel::clearRows() {
    if (rows_.empty()) return;
    beginRemoveRows({}, 0, rowCount() - 1);
    rows_.clear();
    rows_.shrink_to_fit();
    texts_.clear();
    texts_.shrink_to_fit();
    cellStarts_.assign(1, 0);
    cellStarts_.shrink_to_fit();
    shownTexts_.clear();
    icons_.clear();
    endRemoveRows();
}

std::string_view ListModel::text(int row, int column) const {
    if (!inRange(row)) return {};
    return rowText(rows_[static_cast<std::size_t>(row)], column, isBorrowed(column));
}

std::string_view ListModel::key(int row) const {
    if (!inRange(row)) return {};
    const Row& r = rows_[static_cast<std::size_t>(row)];
    return cell(r.firstCell + r.texts);
}

std::vector<int> ListModel::longestCells(int column, std::size_t count) const {
    if (count == 0) return {};
    // Past the first column (whose cells also differ in check box and icon) a text repeated
    // over many rows, such as an objective, stands once. The candidates are kept as a heap by
    // length, so a row no longer than the shortest of them is passed over without hashing.
    const bool distinctOnly = column > 0;
    struct Candidate {
        std::size_t length;
        int row;
        std::string_view text;
    };
    const auto longer = [](const Candidate& a, const Candidate& b) { return a.length > b.length; };
    std::vector<Candidate> candidates;
    std::unordered_set<std::string_view> held;
    const bool borrowed = isBorrowed(column);
    for (int row = 0; row < rowCount(); ++row) {
        const Row& r = rows_[static_cast<std::size_t>(row)];
        const QString* shown = shownOverride(r, column);
        const std::string_view cellText = shown ? std::string_view() : rowText(r, column, borrowed);
        const std::size_t length =
            shown ? static_cast<std::size_t>(shown->size()) : cellText.size();
        if (candidates.size() == count && length <= candidates.front().length) continue;
        const bool keyed = distinctOnly && !shown;
        if (keyed && held.contains(cellText)) continue;
        if (candidates.size() == count) {
            std::pop_heap(candidates.begin(), candidates.end(), longer);
            held.erase(candidates.back().text);
            candidates.pop_back();
        }
        candidates.push_back({length, row, cellText});
        std::push_heap(candidates.begin(), candidates.end(), longer);
        if (keyed) held.insert(cellText);
    }
    std::vector<int> rows;
    rows.reserve(candidates.size());
    for (const Candidate& candidate : candidates)
        rows.push_back(candidate.row);
    return rows;
}

QString ListModel::shownText(int row, int column, qsizetype maxLength) const {
    if (!inRange(row)) return {};
    if (const QString* shown = shownOverride(rows_[static_cast<std::size_t>(row)], column))
        return shown->left(maxLength);
    // One character per byte: the first maxLength bytes are the first maxLength characters.
    const std::string_view whole = text(row, column);
    return platform::toQt(maxLength < 0 ? whole
                                        : whole.substr(0, static_cast<std::size_t>(maxLength)));
}

void ListModel::setShownText(int row, int column, const QString& text) {
    if (!inRange(row) || column < 0) return;
    Row& r = rows_[static_cast<std::size_t>(row)];
    if (r.shown < 0) {
        r.shown = static_cast<std::int32_t>(shownTexts_.size());
        shownTexts_.emplace_back();
    }
    ShownTexts& texts = shownTexts_[static_cast<std::size_t>(r.shown)];
    const auto found = std::find_if(texts.begin(), texts.end(),
                                    [column](const auto& entry) { return entry.first == column; });
    if (found != texts.end())
        found->second = text;
    else
        texts.emplace_back(column, text);
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

std::u16string ListModel::foldedText(int row, int column) const {
    if (!inRange(row)) return {};
    if (const QString* shown = shownOverride(rows_[static_cast<std::size_t>(row)], column))
        return shown->toCaseFolded().toStdU16String();
    return foldedWindows1252(text(row, column));
}

std::vector<int> ListModel::textOrder(int column, bool ascending) const {
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    const bool anyShown = std::any_of(rows_.begin(), rows_.end(), [&](const Row& row) {
        return shownOverride(row, column) != nullptr;
    });
    const auto& units = foldedUnits();
    if (units && !anyShown) {
        // Views stay valid while the rows and their sources are left alone, as here.
        std::vector<std::string_view> texts;
        texts.reserve(rows_.size());
        const bool borrowed = isBorrowed(column);
        for (const Row& row : rows_)
            texts.push_back(rowText(row, column, borrowed));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const std::string_view left = texts[static_cast<std::size_t>(a)];
            const std::string_view right = texts[static_cast<std::size_t>(b)];
            return ascending ? foldedLess(left, right, *units) : foldedLess(right, left, *units);
        });
        return order;
    }
    std::vector<std::u16string> keys;
    keys.reserve(rows_.size());
    for (int row = 0; row < rowCount(); ++row)
        keys.push_back(foldedText(row, column));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const std::u16string& left = keys[static_cast<std::size_t>(a)];
        const std::u16string& right = keys[static_cast<std::size_t>(b)];
        return ascending ? left < right : right < left;
    });
    return order;
}

std::optional<Qt::CheckState> ListModel::checkState(int row) const {
    if (!inRange(row)) return std::nullopt;
    const std::int8_t check = rows_[static_cast<std::size_t>(row)].check;
    if (check < 0) return std::nullopt;
    return static_cast<Qt::CheckState>(check);
}

void ListModel::setCheckState(int row, Qt::CheckState state) {
    if (!inRange(row)) return;
    Row& r = rows_[static_cast<std::size_t>(row)];
    if (r.check < 0 || r.check == static_cast<std::int8_t>(state)) return;
    r.check = static_cast<std::int8_t>(state);
    const QModelIndex changed = index(row, 0);
    emit dataChanged(changed, changed, {Qt::CheckStateRole});
}

void ListModel::setIcon(int row, const QIcon& icon) {
    if (!inRange(row)) return;
    rows_[static_cast<std::size_t>(row)].icon = icon.isNull() ? 0 : iconSlot(icon);
    const QModelIndex changed = index(row, 0);
    emit dataChanged(changed, changed, {Qt::DecorationRole});
}

void ListModel::reorder(const std::vector<int>& order) {
    Q_ASSERT(order.size() == rows_.size());
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    std::vector<int> newPosition(rows_.size());
    for (std::size_t position = 0; position < order.size(); ++position) {
        const auto from = static_cast<std::size_t>(order[position]);
        sorted.push_back(rows_[from]);
        newPosition[from] = static_cast<int>(position);
    }
    rows_ = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after.append(index(newPosition[static_cast<std::size_t>(old.row())], old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool ListModel::inRange(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < rows_.size();
}

bool ListModel::isBorrowed(int column) const {
    return source_ && std::find(borrowedColumns_.begin(), borrowedColumns_.end(), column) !=
                          borrowedColumns_.end();
}

bool ListModel::hasText(const Row& row, int column) const {
    return column >= 0 && column < row.texts;
}

void ListModel::appendCell(std::string_view text) {
    // 32-bit offsets keep a row small; no list comes near 4 GiB of text, but a cell that
    // would pass it stays empty rather than wrap.
    if (text.size() <= std::numeric_limits<std::uint32_t>::max() - texts_.size()) texts_ += text;
    cellStarts_.push_back(static_cast<std::uint32_t>(texts_.size()));
}

std::string_view ListModel::rowText(const Row& row, int column, bool borrowed) const {
    if (column < 0 || column >= row.texts) return {};
    if (borrowed) return source_(row.source, column);
    return cell(row.firstCell + static_cast<std::size_t>(column));
}

std::string_view ListModel::cell(std::size_t index) const {
    const std::size_t start = cellStarts_[index];
    return std::string_view(texts_).substr(start, cellStarts_[index + 1] - start);
}

const QString* ListModel::shownOverride(const Row& row, int column) const {
    if (row.shown < 0) return nullptr;
    for (const auto& [shownColumn, text] : shownTexts_[static_cast<std::size_t>(row.shown)])
        if (shownColumn == column) return &text;
    return nullptr;
}

std::uint32_t ListModel::iconSlot(const QIcon& icon) {
    const qint64 wanted = icon.cacheKey();
    const auto found = std::find_if(icons_.begin(), icons_.end(), [wanted](const QIcon& known) {
        return known.cacheKey() == wanted;
    });
    if (found != icons_.end()) return static_cast<std::uint32_t>(found - icons_.begin() + 1);
    icons_.push_back(icon);
    return static_cast<std::uint32_t>(icons_.size());
}
