#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A list that was never dimensioned is nullopt, which is not the same as an empty one.
namespace mod_Array {

// Searches from `index` (negative counts as 0) to the end. On a match `index` is left on
// it; otherwise it ends one past the last element. A nullopt list leaves `index` alone.
bool IsInArray(const std::optional<std::vector<std::string>>& list, std::string_view value,
               std::int32_t& index);

template <class T>
bool IsArrayEmpty(const std::optional<std::vector<T>>& list) {
    return !list.has_value();
}

// Sorts list[low..high] in place; invalid bounds leave the list untouched.
template <class T>
void QuickSort(std::vector<T>& list, std::int32_t low, std::int32_t high) {
    if (low < 0 || high >= std::ssize(list)) return;
    const auto at = [&list](std::int32_t k) -> T& { return list[static_cast<std::size_t>(k)]; };
    while (low < high) {
        const T pivot = at(low + (high - low) / 2);
        std::int32_t i = low;
        std::int32_t j = high;
        while (i <= j) {
            while (at(i) < pivot && i < high)
                ++i;
            while (pivot < at(j) && j > low)
                --j;
            if (i <= j) std::swap(at(i++), at(j--));
        }
        // Recursing only into the smaller side keeps the stack depth logarithmic.
        if (j - low < high - i) {
            QuickSort(list, low, j);
            low = i;
        } else {
            QuickSort(list, i, high);
            high = j;
        }
    }
}

namespace detail {

// The order in which the exchange sort "for each i, for each j: swap when element i goes
// before element j" leaves the elements, computed in O(n log n) (plus moves within runs of
// equal elements). That sort is not stable: see the definition for how equals end up.
std::vector<std::size_t> ExchangeSortOrder(
    std::size_t count, const std::function<bool(std::size_t, std::size_t)>& before);

template <class T>
void Reorder(std::vector<T>& list, const std::vector<std::size_t>& order) {
    std::vector<T> sorted;
    sorted.reserve(list.size());
    for (const std::size_t from : order)
        sorted.push_back(std::move(list[from]));
    list = std::move(sorted);
}

}  // namespace detail

// With `ignoreCase` the texts are compared lower-cased (Windows-1252 letters included),
// otherwise byte by byte. Equal-comparing texts end up as the exchange sort leaves them.
void SortStringArray(std::vector<std::string>& list, bool ascending, bool ignoreCase);

// Compares with < (ascending) or > (descending), which must order T strictly and weakly.
template <class T>
void SortVariantArray(std::vector<T>& list, bool ascending) {
    const auto order = detail::ExchangeSortOrder(list.size(), [&](std::size_t a, std::size_t b) {
        return ascending ? list[a] < list[b] : list[a] > list[b];
    });
    detail::Reorder(list, order);
}

// Drops each element equal to the one kept just before it.
template <class T>
std::vector<T> RemoveDuplicates(const std::vector<T>& sorted) {
    std::vector<T> unique;
    for (const T& element : sorted)
        if (unique.empty() || element != unique.back()) unique.push_back(element);
    return unique;
}

std::vector<std::string> RemoveDuplicateStrings(const std::vector<std::string>& sorted);

}  // namespace mod_Array
