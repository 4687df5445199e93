#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "core/QuestionBank.h"

namespace exam {

// First-match positions of the ids of one table. Before use it is checked against the
// table's current ids (one linear pass) and rebuilt when they differ, so a bank swapped
// for a filtered copy and back never yields a stale or non-first position.
class IdIndex {
public:
    template <class Table, class IdOf>
    void Sync(const Table& table, IdOf idOf) {
        bool same = valid_ && ids_.size() == table.size();
        for (std::size_t k = 0; same && k < table.size(); ++k)
            same = ids_[k] == idOf(table[k]);
        if (same) return;
        ids_.clear();
        ids_.reserve(table.size());
        for (const auto& row : table)
            ids_.push_back(idOf(row));
        rebuild();
    }

    [[nodiscard]] std::optional<std::size_t> Find(std::int32_t id) const;
    void Invalidate();
    [[nodiscard]] bool Synced() const { return valid_; }

private:
    void rebuild();

    std::vector<std::int32_t> ids_;
    // (id, position) by id, then position: the first of equal ids is the first position.
    std::vector<std::pair<std::int32_t, std::size_t>> byId_;
    bool valid_ = false;
};

// Id lookups in QuestionBank and QuestionStatsTable for one synchronous operation: each
// index is synced on first use, then every lookup is constant time. The tables must not
// change size or ids while the object lives.
class QuestionLookup {
public:
    [[nodiscard]] const QuestionRecord* Question(std::int32_t id);
    [[nodiscard]] QuestionStats* Stats(std::int32_t id);

private:
    bool bankSynced_ = false;
    bool statsSynced_ = false;
};

// The first question with the id, for what outlives one operation (list cells read when
// painted): the index is checked against the bank at every call instead of synced once, so
// a replaced bank is noticed without scanning it each time. Null when no question has it.
[[nodiscard]] const QuestionRecord* FindQuestion(std::int32_t id);

// Drops both indexes (for whoever replaces a table); the next lookup rebuilds them.
void InvalidateQuestionLookup();

}  // namespace exam
