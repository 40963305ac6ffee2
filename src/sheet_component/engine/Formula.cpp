#include "sheet_component/engine/Formula.h"

#include "common/Rounding.h"
#include "sheet_component/engine/FormulaAst.h"
#include "sheet_component/engine/FormulaParser.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>

namespace vantor {

namespace {

// A difference smaller than this share of its operands is the binary residue of
// decimal amounts (0.1 + 0.2 - 0.3) and counts as zero, so that "d19=0" and
// division guards see the zero the user sees.
constexpr double kResidue = 0x1p-50;

// Ranges read at most this many cells; a larger one is a typing slip that would
// stall the program.
constexpr long long kMaxRangeCells = 1LL << 22;

double snapResidue(double result, double scale)
{
    return std::fabs(result) <= scale * kResidue ? 0.0 : result;
}

// Neumaier's compensated summation.
class Summer {
public:
    void add(double x)
    {
        const double t = m_sum + x;
        if (std::fabs(m_sum) >= std::fabs(x))
            m_compensation += (m_sum - t) + x;
        else
            m_compensation += (x - t) + m_sum;
        m_sum = t;
        m_magnitude += std::fabs(x);
    }
    double result() const { return snapResidue(m_sum + m_compensation, m_magnitude); }

private:
    double m_sum = 0.0;
    double m_compensation = 0.0;
    double m_magnitude = 0.0;
};

std::string lower(std::string s)
{
    for (char &c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const char *opText(FormulaOp op)
{
    switch (op) {
    case FormulaOp::Add:
        return "+";
    case FormulaOp::Sub:
        return "-";
    case FormulaOp::Mul:
        return "*";
    case FormulaOp::Div:
        return "/";
    case FormulaOp::Eq:
        return "=";
    case FormulaOp::Ne:
        return "<>";
    case FormulaOp::Lt:
        return "<";
    case FormulaOp::Gt:
        return ">";
    case FormulaOp::Le:
        return "<=";
    case FormulaOp::Ge:
        return ">=";
    }
    return "?";
}

std::string cellName(int col, int row)
{
    return columnName(col) + std::to_string(row + 1);
}

// A value as an operand of arithmetic: empty counts 0, a numeric text its number.
// Returns false (and sets `error`) for errors and other texts.
bool arithmetic(const CellValue &v, double &out, CellValue &error)
{
    switch (v.type()) {
    case CellValue::Type::Empty:
        out = 0.0;
        return true;
    case CellValue::Type::Number:
        out = v.number();
        return true;
    case CellValue::Type::Text:
        if (parseCellNumber(v.text(), out))
            return true;
        error = CellValue::error(CellError::Value);
        return false;
    case CellValue::Type::Error:
        error = v;
        return false;
    }
    error = CellValue::error(CellError::Value);
    return false;
}

int compareNumbers(double a, double b)
{
    if (std::fabs(a - b) <= std::max(std::fabs(a), std::fabs(b)) * kResidue)
        return 0;
    return a < b ? -1 : 1;
}

int compareTexts(const std::string &a, const std::string &b)
{
    const int c = lower(a).compare(lower(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

class Evaluator {
public:
    Evaluator(const FormulaTree &tree, const FormulaContext &ctx, int ownSheet)
        : m_tree(tree), m_ctx(ctx), m_ownSheet(ownSheet)
    {
    }

    CellValue eval(int index)
    {
        const FormulaNode &node = m_tree.nodes[static_cast<size_t>(index)];
        switch (node.kind) {
        case FormulaNodeKind::Number:
            return CellValue::number(node.number);
        case FormulaNodeKind::ErrorLiteral:
            return CellValue::error(node.error);
        case FormulaNodeKind::Ref:
            return m_ctx.value(m_ownSheet, node.ref.col1, node.ref.row1);
        case FormulaNodeKind::Range:
            // A range outside sum() has no single value.
            if (node.ref.col1 == node.ref.col2 && node.ref.row1 == node.ref.row2)
                return m_ctx.value(m_ownSheet, node.ref.col1, node.ref.row1);
            return CellValue::error(CellError::Value);
        case FormulaNodeKind::Negate: {
            double x = 0.0;
            CellValue error;
            if (!arithmetic(eval(node.children[0]), x, error))
                return error;
            return CellValue::number(-x);
        }
        case FormulaNodeKind::Paren:
            return eval(node.children[0]);
        case FormulaNodeKind::Chain:
            return chain(node);
        case FormulaNodeKind::Call:
            return call(node);
        }
        return CellValue::error(CellError::Value);
    }

private:
    CellValue chain(const FormulaNode &node)
    {
        CellValue left = eval(node.children[0]);
        for (size_t i = 0; i < node.ops.size(); ++i) {
            CellValue right = eval(node.children[i + 1]);
            left = binary(node.ops[i], left, right);
        }
        return left;
    }

    static CellValue binary(FormulaOp op, const CellValue &a, const CellValue &b)
    {
        if (a.isError())
            return a;
        if (b.isError())
            return b;
        if (op >= FormulaOp::Eq)
            return CellValue::number(compare(op, a, b) ? 1.0 : 0.0);
        double x = 0.0, y = 0.0;
        CellValue error;
        if (!arithmetic(a, x, error) || !arithmetic(b, y, error))
            return error;
        double r = 0.0;
        switch (op) {
        case FormulaOp::Add:
            r = snapResidue(x + y, std::max(std::fabs(x), std::fabs(y)));
            break;
        case FormulaOp::Sub:
            r = snapResidue(x - y, std::max(std::fabs(x), std::fabs(y)));
            break;
        case FormulaOp::Mul:
            r = x * y;
            break;
        case FormulaOp::Div:
            if (y == 0.0)
                return CellValue::error(CellError::Div0);
            r = x / y;
            break;
        default:
            break;
        }
        if (!std::isfinite(r))
            return CellValue::error(CellError::Value);
        return CellValue::number(r);
    }

    // Numbers (and numeric texts) compare as numbers; other texts compare
    // without regard to case and sort after every number; empty is 0 beside a
    // number and "" beside a text.
    static bool compare(FormulaOp op, const CellValue &a, const CellValue &b)
    {
        double x = 0.0, y = 0.0;
        const bool aNum = a.isEmpty() || a.isNumber() || (a.isText() && parseCellNumber(a.text(), x));
        const bool bNum = b.isEmpty() || b.isNumber() || (b.isText() && parseCellNumber(b.text(), y));
        if (a.isNumber())
            x = a.number();
        if (b.isNumber())
            y = b.number();
        int c = 0;
        if (aNum && bNum)
            c = compareNumbers(x, y);
        else if (!aNum && !bNum)
            c = compareTexts(a.text(), b.text());
        else if (a.isEmpty() || b.isEmpty())
            c = compareTexts(a.text(), b.text());
        else
            c = aNum ? -1 : 1;
        switch (op) {
        case FormulaOp::Eq:
            return c == 0;
        case FormulaOp::Ne:
            return c != 0;
        case FormulaOp::Lt:
            return c < 0;
        case FormulaOp::Gt:
            return c > 0;
        case FormulaOp::Le:
            return c <= 0;
        case FormulaOp::Ge:
            return c >= 0;
        default:
            return false;
        }
    }

    bool number(int index, double &out, CellValue &error) { return arithmetic(eval(index), out, error); }

    CellValue call(const FormulaNode &node)
    {
        switch (node.function) {
        case FormulaFunction::Sum:
            return sum(node);
        case FormulaFunction::If: {
            const CellValue condition = eval(node.children[0]);
            double c = 0.0;
            CellValue error;
            if (!arithmetic(condition, c, error))
                return error;
            if (c != 0.0)
                return eval(node.children[1]);
            if (node.children.size() > 2)
                return eval(node.children[2]);
            return CellValue::number(0.0);
        }
        case FormulaFunction::Round: {
            double x = 0.0, digits = 0.0;
            CellValue error;
            if (!number(node.children[0], x, error))
                return error;
            if (node.children.size() > 1 && !number(node.children[1], digits, error))
                return error;
            digits = std::trunc(std::clamp(digits, -400.0, 400.0));
            return CellValue::number(roundHalfEven(x, static_cast<int>(digits)));
        }
        case FormulaFunction::Abs: {
            double x = 0.0;
            CellValue error;
            if (!number(node.children[0], x, error))
                return error;
            return CellValue::number(std::fabs(x));
        }
        case FormulaFunction::Getcell:
            return getcell(node);
        case FormulaFunction::Unknown:
            break;
        }
        return CellValue::error(CellError::Name);
    }

    CellValue sum(const FormulaNode &node)
    {
        Summer summer;
        for (int child : node.children) {
            const FormulaNode &arg = m_tree.nodes[static_cast<size_t>(child)];
            if (arg.kind == FormulaNodeKind::Ref || arg.kind == FormulaNodeKind::Range) {
                // Cells: numbers count, texts and empty cells are skipped.
                const RangeRef &r = arg.ref;
                const long long cells =
                    static_cast<long long>(r.col2 - r.col1 + 1) * static_cast<long long>(r.row2 - r.row1 + 1);
                if (cells > kMaxRangeCells)
                    return CellValue::error(CellError::Value);
                for (int col = r.col1; col <= r.col2; ++col) {
                    for (int row = r.row1; row <= r.row2; ++row) {
                        const CellValue v = m_ctx.value(m_ownSheet, col, row);
                        if (v.isError())
                            return v;
                        if (v.isNumber())
                            summer.add(v.number());
                    }
                }
                continue;
            }
            const CellValue v = eval(child);
            if (v.isEmpty())
                continue;
            double x = 0.0;
            CellValue error;
            if (!arithmetic(v, x, error))
                return error;
            summer.add(x);
        }
        const double result = summer.result();
        if (!std::isfinite(result))
            return CellValue::error(CellError::Value);
        return CellValue::number(result);
    }

    CellValue getcell(const FormulaNode &node)
    {
        double args[3] = {0.0, 0.0, 0.0};
        for (size_t i = 0; i < 3; ++i) {
            CellValue error;
            if (!number(node.children[i], args[i], error))
                return error;
            args[i] = std::trunc(args[i]);
        }
        const double col = args[0], row = args[1], sheet = args[2];
        if (col < 1 || row < 1 || sheet < 1 || sheet > m_ctx.sheetCount() || col > Formula::kMaxCol + 1.0 ||
            row > Formula::kMaxRow + 1.0)
            return CellValue::error(CellError::Ref);
        return m_ctx.value(static_cast<int>(sheet) - 1, static_cast<int>(col) - 1, static_cast<int>(row) - 1);
    }

    const FormulaTree &m_tree;
    const FormulaContext &m_ctx;
    int m_ownSheet;
};

void render(const FormulaTree &tree, int index, std::string &out)
{
    const FormulaNode &node = tree.nodes[static_cast<size_t>(index)];
    switch (node.kind) {
    case FormulaNodeKind::Number:
        out += node.text;
        break;
    case FormulaNodeKind::ErrorLiteral:
        out += cellErrorText(node.error);
        break;
    case FormulaNodeKind::Ref:
        out += cellName(node.ref.col1, node.ref.row1);
        break;
    case FormulaNodeKind::Range:
        out += cellName(node.ref.col1, node.ref.row1);
        out += ':';
        out += cellName(node.ref.col2, node.ref.row2);
        break;
    case FormulaNodeKind::Negate:
        out += '-';
        render(tree, node.children[0], out);
        break;
    case FormulaNodeKind::Paren:
        out += '(';
        render(tree, node.children[0], out);
        out += ')';
        break;
    case FormulaNodeKind::Chain:
        render(tree, node.children[0], out);
        for (size_t i = 0; i < node.ops.size(); ++i) {
            out += opText(node.ops[i]);
            render(tree, node.children[i + 1], out);
        }
        break;
    case FormulaNodeKind::Call:
        out += lower(node.text);
        out += '(';
        for (size_t i = 0; i < node.children.size(); ++i) {
            if (i > 0)
                out += ',';
            render(tree, node.children[i], out);
        }
        out += ')';
        break;
    }
}

enum class Axis { Rows, Cols };

int &first(RangeRef &r, Axis axis)
{
    return axis == Axis::Rows ? r.row1 : r.col1;
}
int &last(RangeRef &r, Axis axis)
{
    return axis == Axis::Rows ? r.row2 : r.col2;
}

// Moves one reference for `count` lines inserted before line `at`. Returns false
// when it would move beyond the last line a reference can name.
bool insertInto(RangeRef &r, Axis axis, int at, int count, int limit)
{
    int &a = first(r, axis);
    int &b = last(r, axis);
    // A range grows when lines are inserted inside it, after its first line;
    // inserting at its first line moves it whole, and inserting just below its
    // last line leaves it alone.
    const long long na = a >= at ? static_cast<long long>(a) + count : a;
    const long long nb = b >= at ? static_cast<long long>(b) + count : b;
    if (na > limit || nb > limit)
        return false;
    a = static_cast<int>(na);
    b = static_cast<int>(nb);
    return true;
}

// Adjusts one reference for lines [at, at + count) deleted. Returns false when
// every line it named is gone.
bool deleteFrom(RangeRef &r, Axis axis, int at, int count)
{
    int &a = first(r, axis);
    int &b = last(r, axis);
    const long long end = static_cast<long long>(at) + count; // first line kept after the gap
    if (a >= at && b < end)
        return false;
    const long long na = a < at ? a : (a >= end ? a - count : at);
    const long long nb = b < at ? b : (b >= end ? b - count : static_cast<long long>(at) - 1);
    a = static_cast<int>(na);
    b = static_cast<int>(nb);
    return true;
}

} // namespace

Formula::Formula(std::shared_ptr<const FormulaTree> tree) : m_tree(std::move(tree)) {}

std::optional<Formula> Formula::parse(std::string_view text, std::string *error)
{
    std::string message;
    std::shared_ptr<FormulaTree> tree = FormulaParser::parse(text, message);
    if (!tree) {
        if (error)
            *error = message;
        return std::nullopt;
    }
    return Formula(std::move(tree));
}

CellValue Formula::evaluate(const FormulaContext &ctx, int ownSheet) const
{
    CellValue result = Evaluator(*m_tree, ctx, ownSheet).eval(m_tree->root);
    // A formula cell always shows something: an empty result reads as 0, and
    // -0 is shown as 0.
    if (result.isEmpty() || (result.isNumber() && result.number() == 0.0))
        return CellValue::number(0.0);
    if (result.isNumber() && !std::isfinite(result.number()))
        return CellValue::error(CellError::Value);
    return result;
}

const std::vector<RangeRef> &Formula::references() const
{
    return m_tree->references;
}

bool Formula::hasGetcell() const
{
    return m_tree->hasGetcell;
}

std::string Formula::text() const
{
    std::string out;
    render(*m_tree, m_tree->root, out);
    return out;
}

namespace {

bool shiftTree(std::shared_ptr<const FormulaTree> &shared, Axis axis, bool insert, int at, int count)
{
    if (count <= 0 || at < 0)
        return false;
    auto tree = std::make_shared<FormulaTree>(*shared);
    const int limit = axis == Axis::Rows ? Formula::kMaxRow : Formula::kMaxCol;
    bool changed = false;
    for (FormulaNode &node : tree->nodes) {
        if (node.kind != FormulaNodeKind::Ref && node.kind != FormulaNodeKind::Range)
            continue;
        const RangeRef before = node.ref;
        const bool kept = insert ? insertInto(node.ref, axis, at, count, limit) : deleteFrom(node.ref, axis, at, count);
        if (!kept) {
            node.kind = FormulaNodeKind::ErrorLiteral;
            node.error = CellError::Ref;
            changed = true;
        } else if (!(node.ref == before)) {
            changed = true;
        }
    }
    if (!changed)
        return false;
    tree->collect();
    shared = std::move(tree);
    return true;
}

} // namespace

bool Formula::insertRows(int at, int count)
{
    return shiftTree(m_tree, Axis::Rows, true, at, count);
}

bool Formula::deleteRows(int at, int count)
{
    return shiftTree(m_tree, Axis::Rows, false, at, count);
}

bool Formula::insertCols(int at, int count)
{
    return shiftTree(m_tree, Axis::Cols, true, at, count);
}

bool Formula::deleteCols(int at, int count)
{
    return shiftTree(m_tree, Axis::Cols, false, at, count);
}

bool Formula::offset(int dc, int dr)
{
    if (dc == 0 && dr == 0)
        return false;
    auto tree = std::make_shared<FormulaTree>(*m_tree);
    for (FormulaNode &node : tree->nodes) {
        if (node.kind != FormulaNodeKind::Ref && node.kind != FormulaNodeKind::Range)
            continue;
        const long long c1 = static_cast<long long>(node.ref.col1) + dc;
        const long long c2 = static_cast<long long>(node.ref.col2) + dc;
        const long long r1 = static_cast<long long>(node.ref.row1) + dr;
        const long long r2 = static_cast<long long>(node.ref.row2) + dr;
        if (c1 < 0 || r1 < 0 || c2 > kMaxCol || r2 > kMaxRow) {
            node.kind = FormulaNodeKind::ErrorLiteral;
            node.error = CellError::Ref;
            continue;
        }
        node.ref = {static_cast<int>(c1), static_cast<int>(r1), static_cast<int>(c2), static_cast<int>(r2)};
    }
    tree->collect();
    m_tree = std::move(tree);
    return true;
}

std::string columnName(int col)
{
    std::string name;
    for (int n = col + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

} // namespace vantor
