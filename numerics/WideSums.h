#pragma once
// The long sums of the basic equations run two lanes wide on every x86-64 processor, and four
// lanes wide where the processor has AVX. A unit compiles each function of such sums twice,
// the second time marked KOLV_WIDE_SUMS, and calls that one while wideSums() holds. The wide
// function adds every term into the same partial sum in the same order as the narrow one and
// forms no fused multiply-add, so both give the same digits and raise the same flags.

namespace numerics {

#if defined(__x86_64__) || defined(__i386__)
#define KOLV_WIDE_SUMS gnu::target("avx")
#else
#define KOLV_WIDE_SUMS
#endif

namespace detail {
// Read once at start-up; false before that (a static initialiser of another unit calling in).
extern bool g_wideSums;
} // namespace detail

inline bool wideSums() {
    return detail::g_wideSums;
}

// For tests: switches to the wide sums, where the processor has them, or to the narrow ones;
// true when the wide ones run now.
bool useWideSums(bool wide);

} // namespace numerics
