#include <benchmark/benchmark.h>

#include <QApplication>

#include <string>

#include "GeneratedBank.h"
#include "ScreenBench.h"
#include "core/ScrollHandles.h"
#include "pages/ChildProgram.h"
#include "pages/PageTrial.h"

namespace screenbench {

bool Ready(benchmark::State& state) {
    static const std::string error = benchbank::PrepareProgramFolder();
    if (!error.empty()) state.SkipWithError(error.c_str());
    return error.empty();
}

}  // namespace screenbench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MakeScrollHandlesStandOut();
    page_trial::SetChildProgram(EXAMSIM_PAGE_TRIAL_CHILD);
    // As the program does: its trials find the server running.
    platform::StartTrialServer(page_trial::ChildProgram());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
