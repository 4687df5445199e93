#pragma once

class ListView;
class QLabel;
class QPushButton;
class QTabWidget;
class QWidget;

// The controls of the main screen's performance tab, which the main screen builds and owns
// and the performance tab's code fills. They keep their historic names.
struct PerformanceTabControls {
    QWidget* PerformanceTipOwner = nullptr;  // parent of the lists' one tooltip
    QLabel* PerformanceTitle = nullptr;
    QTabWidget* SSTab2 = nullptr;
    // The positions of SSTab2's pages.
    enum PerformanceTab : int { kExamHistoryTab = 0, kObjectivesTab = 1, kQuestionsTab = 2 };
    ListView* ListView7 = nullptr;
    ListView* ListView8 = nullptr;
    ListView* ListView9 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QPushButton* Command15 = nullptr;
};
