// The calculator of water and steam properties.

#include "app/LibraryBinding.h"
#include "app/ThlavniForm.h"
#include "platform/BoxMessageSink.h"
#include "platform/Help.h"
#include "platform/QtTranslations.h"
#include "report/engine/ui/ReportWindows.h"
#include "report/engine/ui/sestinf.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("KOLV");
    // Button captions of message boxes in the user's language ("Ano"/"Ne" on a Czech desktop).
    platform::InstallQtTranslations();
    // A fixed face keeps the absolute layout of the window the same on every machine.
    QApplication::setFont(QFont("DejaVu Sans", 9));

    platform::BrowserHelpViewer helpViewer;
    platform::SetHelpFile("kolv.hlp");
    platform::setHelpViewer(&helpViewer);
    platform::HelpKeyFilter helpKey;
    app.installEventFilter(&helpKey);

    // Reports show their preview and print on the system's printers; every run, print and
    // export shows its progress and can be cancelled.
    report::InstallReportWindows();
    report::InstallProgressWindow();

    platform::BoxMessageSink messages;
    ThlavniForm window(QCoreApplication::applicationDirPath() + '/', messages,
                       RealPropertyLibrary());
    window.show();
    return app.exec();
}
