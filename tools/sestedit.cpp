// Opens the template designer on a template file (offering to create it when it does not
// exist yet), the way a program using the report component would: through its edit call.
//
//   sestedit <file.pts>

#include "platform/BoxMessageSink.h"
#include "platform/Help.h"
#include "report/designer/TFormSestE.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/ui/sestinf.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: sestedit <file.pts>\n";
        return 2;
    }
    const QFileInfo file(arguments[1]);
    report::TSestava report(nullptr, QApplication::applicationDirPath());
    platform::BoxMessageSink messages;
    report.setMessageSink(&messages);
    // A report fed through its events, with no records: the template is all there is.
    report.OnGetData = [](report::TSestavaD*) {};
    report.ReportDirIgnore = false;
    report.setReportDir(file.absolutePath());
    report.SetReportName(file.fileName());
    designer::installDesigner();
    // The designer's preview and print show their progress and can be cancelled.
    report::InstallProgressWindow();
    // F1 in the designer shows its help topics
    platform::BrowserHelpViewer help;
    platform::setHelpViewer(&help);
    // The edit call loads the template, and offers to create a missing file.
    const int result = report.EditEx();
    return result == report::seOk || result == report::seCancelled ? 0 : 1;
}
