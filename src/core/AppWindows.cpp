#include "core/AppWindows.h"

namespace {

class NoWindows final : public AppWindows {
public:
    QWidget* MainWindow() const override { return nullptr; }
    void ShowInMainWindow(QWidget*) override {}
    void SetExamEndHandler(std::function<void(int)>) override {}
    CustomExamMenu CustomExamContextMenu() const override { return {}; }
    void ExamWindowClosing() override {}
    void ExamWindowClosed(const std::filesystem::path&) override {}
    void ShowEvaluationWindow() override {}
    bool PerformanceTabShown() const override { return false; }
    FullViewResult ShowFullView(FullViewRequest request) override {
        return {request.Start, request.ShowAnswers};
    }
    void ShowResourceDocument(const std::string&, const QString&, const QPixmap&) override {}
};

NoWindows noWindows;
AppWindows* installed = &noWindows;

}  // namespace

AppWindows& AppWindows::Get() {
    return *installed;
}

void AppWindows::Install(AppWindows* windows) {
    installed = windows ? windows : &noWindows;
}
