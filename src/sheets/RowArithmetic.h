#pragma once

// The amount operation of the detail-sheet row formulas. Every derived cell of a
// data row (adjusted value, unit price, amount, appreciation rate) is computed with
// it, on currency values with four decimals:
//   '+'  a + b + c, exact
//   '-'  a − b
//   '*'  a × b × c rounded to two decimals, halves to the even neighbour
//   '/'  a ÷ b to four decimals (halves to even); 0 when b is 0
//   '%'  appreciation rate of adjusted a and appraised b: (b − a) ÷ |a| × 100 to two
//        decimals, halves to even; 0 when a is 0
// Products and rates are rounded once, from the exact result, so a product never
// suffers a double rounding. A result outside the currency range throws
// AmountOverflow; nothing wraps around.

#include "common/Amount.h"

namespace vantor {

class RowArithmetic {
public:
    // The operation by its one-character operator; an unknown operator gives 0.
    static Amount apply(char op, Amount a, Amount b, Amount c = Amount());

    static Amount sum(Amount a, Amount b, Amount c = Amount());
    static Amount difference(Amount a, Amount b);
    // a × b × c ÷ 10^extraDecimals rounded to two decimals. extraDecimals (0 … 4) lets a
    // percentage enter as a fraction (c × 0.01) without rounding it first.
    static Amount product(Amount a, Amount b, Amount c, int extraDecimals = 0);
    static Amount quotient(Amount a, Amount b);
    static Amount rate(Amount adjusted, Amount appraised);
};

} // namespace vantor
