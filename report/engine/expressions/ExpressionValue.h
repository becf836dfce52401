#pragma once
// The value of expressions and the one process-wide value callback through which the
// references of expressions (#item, &parameter, @function, %system-variable) are looked up
// by name and fetched.

#include <QString>

#include <cstdint>
#include <functional>

namespace report {

// The value of every literal, reference, intermediate and result.
struct TCalcType {
    std::uint8_t kind = 0; // 0 empty, 1 number, 2 string, 5 bracketed name
    double number = 0;     // for a string: the text read as a number
    QString text;          // every numeric result carries its text as well
    bool null = false;     // set by the value callback; propagates through operations
};

void ClearCalcValue(TCalcType& value);

// Value callback requests: name lookups answer a 0-based index or -1; fetches fill the value.
constexpr int kRequestItemIndex = 2;      // text = item name
constexpr int kRequestFunctionIndex = 3;  // text = function name
constexpr int kParameterBase = 2000;      // + n - 1: parameter n
constexpr int kItemBase = 4000;           // + n - 1: report item n
constexpr int kFunctionBase = 6000;       // + n - 1: current result of user function n
constexpr int kSystemVariableBase = 8000; // + n - 1: system variable n

using TValueCallback = std::function<int(int request, TCalcType& value)>;

// The one process-wide value callback. Without one, name lookups answer -1 and references
// give the cleared value. A callback must not install another one while it runs.
void InstallValueCallback(TValueCallback callback);
const TValueCallback& ValueCallback();

// While the callback answers a fetch: whether the evaluator will read the value's text. False
// when the text cannot reach the result (a sum of #Cena reads its number only); the callback
// may then leave the text empty instead of formatting it. True outside a fetch.
bool ValueTextWanted();

// Installs a callback for its lifetime, then restores the one that was installed before.
class ScopedValueCallback {
public:
    explicit ScopedValueCallback(TValueCallback callback);
    ~ScopedValueCallback();
    ScopedValueCallback(const ScopedValueCallback&) = delete;
    ScopedValueCallback& operator=(const ScopedValueCallback&) = delete;

private:
    TValueCallback m_previous;
};

// Looks `name` up through the callback (request kRequestItemIndex or kRequestFunctionIndex):
// the 0-based index it answers, -1 without a callback.
int LookUpName(int request, const QString& name);
// Fetches the value of a request through the callback, telling it through ValueTextWanted
// whether the value's text will be read; the cleared value without a callback.
TCalcType FetchValue(int request, bool wantText);

} // namespace report
