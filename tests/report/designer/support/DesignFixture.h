#pragma once
// A paper with the five fixed sections in a window of its own, a receiver that records every
// notification, and a mouse drag through the window as the user makes it.

#include "report/designer/DesignerEvents.h"
#include "report/designer/TOddil.h"
#include "report/designer/TPapir.h"
#include "report/designer/TSesPrvek.h"
#include "report/engine/run/sestavy.h"

#include <QStringList>
#include <QTest>
#include <QWindow>

#include <memory>

namespace designtest {

using namespace Qt::StringLiterals;

// Records "E<code>" or "E<code> <kind>" and "P<code> a b"; answers 16 with `insertionTool`.
struct Recorder : designer::DesignerEvents {
    int elementEvent(int code, designer::TSesPrvek* element) override {
        events << (element ? u"E%1 el"_s.arg(code) : u"E%1"_s.arg(code));
        return code == designer::eeInsertionTool ? insertionTool : 0;
    }
    int paperEvent(int code, int a, int b) override {
        if (code != designer::peMouseAt || recordMouse)
            events << u"P%1 %2 %3"_s.arg(code).arg(a).arg(b);
        return 0;
    }
    designer::TSesPrvek* primarySelection() const override { return nullptr; }
    // The events so far without the insertion-tool question; forgets them.
    QStringList take() {
        const QStringList taken = events.filter(QRegularExpression("^(?!E16$)"));
        events.clear();
        return taken;
    }

    QStringList events;
    int insertionTool = 0;
    bool recordMouse = false;
};

struct Sheet {
    explicit Sheet(double zoom = 1.0) {
        paper = new designer::TPapir(&window);
        paper->setEvents(&recorder);
        for (report::SectionNumber code : designer::kFixedSectionCodes)
            paper->AddOddil(code);
        paper->SetSirka(827);
        paper->SetZoom(zoom);
    }
    designer::TOddil* body() const { return paper->Oddil(2); }

    // A new control of `kind` at the bounds in `section` (the body by default).
    designer::TSesPrvek* add(int kind, int left, int top, int width, int height,
                             designer::TOddil* section = nullptr) {
        section = section ? section : body();
        auto* control = new designer::TSesPrvek(section);
        auto element = std::make_unique<report::TVoranReportElement>(&report);
        element->Kind = kind;
        element->Left = left;
        element->Top = top;
        element->Width = width;
        element->Height = height;
        control->setElement(std::move(element));
        paper->AddPrvek(section, control);
        control->SetZoom(paper->zoom());
        return control;
    }

    void show() {
        // The paper may be far bigger than any screen; the window shows its top left.
        window.resize((paper->size() + QSize(20, 20)).boundedTo(QSize(1800, 1400)));
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }

    report::TSestava report;
    Recorder recorder;
    QWidget window;
    designer::TPapir* paper;
};

// Press at the first point of `path` (pixels of `widget`), move through the others and release
// at the last, all through the window, so that grabs and the held button count as for a real
// mouse.
inline void dragAlong(QWidget* widget, const QList<QPoint>& path,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWindow* window = widget->window()->windowHandle();
    QList<QPoint> at;
    for (const QPoint& p : path)
        at << widget->mapTo(widget->window(), p);
    QTest::mousePress(window, Qt::LeftButton, modifiers, at.first());
    for (qsizetype i = 1; i < at.size(); ++i)
        QTest::mouseMove(window, at[i]);
    QTest::mouseRelease(window, Qt::LeftButton, modifiers, at.last());
}

// A drag from `from` to `to` in `steps` equal moves.
inline void drag(QWidget* widget, QPoint from, QPoint to,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier, int steps = 1) {
    QList<QPoint> path{from};
    for (int i = 1; i <= steps; ++i)
        path << from + (to - from) * i / steps;
    dragAlong(widget, path, modifiers);
}

} // namespace designtest
