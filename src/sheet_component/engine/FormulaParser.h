#pragma once

// Tokenizer and recursive-descent parser turning formula text into a FormulaTree.
// Nesting is limited (kMaxDepth) so that hostile text cannot exhaust the stack,
// neither here nor later when the tree is evaluated or rendered.

#include "sheet_component/engine/FormulaAst.h"

#include <memory>
#include <string>
#include <string_view>

namespace vantor {

class FormulaParser {
public:
    static constexpr int kMaxDepth = 200;

    // nullptr on failure, with a message for the user in `error`.
    static std::shared_ptr<FormulaTree> parse(std::string_view text, std::string &error);
};

} // namespace vantor
