#pragma once

// The operators of the expression language. Comparisons and the logical operators give 1 for true
// and 0 for false; the bitwise and integer operators work on the operands rounded to signed 64-bit
// integers (ties to even).
enum class TExpressionOperator {
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Compare,
    Add,
    Subtract,
    Or,
    Xor,
    BitOr,
    BitXor,
    Multiply,
    Divide,
    IntegerDivide,
    Modulo,
    And,
    ShiftLeft,
    ShiftRight,
    BitAnd,
};

enum class TPrefixOperator { Plus, Minus, Not, BitNot };

// Fail with EVorlixError: "Floating point overflow", "Floating point division by zero",
// "Invalid floating point operation" or "Division by zero".
long double ApplyOperator(TExpressionOperator op, long double left, long double right);
long double ApplyPrefixOperator(TPrefixOperator op, long double operand);

// Fails with "Floating point overflow" when `value` is beyond the range of the extended type.
long double CheckedResult(long double value);
