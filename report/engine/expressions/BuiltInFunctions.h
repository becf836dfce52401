#pragma once
// The 37 built-in functions of expressions: their names and argument counts, what they
// compute, and the number and string values they and the evaluator make.

#include "report/engine/expressions/ExpressionValue.h"

#include <QString>

namespace report {

// Number of built-in functions.
constexpr int kFunctionCount = 37;

// Built-in function n (1..37) as the expression builder inserts it, e.g. "MAX(,)"; empty
// for any other n.
QString FunctionTemplate(int n);

// The built-in functions by number (1..kFunctionCount), as the evaluator's steps name them.
namespace builtin {

enum Fn {
    ABS = 1,
    INT,
    SGN,
    MAX,
    MIN,
    IIF,
    LEFT,
    RIGHT,
    SUBSTR,
    UPPER,
    LOWER,
    LTRIM,
    RTRIM,
    ALLTRIM,
    FORMAT,
    SIN,
    COS,
    TAN,
    COTG,
    EXP,
    LOG,
    ASIN,
    ACOS,
    ATAN,
    ACOTG,
    CHR,
    ORD,
    LENGTH,
    POS,
    ISNULL,
    YEAR,
    MONTH,
    DAY,
    HOUR,
    MINUTE,
    SECUNDE,
    FORMATDT
};

} // namespace builtin

// The number of the built-in function named `upperWord` (in upper case), 0 when none is.
int BuiltInNumber(const QString& upperWord);
// How many arguments built-in function n (1..kFunctionCount) takes.
int BuiltInArgumentCount(int n);

// Applies built-in function n to its arguments; sets `domainError` on a result outside the
// function's domain (the result is then the number 0). A number result carries its text only
// when `wantText` is set.
TCalcType ApplyBuiltIn(int n, const TCalcType* a, bool& domainError, bool wantText);

// A computed number, its text made only when something reads it.
TCalcType NumberResult(double v, bool wantText);
// A string, its number read by StrToFloatLoose.
TCalcType StringValue(const QString& text);

} // namespace report
