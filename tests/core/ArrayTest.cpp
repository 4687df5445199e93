#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/mod_Array.h"

using mod_Array::QuickSort;
using mod_Array::SortStringArray;
using mod_Array::SortVariantArray;
using Strings = std::vector<std::string>;

namespace {

// The exchange sort the fast versions must reproduce exactly.
template <class T, class Before>
void ExchangeSort(std::vector<T>& list, Before before) {
    for (std::size_t i = 0; i < list.size(); ++i)
        for (std::size_t j = 0; j < list.size(); ++j)
            if (before(list[i], list[j])) std::swap(list[i], list[j]);
}

// Equal keys stay distinguishable through `id`.
struct Tagged {
    int key;
    int id;
    bool operator<(const Tagged& other) const { return key < other.key; }
    bool operator>(const Tagged& other) const { return key > other.key; }
    bool operator==(const Tagged& other) const { return key == other.key && id == other.id; }
};

// Case pairs of the oracle's alphabet, Windows-1252 letters included.
std::string Folded(std::string text) {
    static const std::map<char, char> kLower = {
        {'A', 'a'}, {'B', 'b'}, {'\xC9', '\xE9'}, {'\x8A', '\x9A'}, {'\x9F', '\xFF'}};
    for (char& c : text)
        if (const auto it = kLower.find(c); it != kLower.end()) c = it->second;
    return text;
}

Strings RandomNames(std::mt19937& random, std::size_t count) {
    static const std::string kAlphabet = "aAbB\xE9\xC9\x9A\x8A\xFF\x9F";
    std::uniform_int_distribution<std::size_t> length(0, 3);
    std::uniform_int_distribution<std::size_t> letter(0, kAlphabet.size() - 1);
    Strings names(count);
    for (std::string& name : names)
        for (std::size_t k = length(random); k > 0; --k)
            name += kAlphabet[letter(random)];
    return names;
}

}  // namespace

TEST(ArraySearch, IsInArrayStartsAtTheGivenIndexAndNeverDimensionedIsNotEmpty) {
    const std::optional<Strings> list = Strings{"a", "x", "b", "c", "d"};
    std::int32_t index = 3;
    EXPECT_FALSE(mod_Array::IsInArray(list, "x", index));
    EXPECT_EQ(index, 5);

    index = -4;
    EXPECT_TRUE(mod_Array::IsInArray(list, "x", index));
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(mod_Array::IsInArray(list, "x", index));  // a match at the start is seen
    EXPECT_EQ(index, 1);

    index = 0;
    EXPECT_FALSE(mod_Array::IsInArray(list, "X", index));
    index = 0;
    EXPECT_FALSE(mod_Array::IsInArray(std::nullopt, "x", index));

    EXPECT_TRUE(mod_Array::IsArrayEmpty(std::optional<Strings>{}));
    EXPECT_FALSE(mod_Array::IsArrayEmpty(std::optional<Strings>{Strings{}}));
}

TEST(ArrayDuplicates, OnlyExactNeighboursAreDropped) {
    EXPECT_EQ(mod_Array::RemoveDuplicateStrings({"a", "a", "B", "b"}), (Strings{"a", "B", "b"}));
    EXPECT_EQ(mod_Array::RemoveDuplicateStrings({}), Strings{});
    EXPECT_EQ(mod_Array::RemoveDuplicates(std::vector<int>{1, 1, 2, 2, 2, 1}),
              (std::vector<int>{1, 2, 1}));
}

TEST(ArrayQuickSort, SortsOnlyTheValidRangeGiven) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<int> list(random() % 40 + 2);
        for (int& value : list)
            value = static_cast<int>(random() % 10);
        const auto low = static_cast<std::int32_t>(random() % list.size());
        const auto high = static_cast<std::int32_t>(random() % list.size());
        std::vector<int> expected = list;
        if (low < high) std::sort(expected.begin() + low, expected.begin() + high + 1);
        QuickSort(list, low, high);
        ASSERT_EQ(list, expected) << "low " << low << " high " << high;
    }
    std::vector<int> list = {3, 2, 1};
    QuickSort(list, -1, 2);
    QuickSort(list, 0, 3);
    EXPECT_EQ(list, (std::vector<int>{3, 2, 1}));

    // Long reversed and equal runs, the worst cases of a careless partition.
    constexpr int kCount = 20000;
    std::vector<int> ascending(kCount);
    std::iota(ascending.begin(), ascending.end(), 0);
    std::vector<int> descending(ascending.rbegin(), ascending.rend());
    QuickSort(descending, 0, kCount - 1);
    EXPECT_EQ(descending, ascending);
    std::vector<int> equal(kCount, 7);
    QuickSort(equal, 0, kCount - 1);
    EXPECT_EQ(equal, std::vector<int>(kCount, 7));
}

// Each pair is in ignore-case order; reversed input must come back ordered. "\xD7" lies among
// the accented capitals but has no lower case, so the oracle alphabet below cannot show it.
TEST(ArrayStringSort, CodePageLettersFoldInIgnoreCaseOrder) {
    const std::vector<std::pair<std::string, std::string>> ignoringCase = {
        {"\xC9"
         "a",
         "\xE9"
         "b"},
        {"\xD7", "\xE0"},
        {"\x95", "\x8A"},
        {"\xFE", "\x9F"},
    };
    for (const auto& [first, second] : ignoringCase) {
        Strings pair = {second, first};
        SortStringArray(pair, true, true);
        EXPECT_EQ(pair, (Strings{first, second})) << first << " / " << second;
    }
}

// Equals do not keep input order: the fast sort must leave them exactly where the exchange
// sort does, as case-only duplicates (and equal keys below) show.
TEST(ArrayStringSort, MatchesTheExchangeSort) {
    std::mt19937 random(1113);
    for (int trial = 0; trial < 3000; ++trial) {
        const std::size_t count = trial < 2980 ? random() % 12 : 200 + random() % 200;
        const Strings names = RandomNames(random, count);
        for (const bool ascending : {true, false}) {
            for (const bool ignoreCase : {true, false}) {
                Strings expected = names;
                ExchangeSort(expected, [&](const std::string& a, const std::string& b) {
                    const std::string x = ignoreCase ? Folded(a) : a;
                    const std::string y = ignoreCase ? Folded(b) : b;
                    return ascending ? x < y : x > y;
                });
                Strings actual = names;
                SortStringArray(actual, ascending, ignoreCase);
                ASSERT_EQ(actual, expected) << "trial " << trial;
            }
        }
    }
}

TEST(ArrayVariantSort, MatchesTheExchangeSort) {
    std::mt19937 random(42);
    for (int trial = 0; trial < 3000; ++trial) {
        std::vector<Tagged> list(trial < 2980 ? random() % 12 : 200 + random() % 200);
        const int keys = 1 + static_cast<int>(random() % 5);
        for (std::size_t k = 0; k < list.size(); ++k)
            list[k] = {static_cast<int>(random() % static_cast<unsigned>(keys)),
                       static_cast<int>(k)};
        for (const bool ascending : {true, false}) {
            std::vector<Tagged> expected = list;
            ExchangeSort(expected, [&](const Tagged& a, const Tagged& b) {
                return ascending ? a < b : a > b;
            });
            std::vector<Tagged> actual = list;
            SortVariantArray(actual, ascending);
            ASSERT_EQ(actual, expected) << "trial " << trial;
        }
    }
}
