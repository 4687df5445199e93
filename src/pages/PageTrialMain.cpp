#include <unistd.h>

#include <QGuiApplication>

#include "pages/PageTrialChild.h"
#include "pages/TrialServer.h"

// Serves the program's page trials (see pages/PageTrial.h and pages/TrialServer.h) on its
// standard input; it needs no screen.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication qt(argc, argv);
    page_trial::PrepareTrials();
    // No teardown can change a verdict, and a leak check of the libraries' own allocations at
    // exit would only turn the end into a failure.
    ::_exit(page_trial::ServeTrials(
        STDIN_FILENO, {page_trial::RunChild, page_trial::PrepareTrials, page_trial::TrialLesson,
                       page_trial::LearnFromTrial}));
}
