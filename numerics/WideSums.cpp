#include "numerics/WideSums.h"

namespace numerics {

namespace {

bool processorHasWideSums() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
#else
    return false;
#endif
}

} // namespace

namespace detail {
bool g_wideSums = processorHasWideSums();
} // namespace detail

bool useWideSums(bool wide) {
    detail::g_wideSums = wide && processorHasWideSums();
    return detail::g_wideSums;
}

} // namespace numerics
