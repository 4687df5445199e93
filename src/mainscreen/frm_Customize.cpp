#include "mainscreen/frm_Customize.h"

#include <utility>

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <functional>

#include "core/AbortFlag.h"
#include "core/ImageStore.h"
#include "core/ReadOnlyTextBox.h"
#include "core/SystemVars.h"
#include "core/frm_Confirm.h"
#include "core/mod_User.h"
#include "exam/CurrentExam.h"
#include "exam/ExamWindow.h"
#include "exam/mod_Exam.h"
#include "formats/TextRules.h"
#include "mainscreen/CountPanel.h"
#include "mainscreen/CustomExamFile.h"
#include "mainscreen/LevelCountBox.h"
#include "mainscreen/mod_Customize.h"
#include "platform/Look.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"
#include "platform/mod_Picture.h"

namespace {

constexpr int kViewportHeight = 240;
// What the boxes can show: four digits for counts and thresholds, three for minutes.
constexpr int kCountDigits = 4;
constexpr int kMinutesDigits = 3;
constexpr int kMaxCount = 9999;
constexpr int kMaxMinutes = 999;
constexpr std::int16_t kNoExplanation = 2;

std::vector<std::string> splitAt(std::string_view text, char separator) {
    const auto pieces = formats::Split(text, std::string_view(&separator, 1));
    return {pieces.begin(), pieces.end()};
}

// The leading whole number of a code; 0 when there is none or it does not fit 16 bits, so
// a stray code only finds no questions and no name.
std::int16_t codeOf(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0;
    text.remove_prefix(first);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int16_t code = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
    return error == std::errc() ? code : 0;
}

bool containsNoCase(const std::string& text, const std::string& part) {
    return platform::toQt(text).contains(platform::toQt(part), Qt::CaseInsensitive);
}

// A count from the settings file, as a box can hold it.
std::string bounded(int value, int maximum) {
    return std::to_string(std::clamp(value, 0, maximum));
}

// Setting a check box from code clicks it, as the windows expect: once, and only when the
// value changes.
void setFromCode(QCheckBox* box, bool checked, const std::function<void()>& click) {
    if (box->isChecked() == checked) return;
    box->setChecked(checked);
    click();
}

QLabel* plainLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

bool ShowCustomizeDialog(QWidget* owner, const std::string& groupCodes, CustomizeOrigin origin) {
    const QPointer<frm_Customize> dialog = new frm_Customize(owner, groupCodes, origin);
    dialog->Form_Load();
    if (AbortFlag) {
        mod_Forms::Unload(dialog);
        if (QWidget* main = mod_Forms::Find("mdi_Main")) main->close();
        return false;
    }
    dialog->exec();
    if (!dialog) return false;
    const bool started = dialog->Started();
    mod_Forms::Unload(dialog);
    return started;
}

frm_Customize::frm_Customize(QWidget* owner, std::string groupCodes, CustomizeOrigin origin)
    : QDialog(owner), groupCodes_(std::move(groupCodes)), origin_(origin) {
    mod_Forms::Register(this, "frm_Customize");
    // The logos are drawn on the panel colour; the dialog wears it too.
    platform::FillBackground(this);

    PicLogo = new QLabel(this);
    PicLogoMain = new QLabel(this);
    lbl_Product = plainLabel(this);
    lbl_customize = plainLabel(this);
    QFont titleFont = lbl_customize->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    lbl_customize->setFont(titleFont);

    Objectives = new CountPanel(5, kViewportHeight, this);
    Objectives_Outer = Objectives->Outer;
    Objectives_Inner = Objectives->Inner;
    Objectives_Vscroll = Objectives->Vscroll;
    txtLabel = Objectives->txtLabel;

    for (QGroupBox*& frame : Frame1)
        frame = new QGroupBox(this);
    chkRandomize = new QCheckBox(Frame1[0]);
    chkTimer = new QCheckBox(Frame1[0]);
    txtMinutes = new LevelCountBox(kMinutesDigits, Frame1[0]);
    lbl_minutes = plainLabel(Frame1[0]);
    chkSmartMode = new QCheckBox(Frame1[1]);
    for (std::size_t k = 0; k < 2; ++k) {
        chkSmart[k] = new QCheckBox(Frame1[1]);
        txtSmart[k] = new LevelCountBox(kCountDigits, Frame1[1]);
        lbl_count[k] = plainLabel(Frame1[1]);
    }
    chkScore = new QCheckBox(Frame1[2]);
    chkAnswers = new QCheckBox(Frame1[2]);
    for (QRadioButton*& option : Option1)
        option = new QRadioButton(Frame1[2]);
    lblTotal = plainLabel(this);
    txtTotal = new QLineEdit(this);
    txtTotal->setReadOnly(true);
    txtTotal->setFocusPolicy(Qt::NoFocus);
    txtTotal->setMaximumWidth(60);
    SuppressContextMenu(txtTotal);
    chkSave = new QCheckBox(this);
    cmdStart = new QPushButton(this);
    cmdCancel = new QPushButton(this);
    // Enter in a box must not start or cancel anything.
    for (QPushButton* button : {cmdStart, cmdCancel})
        button->setAutoDefault(false);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1Panel1 = plainLabel(StatusBar1);
    StatusBar1->addWidget(StatusBar1Panel1, 1);
    Objectives_ContextMenu = new QMenu(this);
    mnuMaximumValue = Objectives_ContextMenu->addAction(QString());
    nameControls();

    connect(mnuMaximumValue, &QAction::triggered, this, &frm_Customize::mnuMaximumValue_Click);
    connect(chkRandomize, &QCheckBox::clicked, this, &frm_Customize::chkRandomize_Click);
    connect(chkTimer, &QCheckBox::clicked, this, &frm_Customize::chkTimer_Click);
    connect(txtMinutes, &LevelCountBox::Change, this, &frm_Customize::txtMinutes_Change);
    connect(chkSmartMode, &QCheckBox::clicked, this, &frm_Customize::chkSmartMode_Click);
    for (int k = 0; k < 2; ++k) {
        const auto at = static_cast<std::size_t>(k);
        connect(chkSmart[at], &QCheckBox::clicked, this, [this, k] { chkSmart_Click(k); });
        connect(txtSmart[at], &LevelCountBox::Change, this, [this, k] { txtSmart_Change(k); });
    }
    connect(chkScore, &QCheckBox::clicked, this, &frm_Customize::chkScore_Click);
    connect(chkAnswers, &QCheckBox::clicked, this, &frm_Customize::chkAnswers_Click);
    for (int k = 0; k < 3; ++k)
        connect(Option1[static_cast<std::size_t>(k)], &QRadioButton::clicked, this,
                [this, k] { Option1_Click(k); });
    connect(chkSave, &QCheckBox::clicked, this, &frm_Customize::chkSave_Click);
    connect(cmdStart, &QPushButton::clicked, this, &frm_Customize::cmdStart_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frm_Customize::cmdCancel_Click);

    auto* order = new QGridLayout(Frame1[0]);
    order->addWidget(chkRandomize, 0, 0, 1, 3);
    order->addWidget(chkTimer, 1, 0);
    order->addWidget(txtMinutes, 1, 1);
    order->addWidget(lbl_minutes, 1, 2);
    auto* smart = new QGridLayout(Frame1[1]);
    smart->addWidget(chkSmartMode, 0, 0, 1, 3);
    for (int k = 0; k < 2; ++k) {
        const auto at = static_cast<std::size_t>(k);
        smart->addWidget(chkSmart[at], k + 1, 0);
        smart->addWidget(txtSmart[at], k + 1, 1);
        smart->addWidget(lbl_count[at], k + 1, 2);
    }
    auto* display = new QVBoxLayout(Frame1[2]);
    display->addWidget(chkScore);
    display->addWidget(chkAnswers);
    for (QRadioButton* option : Option1)
        display->addWidget(option);

    auto* layout = new QVBoxLayout(this);
    auto* banner = new QHBoxLayout;
    banner->addWidget(PicLogo);
    banner->addWidget(lbl_customize, 1);
    banner->addWidget(PicLogoMain);
    banner->addWidget(lbl_Product);
    layout->addLayout(banner);
    layout->addWidget(Objectives);
    auto* options = new QHBoxLayout;
    for (QGroupBox* frame : Frame1)
        options->addWidget(frame);
    layout->addLayout(options);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblTotal);
    bottom->addWidget(txtTotal);
    bottom->addSpacing(16);
    bottom->addWidget(chkSave);
    bottom->addStretch();
    bottom->addWidget(cmdStart);
    bottom->addWidget(cmdCancel);
    layout->addLayout(bottom);
    layout->addWidget(StatusBar1);
}

void frm_Customize::Form_Load() {
    const bool customPage = origin_ == CustomizeOrigin::kCustomTab;
    if (!customPage) {
        CustomExamFile::ReadCustomExamFile();
        if (AbortFlag) return;
    }
    groups_ = splitAt(groupCodes_, ',');
    const std::int16_t firstCode = codeOf(groups_.front());
    code_ = customPage ? static_cast<std::int16_t>(CustomExamFile::kCustomPageCode) : firstCode;

    PicLogo->setPixmap(mod_Picture::PictureFromBytes(ImageStore[kConfigureImageSlot].Bytes));
    PicLogoMain->setPixmap(mod_Picture::PictureFromBytes(ImageStore[kLogoImageSlot].Bytes));
    lbl_Product->setText(platform::toQt(SystemVars.ProductName + " (" + SystemVars.ProductCode +
                                        ") " + SystemVars.ProductSubtitle));

    const std::string& suffix = SystemVars.CustomizeTexts(customize_text::kExamSuffix);
    title_ = SystemVars.CustomizeTexts(customize_text::kCustomize) + " " +
             SystemVars.GroupNames(firstCode);
    if (!containsNoCase(title_, suffix)) title_ += " " + suffix;
    if (customPage) title_ = SystemVars.CustomizeTexts(customize_text::kCustom) + " " + suffix;
    chkSave->setVisible(!customPage);
    lbl_customize->setText(platform::toQt(title_));
    setWindowTitle(lbl_customize->text());
    for (int k = 0; k < 4; ++k)
        txtLabel[static_cast<std::size_t>(k)]->setText(
            platform::toQt(SystemVars.CustomizeTexts(customize_text::kFirstHeading + k)));

    objectives_ = mod_Exam::GetObjectiveList(groups_);
    buildRows();

    const auto text = [](int index) { return platform::toQt(SystemVars.CustomizeTexts(index)); };
    chkRandomize->setText(text(customize_text::kRandomOrder));
    chkTimer->setText(text(customize_text::kTimeLimit));
    lbl_minutes->setText(text(customize_text::kMinutes));
    chkSmartMode->setText(text(customize_text::kSmartMode));
    chkSmart[0]->setText(text(customize_text::kSmartWrong));
    chkSmart[1]->setText(text(customize_text::kSmartCorrect));
    for (QLabel* label : lbl_count)
        label->setText(text(customize_text::kTimes));
    lblTotal->setText(text(customize_text::kTotal));
    chkScore->setText(text(customize_text::kShowScore));
    chkAnswers->setText(text(customize_text::kShowAnswers));
    for (int k = 0; k < 3; ++k)
        Option1[static_cast<std::size_t>(k)]->setText(text(customize_text::kFirstAnswerMode + k));
    chkSave->setText(text(customize_text::kRemember));
    cmdStart->setText(text(customize_text::kStart));
    cmdCancel->setText(text(customize_text::kCancel));

    txtMinutes->setEnabled(false);
    for (std::size_t k = 0; k < 2; ++k) {
        chkSmart[k]->setEnabled(false);
        txtSmart[k]->setEnabled(false);
        lbl_count[k]->setEnabled(false);
    }
    txtTotal->setText(QStringLiteral("0"));
    txtTotal_Change();
    for (QRadioButton* option : Option1)
        option->setEnabled(false);
    StatusBar1Panel1->setText(platform::toQt(SystemVars.Copyright));

    FindCustomExamRecord(groupCodes_);
    // Remembered rows stay with their position, whatever objective now stands there.
    auto& rows = Record()->Objectives;
    if (!rows) rows.emplace();
    rows->resize(objectives_.size());
    if (Record()->Save)
        restoreRemembered();
    else
        resetToDefaults();
    if (customPage)
        for (std::size_t row = 0; row < chkObjectives.size(); ++row)
            setFromCode(chkObjectives[row], true,
                        [this, row] { chkObjectives_Click(static_cast<int>(row)); });
}

void frm_Customize::nameControls() {
    platform::NameEach({
        {PicLogo, "PicLogo"},
        {PicLogoMain, "PicLogoMain"},
        {lbl_Product, "lbl_Product"},
        {lbl_customize, "lbl_customize"},
        {Objectives_Outer, "Objectives_Outer"},
        {Objectives_Inner, "Objectives_Inner"},
        {Objectives_Vscroll, "Objectives_Vscroll"},
        {chkRandomize, "chkRandomize"},
        {chkTimer, "chkTimer"},
        {txtMinutes, "txtMinutes"},
        {lbl_minutes, "lbl_minutes"},
        {chkSmartMode, "chkSmartMode"},
        {chkScore, "chkScore"},
        {chkAnswers, "chkAnswers"},
        {lblTotal, "lblTotal"},
        {txtTotal, "txtTotal"},
        {chkSave, "chkSave"},
        {cmdStart, "cmdStart"},
        {cmdCancel, "cmdCancel"},
        {StatusBar1, "StatusBar1"},
        {Objectives_ContextMenu, "Objectives_ContextMenu"},
        {mnuMaximumValue, "mnuMaximumValue"},
    });
    platform::NameItems(txtLabel, "txtLabel");
    platform::NameItems(Frame1, "Frame1");
    platform::NameItems(chkSmart, "chkSmart");
    platform::NameItems(txtSmart, "txtSmart");
    platform::NameItems(lbl_count, "lbl_count");
    platform::NameItems(Option1, "Option1");
}

void frm_Customize::buildRows() {
    for (std::size_t i = 0; i < objectives_.size(); ++i) {
        const int row = static_cast<int>(i);
        const CountRow controls = Objectives->AddRow(row);
        chkObjectives.push_back(controls.check);
        lblObjectives.push_back(controls.caption);
        Line1.push_back(controls.rule);
        controls.caption->setText(platform::toQt(objectives_[i]));
        connect(controls.check, &QCheckBox::clicked, this,
                [this, row] { chkObjectives_Click(row); });
        connect(controls.caption, &RowLabel::clicked, this,
                [this, row] { lblObjectives_Click(row); });
        for (int level = 1; level <= 3; ++level) {
            LevelCountBox* box = controls.boxes[static_cast<std::size_t>(level - 1)];
            LevelBoxes(level).push_back(box);
            box->SetPopupMenu(Objectives_ContextMenu, mnuMaximumValue);
            connect(box, &LevelCountBox::Change, this,
                    [this, level, row] { ctrLevel_Change(level, row); });
        }
    }
    Objectives->Finish();
    platform::NameItems(chkObjectives, "chkObjectives");
    platform::NameItems(lblObjectives, "lblObjectives");
    platform::NameItems(ctrBeginner, "ctrBeginner");
    platform::NameItems(ctrIntermediate, "ctrIntermediate");
    platform::NameItems(ctrExpert, "ctrExpert");
    platform::NameItems(Line1, "Line1");
}

void frm_Customize::restoreRemembered() {
    // The handlers below change this same record as they run, as the user's clicks would.
    CustomExam& record = *Record();
    const auto maxima = mod_Exam::CountObjectiveQuestionsPerLevel(groups_, objectives_);
    for (std::size_t i = 0; i < objectives_.size(); ++i) {
        for (int level = 1; level <= 3; ++level) {
            LevelCountBox* box = LevelBoxes(level)[i];
            const int maximum = maxima[i][static_cast<std::size_t>(level - 1)];
            const ObjectiveCount& entry = (*record.Objectives)[i];
            const int remembered = level == 1   ? entry.Beginner
                                   : level == 2 ? entry.Intermediate
                                                : entry.Expert;
            // A remembered 0 comes back as the maximum; a count above it stays as it was.
            box->SetText(remembered < 1 ? std::to_string(maximum) : bounded(remembered, kMaxCount));
            box->SetMaximum(maximum);
        }
        if ((*record.Objectives)[i].Selected)
            setFromCode(chkObjectives[i], true,
                        [this, i] { chkObjectives_Click(static_cast<int>(i)); });
    }

    if (record.Randomize) setFromCode(chkRandomize, true, [this] { chkRandomize_Click(); });
    setFromCode(chkSave, true, [this] { chkSave_Click(); });
    if (record.ShowAnswers) setFromCode(chkAnswers, true, [this] { chkAnswers_Click(); });
    // A mode the dialog does not offer falls back to no explanation.
    const int mode =
        record.AnswerMode >= 0 && record.AnswerMode <= 2 ? record.AnswerMode : kNoExplanation;
    Option1[static_cast<std::size_t>(mode)]->setChecked(true);
    Option1_Click(mode);
    if (record.ShowScore) setFromCode(chkScore, true, [this] { chkScore_Click(); });

    const std::array<bool, 2> filterOn{record.Smart0, record.Smart1};
    const std::array<int, 2> threshold{record.Smart0Count, record.Smart1Count};
    for (int k = 0; k < 2; ++k) {
        const auto at = static_cast<std::size_t>(k);
        if (filterOn[at]) {
            setFromCode(chkSmart[at], true, [this, k] { chkSmart_Click(k); });
            txtSmart[at]->SetText(bounded(threshold[at], kMaxCount));
        } else {
            txtSmart[at]->SetText("0");
            txtSmart[at]->setEnabled(false);
        }
    }
    if (!record.SmartMode) {
        for (std::size_t k = 0; k < 2; ++k) {
            chkSmart[k]->setEnabled(false);
            txtSmart[k]->setEnabled(false);
        }
    } else {
        setFromCode(chkSmartMode, true, [this] { chkSmartMode_Click(); });
        for (std::size_t k = 0; k < 2; ++k)
            txtSmart[k]->setEnabled(chkSmart[k]->isEnabled() &&
                                    txtSmart[k]->Number().value_or(0) >= 1);
    }
    if (record.Timer) {
        setFromCode(chkTimer, true, [this] { chkTimer_Click(); });
        txtMinutes->SetText(bounded(record.Minutes, kMaxMinutes));
    } else {
        txtMinutes->SetText("0");
    }
}

void frm_Customize::resetToDefaults() {
    CustomExam& record = *Record();
    const auto maxima = mod_Exam::CountObjectiveQuestionsPerLevel(groups_, objectives_);
    for (std::size_t i = 0; i < objectives_.size(); ++i) {
        (*record.Objectives)[i] = ObjectiveCount{};
        for (int level = 1; level <= 3; ++level) {
            const int maximum = maxima[i][static_cast<std::size_t>(level - 1)];
            LevelCountBox* box = LevelBoxes(level)[i];
            box->SetText(std::to_string(maximum));
            box->SetMaximum(maximum);
        }
    }
    record.Randomize = false;
    record.Save = false;
    record.ShowAnswers = false;
    record.AnswerMode = kNoExplanation;
    Option1[kNoExplanation]->setChecked(true);
    Option1_Click(kNoExplanation);
    record.ShowScore = false;
    record.Smart0 = false;
    record.Smart0Count = 0;
    txtSmart[0]->SetText("0");
    record.Smart1 = false;
    record.Smart1Count = 0;
    txtSmart[1]->SetText("0");
    record.SmartMode = false;
    record.Timer = false;
    record.Minutes = 0;
    txtMinutes->SetText("0");
}

void frm_Customize::Form_Activate() {
    UpdateTotal();
}

void frm_Customize::FindCustomExamRecord(const std::string& groupCodes) {
    const auto parts = splitAt(groupCodes, ',');
    for (std::size_t i = 0; i < CustomExamTable.size(); ++i) {
        if (CustomExamTable[i].Code == code_) {
            recordIndex_ = static_cast<int>(i);
            return;
        }
    }
    CustomExam created;
    created.Code = code_;
    created.Groups.emplace();
    for (const std::string& part : parts)
        created.Groups->push_back(codeOf(part));
    CustomExamTable.push_back(std::move(created));
    recordIndex_ = static_cast<int>(CustomExamTable.size()) - 1;
}

CustomExam* frm_Customize::Record() {
    if (recordIndex_ < 0 || static_cast<std::size_t>(recordIndex_) >= CustomExamTable.size())
        return nullptr;
    return &CustomExamTable[static_cast<std::size_t>(recordIndex_)];
}

ObjectiveCount* frm_Customize::rowEntry(int row) {
    CustomExam* record = Record();
    if (!record || !record->Objectives || row < 0 ||
        static_cast<std::size_t>(row) >= record->Objectives->size())
        return nullptr;
    return &(*record->Objectives)[static_cast<std::size_t>(row)];
}

std::vector<LevelCountBox*>& frm_Customize::LevelBoxes(int level) {
    return level == 1 ? ctrBeginner : level == 2 ? ctrIntermediate : ctrExpert;
}

int frm_Customize::rowTotal() const {
    int sum = 0;
    for (std::size_t i = 0; i < chkObjectives.size(); ++i)
        if (chkObjectives[i]->isChecked())
            for (const LevelCountBox* box : {ctrBeginner[i], ctrIntermediate[i], ctrExpert[i]})
                sum += box->Number().value_or(0);
    return sum;
}

std::optional<std::int16_t> frm_Customize::selectedAnswerMode() const {
    for (std::size_t k = 0; k < Option1.size(); ++k)
        if (Option1[k]->isChecked()) return static_cast<std::int16_t>(k);
    return std::nullopt;
}

void frm_Customize::buildExamFromRecord() {
    const CustomExam* record = Record();
    if (!record) return;
    CurrentExam.Groups = record->Groups;
    CurrentExam.Objectives = record->Objectives;
    CurrentExam.SmartMode = record->SmartMode;
    CurrentExam.Smart0 = record->Smart0;
    CurrentExam.Smart0Count = record->Smart0Count;
    CurrentExam.Smart1 = record->Smart1;
    CurrentExam.Smart1Count = record->Smart1Count;
    CurrentExam.Randomize = record->Randomize;
    mod_Exam::BuildCustomExamQuestions();
}

void frm_Customize::UpdateTotal() {
    if (!isVisible()) return;
    int total = rowTotal();
    // Whenever a filter may narrow the selection, count what the build really keeps: smart
    // mode without a filter keeps nothing.
    if (chkSmart[0]->isChecked() || chkSmart[1]->isChecked() || chkSmartMode->isChecked()) {
        buildExamFromRecord();
        const auto& questions = CurrentExam.Questions;
        total = questions && !questions->empty() && questions->front().QuestionID > 0
                    ? static_cast<int>(questions->size())
                    : 0;
    }
    txtTotal->setText(QString::number(total));
    txtTotal_Change();
}

void frm_Customize::chkObjectives_Click(int row) {
    ObjectiveCount* entry = rowEntry(row);
    if (!entry) return;
    const auto i = static_cast<std::size_t>(row);
    if (chkObjectives[i]->isChecked()) {
        std::array<std::int16_t*, 3> counts{&entry->Beginner, &entry->Intermediate, &entry->Expert};
        for (int level = 1; level <= 3; ++level) {
            LevelCountBox* box = LevelBoxes(level)[i];
            if (box->Maximum() < 1) continue;
            box->setEnabled(true);
            if (const auto number = box->Number())
                *counts[static_cast<std::size_t>(level - 1)] = *number;
        }
        entry->Selected = true;
        entry->Name = objectives_[i];
    } else {
        for (int level = 1; level <= 3; ++level)
            LevelBoxes(level)[i]->setEnabled(false);
        entry->Selected = false;
        entry->Name.clear();
    }
    UpdateTotal();
}

void frm_Customize::lblObjectives_Click(int row) {
    QCheckBox* check = chkObjectives[static_cast<std::size_t>(row)];
    check->setChecked(!check->isChecked());
    chkObjectives_Click(row);
    UpdateTotal();
}

void frm_Customize::ctrLevel_Change(int level, int row) {
    ObjectiveCount* entry = rowEntry(row);
    const auto number = LevelBoxes(level)[static_cast<std::size_t>(row)]->Number();
    // A box being edited may be empty for a moment: keep the last count.
    if (!entry || !number) return;
    (level == 1 ? entry->Beginner : level == 2 ? entry->Intermediate : entry->Expert) = *number;
    UpdateTotal();
}

void frm_Customize::mnuMaximumValue_Click() {
    const auto target = LevelCountBox::MenuTargetOf(Objectives_ContextMenu, mnuMaximumValue);
    if (!target) return;
    std::vector<LevelCountBox*>& boxes = LevelBoxes(target->level);
    if (target->index < 0 || static_cast<std::size_t>(target->index) >= boxes.size()) return;
    LevelCountBox* box = boxes[static_cast<std::size_t>(target->index)];
    box->SetText(std::to_string(box->Maximum()));
}

void frm_Customize::chkRandomize_Click() {
    if (CustomExam* record = Record()) record->Randomize = chkRandomize->isChecked();
}

void frm_Customize::chkTimer_Click() {
    txtMinutes->setEnabled(chkTimer->isChecked());
    if (CustomExam* record = Record()) record->Timer = chkTimer->isChecked();
}

void frm_Customize::txtMinutes_Change() {
    CustomExam* record = Record();
    if (const auto number = txtMinutes->Number(); record && number) record->Minutes = *number;
}

void frm_Customize::chkSmartMode_Click() {
    const bool on = chkSmartMode->isChecked();
    for (std::size_t k = 0; k < 2; ++k) {
        chkSmart[k]->setEnabled(on);
        lbl_count[k]->setEnabled(on);
        txtSmart[k]->setEnabled(on && chkSmart[k]->isChecked());
    }
    if (CustomExam* record = Record()) record->SmartMode = on;
    UpdateTotal();
}

void frm_Customize::chkSmart_Click(int k) {
    const auto at = static_cast<std::size_t>(k);
    const bool on = chkSmart[at]->isChecked();
    txtSmart[at]->setEnabled(on);
    if (CustomExam* record = Record()) (k == 0 ? record->Smart0 : record->Smart1) = on;
    UpdateTotal();
}

void frm_Customize::txtSmart_Change(int k) {
    CustomExam* record = Record();
    const auto number = txtSmart[static_cast<std::size_t>(k)]->Number();
    if (!record || !number) return;
    (k == 0 ? record->Smart0Count : record->Smart1Count) = *number;
    UpdateTotal();
}

void frm_Customize::chkScore_Click() {
    if (CustomExam* record = Record()) record->ShowScore = chkScore->isChecked();
}

void frm_Customize::chkAnswers_Click() {
    const bool on = chkAnswers->isChecked();
    for (QRadioButton* option : Option1)
        option->setEnabled(on);
    CustomExam* record = Record();
    if (!record) return;
    record->ShowAnswers = on;
    if (const auto mode = selectedAnswerMode()) record->AnswerMode = *mode;
}

void frm_Customize::Option1_Click(int k) {
    if (CustomExam* record = Record()) record->AnswerMode = static_cast<std::int16_t>(k);
}

void frm_Customize::chkSave_Click() {
    if (CustomExam* record = Record()) record->Save = chkSave->isChecked();
}

void frm_Customize::txtTotal_Change() {
    if (UserSettings.SkipZeroTotalNotice) cmdStart->setEnabled(txtTotal->text().toInt() >= 1);
}

void frm_Customize::cmdStart_Click() {
    if (txtTotal->text().toInt() < 1) {
        if (UserSettings.SkipZeroTotalNotice) return;
        QWidget* main = mod_Forms::Find("mdi_Main");
        const QPointer<frm_Customize> self(this);
        // A notice whose one button is No: the exam cannot be started from it.
        const ConfirmAnswer answer =
            AskConfirm(main ? main : this,
                       {.title = SystemVars.ZeroTotalTexts(confirm_text::kTitle),
                        .message = SystemVars.ZeroTotalTexts(confirm_text::kMessage),
                        .rememberCaption = SystemVars.ZeroTotalTexts(confirm_text::kRemember),
                        .yesCaption = {},
                        .noCaption = SystemVars.ZeroTotalTexts(confirm_text::kZeroTotalNo),
                        .icon = codeOf(SystemVars.ZeroTotalTexts(confirm_text::kIcon))});
        if (!self || !answer.remember) return;
        UserSettings.SkipZeroTotalNotice = true;
        mod_User::SaveConfig();
        cmdStart->setEnabled(false);
        return;
    }

    buildExamFromRecord();
    if (origin_ != CustomizeOrigin::kCustomTab) CustomExamFile::WriteCustomExamFile();
    const std::vector<std::string> words = splitAt(title_, ' ');
    std::string title;
    for (std::size_t k = 0; k < words.size(); ++k) {
        if (k > 0) title += ' ';
        title += words[k] == SystemVars.CustomizeTexts(customize_text::kCustomize)
                     ? SystemVars.CustomizeTexts(customize_text::kCustom)
                     : words[k];
    }
    CurrentExam.Title = title;
    CurrentExam.RemainingText = "00:00:00";
    CurrentExam.TimerOn = true;
    // Only a number of minutes the exam can run for reaches the exam.
    const std::optional<std::int16_t> minutes = txtMinutes->Number();
    CurrentExam.Minutes = chkTimer->isChecked() && minutes && *minutes <= kMaxMinutes
                              ? std::to_string(*minutes)
                              : "0";
    CurrentExam.AnswerMode =
        chkAnswers->isChecked() ? selectedAnswerMode().value_or(kNoExplanation) : kNoExplanation;
    CurrentExam.ShowScore = chkScore->isChecked();
    CurrentExam.StartIndex = 0;
    CurrentExam.IsCustom = true;
    started_ = true;
    exam::LoadExamWindow(exam::ExamOpening::kNew);
    accept();
}

void frm_Customize::cmdCancel_Click() {
    reject();
}

void frm_Customize::reject() {
    // Every way out but Start puts the full bank back, so a later round never takes the
    // subset for the bank.
    if (origin_ == CustomizeOrigin::kCustomTab) mod_Customize::RestoreQuestionBank();
    QDialog::reject();
}

void frm_Customize::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Form_Activate();
}

void frm_Customize::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
}
