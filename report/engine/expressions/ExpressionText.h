#pragma once
// The text of expressions as their reader and the report's lists see it: the error codes of
// reading and evaluating, the character classes, numbers written loosely, references and
// comma-separated lists of values.

#include "report/engine/expressions/ExpressionValue.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace report {

// Error codes of EvaluateExpression (a reference that names nothing is error 1).
enum ExpressionError : int {
    kExprOk = 0,
    kExprUnknownWord = 1,   // unknown word, unresolvable reference
    kExprSyntax = 2,        // character, operand or operator out of place; text too long
    kExprStackFull = 3,     // more than 40 pending operators or values
    kExprUnopenedParen = 4, // ')' without '('
    kExprUnclosedParen = 5, // '(' open at the end; ErrPos is the text length
    kExprDomain = 6,        // division by zero, overflow, argument out of the domain
    kExprBadNumber = 7,     // malformed or overflowing number literal
    kExprTooFewArgs = 10,   // also an empty argument
    kExprTooManyArgs = 11,  // also a comma outside parentheses
    kExprOpenString = 12,   // unterminated 'string'
    kExprOpenBracket = 13,  // unterminated [name]
};

// Character classes of the expression language.
bool IsDigitChar(QChar c);       // 0-9
bool IsQuoteChar(QChar c);       // '
bool IsBracketChar(QChar c);     // [
bool IsReferencePrefix(QChar c); // # % & @
bool IsNameStartChar(QChar c);   // letter or _
bool IsNameChar(QChar c);        // letter, digit, _ or $
bool IsWordChar(QChar c);        // letter or reference prefix
bool IsOperatorChar(QChar c);    // ) * + - / < = > ^

// A number from loosely written text: the first '.' or ',' is taken for the locale decimal
// separator, leading blanks are skipped, and the text must hold only digits, E, e, the
// separator and a leading '-'. Anything else, or a text that is still no number ("1,2,3",
// "1E", "-", overflow), gives 0.
double StrToFloatLoose(const QString& text);

// The entries of a comma-separated list: 'quoted' entries give their inner text, #, &, @ and %
// references the text of the fetched value (the empty text when the reference is invalid),
// other entries their text up to the next comma.
void ParseValueList(const QString& text, QStringList& list);

// A reference that starts with its prefix at text[i]: its fetch request, or error 1 when it
// names nothing; `end` is the index after it either way.
struct Reference {
    qsizetype end = 0;
    int error = kExprOk;
    int request = 0; // the fetch request of a valid reference
};

// Finds the reference at i; a name is looked up through the callback, nothing is fetched.
Reference ResolveReference(const QString& text, qsizetype i);

// The entries of a comma-separated list as values: quoted text, fetched references, plain
// text; numbers by StrToFloatLoose.
std::vector<TCalcType> ValueListEntries(const QString& text);

} // namespace report
