#pragma once
// Exact rational rounding, so gradients come out the same on every compiler and
// floating-point unit (x87 and SSE disagree on halves reached by accumulation).

namespace quillon::controls {

// numerator / denominator rounded to the nearest integer, halves to even.
// The denominator must not be 0.
constexpr long long RoundHalfEven(long long numerator, long long denominator) {
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    long long quotient = numerator / denominator;
    long long remainder = numerator % denominator;
    if (remainder < 0) {
        quotient -= 1;
        remainder += denominator;
    }
    if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0)) quotient += 1;
    return quotient;
}

}  // namespace quillon::controls
