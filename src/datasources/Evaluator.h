#pragma once

#include "datasources/EasyEvaluator.h"

#include <string_view>

// Evaluates expressions of the expression language in one pass over the text (no syntax tree):
// numbers, the operators of ExpressionOperators.h and calls of the registered functions.
class TEvaluator : public TEasyEvaluator {
public:
    // Expressions nested deeper than this (parentheses or prefix operators) are refused.
    static constexpr int MaxNesting = 256;

    // The value of `text`, with numbers in the user's decimal format. Fails with EVorlixError
    // carrying the message of the first parse or arithmetic error.
    long double Evaluate(std::string_view text) const;
};
