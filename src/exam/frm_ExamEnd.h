#pragma once

#include <QDialog>

#include <array>
#include <string>

class QLabel;
class QPushButton;
class QRadioButton;

// Asks how an exam ends: continue, evaluate and grade, save, or end and record. Opened
// modally by mod_Exam::ShowExamEnd; each option that acts unloads it.
class frm_ExamEnd : public QDialog {
    Q_OBJECT

public:
    enum Choice { kContinue = 0, kEvaluate = 1, kSave = 2, kRecord = 3 };

    explicit frm_ExamEnd(QWidget* owner = nullptr);

    // Controls; the window owns them.
    QLabel* Picture1;
    QLabel* Label1;
    QLabel* Label2;
    std::array<QRadioButton*, 4> Option1;
    QPushButton* Command1;

    // The reason in decimal; nothing reads it.
    std::string Tag;

    // The reason's message and preselected option.
    void ShowReason(int reason);
    void Command1_Click();

private:
    void Form_Load();
    void continueExam();
    void evaluateExam();
    void saveExam();
    void recordExam();
    // Offers the save dialog; true once the exam is saved.
    bool saveUnrecordedExam();
};
