// Any text pasted into the designer: the clipboard holds the designer's marker line and then
// the bytes (UTF-8), pasted into a section of a template, as the user pastes. Never a crash, a
// hang or a sanitizer report; a paste is one step of the history: undoing it gives back the
// template as it was, and redoing it the pasted one.

#include "FuzzApplication.h"

#include "platform/MessageSink.h"
#include "report/designer/TFormSestE.h"
#include "report/designer/TPapir.h"
#include "report/engine/run/sestavy.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// Answers every question No and keeps nothing.
struct Declining : platform::MessageSink {
    void ShowMessage(const QString&) override {}
};

// A report with items, parameters and a detail, and a designer open on a template with a
// header, a body and a footer holding a few elements.
struct OpenDesigner {
    OpenDesigner() : report(nullptr, folder.path()), detail(nullptr, folder.path()) {
        report.setMessageSink(&messages);
        report.SetItemNames({QStringLiteral("pol0"), QStringLiteral("pol1")});
        report.setParametry({QStringLiteral("a"), QStringLiteral("b")});
        detail.setMaster(&report);
        report.SetPredloha(QStringList{
            QStringLiteral("I,0,\"Schránka\""),
            QStringLiteral("I,1,5,40,17"),
            QStringLiteral("I,2,0,827,1169,50,50,70,70,1,0"),
            QStringLiteral("I,3,2,1,300,0"),
            QStringLiteral("I,6,0,8,8,0,1,1,0"),
            QStringLiteral("Z,1,0,5,5,40,20,Arial,10,0,0,0,0,1,\"hlavička\",0,0,0"),
            QStringLiteral("T,1,0,10,10,50,20,Arial,10,0,0,0,0,1,\"a\",0,0,0"),
            QStringLiteral("T,2,\"pol1\",100,50,60,20,Arial,12,3,1,1,5,238,\"\",0,0,0"),
            QStringLiteral("T,7,0,140,90,30,3,,1,0,0,0,15,0"),
        });
        window = std::make_unique<designer::TFormSestE>();
        window->setMessageSink(&messages);
        check(window->OpenSestava(&report, 1, false));
    }
    QTemporaryDir folder;
    Declining messages;
    report::TSestava report;
    report::TSestDetail detail;
    std::unique_ptr<designer::TFormSestE> window;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static OpenDesigner open;
    designer::TFormSestE& window = *open.window;
    const QString text = QStringLiteral("VoranEditor\r\n") +
                         QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QGuiApplication::clipboard()->setText(text);

    const report::TPredloha before = window.storedText();
    const int step = window.history().CurrentIndex();
    designer::TPapir* paper = window.paper();
    const int sections = paper->PocetOddilu();
    const int x = size > 0 ? data[0] * 3 : 0;
    window.PasteAt(paper->Oddil(sections > 0 ? int(size % sections) : 0), x, 40);
    if (window.history().CurrentIndex() == step) {
        check(window.storedText() == before);
        return 0;
    }
    const report::TPredloha pasted = window.storedText();
    window.Undo();
    check(window.storedText() == before);
    window.Redo();
    check(window.storedText() == pasted);
    window.Undo();
    return 0;
}
