#pragma once
// Reports fed from an in-memory table through the data events, templates written line by line,
// and a readable dump of the output document.

#include "report/engine/document/sestvyst.h"
#include "report/engine/printing/sestprn.h"
#include "report/engine/run/sestavy.h"

#include <QStringList>

#include <algorithm>
#include <tuple>
#include <vector>

namespace reporttest {

// A report whose records come from `rows` through OnStepData and OnGetData.
struct TableReport {
    explicit TableReport(const QStringList& columns, const std::vector<QStringList>& data = {})
        : rows(data) {
        report.SetItemNames(columns);
        report.OnGetData = [this](report::TSestavaD* sender) {
            sender->itemValues() =
                current >= 0 && current < int(rows.size()) ? rows[size_t(current)] : QStringList();
        };
        report.OnStepData = [this](report::TSestavaD*, int dir) {
            ++steps;
            if (endless) return 0;
            if (dir == 0) {
                current = 0;
                return rows.empty() ? 1 : 0;
            }
            if (current + 1 >= int(rows.size())) return 2;
            ++current;
            return 0;
        };
    }

    void setTemplate(const QStringList& lines) { report.SetPredloha(report::TPredloha(lines)); }

    // Templates set the process-wide page setup; it is restored with the report.
    report::PageSetupGuard pageSetup;
    report::TSestava report;
    std::vector<QStringList> rows;
    int current = -1;
    int steps = 0;
    bool endless = false; // every step answers "moved"
};

// Answers save dialogs with `answer` ("" cancels) and keeps what each one asked.
struct RecordingChooser : report::SaveFileChooser {
    QString chooseSaveFile(const report::SaveFileRequest& request) override {
        requests << request;
        return answer;
    }
    QString answer;
    QList<report::SaveFileRequest> requests;
};

// A text-kind element line: kind, reference, rectangle, text, and alignment with options.
inline QString textLine(const QString& key, int kind, const QString& ref, int left, int top,
                        int width, int height, const QString& text = {}, int alignment = 0,
                        int size = 10, const QString& font = QStringLiteral("Arial")) {
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9,0,0,%10,0,238,\"%11\",0,0,0")
        .arg(key)
        .arg(kind)
        .arg(ref)
        .arg(left)
        .arg(top)
        .arg(width)
        .arg(height)
        .arg(font)
        .arg(size)
        .arg(alignment)
        .arg(text);
}

// Paper of width x height with all four margins `margin` (1/100 inch).
inline QString paperLine(int width, int height, int margin, int columns = 1, int gap = 0) {
    return QStringLiteral("I,2,0,%1,%2,%3,%3,%3,%3,%4,%5")
        .arg(width)
        .arg(height)
        .arg(margin)
        .arg(columns)
        .arg(gap);
}

inline QString sectionLine(int section, bool visible, int height, int flags = 0) {
    return QStringLiteral("I,3,%1,%2,%3,%4")
        .arg(section)
        .arg(visible ? 1 : 0)
        .arg(height)
        .arg(flags);
}

// One line per element: "page kind left,top widthxheight 'text'", pages from 1, elements in
// drawing order.
inline QStringList dump(const report::TSestVystup& doc) {
    QStringList out;
    for (int p = 0; p < doc.PageCount(); ++p) {
        const report::TStranaPrvku* page = doc.Page(p);
        for (int i = 0; i < page->Count(); ++i) {
            const report::TVystPrvek* e = page->Prvek(i);
            QString text = e->Text();
            if (e->Lines())
                text += QStringLiteral(" [%1-%2]").arg(e->FirstLine()).arg(e->LastLine());
            out << QStringLiteral("%1 k%2 %3,%4 %5x%6 '%7'")
                       .arg(p + 1)
                       .arg(e->Kind())
                       .arg(e->Left)
                       .arg(e->Top)
                       .arg(e->Width)
                       .arg(e->Height)
                       .arg(text);
        }
    }
    return out;
}

// The dump sorted by page, then top, then left (drawing order is by kind and options).
inline QStringList readingOrder(QStringList dumped) {
    const auto key = [](const QString& line) {
        const QString at = line.section(u' ', 2, 2);
        return std::tuple(line.section(u' ', 0, 0).toInt(), at.section(u',', 1, 1).toInt(),
                          at.section(u',', 0, 0).toInt());
    };
    std::stable_sort(dumped.begin(), dumped.end(),
                     [&](const QString& a, const QString& b) { return key(a) < key(b); });
    return dumped;
}

inline QStringList readingDump(const report::TSestVystup& doc) {
    return readingOrder(dump(doc));
}

// The dumped lines of one page whose text contains `needle`.
inline QStringList linesWith(const QStringList& dumped, const QString& needle) {
    return dumped.filter(needle);
}

} // namespace reporttest
