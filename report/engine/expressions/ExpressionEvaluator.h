#pragma once
// The evaluator of expressions: one-line expressions of number, 'string' and [name] literals,
// the references #item, &parameter, @function and %system-variable (by number, #/@ also by
// name), the built-in functions and the operators NOT ^ * / AND + - OR = < > <> <= >= IN.
// Values of references come from the process-wide value callback.

#include "report/engine/expressions/ExpressionText.h"
#include "report/engine/expressions/ExpressionValue.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace report {

// Longest expression accepted, in characters; a longer one is error 2 at this position.
constexpr int kMaxExpressionLength = 255;

// Evaluates `text` and returns the error code (0 on success). `value` receives the result,
// also after an error (the bottom of the value stack, or the cleared value). `errPos` is the
// 0-based offset of the token where the error was found (the text length for error 5). An
// error 6 does not stop the evaluation: the failing step gives the number 0. The evaluator
// keeps its stacks per call; it needs no state but the value callback.
int EvaluateExpression(const QString& text, TCalcType& value, int& errPos);

// An expression read into the order its values are computed in: operands pushed, operators and
// functions applied to the values on top. Names are looked up when it is read.
struct ParsedExpression {
    struct Step {
        enum Kind : std::uint8_t { Literal, Fetch, Unary, Binary, Function };
        Kind kind = Literal;
        // Whether this step's text can reach the result; without it a number is not formatted
        // and a reference asks for its number only.
        bool wantText = true;
        int code = 0; // Fetch: the request; Unary, Binary: the token; Function: its number
        int pos = 0;  // where an error 6 of this step is reported
        std::array<int, 3> operands{}; // the steps whose values this one takes
        TCalcType literal;
    };
    std::vector<Step> steps; // up to the error, when there is one
    int error = kExprOk;
    int errPos = 0;
};

// Reads `text` once, looking its names up through the callback installed now; `resultText`
// says whether the result's text will be read. An error stops the reading: the steps up to it
// stay, with the error and its position.
ParsedExpression ReadExpression(const QString& text, bool resultText);
// Computes the steps of an expression read by ReadExpression, as EvaluateExpression computes
// the text it was read from.
int EvaluateParsed(const ParsedExpression& e, TCalcType& value, int& errPos);

} // namespace report
