#include "core/mod_ListViewSort.h"

#include "platform/DateText.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "core/ListView.h"
#include "platform/TextCodec.h"

namespace mod_ListViewSort {
namespace {

enum class Kind { Amount, Text, Date, Percent, Number };

// The comparer reads a cell through a 32-character buffer.
constexpr qsizetype kCellChars = 31;

int g_sortColumn = 0;
bool g_ascending = false;

// Halves to even, as the platform's conversions round.
double roundHalfEven(double value) {
    return std::nearbyint(value);
}

std::optional<double> parseNumber(const QString& text) {
    static const QLocale locale = [] {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        return c;
    }();
    const QString trimmed = text.trimmed();
    // Only these can start a finite number (U+2212 is a minus sign too); asking the locale
    // costs far more than looking.
    const QChar first = trimmed.isEmpty() ? QChar() : trimmed.front();
    if (!first.isDigit() && first != u'+' && first != u'-' && first != u'\u2212' && first != u'.')
        return std::nullopt;
    bool ok = false;
    const double value = locale.toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> numberValue(const QString& text) {
    const std::optional<double> value = parseNumber(text);
    if (!value) return std::nullopt;
    return roundHalfEven(*value);
}

std::optional<double> amountValue(QString text) {
    text.remove(QLatin1Char('$')).remove(QChar(0x20AC)).remove(QLatin1Char(','));
    return numberValue(text);
}

std::optional<double> percentValue(QString text) {
    text = text.trimmed();
    if (text.endsWith(QLatin1Char('%'))) text.chop(1);
    const std::optional<double> value = parseNumber(text);
    if (!value) return std::nullopt;
    return roundHalfEven(static_cast<float>(*value));
}

// Days and milliseconds of the day: no time zone or daylight-saving gap plays a part.
double dateKey(const QDate& date, const QTime& time) {
    return static_cast<double>(date.toJulianDay()) * 86'400'000.0 + time.msecsSinceStartOfDay();
}

// A text that is no date sorts after every real date.
double dateValue(const QString& text) {
    const auto when = platform::ParseDateText(text);
    return when ? dateKey(when->first, when->second) : dateKey(QDate(4501, 1, 1), QTime(0, 0));
}

std::optional<double> cellValue(Kind kind, const QString& cell) {
    switch (kind) {
        case Kind::Amount:
            return amountValue(cell);
        case Kind::Date:
            return dateValue(cell);
        case Kind::Percent:
            return percentValue(cell);
        case Kind::Text:
        case Kind::Number:
            return numberValue(cell);
    }
    return std::nullopt;
}

void sortByValue(ListView& list, Kind kind) {
    const int count = list.rowCount();
    std::vector<int> positions;  // rows whose cell converts
    std::vector<std::pair<double, int>> values;
    for (int row = 0; row < count; ++row) {
        const QString cell = list.cellText(row, g_sortColumn, kCellChars);
        if (const std::optional<double> value = cellValue(kind, cell)) {
            positions.push_back(row);
            values.emplace_back(*value, row);
        }
    }
    std::stable_sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
        return g_ascending ? a.first < b.first : b.first < a.first;
    });
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        order[static_cast<std::size_t>(row)] = row;
    bool moved = false;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        order[static_cast<std::size_t>(positions[i])] = values[i].second;
        moved = moved || values[i].second != positions[i];
    }
    // Rows already in place (a text column without numbers) are left as they are.
    if (moved) list.reorderRows(order);
}

void sortColumn(ListView& list, int columnIndex, Kind kind) {
    const int column = columnIndex - 1;
    list.setSorted(false);
    if (list.sortKey() == column) {
        list.setSortOrder(list.sortOrder() == 0 ? 1 : 0);
    } else {
        list.setSortKey(column);
        list.setSortOrder(0);
    }
    g_sortColumn = column;
    g_ascending = list.sortOrder() == 0;
    if (kind == Kind::Text) list.setSorted(true);
    sortByValue(list, kind);
    UpdateSortArrows(list);
}

}  // namespace

void SortListViewColumn(ListView& list, int column) {
    bool isNumber = false;
    const int tag = platform::toQt(list.columnTag(column)).trimmed().toInt(&isNumber);
    const int columnIndex = column + 1;
    switch (isNumber ? tag : 0) {
        case 1:
            SortListViewByAmount(list, columnIndex);
            break;
        case 3:
            SortListViewByDate(list, columnIndex);
            break;
        case 4:
            SortListViewByPercent(list, columnIndex);
            break;
        case 5:
            SortListViewByNumber(list, columnIndex);
            break;
        default:
            SortListViewByText(list, columnIndex);
            break;
    }
}

void SortListViewByAmount(ListView& list, int columnIndex) {
    sortColumn(list, columnIndex, Kind::Amount);
}

void SortListViewByText(ListView& list, int columnIndex) {
    sortColumn(list, columnIndex, Kind::Text);
}

void SortListViewByDate(ListView& list, int columnIndex) {
    sortColumn(list, columnIndex, Kind::Date);
}

void SortListViewByPercent(ListView& list, int columnIndex) {
    sortColumn(list, columnIndex, Kind::Percent);
}

void SortListViewByNumber(ListView& list, int columnIndex) {
    sortColumn(list, columnIndex, Kind::Number);
}

void UpdateSortArrows(ListView& list) {
    for (int column = 0; column < list.columnCount(); ++column) {
        const bool isSorted = column == list.sortKey();
        SetHeaderSortArrow(list, column, isSorted ? list.sortOrder() : 0, isSorted);
    }
}

void SetHeaderSortArrow(ListView& list, int column, int imageIndex, bool show) {
    list.setHeaderImage(column, show ? imageIndex : -1);
}

void ResetListViewSort(ListView& list) {
    g_sortColumn = 0;
    g_ascending = false;
    list.setSorted(false);
    list.setSortKey(0);
}

int SortColumn() {
    return g_sortColumn;
}

bool SortAscending() {
    return g_ascending;
}

}  // namespace mod_ListViewSort
