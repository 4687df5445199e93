#pragma once

#include <array>
#include <string>
#include <string_view>

#include "formats/Bytes.h"

struct ImageEntry {
    std::string Name;
    formats::Bytes Bytes;
};

inline constexpr std::size_t kImageSlotCount = 45;

// Entry name per slot; empty for the slots that are never filled. Picture buttons use
// four consecutive slots: pressed, disabled, hover, normal.
inline constexpr std::array<std::string_view, kImageSlotCount> kImageSlotNames = {
    "button_pause.gif",
    "button_restart.gif",
    "button_resume.gif",
    "button_stop.gif",
    "icon_evaluate_and_grade_active.gif",
    "",
    "icon_evaluate_and_grade_on.gif",
    "icon_evaluate_and_grade_off.gif",
    "icon_my_notes_active.gif",
    "",
    "icon_my_notes_on.gif",
    "icon_my_notes_off.gif",
    "icon_pause_active.gif",
    "icon_pause_disabled.gif",
    "icon_pause_on.gif",
    "icon_pause_off.gif",
    "icon_quit_exam_active.gif",
    "icon_quit_exam_disabled.gif",
    "icon_quit_exam_on.gif",
    "icon_quit_exam_off.gif",
    "icon_review_marked_active.gif",
    "",
    "icon_review_marked_on.gif",
    "icon_review_marked_off.gif",
    "icon_save_active.gif",
    "icon_save_disabled.gif",
    "icon_save_on.gif",
    "icon_save_off.gif",
    "icon_send_feedback_active.gif",
    "",
    "icon_send_feedback_on.gif",
    "icon_send_feedback_off.gif",
    "main_BookmarkedQuestions.gif",
    "main_Configure.gif",
    "main_ExamInstructions.gif",
    "main_MyNotes.gif",
    "main_PerformanceHistory.gif",
    "main_RevisionNotes.gif",
    "main_Save.gif",
    "",
    "main_ViewQuestions.gif",
    "main_Logo.gif",
    "",
    "",
    "splash.jpg",
};

inline constexpr int kSplashImageSlot = 44;
inline constexpr int kLogoImageSlot = 41;

inline std::array<ImageEntry, kImageSlotCount> ImageStore;
