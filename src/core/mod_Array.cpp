#include "core/mod_Array.h"

#include "formats/TextRules.h"

#include <algorithm>
#include <numeric>

namespace mod_Array {

namespace {

// Counts insertions per class of equal elements; answers how many went into lower classes.
class InsertionCounter {
public:
    explicit InsertionCounter(std::size_t classes) : tree_(classes + 1) {}

    void Add(std::size_t rank) {
        for (std::size_t k = rank + 1; k < tree_.size(); k += k & (~k + 1))
            ++tree_[k];
    }

    [[nodiscard]] std::size_t Below(std::size_t rank) const {
        std::size_t sum = 0;
        for (std::size_t k = rank; k > 0; k -= k & (~k + 1))
            sum += tree_[k];
        return sum;
    }

private:
    std::vector<std::size_t> tree_;
};

// The elements of one class of equals, as a ring whose logical start is `head`.
struct Run {
    std::vector<std::size_t> ring;
    std::size_t head = 0;
    std::size_t lowerSeen = 0;  // lower-class insertions already turned into rotations

    void CatchUp(std::size_t lowerNow) {
        if (!ring.empty()) head = (head + lowerNow - lowerSeen) % ring.size();
        lowerSeen = lowerNow;
    }

    void Append(std::size_t element) {
        if (head == 0) {
            ring.push_back(element);
        } else {
            ring.insert(ring.begin() + static_cast<std::ptrdiff_t>(head), element);
            ++head;
        }
    }
};

}  // namespace

// How the exchange sort moves elements:
// - Pass i = 0 carries a running maximum to the front: each element found strictly after
//   the one held is swapped in, leaving the held one where the new maximum was.
// - Every later pass i keeps 0..i-1 sorted with a maximum last, and the j < i sweep inserts
//   element i after all its equals. The element it carries passes over equals and is only
//   swapped at a strictly later one, so each run of equals after the inserted element
//   rotates by one (its first element moves to its end); the j > i sweep swaps nothing.
// So equals are neither kept in input order nor reversed. Below, each run is a ring whose
// head advances once per insertion into a lower run.
std::vector<std::size_t> detail::ExchangeSortOrder(
    std::size_t count, const std::function<bool(std::size_t, std::size_t)>& before) {
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (count < 2) return order;
    for (std::size_t j = 1; j < count; ++j)
        if (before(order[0], order[j])) std::swap(order[0], order[j]);

    std::vector<std::size_t> byValue = order;
    std::sort(byValue.begin(), byValue.end(), before);
    std::vector<std::size_t> rank(count, 0);
    std::size_t classes = 1;
    for (std::size_t k = 1; k < count; ++k) {
        if (before(byValue[k - 1], byValue[k])) ++classes;
        rank[byValue[k]] = classes - 1;
    }

    InsertionCounter inserted(classes);
    std::vector<Run> runs(classes);
    for (const std::size_t element : order) {
        const std::size_t r = rank[element];
        runs[r].CatchUp(inserted.Below(r));
        runs[r].Append(element);
        inserted.Add(r);
    }

    std::vector<std::size_t> sorted;
    sorted.reserve(count);
    for (std::size_t r = 0; r < classes; ++r) {
        Run& run = runs[r];
        run.CatchUp(inserted.Below(r));
        const auto head = run.ring.begin() + static_cast<std::ptrdiff_t>(run.head);
        sorted.insert(sorted.end(), head, run.ring.end());
        sorted.insert(sorted.end(), run.ring.begin(), head);
    }
    return sorted;
}

bool IsInArray(const std::optional<std::vector<std::string>>& list, std::string_view value,
               std::int32_t& index) {
    if (!list) return false;
    const auto size = std::ssize(*list);
    for (index = std::max(index, std::int32_t{0}); index < size; ++index)
        if ((*list)[static_cast<std::size_t>(index)] == value) return true;
    return false;
}

void SortStringArray(std::vector<std::string>& list, bool ascending, bool ignoreCase) {
    std::vector<std::string> lowered;
    if (ignoreCase) {
        lowered = list;
        for (std::string& text : lowered)
            std::transform(text.begin(), text.end(), text.begin(),
                           [](char c) { return formats::LowerCase(c); });
    }
    const std::vector<std::string>& keys = ignoreCase ? lowered : list;
    const auto order = detail::ExchangeSortOrder(list.size(), [&](std::size_t a, std::size_t b) {
        return ascending ? keys[a] < keys[b] : keys[a] > keys[b];
    });
    detail::Reorder(list, order);
}

std::vector<std::string> RemoveDuplicateStrings(const std::vector<std::string>& sorted) {
    return RemoveDuplicates(sorted);
}

}  // namespace mod_Array
