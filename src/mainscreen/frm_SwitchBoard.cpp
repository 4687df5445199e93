#include "mainscreen/frm_SwitchBoard.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>

#include "browsers/QuestionBrowserPage.h"
#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/AppWindows.h"
#include "core/ImageStore.h"
#include "core/ListView.h"
#include "core/QuestionBank.h"
#include "core/ReadOnlyTextBox.h"
#include "core/SystemVars.h"
#include "core/mod_Helper.h"
#include "core/mod_ListViewSort.h"
#include "core/mod_Question.h"
#include "evaluation/mod_Performance.h"
#include "evaluation/mod_PerformanceTab.h"
#include "exam/CurrentExam.h"
#include "exam/ExamWindow.h"
#include "exam/mod_Exam.h"
#include "mainscreen/CustomTab.h"
#include "mainscreen/OpenSaveDialog.h"
#include "mainscreen/frm_Customize.h"
#include "mainscreen/mod_Customize.h"
#include "mainscreen/mod_Save.h"
#include "platform/Look.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"
#include "platform/mod_Picture.h"

namespace {

// 110 twips at 96 dots per inch: the gap between practice buttons.
constexpr int kPracticeGap = 7;

void setCaption(QLabel* label, const std::string& windows1252) {
    label->setText(platform::toQt(windows1252));
}

std::int16_t wholeNumber(std::string_view text) {
    std::int16_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void connectColumnSort(ListView& list) {
    QObject::connect(&list, &ListView::columnClicked, &list,
                     [&list](int column) { mod_ListViewSort::SortListViewColumn(list, column); });
}

}  // namespace

frm_SwitchBoard::frm_SwitchBoard(QWidget* parent) : QWidget(parent) {
    mod_Forms::Register(this, "frm_SwitchBoard");
    platform::FillBackground(this);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(SSTab1);

    buildExamKindsTab();
    // Most sessions open few of the other tabs, and a hidden page is measured with the shown
    // one: each gets an empty page until it is built.
    for (int tab = kCustomTab; tab <= kResourcesTab; ++tab) {
        auto* holder = new QWidget(SSTab1);
        platform::FillBackground(holder);
        (new QVBoxLayout(holder))->setContentsMargins(0, 0, 0, 0);
        SSTab1->addTab(holder, QString());
    }
    tabBuilt_[kExamsTab] = true;

    const auto click = [this](QPushButton* button, void (frm_SwitchBoard::*handler)()) {
        connect(button, &QPushButton::clicked, this, handler);
    };
    click(Practice_Start, &frm_SwitchBoard::Practice_Start_Click);
    click(Trial_Start, &frm_SwitchBoard::Trial_Start_Click);
    click(Diagnostic_Start, &frm_SwitchBoard::Diagnostic_Start_Click);
    click(Exhaustive_Start, &frm_SwitchBoard::Exhaustive_Start_Click);
    click(Final_Start, &frm_SwitchBoard::Final_Start_Click);
    click(Practice_Customize, &frm_SwitchBoard::Practice_Customize_Click);
    click(Trial_Customize, &frm_SwitchBoard::Trial_Customize_Click);
    click(Diagnostic_Customize, &frm_SwitchBoard::Diagnostic_Customize_Click);
    click(Exhaustive_Customize, &frm_SwitchBoard::Exhaustive_Customize_Click);
    click(Final_Customize, &frm_SwitchBoard::Final_Customize_Click);

    Form_Load();
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int shown) {
        const int previous = shownTab_;
        if (IsQuestionTab(previous) && !QuestionPageOf(previous)->Browser().SaveNote()) {
            // Its note could not be saved: the tab left stays, with what the user typed.
            const QSignalBlocker hold(SSTab1);
            SSTab1->setCurrentIndex(previous);
            return;
        }
        BuildTab(shown);
        shownTab_ = shown;
        SSTab1_Click(previous);
    });
}

void frm_SwitchBoard::BuildTab(int tab) {
    if (tab < kCustomTab || tab > kResourcesTab || tabBuilt_[static_cast<std::size_t>(tab)]) return;
    tabBuilt_[static_cast<std::size_t>(tab)] = true;
    switch (tab) {
        case kCustomTab:
            buildCustomTab();
            break;
        case kSavedExamsTab:
            buildSaveTab();
            connectSaveTab();
            break;
        case kViewAllTab:
            buildViewAllTab();
            connectQuestionPage(ViewAllPage);
            break;
        case kBookmarksTab:
            buildBookmarksTab();
            connectQuestionPage(BookmarkPage);
            break;
        case kPerformanceTab:
            buildPerformanceTab();
            connectPerformanceTab();
            break;
        case kMyNotesTab:
            buildMyNotesTab();
            connectQuestionPage(MyNotesPage);
            break;
        default:
            buildResourcesTab();
            LoadResourceCaptions();
            break;
    }
    LoadTabHeading(tab);
    // A page built while its tab shows appears at once, not after the next event.
    SSTab1->widget(tab)->layout()->itemAt(0)->widget()->show();
}

void frm_SwitchBoard::connectSaveTab() {
    for (int k = 0; k < 3; ++k)
        connect(Command4[static_cast<std::size_t>(k)], &QPushButton::clicked, this,
                [this, k] { Command4_Click(k); });
    for (int k = 1; k < 3; ++k)
        connect(Command5[static_cast<std::size_t>(k)], &QPushButton::clicked, this,
                [this, k] { Command5_Click(k); });
    connect(ListView3, &ListView::rowClicked, this, &frm_SwitchBoard::ListView3_Click);
    connect(ListView3, &ListView::rowCheckChanged, this, &frm_SwitchBoard::ListView3_ItemCheck);
    connectColumnSort(*ListView3);
}

void frm_SwitchBoard::connectPerformanceTab() {
    for (ListView* list : {ListView7, ListView8, ListView9})
        connectColumnSort(*list);
    connect(Command15, &QPushButton::clicked, this, [this] {
        if (!mod_PerformanceTab::AskAndResetHistory(*this)) return;
        SSTab1->setCurrentIndex(kExamsTab);
        mod_PerformanceTab::AnnounceReset();
    });
    connect(ListView7, &ListView::rowDoubleClicked, this,
            [this] { mod_PerformanceTab::OpenSelectedRecord(*this); });
    connect(ListView8, &ListView::rowDoubleClicked, this,
            [this] { mod_PerformanceTab::ShowSelectedObjective(*this); });
    connect(ListView9, &ListView::rowDoubleClicked, this,
            [this] { mod_PerformanceTab::ShowSelectedQuestion(*this); });
    for (const auto& [list, tip] : {std::pair{ListView7, performance_text::kExamRowTip},
                                    {ListView8, performance_text::kObjectiveRowTip},
                                    {ListView9, performance_text::kQuestionRowTip}}) {
        list->setMouseTracking(true);
        connect(list, &ListView::rowEntered, this, [this, list = list, tip = tip](int row) {
            mod_PerformanceTab::ShowRowTip(*this, *list, row, SystemVars.PerformanceTexts(tip));
        });
        connect(list, &QAbstractItemView::viewportEntered, this,
                [this] { mod_PerformanceTab::HideRowTip(*this); });
    }
}

frm_SwitchBoard::~frm_SwitchBoard() {
    Form_Unload();
}

void frm_SwitchBoard::connectQuestionPage(QuestionBrowserPage* page) {
    connectColumnSort(*page->List);
    connect(page, &QuestionBrowserPage::fullViewRequested, this,
            [this, page] { OpenFullView(*page); });
    if (page == BookmarkPage)
        connect(page, &QuestionBrowserPage::listEmptied, this,
                [this] { RefuseTab(SystemVars.BookmarkTexts(browser_text::kEmptyList)); });
    if (page == MyNotesPage)
        connect(page, &QuestionBrowserPage::listEmptied, this,
                [this] { RefuseTab(SystemVars.MyNotesTexts(browser_text::kEmptyList)); });
}

void frm_SwitchBoard::OpenFullView(QuestionBrowserPage& page) {
    auto request = page.Browser().OpenFullView();
    if (!request) return;
    const QPointer<frm_SwitchBoard> self(this);
    const FullViewResult result = AppWindows::Get().ShowFullView(std::move(*request));
    if (!self || page.Browser().ReturnFromFullView(result)) return;
    BuildTab(kViewAllTab);
    ViewAllPage->Browser().SetShowAnswers(result.ShowAnswers);
    SSTab1->setCurrentIndex(kViewAllTab);
}

bool frm_SwitchBoard::IsQuestionTab(int tab) {
    return tab == kViewAllTab || tab == kBookmarksTab || tab == kMyNotesTab;
}

QuestionBrowserPage* frm_SwitchBoard::QuestionPageOf(int tab) const {
    switch (tab) {
        case kViewAllTab:
            return ViewAllPage;
        case kBookmarksTab:
            return BookmarkPage;
        case kMyNotesTab:
            return MyNotesPage;
        default:
            return nullptr;
    }
}

// The open note of the shown question tab is kept.
void frm_SwitchBoard::Form_Unload() {
    if (QuestionBrowserPage* page = QuestionPageOf(shownTab_))
        (void)page->Browser().SaveNote(mod_MyNotes::Leaving::kClosing);
}

frm_SwitchBoard* frm_SwitchBoard::Find() {
    return qobject_cast<frm_SwitchBoard*>(mod_Forms::Find("frm_SwitchBoard"));
}

void frm_SwitchBoard::Form_Load() {
    SSTab1->setCurrentIndex(kExamsTab);
    shownTab_ = 0;
    const auto& texts = SystemVars.SwitchBoardTexts;
    for (int i = 0; i <= 7; ++i)
        SSTab1->setTabText(i, platform::toQt(texts(i)));

    Frame5->setTitle(platform::toQt(texts(switchboard_text::kObjectivesFrame)));
    Frame3->setTitle(platform::toQt(texts(switchboard_text::kPracticeFrame)));
    Frame1->setTitle(platform::toQt(texts(switchboard_text::kTrialFrame)));
    Frame2->setTitle(platform::toQt(texts(switchboard_text::kDiagnosticFrame)));
    Frame6->setTitle(platform::toQt(texts(switchboard_text::kExhaustiveFrame)));
    Frame4->setTitle(platform::toQt(texts(switchboard_text::kFinalFrame)));

    for (QPushButton* button : {Practice_Customize, Trial_Customize, Diagnostic_Customize,
                                Exhaustive_Customize, Final_Customize})
        button->setText(platform::toQt(texts(switchboard_text::kCustomize)));
    for (QPushButton* button :
         {Practice_Start, Trial_Start, Diagnostic_Start, Exhaustive_Start, Final_Start})
        button->setText(platform::toQt(texts(switchboard_text::kStart)));

    std::string objectives = SystemVars.ObjectivesHeading + "\n\n";
    for (std::size_t i = 0; i < ObjectiveNames.size(); ++i)
        objectives += std::to_string(i + 1) + ". " + ObjectiveNames[i] + "\n";
    txt_Objectives->setText(objectives);

    setCaption(txt_Practice, SystemVars.PracticeText);
    LoadPracticeButtons();
    opt_Practice[0]->setChecked(true);

    using mod_Question::CountQuestionsInGroup;
    ShowKindSummary(txt_Trial, SystemVars.TrialTexts,
                    CountQuestionsInGroup(kTrialGroup) + CountQuestionsInGroup(kTrialSecondGroup),
                    SystemVars.TimeLimits[time_limit::kTrial]);
    ShowKindSummary(txt_Diagnostic, SystemVars.DiagnosticTexts,
                    CountQuestionsInGroup(kDiagnosticGroup),
                    SystemVars.TimeLimits[time_limit::kDiagnostic]);
    ShowKindSummary(txt_Exhaustive, SystemVars.ExhaustiveTexts,
                    CountQuestionsInGroup(kExhaustiveGroup),
                    SystemVars.TimeLimits[time_limit::kExhaustive]);
    ShowKindSummary(txt_Final, SystemVars.FinalTexts, CountQuestionsInGroup(kFinalGroup),
                    SystemVars.TimeLimits[time_limit::kFinal]);
}

void frm_SwitchBoard::LoadResourceCaptions() {
    setCaption(lbl_Title[5], SystemVars.SwitchBoardTexts(switchboard_text::kResourcesTitle));

    const auto& resources = SystemVars.SwitchBoardCaptions;
    Frame8->setTitle(
        platform::toQt(resources(switchboard_caption::kAboutPanel + switchboard_caption::kTitle)));
    setCaption(Label22,
               resources(switchboard_caption::kAboutPanel + switchboard_caption::kDescription));
    Command16->setText(
        platform::toQt(resources(switchboard_caption::kAboutPanel + switchboard_caption::kOpen)));
    Frame10->setTitle(
        platform::toQt(resources(switchboard_caption::kTipsPanel + switchboard_caption::kTitle)));
    setCaption(Label24,
               resources(switchboard_caption::kTipsPanel + switchboard_caption::kDescription));
    Command18->setText(
        platform::toQt(resources(switchboard_caption::kTipsPanel + switchboard_caption::kOpen)));
    Frame9->setTitle(
        platform::toQt(resources(switchboard_caption::kGuidesPanel + switchboard_caption::kTitle)));
    setCaption(Label23,
               resources(switchboard_caption::kGuidesPanel + switchboard_caption::kDescription));
    Command17->setText(
        platform::toQt(resources(switchboard_caption::kGuidesPanel + switchboard_caption::kOpen)));
    Frame11->setTitle(
        platform::toQt(resources(switchboard_caption::kOthersPanel + switchboard_caption::kTitle)));
    setCaption(Label25,
               resources(switchboard_caption::kOthersPanel + switchboard_caption::kDescription));
    Command19->setText(
        platform::toQt(resources(switchboard_caption::kOthersPanel + switchboard_caption::kOpen)));
}

void frm_SwitchBoard::LoadTabHeading(int tab) {
    static constexpr std::array<int, 7> kSlots = {
        kConfigureImageSlot,   kSaveImageSlot,    kViewQuestionsImageSlot, kBookmarksImageSlot,
        kPerformanceImageSlot, kMyNotesImageSlot, kRevisionNotesImageSlot};
    const std::array<QLabel*, 7> lines = {Label15, Label16, Label17, Label18,
                                          Label19, Label20, Label21};
    const auto k = static_cast<std::size_t>(tab - 1);
    PicLogo[k]->setPixmap(mod_Picture::PictureFromBytes(ImageStore[kSlots[k]].Bytes));
    setCaption(lines[k], SystemVars.SwitchBoardLabels(tab - 1));
}

void frm_SwitchBoard::LoadPracticeButtons() {
    const std::string& caption = SystemVars.PracticeCaption;
    opt_Practice[0]->setText(platform::toQt(caption + " 1"));
    opt_Practice[0]->Tag = std::to_string(kFirstPracticeGroup);
    for (std::size_t i = 1; i < PracticeGroups.size(); ++i) {
        auto* button = new PracticeOption(PracticeButtons);
        button->setObjectName(QStringLiteral("opt_Practice%1").arg(i));
        button->setText(platform::toQt(caption + " " + std::to_string(i + 1)));
        // Numbered by position: only the count comes from the bank's practice groups.
        button->Tag = std::to_string(wholeNumber(opt_Practice[i - 1]->Tag) + 1);
        opt_Practice.push_back(button);
    }
    // Every button is a copy of element 0, so all share the widest caption's size.
    QSize size;
    for (const PracticeOption* button : opt_Practice)
        size = size.expandedTo(button->sizeHint());
    for (std::size_t i = 0; i < opt_Practice.size(); ++i) {
        opt_Practice[i]->resize(size);
        if (i > 0) PlacePracticeButton(i);
        opt_Practice[i]->show();
    }
    const QPoint corner = PracticeButtons->childrenRect().bottomRight();
    PracticeButtons->resize(corner.x() + 1, corner.y() + 1);
}

// Columns of five: the first four follow element 0 downwards, each later button sits beside
// the one five places before it.
void frm_SwitchBoard::PlacePracticeButton(std::size_t i) {
    if (i < 5) {
        const QRect above = opt_Practice[i - 1]->geometry();
        opt_Practice[i]->move(opt_Practice[0]->x(), above.y() + above.height() + kPracticeGap);
    } else {
        const QRect left = opt_Practice[i - 5]->geometry();
        opt_Practice[i]->move(left.x() + left.width() + kPracticeGap, left.y());
    }
}

void frm_SwitchBoard::ShowKindSummary(std::array<QLabel*, 3>& labels, const KindTexts& texts,
                                      int count, std::int16_t minutes) {
    setCaption(labels[0], texts(kind_text::kDescription));
    setCaption(labels[1], texts(kind_text::kQuestions) + " " + std::to_string(count));
    setCaption(labels[2], texts(kind_text::kTimeLimit) + std::to_string(minutes) + " " +
                              SystemVars.TimeLimitPrefix);
}

void frm_SwitchBoard::SSTab1_Click(int PreviousTab) {
    for (QPushButton* step : {Command6, Command7, Command10, Command9, Command13, Command12})
        if (step) step->setEnabled(false);
    if (SSTab1->currentIndex() == kCustomTab) CustomPage->Refresh();
    // Leaving the custom tab always puts the full question bank back.
    if (PreviousTab == kCustomTab) CustomPage->Leave();
    switch (SSTab1->currentIndex()) {
        case kSavedExamsTab:
            mod_Save::InitSaveTab();
            break;
        case kViewAllTab:
            ViewAllPage->Browser().RefreshTab();
            break;
        case kBookmarksTab:
            if (!BookmarkPage->Browser().RefreshTab())
                RefuseTab(SystemVars.BookmarkTexts(browser_text::kEmptyList));
            break;
        case kPerformanceTab:
            mod_PerformanceTab::InitPerformanceTab(*this);
            if (mod_Performance::HasPerformanceHistory()) {
                if (static_cast<std::size_t>(ListView7->rowCount()) < PerformanceHistory.size()) {
                    SSTab2->setCurrentIndex(kExamHistoryTab);
                    // The summary reads the averages the first two fills leave.
                    mod_PerformanceTab::FillExamHistoryList(*this);
                    mod_PerformanceTab::FillObjectiveList(*this);
                    mod_PerformanceTab::ShowPerformanceSummary(*this);
                    mod_PerformanceTab::FillQuestionStatsList(*this);
                }
            } else if (AbortFlag) {
                // The broken history index has been reported: the program ends.
                if (QWidget* main = mod_Forms::Find("mdi_Main")) main->close();
            } else {
                RefuseTab(SystemVars.PerformanceTexts(performance_text::kNoHistory));
            }
            break;
        case kMyNotesTab:
            if (!MyNotesPage->Browser().RefreshTab())
                RefuseTab(SystemVars.MyNotesTexts(browser_text::kEmptyList));
            break;
        default:
            break;
    }
}

// A refused tab always lands on the exam kinds, whichever tab was left.
void frm_SwitchBoard::RefuseTab(const std::string& message) {
    SSTab1->setCurrentIndex(kExamsTab);
    platform::MsgBox(message, platform::kInformation);
}

PracticeOption* frm_SwitchBoard::SelectedPractice() const {
    const auto chosen = std::find_if(opt_Practice.begin(), opt_Practice.end(),
                                     [](const PracticeOption* b) { return b->isChecked(); });
    return chosen != opt_Practice.end() ? *chosen : opt_Practice[0];
}

void frm_SwitchBoard::StartExam(const std::string& title, std::int16_t minutes,
                                std::vector<std::int16_t> groups) {
    if (exam::ExamWindow()) return;
    CurrentExam = BlankExam;
    Tag.clear();
    CurrentExam.IsCustom = false;
    CurrentExam.Title = title;
    CurrentExam.Minutes = std::to_string(minutes);
    CurrentExam.RemainingText = "00:00:00";
    CurrentExam.StartIndex = 0;
    CurrentExam.TimerOn = true;
    CurrentExam.Groups = std::move(groups);
    CurrentExam.Randomize = true;
    CurrentExam.ShowScore = false;
    CurrentExam.AnswerMode = 2;  // no explanation during the exam
    mod_Exam::BuildExamQuestions();
    exam::LoadExamWindow(exam::ExamOpening::kNew);
}

void frm_SwitchBoard::Practice_Start_Click() {
    const PracticeOption* chosen = SelectedPractice();
    StartExam(platform::fromQt(chosen->text()), SystemVars.TimeLimits[time_limit::kPractice],
              {wholeNumber(chosen->Tag)});
}

void frm_SwitchBoard::Trial_Start_Click() {
    StartExam(SystemVars.ExamTitles(exam_title::kTrial), SystemVars.TimeLimits[time_limit::kTrial],
              {kTrialGroup, kTrialSecondGroup});
}

void frm_SwitchBoard::Diagnostic_Start_Click() {
    StartExam(SystemVars.ExamTitles(exam_title::kDiagnostic),
              SystemVars.TimeLimits[time_limit::kDiagnostic], {kDiagnosticGroup});
}

void frm_SwitchBoard::Exhaustive_Start_Click() {
    StartExam(SystemVars.ExamTitles(exam_title::kExhaustive),
              SystemVars.TimeLimits[time_limit::kExhaustive], {kExhaustiveGroup});
}

void frm_SwitchBoard::Final_Start_Click() {
    StartExam(SystemVars.ExamTitles(exam_title::kFinal), SystemVars.TimeLimits[time_limit::kFinal],
              {kFinalGroup});
}

void frm_SwitchBoard::Customize(std::string_view groupCodes) {
    if (exam::ExamWindow()) return;
    CurrentExam = BlankExam;
    Tag = groupCodes;
    QWidget* main = mod_Forms::Find("mdi_Main");
    // The dialog starts the exam itself; a damaged Data/Custom.dat closes the program.
    ShowCustomizeDialog(main ? main : window(), Tag);
}

void frm_SwitchBoard::Practice_Customize_Click() {
    Customize(SelectedPractice()->Tag);
}
void frm_SwitchBoard::Trial_Customize_Click() {
    Customize(kTrialGroupsText);
}
void frm_SwitchBoard::Diagnostic_Customize_Click() {
    Customize(std::to_string(kDiagnosticGroup));
}
void frm_SwitchBoard::Exhaustive_Customize_Click() {
    Customize(std::to_string(kExhaustiveGroup));
}
void frm_SwitchBoard::Final_Customize_Click() {
    Customize(std::to_string(kFinalGroup));
}

// The objectives box never keeps the focus.
void frm_SwitchBoard::txt_Objectives_Click() {
    SSTab1->setFocus();
}
void frm_SwitchBoard::txt_Objectives_MouseDown() {
    SSTab1->setFocus();
}

bool frm_SwitchBoard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txt_Objectives->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) txt_Objectives_MouseDown();
        if (event->type() == QEvent::MouseButtonRelease) txt_Objectives_Click();
    }
    return QWidget::eventFilter(watched, event);
}

void frm_SwitchBoard::Toolbar1_ButtonClick() {
    const QPointer<frm_SwitchBoard> self(this);
    const auto chosen = mainscreen::ChooseSaveToOpen(this, AppPaths::SaveFolder());
    if (self && chosen) mod_Save::ShowSaveDetails(0, *chosen);
}

void frm_SwitchBoard::ListView3_Click() {
    const int row = ListView3->selectedRow();
    if (row < 0) return;
    const QPointer<frm_SwitchBoard> self(this);
    mod_Save::ShowSaveDetails(wholeNumber(ListView3->text(row, 0)));
    if (!self) return;
    if (Command5[1]->isEnabled())
        Command5[1]->setFocus();
    else
        SSTab1->setFocus();
}

void frm_SwitchBoard::ListView3_ItemCheck() {
    const int rows = ListView3->rowCount();
    int checked = 0;
    for (int row = 0; row < rows; ++row)
        if (ListView3->isChecked(row)) ++checked;
    Command4[0]->setEnabled(checked < rows);
    Command4[1]->setEnabled(checked > 0);
    Command4[2]->setEnabled(checked > 0);
}

void frm_SwitchBoard::Command4_Click(int Index) {
    if (Index == 2) {
        mod_Save::DeleteSaveFiles();
        return;
    }
    const bool checkAll = Index == 0;
    Command4[0]->setEnabled(!checkAll);
    Command4[1]->setEnabled(checkAll);
    Command4[2]->setEnabled(checkAll);
    int changed = 0;
    {
        // The buttons follow the rows once, after all of them changed.
        const QSignalBlocker quiet(ListView3);
        for (int row = 0; row < ListView3->rowCount(); ++row) {
            if (ListView3->isChecked(row) == checkAll) continue;
            ListView3->setChecked(row, checkAll);
            ++changed;
        }
    }
    if (changed > 0) ListView3_ItemCheck();
}

void frm_SwitchBoard::Command5_Click(int Index) {
    if (Index == 2) {
        mod_Save::DeleteShownSave();
        return;
    }
    if (exam::ExamWindow()) return;
    const std::filesystem::path save = mod_Save::ShownSavePath();
    // CurrentExam holds this save since its details were shown.
    if (!save.empty()) exam::LoadExamWindow(exam::ExamOpening::kResumed, save);
}

void frm_SwitchBoard::ExamWindowClosing() {
    if (SSTab1->currentIndex() == kCustomTab) mod_Customize::RestoreQuestionBank();
}

void frm_SwitchBoard::ExamWindowClosed(const std::filesystem::path& savePath) {
    if (SSTab1->currentIndex() == kSavedExamsTab && !savePath.empty())
        mod_Save::ShowSaveDetails(0, savePath);
}

bool frm_SwitchBoard::PerformanceTabShown() const {
    return SSTab1->currentIndex() == kPerformanceTab;
}
