#include "exam/frm_ExamEnd.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <utility>

#include "core/AbortFlag.h"
#include "core/AppPaths.h"
#include "core/AppWindows.h"
#include "core/PictureButton.h"
#include "core/SystemVars.h"
#include "core/frm_Confirm.h"
#include "core/mod_System.h"
#include "core/mod_System_Icons.h"
#include "core/mod_User.h"
#include "exam/CurrentExam.h"
#include "exam/ExamEnd.h"
#include "exam/ExamRecordIo.h"
#include "exam/ExamSession.h"
#include "exam/ExamWindow.h"
#include "exam/frm_Exam.h"
#include "formats/BinaryWriter.h"
#include "platform/Look.h"
#include "platform/MessageBox.h"
#include "platform/SaveDialog.h"
#include "platform/TextCodec.h"
#include "platform/mod_Forms.h"

namespace {

QString labelText(const std::string& text) {
    return platform::toQt(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void defaultEvaluationLoader() {
    AppWindows::Get().ShowEvaluationWindow();
}

mod_Exam::EvaluationWindowLoader& evaluationLoader() {
    static mod_Exam::EvaluationWindowLoader loader = defaultEvaluationLoader;
    return loader;
}

// A file whose save failed is asked for again rather than failing once more unasked.
std::filesystem::path& failedSavePath() {
    static std::filesystem::path path;
    return path;
}

// The exam's own file (resumed or saved before), else one the user chooses; "" on cancel
// or when no running exam is open.
std::filesystem::path saveTarget(QWidget* owner) {
    if (!exam::CurrentExamSession.IsOpen() || exam::CurrentExamSession.InReview()) return {};
    const std::filesystem::path& known = exam::CurrentExamSession.SavePath();
    if (!known.empty() && known != failedSavePath()) return known;
    return platform::ChooseSavePath(owner, AppPaths::SaveFolder());
}

// The shared writer reports a failed write itself; a record too long to store is not
// written at all and is reported here.
void reportSaveFailure(const std::filesystem::path& path) {
    failedSavePath() = path;
    formats::BinaryWriter probe;
    exam::WriteExamBody(probe, CurrentExam);
    if (probe.failed()) mod_System::ShowWriteFailure(path, mod_System::WriteFailure::kReport);
}

std::int16_t iconNumber(const std::string& text) {
    std::int16_t number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

void showSaveNotice(QWidget* owner) {
    if (mod_Forms::IsFormLoaded("frm_ExamEnd") || UserSettings.SkipSaveExamNotice) return;
    QWidget* main = mod_Forms::Find("mdi_Main");
    const ConfirmAnswer answer = AskConfirm(
        main ? main : owner, {.title = SystemVars.SaveInfoTexts(confirm_text::kTitle),
                              .message = SystemVars.SaveInfoTexts(confirm_text::kMessage),
                              .rememberCaption = SystemVars.SaveInfoTexts(confirm_text::kRemember),
                              .yesCaption = SystemVars.SaveInfoTexts(confirm_text::kYes),
                              .noCaption = {},
                              .icon = iconNumber(SystemVars.SaveInfoTexts(confirm_text::kIcon))});
    if (!answer.remember) return;
    UserSettings.SkipSaveExamNotice = true;
    mod_User::SaveConfig();
}

void restoreEndButtonLooks() {
    frm_Exam* window = exam::ExamWindow();
    if (!window) return;
    for (PictureButton* button : {window->button_end, window->button_evaluate})
        if (button) button->showLook(PictureButton::Look::Normal);
}

// A broken history index: the program closes (the main window unloads every window).
void closeProgram() {
    if (QWidget* main = mod_Forms::Find("mdi_Main")) main->close();
}

}  // namespace

frm_ExamEnd::frm_ExamEnd(QWidget* owner)
    : QDialog(owner),
      Picture1(platform::Named(new QLabel(this), "Picture1")),
      Label1(platform::Named(new QLabel(this), "Label1")),
      Label2(platform::Named(new QLabel(this), "Label2")),
      Option1{platform::Named(new QRadioButton(this), "Option1_0"),
              platform::Named(new QRadioButton(this), "Option1_1"),
              platform::Named(new QRadioButton(this), "Option1_2"),
              platform::Named(new QRadioButton(this), "Option1_3")},
      Command1(platform::Named(new QPushButton(this), "Command1")) {
    mod_Forms::Register(this, "frm_ExamEnd");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    for (QLabel* label : {Label1, Label2}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
    }
    Label1->setMinimumWidth(Label1->fontMetrics().averageCharWidth() * 48);
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frm_ExamEnd::Command1_Click);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setHorizontalSpacing(16);
    layout->addWidget(Picture1, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(Label1, 0, 1);
    auto* choices = new QVBoxLayout;
    choices->addWidget(Label2);
    for (QRadioButton* option : Option1)
        choices->addWidget(option);
    layout->addLayout(choices, 1, 1);
    layout->addWidget(Command1, 2, 1, Qt::AlignRight);

    Form_Load();
}

void frm_ExamEnd::Form_Load() {
    setWindowTitle(platform::toQt(platform::ApplicationTitle()));
    Label2->setText(labelText(SystemVars.ExamEndTexts(exam_end_text::kQuestion)));
    for (std::size_t k = 0; k < Option1.size(); ++k)
        Option1[k]->setText(platform::toQt(
            SystemVars.ExamEndTexts(exam_end_text::kFirstOption + static_cast<int>(k))));
    Command1->setText(platform::toQt(SystemVars.ExamEndTexts(exam_end_text::kOk)));
}

void frm_ExamEnd::ShowReason(int reason) {
    Tag = std::to_string(reason);
    mod_System_Icons::DrawSystemIcon(Picture1, mod_System_Icons::kQuestionIcon);
    Label1->setText(labelText(SystemVars.ExamEndTexts(reason)));
    switch (reason) {
        case mod_Exam::kTimeUpReason:
            Option1[kContinue]->setChecked(true);
            break;
        case mod_Exam::kEvaluateReason:
            Option1[kEvaluate]->setChecked(true);
            break;
        case mod_Exam::kEndReason:
            Option1[kSave]->setChecked(true);
            break;
        default:
            break;
    }
}

void frm_ExamEnd::Command1_Click() {
    if (Option1[kContinue]->isChecked()) {
        continueExam();
    } else if (Option1[kEvaluate]->isChecked()) {
        evaluateExam();
    } else if (Option1[kSave]->isChecked()) {
        saveExam();
    } else if (Option1[kRecord]->isChecked()) {
        recordExam();
    }
}

void frm_ExamEnd::continueExam() {
    exam::CurrentExamSession.Continue();
    restoreEndButtonLooks();
    mod_Forms::Unload(this);
}

void frm_ExamEnd::evaluateExam() {
    restoreEndButtonLooks();
    mod_Forms::Unload(this);
    mod_System::WriteFailureReport failures;
    exam::CurrentExamSession.GradeAndRecord();
    if (AbortFlag) {
        closeProgram();
        return;
    }
    failures.Report();
    evaluationLoader()();
}

bool frm_ExamEnd::saveUnrecordedExam() {
    const std::filesystem::path path = platform::ChooseSavePath(this, AppPaths::SaveFolder());
    if (path.empty()) return false;
    if (!exam::CurrentExamSession.Save(path)) {
        reportSaveFailure(path);
        return false;
    }
    failedSavePath().clear();
    return true;
}

void frm_ExamEnd::saveExam() {
    const std::filesystem::path path = saveTarget(this);
    // Cancelled: the exam goes on exactly as before, its elapsed time still counting.
    if (path.empty()) return;
    // A failed save leaves the exam running as it was.
    if (!exam::CurrentExamSession.SaveAndEnd(path)) {
        reportSaveFailure(path);
        return;
    }
    failedSavePath().clear();
    exam::UnloadExamWindow();
    mod_Forms::Unload(this);
}

void frm_ExamEnd::recordExam() {
    // Statistics, history file and index may all fail on a full or read-only Data folder:
    // the user hears of it once.
    mod_System::WriteFailureReport failures;
    const bool recorded = exam::CurrentExamSession.GradeAndRecord();
    if (AbortFlag) {
        mod_Forms::Unload(this);
        closeProgram();
        return;
    }
    failures.Report();
    // An exam that could not be recorded closes only once it is saved elsewhere.
    if (!recorded && !saveUnrecordedExam()) return;
    exam::UnloadExamWindow();
    mod_Forms::Unload(this);
}

namespace mod_Exam {

void ShowExamEnd(int reason) {
    if (QWidget* evaluate = mod_Forms::Find("frm_Evaluate")) {
        evaluate->show();
        evaluate->raise();
        evaluate->activateWindow();
        return;
    }
    if (auto* open = qobject_cast<frm_ExamEnd*>(mod_Forms::Find("frm_ExamEnd"))) {
        open->ShowReason(reason);
        open->raise();
        return;
    }
    QWidget* owner = exam::ExamWindow();
    if (!owner) owner = mod_Forms::Find("mdi_Main");
    const QPointer<frm_ExamEnd> dialog = new frm_ExamEnd(owner);
    dialog->ShowReason(reason);
    dialog->exec();
    // Closed by its frame: nothing else changes.
    if (dialog && mod_Forms::Find("frm_ExamEnd") == dialog) mod_Forms::Unload(dialog);
}

EvaluationWindowLoader SetEvaluationWindowLoader(EvaluationWindowLoader loader) {
    if (!loader) loader = defaultEvaluationLoader;
    return std::exchange(evaluationLoader(), std::move(loader));
}

bool SaveRunningExam(QWidget* owner) {
    if (QWidget* end = mod_Forms::Find("frm_ExamEnd")) mod_Forms::Unload(end);
    const std::filesystem::path path = saveTarget(owner);
    if (path.empty()) return false;
    if (!exam::CurrentExamSession.Save(path)) {
        reportSaveFailure(path);
        return false;
    }
    failedSavePath().clear();
    showSaveNotice(owner);
    return true;
}

}  // namespace mod_Exam
