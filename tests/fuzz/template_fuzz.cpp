// Any bytes as a template file: read into a report with a registered detail, written back, and
// the written text read again. Never a crash, a hang or a sanitizer report, and writing is
// stable: the text written from a re-read template is the text that was read.

#include "report/engine/run/sestavy.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Template fonts are looked up in the font database, which needs the application object.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList items{QStringLiteral("name"), QStringLiteral("grp"), QStringLiteral("t")};

    report::TSestava first(nullptr, QStringLiteral("/nonexistent"));
    report::TSestDetail firstDetail(nullptr, QStringLiteral("/nonexistent"));
    firstDetail.setMaster(&first);
    first.SetItemNames(items);
    first.SetPredloha(report::TPredloha::FromBytes(bytes));
    const report::TPredloha written = first.WriteTemplate();

    report::TSestava second(nullptr, QStringLiteral("/nonexistent"));
    report::TSestDetail secondDetail(nullptr, QStringLiteral("/nonexistent"));
    secondDetail.setMaster(&second);
    second.SetItemNames(items);
    second.SetPredloha(report::TPredloha::FromBytes(written.ToBytes()));
    if (second.WriteTemplate() != written) std::abort();
    return 0;
}
