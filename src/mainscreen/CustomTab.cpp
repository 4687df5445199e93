#include "mainscreen/CustomTab.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "core/AppWindows.h"
#include "core/QuestionBank.h"
#include "core/SystemVars.h"
#include "exam/CurrentExam.h"
#include "exam/mod_Exam.h"
#include "mainscreen/CountPanel.h"
#include "mainscreen/LevelCountBox.h"
#include "mainscreen/frm_Customize.h"
#include "platform/Look.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"

namespace {

constexpr int kViewportHeight = 300;
constexpr int kHeadingPictureSize = 64;  // as the other tabs' pictures
constexpr int kMaxPracticeLines = 49;

QLabel* plainLabel(QWidget* parent, bool wrap = false) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wrap);
    return label;
}

}  // namespace

CustomTab::CustomTab(QWidget* parent) : QWidget(parent) {
    lbl_Title = plainLabel(this);
    QFont titleFont = lbl_Title->font();
    titleFont.setBold(true);
    lbl_Title->setFont(titleFont);
    Label3 = plainLabel(this, true);
    Label4 = plainLabel(this, true);
    for (std::size_t k = 0; k < 2; ++k) {
        Label1[k] = plainLabel(this);
        Label2[k] = plainLabel(this);
    }
    // Not built yet; the total reads 0 once the lines exist.
    Label2[0]->setText(QStringLiteral("0"));
    Label2[1]->setText(QStringLiteral("1"));
    for (std::size_t k = 0; k < Command3.size(); ++k) {
        Command3[k] = new QPushButton(this);
        connect(Command3[k], &QPushButton::clicked, this,
                [this, k] { Command3_Click(static_cast<int>(k)); });
    }
    Command2 = new QPushButton(this);
    connect(Command2, &QPushButton::clicked, this, &CustomTab::Command2_Click);

    Panel = new CountPanel(1, kViewportHeight, this);
    Customize_Outer = Panel->Outer;
    Customize_Inner = Panel->Inner;
    Customize_Vscroll = Panel->Vscroll;
    txtLabel = Panel->txtLabel;

    if (const AppWindows::CustomExamMenu lent = AppWindows::Get().CustomExamContextMenu();
        lent.menu) {
        CustomExam_ContextMenu = lent.menu;
        CustomExam_mnuMaximumValue = lent.maximumValue;
    } else {
        CustomExam_ContextMenu = new QMenu(this);
        CustomExam_mnuMaximumValue = CustomExam_ContextMenu->addAction(QString());
    }
    connect(CustomExam_mnuMaximumValue, &QAction::triggered, this,
            &CustomTab::CustomExam_mnuMaximumValue_Click);

    platform::FillBackground(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbl_Title);
    layout->addWidget(Label3);
    auto* counts = new QHBoxLayout;
    counts->addWidget(Label1[0]);
    counts->addWidget(Label2[0]);
    counts->addSpacing(24);
    counts->addWidget(Label1[1]);
    counts->addWidget(Label2[1]);
    counts->addStretch();
    layout->addLayout(counts);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : Command3)
        buttons->addWidget(button);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addWidget(Panel);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label4, 1);
    bottom->addWidget(Command2);
    layout->addLayout(bottom);
    layout->addStretch();
}

void CustomTab::PlaceHeading(QLabel* picture, QLabel* line) {
    auto* page = static_cast<QVBoxLayout*>(layout());
    page->removeWidget(lbl_Title);
    picture->setParent(this);
    picture->setFixedSize(kHeadingPictureSize, kHeadingPictureSize);
    line->setParent(this);
    line->setWordWrap(true);
    auto* words = new QVBoxLayout;
    words->addStretch(1);
    words->addWidget(lbl_Title);
    words->addWidget(line);
    words->addStretch(1);
    auto* heading = new QHBoxLayout;
    heading->addWidget(picture);
    heading->addLayout(words, 1);
    page->insertLayout(0, heading);
    picture->show();
    line->show();
}

void CustomTab::Refresh() {
    InitCustomizeTab();
    // The selection may have changed meaning since the tab was last shown.
    UpdateSelectedTotal();
}

void CustomTab::Leave() {
    mod_Customize::RestoreQuestionBank();
}

void CustomTab::InitCustomizeTab() {
    if (built_) return;
    built_ = true;
    lbl_Title->setText(platform::toQt(SystemVars.CustomTabTexts(custom_tab_text::kTitle)));
    Label2[0]->setText(QString::number(QuestionBank.size()));
    Label3->setText(platform::toQt(SystemVars.CustomTabTexts(custom_tab_text::kDescription)));
    Label1[0]->setText(platform::toQt(SystemVars.CustomTabTexts(custom_tab_text::kInBank)));
    Label1[1]->setText(platform::toQt(SystemVars.CustomTabTexts(custom_tab_text::kSelected)));
    for (std::size_t k = 0; k < Command3.size(); ++k)
        Command3[k]->setText(platform::toQt(
            SystemVars.CustomTabTexts(custom_tab_text::kFirstButton + static_cast<int>(k))));
    Label4->setText(platform::toQt(SystemVars.CustomTabTexts(custom_tab_text::kTip)));
    Command2->setText(platform::toQt(SystemVars.CustomTabTexts(custom_tab_text::kContinue)));
    txtLabel[0]->setText(platform::toQt(SystemVars.CustomTabTexts(custom_tab_text::kExamHeading)));
    for (int level = 1; level <= 3; ++level)
        txtLabel[static_cast<std::size_t>(level)]->setText(
            platform::toQt(SystemVars.LevelNames(level)));
    BuildCategoryList();
}

void CustomTab::BuildCategoryList() {
    const auto countsOf = [](const std::string& groups) {
        std::array<int, 3> counts{};
        for (int level = 1; level <= 3; ++level)
            counts[static_cast<std::size_t>(level - 1)] =
                mod_Exam::CountGroupQuestions(groups, static_cast<std::int16_t>(level));
        return counts;
    };
    // The main screen shows one practice button per practice group, at least one.
    const int practiceLines =
        std::clamp(static_cast<int>(PracticeGroups.size()), 1, kMaxPracticeLines);
    struct Kind {
        int code;
        std::string groups;
    };
    std::vector<Kind> kinds{{kTrialGroup, kTrialGroupsText}};
    for (int k = 0; k < practiceLines; ++k) {
        const int code = kFirstPracticeGroup + k;
        kinds.push_back({code, std::to_string(code)});
    }
    for (const int code : {kDiagnosticGroup, kExhaustiveGroup, kFinalGroup})
        kinds.push_back({code, std::to_string(code)});
    for (std::size_t i = 0; i < kinds.size(); ++i)
        AddCategoryLine(static_cast<int>(i), kinds[i].code, kinds[i].groups,
                        countsOf(kinds[i].groups));
    Panel->Finish();
}

void CustomTab::AddCategoryLine(int index, int code, const std::string& groups,
                                const std::array<int, 3>& counts) {
    const CountRow row = Panel->AddRow(index);
    chkExam.push_back(row.check);
    chkExamTag.push_back(groups);
    lblExam.push_back(row.caption);
    Line1.push_back(row.rule);
    connect(row.check, &QCheckBox::clicked, this, [this, index] { chkExam_Click(index); });
    connect(row.caption, &RowLabel::clicked, this, [this, index] { lblExam_Click(index); });

    // The suffix stays on the shared name, so later readers show it too; never twice.
    const QString suffix = platform::toQt(SystemVars.CustomizeTexts(customize_text::kExamSuffix));
    QString caption = platform::toQt(SystemVars.GroupNames(code));
    if (!caption.contains(suffix, Qt::CaseInsensitive)) {
        caption += u' ' + suffix;
        if (decltype(SystemVars.GroupNames)::contains(code))
            SystemVars.GroupNames.at(code) = platform::fromQt(caption);
    }
    row.caption->setText(caption);

    for (int level = 1; level <= 3; ++level) {
        LevelCountBox* box = row.boxes[static_cast<std::size_t>(level - 1)];
        LevelBoxes(level).push_back(box);
        box->SetPopupMenu(CustomExam_ContextMenu, CustomExam_mnuMaximumValue);
        connect(box, &LevelCountBox::Change, this, &CustomTab::UpdateSelectedTotal);
    }
    // Each text recounts the total, so the whole line must exist first.
    for (std::size_t level = 0; level < row.boxes.size(); ++level) {
        row.boxes[level]->SetText(std::to_string(counts[level]));
        row.boxes[level]->SetMaximum(counts[level]);
    }
}

std::vector<LevelCountBox*>& CustomTab::LevelBoxes(int level) {
    return level == 1 ? ctrBeginner : level == 2 ? ctrIntermediate : ctrExpert;
}

void CustomTab::OnCategoryCheck(int index) {
    const auto i = static_cast<std::size_t>(index);
    const bool checked = chkExam[i]->isChecked();
    for (int level = 1; level <= 3; ++level)
        LevelBoxes(level)[i]->setEnabled(checked);
}

void CustomTab::SelectAllCategories() {
    for (std::size_t i = 0; i < chkExam.size(); ++i) {
        if (chkExam[i]->isChecked()) continue;
        chkExam[i]->setChecked(true);
        chkExam_Click(static_cast<int>(i));
    }
}

void CustomTab::ClearAllCategories() {
    for (std::size_t i = 0; i < chkExam.size(); ++i) {
        if (!chkExam[i]->isChecked()) continue;
        chkExam[i]->setChecked(false);
        chkExam_Click(static_cast<int>(i));
    }
}

void CustomTab::FillMaximumCounts() {
    for (int level = 1; level <= 3; ++level)
        for (LevelCountBox* box : LevelBoxes(level))
            box->SetText(std::to_string(box->Maximum()));
}

std::vector<mod_Customize::CategoryLine> CustomTab::Lines() const {
    std::vector<mod_Customize::CategoryLine> lines(chkExam.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i].Checked = chkExam[i]->isChecked();
        lines[i].Groups = chkExamTag[i];
        const std::array<const LevelCountBox*, 3> boxes{ctrBeginner[i], ctrIntermediate[i],
                                                        ctrExpert[i]};
        for (std::size_t level = 0; level < boxes.size(); ++level)
            lines[i].Wanted[level] = boxes[level]->Number().value_or(0);
    }
    return lines;
}

void CustomTab::UpdateSelectedTotal() {
    const auto lines = Lines();
    Tag = mod_Customize::JoinLineGroups(lines, true);
    Label2[1]->setText(QString::number(mod_Customize::SelectedTotal(lines)));
}

void CustomTab::GetSelectedCategories() {
    Tag = mod_Customize::JoinLineGroups(Lines(), false);
}

void CustomTab::chkExam_Click(int index) {
    OnCategoryCheck(index);
    UpdateSelectedTotal();
}

void CustomTab::lblExam_Click(int index) {
    QCheckBox* check = chkExam[static_cast<std::size_t>(index)];
    check->setChecked(!check->isChecked());
    chkExam_Click(index);
}

void CustomTab::Command3_Click(int index) {
    if (index == 0) SelectAllCategories();
    if (index == 1) ClearAllCategories();
    if (index == 2) FillMaximumCounts();
    UpdateSelectedTotal();
}

void CustomTab::Command2_Click() {
    CurrentExam = BlankExam;
    // A round whose exam never opened may have left its subset and its record behind.
    mod_Customize::RestoreQuestionBank();
    // Count the checked lines afresh rather than trust what an earlier round left behind.
    UpdateSelectedTotal();
    if (mod_Customize::SelectedTotal(Lines()) > 0)
        mod_Customize::BuildCustomQuestionBank(Lines());
    else
        GetSelectedCategories();
    QWidget* owner = mod_Forms::Find("mdi_Main");
    ShowCustomizeDialog(owner ? owner : window(), Tag, CustomizeOrigin::kCustomTab);
}

void CustomTab::CustomExam_mnuMaximumValue_Click() {
    const auto target =
        LevelCountBox::MenuTargetOf(CustomExam_ContextMenu, CustomExam_mnuMaximumValue);
    if (!target) return;
    std::vector<LevelCountBox*>& boxes = LevelBoxes(target->level);
    if (target->index < 0 || static_cast<std::size_t>(target->index) >= boxes.size()) return;
    LevelCountBox* box = boxes[static_cast<std::size_t>(target->index)];
    box->SetText(std::to_string(box->Maximum()));
}
