#include "FuzzApplication.h"

#include <QApplication>

// fontconfig, under Qt's font database, keeps its caches to the end of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

// The application outlives the run: destroyed at exit, it would run Qt's clean-ups after Qt's
// own globals (such as the cache of brush patterns) are gone.
void startGuiApplication(int* argc, char*** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static const QApplication* application = new QApplication(*argc, *argv);
    Q_UNUSED(application);
}
