#pragma once

#include <cstdint>

namespace browsers {

// Where a question view keeps its note: the one load and the one save of each view. A view
// saves the note of the question it leaves before it shows another, switches tab, opens the
// full view or closes, and loads the new question's note after showing it.
class NoteSlot {
public:
    virtual ~NoteSlot() = default;
    virtual void Load(std::int32_t questionId) = 0;
    virtual void Save(std::int32_t questionId) = 0;
};

// Keeps nothing: the views hold it until a notes editor takes its place.
class NoNotes final : public NoteSlot {
public:
    void Load(std::int32_t) override {}
    void Save(std::int32_t) override {}
};

}  // namespace browsers
