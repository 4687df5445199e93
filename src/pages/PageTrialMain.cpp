#include <unistd.h>

#include <QGuiApplication>

#include "pages/PageTrialChild.h"

// Lays a page out on trial for the program (see pages/PageTrial.h); it needs no screen.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication qt(argc, argv);
    // The report is written: no teardown can change the verdict, and a leak check of the
    // libraries' own allocations at exit would only turn it into a failure.
    ::_exit(page_trial::RunChild());
}
