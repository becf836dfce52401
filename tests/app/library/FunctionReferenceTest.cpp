// EvaluateFunction against the real property library: every code's values from the committed
// reference table (tests/oracle/gen_function_reference.py), and the states it rejects.

#include "ReferenceCsv.h"
#include "app/FunctionEvaluator.h"
#include "app/LibraryBinding.h"
#include "app/Texts.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The function's value, or -1 (the reference table's mark) where it gives none.
double evaluate(int code, double x1, double x2 = 0, double x3 = 0) {
    const FunctionResult r = EvaluateFunction(RealPropertyLibrary(), code, x1, x2, x3);
    return r.status == FunctionResult::Computed ? r.value : -1.0;
}

} // namespace

TEST(FunctionReference, EveryCodeMatchesTheReferenceTable) {
    const std::vector<CsvRow> rows = readCsv("function_reference.csv");
    ASSERT_GT(rows.size(), 300u);
    std::set<int> codes;
    for (const CsvRow& r : rows) {
        ASSERT_EQ(r.numbers.size(), 7u) << "bad line of code " << r.texts[0];
        codes.insert(int(r[0]));
        EXPECT_NEAR(evaluate(int(r[0]), r[1], r[2], r[3]), r[4], r[5])
            << "code " << r.texts[0] << " (" << r[1] << ", " << r[2] << ", " << r[3] << ") from "
            << r.texts[6];
    }
    // All listed functions, and the six dryness codes no list offers.
    std::set<int> expected;
    for (int group = 1; group <= 5; ++group)
        for (int i = 0; i < texts::functionNames(texts::English, group).size(); ++i)
            expected.insert(100 * group + i);
    for (int code = 216; code <= 221; ++code)
        expected.insert(code);
    EXPECT_EQ(codes, expected);
}

TEST(FunctionReference, RejectedStatesAndChainsWithoutADrop) {
    // Out of range: no value.
    EXPECT_EQ(evaluate(310, 900, 1), -1.0);
    EXPECT_EQ(evaluate(501, 1, -5000), -1.0);
    // No expansion without a pressure drop; a pump never gives negative work.
    EXPECT_EQ(evaluate(508, 1, 3000, 1), 0.0);
    EXPECT_EQ(evaluate(509, 10, 40, 0.1), 0.0);
    // Negative inputs are passed through: the library rejects them.
    for (int code : {100, 200, 310, 400, 502, 504, 506})
        EXPECT_EQ(evaluate(code, -1, -1, -1), -1.0) << code;
}
