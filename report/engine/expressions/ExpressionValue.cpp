#include "report/engine/expressions/ExpressionValue.h"

#include <utility>

namespace report {

void ClearCalcValue(TCalcType& value) {
    value.kind = 0;
    value.number = 0;
    value.text.clear();
    value.null = false;
}

namespace {

TValueCallback& callbackSlot() {
    static TValueCallback callback;
    return callback;
}

bool& textWantedSlot() {
    static bool wanted = true;
    return wanted;
}

} // namespace

int LookUpName(int request, const QString& name) {
    const TValueCallback& callback = callbackSlot();
    if (!callback) return -1;
    TCalcType value;
    value.text = name;
    return callback(request, value);
}

TCalcType FetchValue(int request, bool wantText) {
    TCalcType value;
    const TValueCallback& callback = callbackSlot();
    if (!callback) return value;
    struct Restore {
        bool before;
        ~Restore() { textWantedSlot() = before; }
    } restore{std::exchange(textWantedSlot(), wantText)};
    callback(request, value);
    return value;
}

void InstallValueCallback(TValueCallback callback) {
    callbackSlot() = std::move(callback);
}
const TValueCallback& ValueCallback() {
    return callbackSlot();
}
bool ValueTextWanted() {
    return textWantedSlot();
}

ScopedValueCallback::ScopedValueCallback(TValueCallback callback) : m_previous(callbackSlot()) {
    callbackSlot() = std::move(callback);
}

ScopedValueCallback::~ScopedValueCallback() {
    callbackSlot() = std::move(m_previous);
}

} // namespace report
