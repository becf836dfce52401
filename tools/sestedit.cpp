// The calculator's template designer: opens a template file (offering to create it when it does
// not exist yet) on the report set up as the calculator's Print sets it up, through the report
// component's edit call, as a program using the component would.
//
//   sestedit [--english] <file.pts>
//
// --english gives the parameters (the row names, units and titles) in English, as the
// calculator prints them when English is chosen; the designer itself is Czech. The settings
// file DoriVOZ.ini is the one beside the template, as the calculator keeps it beside its own.

#include "app/AppState.h"
#include "app/ReportSetup.h"
#include "platform/BoxMessageSink.h"
#include "platform/Help.h"
#include "platform/QtTranslations.h"
#include "report/designer/TFormSestE.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/ui/ReportWindows.h"
#include "report/engine/ui/sestinf.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Qt's own dialogs (the file dialog) in the user's language, as in the calculator
    platform::InstallQtTranslations();
    QStringList arguments = QApplication::arguments().mid(1);
    AppState state;
    if (arguments.size() == 2 && arguments[0] == QStringLiteral("--english")) {
        state.Language = 1;
        arguments.removeFirst();
    }
    if (arguments.size() != 1 || arguments[0].startsWith(u'-')) {
        QTextStream(stderr) << "usage: sestedit [--english] <file.pts>\n";
        return 2;
    }
    const QFileInfo file(arguments[0]);
    report::TSestava report(nullptr, file.absolutePath());
    // the designer's texts are Czech, and so are the buttons of its message boxes
    platform::BoxMessageSink messages(platform::BoxMessageSink::Buttons::Czech);
    report.setMessageSink(&messages);
    // A report fed through its events, with no records: the template is all there is.
    report.OnGetData = [](report::TSestavaD*) {};
    report.ReportDirIgnore = false;
    report.setReportDir(file.absolutePath());
    report.SetReportName(file.fileName());
    setUpPrintReport(report, state);
    designer::installDesigner();
    // The designer's preview and print show their window and printers, their progress, and
    // can be cancelled.
    report::InstallReportWindows();
    report::InstallProgressWindow();
    // F1 in the designer shows its help topics
    platform::BrowserHelpViewer help;
    platform::setHelpViewer(&help);
    // The edit call loads the template, and offers to create a missing file.
    const int result = report.EditEx();
    return result == report::seOk || result == report::seCancelled ? 0 : 1;
}
