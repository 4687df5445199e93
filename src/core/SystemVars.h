#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/StringTable.h"

// Elements of SystemVars.EvaluateTexts.
namespace evaluate_text {
inline constexpr int kFirstRating = 0;            // six rating words, lowest band first
inline constexpr int kFirstObjectiveHeading = 8;  // score, objective, rating
inline constexpr int kFirstTab = 11;              // summary, by objective, by question
inline constexpr int kWindowTitle = 14;
inline constexpr int kExamFrame = 15;
inline constexpr int kScoreFrame = 16;
inline constexpr int kComparisonFrame = 18;
inline constexpr int kFirstQuestionFigure = 20;  // six figures of the per-question tab
inline constexpr int kBandRangeColumn = 24;
inline constexpr int kBandRatingColumn = 25;
inline constexpr int kFirstSummaryRow = 26;  // eight rows of the comparison
inline constexpr int kThisAttempt = 34;
inline constexpr int kPreviousAttempt = 35;
}  // namespace evaluate_text

// Elements of SystemVars.PerformanceTexts.
namespace performance_text {
inline constexpr int kNoHistory = 0;
inline constexpr int kTitle = 1;
inline constexpr int kFirstTab = 2;  // exam history, by objective, by question
inline constexpr int kResetButton = 5;
inline constexpr int kResetQuestion = 6;
inline constexpr int kResetCaption = 7;
inline constexpr int kResetDone = 8;
inline constexpr int kExamRowTip = 9;
inline constexpr int kDamagedRecord = 10;
inline constexpr int kDamagedRecordCaption = 11;
inline constexpr int kObjectiveRowTip = 12;
inline constexpr int kTimesAsked = 13;  // the statistics lines of a question, to 17
inline constexpr int kAnsweredCorrectly = 14;
inline constexpr int kAnsweredWrong = 15;
inline constexpr int kLeftUnanswered = 16;
inline constexpr int kSuccessRate = 17;
inline constexpr int kOverall = 18;
inline constexpr int kFirstExamColumn = 19;  // headers of the three lists, from their column 1
inline constexpr int kFirstObjectiveColumn = 27;
inline constexpr int kFirstQuestionColumn = 34;
inline constexpr int kQuestionRowTip = 41;
}  // namespace performance_text

// Elements of SystemVars.ExamTexts.
namespace exam_text {
inline constexpr int kExamLabel = 0;
inline constexpr int kObjectiveLabel = 1;
inline constexpr int kLevelLabel = 2;
inline constexpr int kQuestion = 3;
inline constexpr int kMarkForReview = 4;
inline constexpr int kResetClock = 5;
inline constexpr int kStopClock = 6;
inline constexpr int kPause = 7;
inline constexpr int kTimeRemaining = 8;
inline constexpr int kClearAnswer = 9;
inline constexpr int kGoTo = 10;
inline constexpr int kPrevious = 11;
inline constexpr int kNext = 12;
inline constexpr int kResumeClock = 13;
inline constexpr int kTimeElapsed = 14;
inline constexpr int kBackToQuestion = 15;
inline constexpr int kMyNotes = 16;
}  // namespace exam_text

// Elements of the boxes the user can silence: ResetTimerTexts, StopTimerTexts, SaveInfoTexts.
namespace confirm_text {
inline constexpr int kTitle = 1;
inline constexpr int kIcon = 2;
inline constexpr int kMessage = 3;
inline constexpr int kRemember = 4;
inline constexpr int kYes = 5;
inline constexpr int kNo = 6;           // not in SaveInfoTexts
inline constexpr int kZeroTotalNo = 5;  // ZeroTotalTexts: its one button
}  // namespace confirm_text

// Elements of SystemVars.CustomizeTexts.
namespace customize_text {
inline constexpr int kCustomize = 0;
inline constexpr int kExamSuffix = 1;
inline constexpr int kFirstHeading = 2;  // objective, then the three levels
inline constexpr int kAvailable = 6;
inline constexpr int kRandomOrder = 7;
inline constexpr int kTimeLimit = 8;
inline constexpr int kMinutes = 9;
inline constexpr int kSmartMode = 10;
inline constexpr int kSmartWrong = 11;
inline constexpr int kSmartCorrect = 12;
inline constexpr int kTimes = 13;
inline constexpr int kTotal = 14;
inline constexpr int kShowScore = 15;
inline constexpr int kShowAnswers = 16;
inline constexpr int kFirstAnswerMode = 17;  // three modes
inline constexpr int kRemember = 20;
inline constexpr int kStart = 21;
inline constexpr int kCancel = 22;
inline constexpr int kCustom = 23;
inline constexpr int kUseMaximum = 24;
}  // namespace customize_text

// Elements of SystemVars.CustomTabTexts.
namespace custom_tab_text {
inline constexpr int kExamHeading = 0;
inline constexpr int kTitle = 1;
inline constexpr int kDescription = 2;
inline constexpr int kInBank = 3;
inline constexpr int kSelected = 4;
inline constexpr int kFirstButton = 5;  // select all, clear all, use maximum
inline constexpr int kTip = 8;
inline constexpr int kContinue = 9;
}  // namespace custom_tab_text

// Elements of SystemVars.SaveTabTexts.
namespace save_tab_text {
inline constexpr int kTitle = 0;
inline constexpr int kCount = 1;
inline constexpr int kFirstListButton = 2;  // check all, uncheck all, delete checked
inline constexpr int kDetailsFrame = 5;
inline constexpr int kFirstDetail = 6;  // seven detail captions
inline constexpr int kResume = 13;
inline constexpr int kDelete = 14;
inline constexpr int kDeleteCheckedQuestion = 15;
inline constexpr int kDeleteCaption = 16;
inline constexpr int kDamagedCaption = 17;
inline constexpr int kDamaged = 18;
inline constexpr int kMinutes = 19;
inline constexpr int kMinute = 20;
inline constexpr int kUntimed = 21;
inline constexpr int kClockFormat = 22;
inline constexpr int kDeleteOneQuestion = 23;
inline constexpr int kFileColumn = 24;
}  // namespace save_tab_text

// Elements of SystemVars.SwitchBoardTexts; elements 0 to 7 caption the tabs in order.
namespace switchboard_text {
inline constexpr int kObjectivesFrame = 8;
inline constexpr int kPracticeFrame = 9;
inline constexpr int kTrialFrame = 10;
inline constexpr int kDiagnosticFrame = 11;
inline constexpr int kExhaustiveFrame = 12;
inline constexpr int kFinalFrame = 13;
inline constexpr int kCustomize = 14;
inline constexpr int kStart = 15;
inline constexpr int kResourcesTitle = 16;
}  // namespace switchboard_text

// Elements of SystemVars.SwitchBoardCaptions: three per resource panel.
namespace switchboard_caption {
inline constexpr int kAboutPanel = 0;
inline constexpr int kTipsPanel = 3;
inline constexpr int kGuidesPanel = 6;
inline constexpr int kOthersPanel = 9;
inline constexpr int kTitle = 0;  // added to a panel's first element
inline constexpr int kDescription = 1;
inline constexpr int kOpen = 2;
}  // namespace switchboard_caption

// Elements of TrialTexts, DiagnosticTexts, ExhaustiveTexts and FinalTexts.
namespace kind_text {
inline constexpr int kDescription = 0;
inline constexpr int kQuestions = 1;
inline constexpr int kTimeLimit = 2;
}  // namespace kind_text

// Elements of ViewAllTexts, BookmarkTexts and MyNotesTexts: one layout for the three browsers.
namespace browser_text {
inline constexpr int kTitle = 0;
inline constexpr int kQuestionPage = 1;
inline constexpr int kListPage = 2;
inline constexpr int kNotes = 3;
inline constexpr int kGoTo = 4;
inline constexpr int kPrevious = 5;
inline constexpr int kNext = 6;
inline constexpr int kShowAnswers = 7;
inline constexpr int kBookmark = 8;
inline constexpr int kFullView = 9;
inline constexpr int kExplanation = 10;
inline constexpr int kClose = 11;
inline constexpr int kQuestion = 12;
inline constexpr int kOf = 13;
inline constexpr int kEmptyList = 14;  // not in ViewAllTexts
}  // namespace browser_text

// Elements of SystemVars.AboutTexts.
namespace about_text {
inline constexpr int kDescription = 0;
inline constexpr int kVersion = 1;
inline constexpr int kContactFrame = 3;
inline constexpr int kWebSite = 4;
inline constexpr int kEmail = 5;
inline constexpr int kInvitation = 6;
inline constexpr int kOk = 7;
inline constexpr int kNoticeFrame = 8;
inline constexpr int kNotice = 9;
inline constexpr int kAbout = 12;
}  // namespace about_text

// Elements of SystemVars.ExamEndTexts; elements 6 to 8 say why the dialog opened (its reason).
namespace exam_end_text {
inline constexpr int kQuestion = 0;
inline constexpr int kFirstOption = 1;  // four options
inline constexpr int kOk = 5;
}  // namespace exam_end_text

// Elements of the smaller tables.
namespace status_text {
inline constexpr int kQuestions = 3;  // after answered, unanswered and marked
}
namespace question_list_text {
inline constexpr int kObjectiveColumn = 2;
inline constexpr int kQuestionColumn = 3;
}  // namespace question_list_text
namespace result_text {
inline constexpr int kLegend = 0;  // then the three results
}
namespace exam_tab_text {
inline constexpr int kExplanation = 1;
}
namespace pause_text {
inline constexpr int kPaused = 0;
inline constexpr int kHowToResume = 1;
}  // namespace pause_text
namespace message_text {  // QuitTexts and ViewerErrorTexts
inline constexpr int kMessage = 0;
inline constexpr int kCaption = 1;
}  // namespace message_text

// Elements of SystemVars.ExamTitles.
namespace exam_title {
inline constexpr int kPractice = 0;
inline constexpr int kTrial = 1;
inline constexpr int kDiagnostic = 2;
inline constexpr int kExhaustive = 3;
inline constexpr int kFinal = 4;
}  // namespace exam_title

// Positions in SystemVars.TimeLimits.
namespace time_limit {
inline constexpr std::size_t kTrial = 0;
inline constexpr std::size_t kDiagnostic = 1;
inline constexpr std::size_t kPractice = 2;
inline constexpr std::size_t kExhaustive = 3;
inline constexpr std::size_t kFinal = 4;
}  // namespace time_limit

// Every interface text and the product strings, in the order of sysvars.dat.
struct SystemVarsRecord {
    std::string Text0;
    std::string ProductName;
    std::string ProductCode;
    std::string ProductSubtitle;
    std::string Copyright;
    std::string Version;
    std::string WebAddress;
    std::string SupportEmail;
    std::string FeedbackEmail;
    std::string FeedbackSubject;
    std::string ObjectivesHeading;
    std::string PracticeText;
    std::string PracticeCaption;
    StringTable<0, 2> SplashTexts;
    StringTable<0, 2> TrialTexts;       // elements: kind_text
    StringTable<0, 2> DiagnosticTexts;  // elements: kind_text
    StringTable<0, 2> ExhaustiveTexts;  // elements: kind_text
    StringTable<0, 2> FinalTexts;       // elements: kind_text
    std::string TimeLimitPrefix;
    std::array<std::int16_t, 5> TimeLimits{};  // minutes per exam kind, by time_limit
    StringTable<0, 6> ResetTimerTexts;         // elements: confirm_text
    StringTable<0, 6> StopTimerTexts;          // elements: confirm_text
    StringTable<0, 5> SaveInfoTexts;           // elements: confirm_text
    StringTable<0, 16> ExamTexts;              // elements: exam_text
    StringTable<0, 99> GroupNames;
    StringTable<1, 3> LevelNames;
    StringTable<1, 10> TypeNames;
    StringTable<0, 3> StatusTexts;  // elements: status_text
    StringTable<0, 4> ExamTitles;   // elements: exam_title
    std::string TitleSuffix;
    std::string DataKeySource;          // holds DataKey once start-up has built it
    StringTable<0, 1> PauseTexts;       // elements: pause_text
    StringTable<0, 24> CustomizeTexts;  // elements: customize_text
    StringTable<0, 5> ZeroTotalTexts;   // elements: confirm_text
    StringTable<0, 2> ReviewListTexts;
    StringTable<0, 3> QuestionListTexts;  // elements: question_list_text
    StringTable<0, 3> ResultTexts;        // elements: result_text
    StringTable<0, 3> BrowserListTexts;   // the list's column headers in order
    StringTable<0, 2> ExamTabTexts;       // elements: exam_tab_text
    StringTable<0, 35> EvaluateTexts;     // elements: evaluate_text
    StringTable<0, 8> ExamEndTexts;       // elements: exam_end_text
    StringTable<0, 9> CustomTabTexts;     // elements: custom_tab_text
    StringTable<0, 24> SaveTabTexts;      // elements: save_tab_text
    StringTable<0, 13> ViewAllTexts;      // elements: browser_text
    StringTable<0, 14> BookmarkTexts;     // elements: browser_text
    StringTable<0, 14> MyNotesTexts;      // elements: browser_text
    StringTable<0, 41> PerformanceTexts;  // elements: performance_text
    StringTable<0, 2> Reserved47;
    StringTable<0, 12> Reserved48;
    StringTable<0, 1> QuitTexts;          // elements: message_text
    StringTable<0, 18> SwitchBoardTexts;  // elements: switchboard_text
    StringTable<0, 5> Reserved51;
    StringTable<0, 12> AboutTexts;           // elements: about_text
    StringTable<0, 1> ViewerErrorTexts;      // elements: message_text
    StringTable<0, 6> SwitchBoardLabels;     // the descriptions of tabs 1 to 7
    StringTable<0, 11> SwitchBoardCaptions;  // elements: switchboard_caption
};

// Calls visit(name, member) for every member in file order; the one list the reader, the
// packer and its source format share.
template <class Record, class Visitor>
void ForEachSystemVar(Record& r, Visitor&& visit) {
    visit("Text0", r.Text0);
    visit("ProductName", r.ProductName);
    visit("ProductCode", r.ProductCode);
    visit("ProductSubtitle", r.ProductSubtitle);
    visit("Copyright", r.Copyright);
    visit("Version", r.Version);
    visit("WebAddress", r.WebAddress);
    visit("SupportEmail", r.SupportEmail);
    visit("FeedbackEmail", r.FeedbackEmail);
    visit("FeedbackSubject", r.FeedbackSubject);
    visit("ObjectivesHeading", r.ObjectivesHeading);
    visit("PracticeText", r.PracticeText);
    visit("PracticeCaption", r.PracticeCaption);
    visit("SplashTexts", r.SplashTexts);
    visit("TrialTexts", r.TrialTexts);
    visit("DiagnosticTexts", r.DiagnosticTexts);
    visit("ExhaustiveTexts", r.ExhaustiveTexts);
    visit("FinalTexts", r.FinalTexts);
    visit("TimeLimitPrefix", r.TimeLimitPrefix);
    visit("TimeLimits", r.TimeLimits);
    visit("ResetTimerTexts", r.ResetTimerTexts);
    visit("StopTimerTexts", r.StopTimerTexts);
    visit("SaveInfoTexts", r.SaveInfoTexts);
    visit("ExamTexts", r.ExamTexts);
    visit("GroupNames", r.GroupNames);
    visit("LevelNames", r.LevelNames);
    visit("TypeNames", r.TypeNames);
    visit("StatusTexts", r.StatusTexts);
    visit("ExamTitles", r.ExamTitles);
    visit("TitleSuffix", r.TitleSuffix);
    visit("DataKeySource", r.DataKeySource);
    visit("PauseTexts", r.PauseTexts);
    visit("CustomizeTexts", r.CustomizeTexts);
    visit("ZeroTotalTexts", r.ZeroTotalTexts);
    visit("ReviewListTexts", r.ReviewListTexts);
    visit("QuestionListTexts", r.QuestionListTexts);
    visit("ResultTexts", r.ResultTexts);
    visit("BrowserListTexts", r.BrowserListTexts);
    visit("ExamTabTexts", r.ExamTabTexts);
    visit("EvaluateTexts", r.EvaluateTexts);
    visit("ExamEndTexts", r.ExamEndTexts);
    visit("CustomTabTexts", r.CustomTabTexts);
    visit("SaveTabTexts", r.SaveTabTexts);
    visit("ViewAllTexts", r.ViewAllTexts);
    visit("BookmarkTexts", r.BookmarkTexts);
    visit("MyNotesTexts", r.MyNotesTexts);
    visit("PerformanceTexts", r.PerformanceTexts);
    visit("Reserved47", r.Reserved47);
    visit("Reserved48", r.Reserved48);
    visit("QuitTexts", r.QuitTexts);
    visit("SwitchBoardTexts", r.SwitchBoardTexts);
    visit("Reserved51", r.Reserved51);
    visit("AboutTexts", r.AboutTexts);
    visit("ViewerErrorTexts", r.ViewerErrorTexts);
    visit("SwitchBoardLabels", r.SwitchBoardLabels);
    visit("SwitchBoardCaptions", r.SwitchBoardCaptions);
}

inline SystemVarsRecord SystemVars;
