#include "datasources/ExpressionOperators.h"

#include "platform/VorlixError.h"

#include <cmath>
#include <cstdint>

namespace {

[[noreturn]] void Fail(const char* message) {
    throw EVorlixError(message);
}

long double Truth(bool condition) {
    return condition ? 1 : 0;
}

constexpr long double TwoToThe63 = 9223372036854775808.0L;

// Rounds to the nearest integer, ties to the even one (the default rounding mode).
std::int64_t RoundToInt64(long double value) {
    // Operands are mostly whole numbers already; they skip nearbyint, which saves and restores
    // the floating-point environment on every call.
    if (value >= -TwoToThe63 && value < TwoToThe63) {
        const auto truncated = static_cast<std::int64_t>(value);
        if (static_cast<long double>(truncated) == value) {
            return truncated;
        }
    }
    const long double rounded = std::nearbyint(value);
    if (rounded < -TwoToThe63 || rounded >= TwoToThe63) {
        Fail("Invalid floating point operation");
    }
    return static_cast<std::int64_t>(rounded);
}

long double Divide(long double left, long double right) {
    if (right == 0) {
        Fail(left == 0 ? "Invalid floating point operation" : "Floating point division by zero");
    }
    return CheckedResult(left / right);
}

// Truncating division of the rounded operands, or its remainder (with the sign of the left one).
long double IntegerDivide(long double left, long double right, bool remainder) {
    const std::int64_t dividend = RoundToInt64(left);
    const std::int64_t divisor = RoundToInt64(right);
    if (divisor == 0) {
        Fail("Division by zero");
    }
    if (divisor == -1) {
        // The smallest integer divided by -1 does not fit 64 bits, but its quotient is still a number.
        return remainder ? 0 : -static_cast<long double>(dividend);
    }
    return static_cast<long double>(remainder ? dividend % divisor : dividend / divisor);
}

// Shifts the 64-bit pattern of the rounded left operand by the low six bits of the right one.
long double Shift(long double left, long double right, bool toLeft) {
    const auto pattern = static_cast<std::uint64_t>(RoundToInt64(left));
    const auto count = static_cast<unsigned>(RoundToInt64(right) & 63);
    return static_cast<long double>(static_cast<std::int64_t>(toLeft ? pattern << count : pattern >> count));
}

long double Compare(long double left, long double right) {
    if (left > right) {
        return 1;
    }
    return left == right ? 0 : -1;
}

} // namespace

long double CheckedResult(long double value) {
    if (std::isinf(value)) {
        Fail("Floating point overflow");
    }
    return value;
}

long double ApplyOperator(TExpressionOperator op, long double left, long double right) {
    switch (op) {
    case TExpressionOperator::Equal:
        return Truth(left == right);
    case TExpressionOperator::NotEqual:
        return Truth(left != right);
    case TExpressionOperator::Less:
        return Truth(left < right);
    case TExpressionOperator::LessEqual:
        return Truth(left <= right);
    case TExpressionOperator::Greater:
        return Truth(left > right);
    case TExpressionOperator::GreaterEqual:
        return Truth(left >= right);
    case TExpressionOperator::Compare:
        return Compare(left, right);
    case TExpressionOperator::Add:
        return CheckedResult(left + right);
    case TExpressionOperator::Subtract:
        return CheckedResult(left - right);
    case TExpressionOperator::Or:
        return Truth(left != 0 || right != 0);
    case TExpressionOperator::Xor:
        return Truth((left != 0) != (right != 0));
    case TExpressionOperator::And:
        return Truth(left != 0 && right != 0);
    case TExpressionOperator::Multiply:
        return CheckedResult(left * right);
    case TExpressionOperator::Divide:
        return Divide(left, right);
    case TExpressionOperator::IntegerDivide:
        return IntegerDivide(left, right, false);
    case TExpressionOperator::Modulo:
        return IntegerDivide(left, right, true);
    case TExpressionOperator::ShiftLeft:
        return Shift(left, right, true);
    case TExpressionOperator::ShiftRight:
        return Shift(left, right, false);
    case TExpressionOperator::BitOr:
        return static_cast<long double>(RoundToInt64(left) | RoundToInt64(right));
    case TExpressionOperator::BitXor:
        return static_cast<long double>(RoundToInt64(left) ^ RoundToInt64(right));
    case TExpressionOperator::BitAnd:
        return static_cast<long double>(RoundToInt64(left) & RoundToInt64(right));
    }
    Fail("Invalid floating point operation");
}

long double ApplyPrefixOperator(TPrefixOperator op, long double operand) {
    switch (op) {
    case TPrefixOperator::Plus:
        return operand;
    case TPrefixOperator::Minus:
        return -operand;
    case TPrefixOperator::Not:
        return Truth(operand == 0);
    case TPrefixOperator::BitNot:
        return static_cast<long double>(~RoundToInt64(operand));
    }
    Fail("Invalid floating point operation");
}
