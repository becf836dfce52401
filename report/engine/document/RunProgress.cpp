#include "report/engine/document/RunProgress.h"

namespace report {

namespace {
RunProgressFactory& factory() {
    static RunProgressFactory installed;
    return installed;
}
} // namespace

void InstallRunProgress(RunProgressFactory f) {
    factory() = std::move(f);
}

std::unique_ptr<RunProgress> MakeRunProgress() {
    return factory() ? factory()() : nullptr;
}

} // namespace report
