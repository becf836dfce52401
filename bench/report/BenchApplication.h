#pragma once
// The report benchmarks that need Qt's font database or its SQL plugins run inside one
// application object, headless unless the caller chose a platform.

#include <QGuiApplication>

inline void ensureBenchApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "report_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}
