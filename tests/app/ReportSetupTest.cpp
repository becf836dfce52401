// The calculator's report as Print sets it up, and the template designer opened on it as
// sestedit opens it: the palette's data tools, named value fields with their dialog, the
// wizard's list of values and the designer's preview with the parameter texts.

#include "app/ReportSetup.h"
#include "app/AppState.h"
#include "app/Texts.h"
#include "platform/MessageSink.h"
#include "report/designer/TFormSestE.h"
#include "report/designer/TPapir.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/run/SaveFileChooser.h"
#include "report/engine/run/sestavy.h"
#include "report/engine/ui/sestp.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Runs `action`; hands the first modal dialog it opens to `answer`, then rejects it if open.
QString answerModal(const std::function<void()>& action,
                    const std::function<void(QDialog&)>& answer) {
    QString seen;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || !seen.isEmpty()) return;
        seen = QString::fromLatin1(dialog->metaObject()->className());
        answer(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    poll.start();
    action();
    return seen;
}

// The row name of the quantity in `place` (1..6).
QString rowName(const AppState& state, int place) {
    return texts::rowName(state.Language, state.QuantityOrder[place]);
}

} // namespace

TEST(PrintReportSetup, SixValuesLabelledWithTheRowNamesOfTheirPlacesAndThePointNumber) {
    for (const int language : {0, 1}) {
        AppState state;
        state.Language = language;
        state.QuantityOrder = {0, 3, 1, 2, 4, 6, 5}; // rotated: labels follow the places
        report::TSestava report;
        setUpPrintReport(report, state);
        ASSERT_EQ(report.GetItemCount(), 7);
        for (int place = 1; place <= 6; ++place) {
            EXPECT_EQ(report.GetItemName(place - 1), u"Vel%1"_s.arg(place));
            EXPECT_EQ(report.GetItemDescription(place - 1), rowName(state, place));
        }
        ASSERT_EQ(report.Parametry().size(), 15);
        // the point's number, labelled with the record caption
        EXPECT_EQ(report.GetItemName(6), u"Bod"_s);
        EXPECT_EQ(report.GetItemDescription(6), report.Parametry()[14]);
    }
}

TEST(PrintReportSetup, TheDesignerOffersTheValuesAndPreviewsTheParameters) {
    QTemporaryDir dir;
    AppState state;
    report::TSestava report(nullptr, dir.path());
    platform::MessageRecorder messages;
    report.setMessageSink(&messages);
    setUpPrintReport(report, state);
    report.SetPredloha({u"I,0,\"Tisk\""_s, u"I,1,5,40,17"_s, u"I,2,0,827,1169,50,50,50,50,1,0"_s,
                        u"I,3,0,1,40,0"_s, u"I,3,2,1,40,0"_s,
                        u"Z,4,0,0,0,300,20,Arial,10,0,0,0,0,1,\"\",0,0,0"_s,
                        u"T,2,Vel2,0,0,200,20,Arial,10,0,0,0,0,1,\"\",0,0,0"_s});
    designer::TFormSestE window;
    window.setMessageSink(&messages);
    ASSERT_TRUE(window.OpenSestava(&report, 1, false));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    for (const char* tool : {"ActionDb", "ActionLb", "ActionPar"})
        EXPECT_TRUE(window.action(QString::fromLatin1(tool))->isEnabled()) << tool;
    // the item tool offers the six values and the point number by name
    window.action(u"ActionDb"_s)->trigger();
    auto* items = window.findChild<QComboBox*>(u"CBVyberPrvku"_s);
    ASSERT_EQ(items->count(), 7);
    EXPECT_EQ(items->itemText(5), u"Položka Vel6"_s);
    window.action(u"ActionNoSelect"_s)->trigger();

    // the value field names its item, and a double click opens its dialog on it
    designer::TSesPrvek* value = nullptr;
    for (int i = 0; i < window.paper()->PocetPrvku(); ++i)
        if (window.paper()->Prvek(i)->Kind() == report::ekItem) value = window.paper()->Prvek(i);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->toolTip(), u"Položka Vel2"_s);
    QString chosen;
    EXPECT_EQ(answerModal([&] { QTest::mouseDClick(value, Qt::LeftButton, {}, QPoint(5, 5)); },
                          [&](QDialog& d) {
                              if (auto* list = d.findChild<QComboBox*>(u"CbIndex"_s))
                                  chosen = list->currentText();
                          }),
              u"designer::TDlgKonfPrvku"_s);
    EXPECT_EQ(chosen, u"#2  Vel2"_s);

    // the preview shows the row names, the parameters the header element shows
    struct Into : report::SaveFileChooser {
        QString path;
        QString chooseSaveFile(const report::SaveFileRequest&) override { return path; }
    } chooser;
    chooser.path = dir.filePath(u"preview.txt"_s);
    report::TFormSestP::setModalHook([&](report::TFormSestP& form) {
        form.setFileChooser(&chooser);
        EXPECT_TRUE(form.ExportText());
        return int(report::TFormSestP::Closed);
    });
    window.action(u"ActionPreview"_s)->trigger();
    report::TFormSestP::setModalHook({});
    QFile text(chooser.path);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(text.readAll()).contains(rowName(state, 1)));

    // the wizard offers the six values and the point number
    messages.scriptAnswers({platform::MessageAnswer::Yes}); // clear the paper
    QStringList offered;
    EXPECT_EQ(answerModal([&] { window.action(u"ActionNew"_s)->trigger(); },
                          [&](QDialog& d) {
                              auto* source = d.findChild<QListWidget*>(u"SrcList"_s);
                              for (int i = 0; source && i < source->count(); ++i)
                                  offered << source->item(i)->text();
                          }),
              u"designer::TDlgNovaSestava"_s);
    EXPECT_EQ(offered, QStringList({"Vel1", "Vel2", "Vel3", "Vel4", "Vel5", "Vel6", "Bod"}));
}
