#pragma once

// The syntax tree of a parsed formula, shared by the parser and by Formula. Nodes
// live in one vector and refer to their children by index, so that copying a
// tree (before a structural edit) is one vector copy and walking every reference
// is a plain loop. Chains of operators of one precedence level ("a+b-c") are one
// node with n operands, which keeps the tree shallow for long sums.

#include "sheet_component/engine/CellValue.h"
#include "sheet_component/engine/Formula.h"

#include <string>
#include <vector>

namespace vantor {

enum class FormulaNodeKind { Number, ErrorLiteral, Ref, Range, Negate, Paren, Chain, Call };

enum class FormulaOp { Add, Sub, Mul, Div, Eq, Ne, Lt, Gt, Le, Ge };

enum class FormulaFunction { Sum, If, Round, Abs, Getcell, Unknown };

struct FormulaNode {
    FormulaNodeKind kind = FormulaNodeKind::Number;
    double number = 0.0;
    std::string text; // number as written; name of an unknown function
    CellError error = CellError::Ref;
    RangeRef ref; // Ref uses col1/row1 (and mirrors them in col2/row2)
    FormulaFunction function = FormulaFunction::Unknown;
    std::vector<int> children;
    std::vector<FormulaOp> ops; // Chain: ops[i] joins children[i] and children[i + 1]
};

struct FormulaTree {
    std::vector<FormulaNode> nodes;
    int root = 0;
    std::vector<RangeRef> references;
    bool hasGetcell = false;

    // Rebuilds `references` and `hasGetcell` from the nodes.
    void collect();
};

} // namespace vantor
