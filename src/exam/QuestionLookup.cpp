#include "exam/QuestionLookup.h"

#include <algorithm>

namespace exam {

namespace {

IdIndex& bankIndex() {
    static IdIndex index;
    return index;
}

IdIndex& statsIndex() {
    static IdIndex index;
    return index;
}

}  // namespace

std::optional<std::size_t> IdIndex::Find(std::int32_t id) const {
    const auto hit = std::lower_bound(byId_.begin(), byId_.end(), std::pair(id, std::size_t{0}));
    if (hit == byId_.end() || hit->first != id) return std::nullopt;
    return hit->second;
}

void IdIndex::Invalidate() {
    valid_ = false;
    ids_.clear();
    byId_.clear();
}

void IdIndex::rebuild() {
    byId_.clear();
    byId_.reserve(ids_.size());
    for (std::size_t k = 0; k < ids_.size(); ++k)
        byId_.emplace_back(ids_[k], k);
    std::sort(byId_.begin(), byId_.end());
    valid_ = true;
}

const QuestionRecord* QuestionLookup::Question(std::int32_t id) {
    if (!bankSynced_) {
        bankIndex().Sync(QuestionBank, [](const QuestionRecord& q) { return q.QuestionID; });
        bankSynced_ = true;
    }
    const auto position = bankIndex().Find(id);
    return position ? &QuestionBank[*position] : nullptr;
}

QuestionStats* QuestionLookup::Stats(std::int32_t id) {
    if (!statsSynced_) {
        statsIndex().Sync(QuestionStatsTable, [](const QuestionStats& s) { return s.QuestionID; });
        statsSynced_ = true;
    }
    const auto position = statsIndex().Find(id);
    return position ? &QuestionStatsTable[*position] : nullptr;
}

const QuestionRecord* FindQuestion(std::int32_t id) {
    // The bank as the index was last synced for FindQuestion; a full sync when it differs.
    static const QuestionRecord* syncedData = nullptr;
    static std::size_t syncedSize = 0;
    const auto sync = [] {
        bankIndex().Sync(QuestionBank, [](const QuestionRecord& q) { return q.QuestionID; });
        syncedData = QuestionBank.data();
        syncedSize = QuestionBank.size();
    };
    if (syncedData != QuestionBank.data() || syncedSize != QuestionBank.size() ||
        !bankIndex().Synced())
        sync();
    auto position = bankIndex().Find(id);
    if (!position || QuestionBank[*position].QuestionID != id) {
        // Changed in place: worth one full check before answering.
        sync();
        position = bankIndex().Find(id);
    }
    return position ? &QuestionBank[*position] : nullptr;
}

void InvalidateQuestionLookup() {
    bankIndex().Invalidate();
    statsIndex().Invalidate();
}

}  // namespace exam
