// Any byte string as an expression, as a number picture, a date picture, an integer pattern
// and a value list: an error code or a text, never a crash, a hang or a sanitizer report.

#include "platform/NumberText.h"
#include "report/engine/expressions/sest_fn.h"

#include <QString>
#include <QStringList>

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// Answers like a report run: two item names, one function name, values of every kind.
int answer(int request, report::TCalcType& value) {
    if (request == report::kRequestItemIndex)
        return value.text == "Cena" ? 0 : value.text == "A" ? 1 : -1;
    if (request == report::kRequestFunctionIndex)
        return value.text.compare("suma", Qt::CaseInsensitive) == 0 ? 0 : -1;
    switch (request % 4) {
    case 0:
        value.kind = 1;
        value.number = request * 1.5;
        value.text = platform::FloatToStr(value.number);
        break;
    case 1:
        value.kind = 2;
        value.text = "Žluťoučký 12,5";
        value.number = report::StrToFloatLoose(value.text);
        break;
    case 2:
        value.null = true;
        break;
    default:
        value.kind = 1;
        value.number = -1e300;
        value.text = "-1E300";
    }
    return 0;
}

void exercise(const QString& text) {
    report::TCalcType value;
    int errPos = 0;
    const int error = report::EvaluateExpression(text, value, errPos);
    // An error code of the table, a position inside the text, never an infinite or NaN value.
    if (error < 0 || error > 13 || errPos < 0 || errPos > text.size()) __builtin_trap();
    if (!std::isfinite(value.number)) __builtin_trap();
    if (value.kind != 0 && value.kind != 1 && value.kind != 2 && value.kind != 5) __builtin_trap();
    platform::FormatFloat(text, value.number);
    platform::FormatFloat(text, -1234.5678);
    platform::FormatDateTime(text.left(64), 46000.75);
    platform::Format(text, -42);
    report::StrToFloatLoose(text);
    QStringList list;
    report::ParseValueList(text, list);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static report::ScopedValueCallback callback(answer);
    const auto* bytes = reinterpret_cast<const char*>(data);
    const auto length = static_cast<qsizetype>(size);
    exercise(QString::fromUtf8(bytes, length));
    exercise(QString::fromLatin1(bytes, length));
    return 0;
}
