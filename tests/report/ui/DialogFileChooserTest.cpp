// The save dialog of the report, driven headless.

#include "report/engine/ui/DialogFileChooser.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/sestzpr.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace report;

namespace {

TEST(DialogFileChooser, ClassicFiltersBecomeQtFilters) {
    EXPECT_EQ(DialogFileChooser::nameFilters(LoadText(ReportText::FilterTemplates)),
              QStringList({"Předlohy tiskových sestav (*.pts *.PTS)"}));
    EXPECT_EQ(DialogFileChooser::nameFilters(QStringLiteral("A (*.a)|*.a;*.B|Vše (*.*)|*.*")),
              QStringList({"A (*.a *.b *.B)", "Vše (*.*)"}));
    EXPECT_EQ(DialogFileChooser::nameFilters(QString()), QStringList());
}

// Answers the next modal file dialog with `fileName`, or cancels it when empty; records what
// it showed.
struct DialogAnswer {
    void schedule(const QString& fileName) {
        QTimer::singleShot(0, [this, fileName] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            title = dialog->windowTitle();
            shownFolder = dialog->directory().path();
            shownFile = dialog->findChild<QLineEdit*>()->text();
            if (fileName.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(fileName);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }
    QString title;
    QString shownFolder;
    QString shownFile;
};

TEST(DialogFileChooser, SaveAsThroughTheDialog) {
    QTemporaryDir dir;
    DialogFileChooser chooser;
    TSestava report(nullptr, dir.path());
    report.setFileChooser(&chooser);
    report.ReportDirIgnore = false;
    report.setReportDir(dir.path());
    report.SetReportName(QStringLiteral("stara.pts"));
    report.setTemplateText(TPredloha{QStringLiteral("T,1")});

    DialogAnswer answer;
    answer.schedule({});
    EXPECT_EQ(report.UlozPredlohuJako(), seNotSaved);
    EXPECT_EQ(answer.title, u"Výběr souboru");
    EXPECT_EQ(answer.shownFile, u"stara.pts");
    EXPECT_EQ(QDir(answer.shownFolder), QDir(dir.path()));

    answer.schedule(dir.filePath(QStringLiteral("nova"))); // the suffix comes from the filter
    EXPECT_EQ(report.UlozPredlohuJako(), seOk);
    EXPECT_EQ(report.GetReportName(), u"nova.pts");
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("nova.pts"))));
}

} // namespace
