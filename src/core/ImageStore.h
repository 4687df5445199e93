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

// Slots by role. A picture button is named by its first (pressed) slot.
inline constexpr int kPauseClockImageSlot = 0;
inline constexpr int kRestartClockImageSlot = 1;
inline constexpr int kResumeClockImageSlot = 2;
inline constexpr int kStopClockImageSlot = 3;
inline constexpr int kEvaluateButtonSlot = 4;
inline constexpr int kNotesButtonSlot = 8;
inline constexpr int kPauseButtonSlot = 12;
inline constexpr int kQuitButtonSlot = 16;
inline constexpr int kReviewButtonSlot = 20;
inline constexpr int kSaveButtonSlot = 24;
inline constexpr int kFeedbackButtonSlot = 28;
inline constexpr int kBookmarksImageSlot = 32;
inline constexpr int kConfigureImageSlot = 33;
inline constexpr int kExamInstructionsImageSlot = 34;
inline constexpr int kMyNotesImageSlot = 35;
inline constexpr int kPerformanceImageSlot = 36;
inline constexpr int kRevisionNotesImageSlot = 37;
inline constexpr int kSaveImageSlot = 38;
inline constexpr int kViewQuestionsImageSlot = 40;
inline constexpr int kLogoImageSlot = 41;
inline constexpr int kSplashImageSlot = 44;
// The last of a picture button's four slots: its normal look.
inline constexpr int kNormalLookOffset = 3;

static_assert(kImageSlotNames[kPauseClockImageSlot] == "button_pause.gif");
static_assert(kImageSlotNames[kStopClockImageSlot] == "button_stop.gif");
static_assert(kImageSlotNames[kEvaluateButtonSlot] == "icon_evaluate_and_grade_active.gif");
static_assert(kImageSlotNames[kFeedbackButtonSlot] == "icon_send_feedback_active.gif");
static_assert(kImageSlotNames[kPauseButtonSlot + kNormalLookOffset] == "icon_pause_off.gif");
static_assert(kImageSlotNames[kBookmarksImageSlot] == "main_BookmarkedQuestions.gif");
static_assert(kImageSlotNames[kViewQuestionsImageSlot] == "main_ViewQuestions.gif");
static_assert(kImageSlotNames[kLogoImageSlot] == "main_Logo.gif");
static_assert(kImageSlotNames[kSplashImageSlot] == "splash.jpg");

inline std::array<ImageEntry, kImageSlotCount> ImageStore;
