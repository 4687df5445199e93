#pragma once

#include "browsers/NoteSlot.h"
#include "notes/NotesEditor.h"
#include "notes/mod_MyNotes.h"

namespace browsers {

// A question view's notes editor: the note files load into it and save from it.
class EditorNoteSlot final : public NoteSlot {
public:
    explicit EditorNoteSlot(NotesEditor& editor) : editor_(editor) {}
    void Load(std::int32_t questionId) override { mod_MyNotes::LoadMyNotes(questionId, editor_); }
    bool Save(std::int32_t questionId, mod_MyNotes::Leaving leaving) override {
        return mod_MyNotes::SaveMyNotes(questionId, editor_, leaving);
    }

private:
    NotesEditor& editor_;
};

}  // namespace browsers
