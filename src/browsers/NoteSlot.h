#pragma once

#include <cstdint>

#include "notes/mod_MyNotes.h"

namespace browsers {

// Where a question view keeps its note: the one load and the one save of each view. A view
// saves the note of the question it leaves before it shows another, switches tab, opens the
// full view or closes, and loads the new question's note after showing it.
class NoteSlot {
public:
    virtual ~NoteSlot() = default;
    virtual void Load(std::int32_t questionId) = 0;
    // False when the note could not be kept: the user was told, and what they typed is
    // still in the editor, so a caller that can stay holds its move.
    [[nodiscard]] virtual bool Save(std::int32_t questionId, mod_MyNotes::Leaving leaving) = 0;
};

// Keeps nothing: the views hold it until a notes editor takes its place.
class NoNotes final : public NoteSlot {
public:
    void Load(std::int32_t) override {}
    bool Save(std::int32_t, mod_MyNotes::Leaving) override { return true; }
};

}  // namespace browsers
