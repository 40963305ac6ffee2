#include "sheet_component/engine/FormulaParser.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

namespace vantor {

namespace {

enum class TokenKind { End, Number, Name, ErrorLiteral, Op, LParen, RParen, Comma, Colon };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text; // number lexeme or upper-cased name
    double number = 0.0;
    FormulaOp op = FormulaOp::Add;
    CellError error = CellError::Ref;
    size_t position = 0; // 0-based offset in the text
};

struct ParseFailure {
    std::string message;
};

std::string upper(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

[[noreturn]] void fail(size_t position, const std::string &what)
{
    throw ParseFailure{"公式错误（第" + std::to_string(position + 1) + "个字符处）：" + what};
}

std::vector<Token> tokenize(std::string_view s)
{
    static const std::pair<std::string_view, CellError> errorLiterals[] = {
        {"#VALUE!", CellError::Value}, {"#REF!", CellError::Ref},     {"#DIV/0!", CellError::Div0},
        {"#NAME?", CellError::Name},   {"#ERROR!", CellError::Parse}, {"#CYCLE!", CellError::Cycle},
    };
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        Token t;
        t.position = i;
        if (isDigit(c) || (c == '.' && i + 1 < s.size() && isDigit(s[i + 1]))) {
            size_t j = i;
            while (j < s.size() && isDigit(s[j]))
                ++j;
            if (j < s.size() && s[j] == '.') {
                ++j;
                while (j < s.size() && isDigit(s[j]))
                    ++j;
            }
            if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
                size_t k = j + 1;
                if (k < s.size() && (s[k] == '+' || s[k] == '-'))
                    ++k;
                if (k < s.size() && isDigit(s[k])) {
                    while (k < s.size() && isDigit(s[k]))
                        ++k;
                    j = k;
                }
            }
            if (j < s.size() && (isLetter(s[j]) || s[j] == '_' || s[j] == '.'))
                fail(j, "数字后面出现了多余的字符");
            t.kind = TokenKind::Number;
            t.text = std::string(s.substr(i, j - i));
            auto res = std::from_chars(s.data() + i, s.data() + j, t.number, std::chars_format::general);
            if (res.ec != std::errc() || !std::isfinite(t.number))
                fail(i, "数字超出范围");
            i = j;
        } else if (isLetter(c)) {
            size_t j = i;
            while (j < s.size() && (isLetter(s[j]) || isDigit(s[j]) || s[j] == '_'))
                ++j;
            t.kind = TokenKind::Name;
            t.text = upper(s.substr(i, j - i));
            i = j;
        } else if (c == '#') {
            bool found = false;
            for (const auto &[literal, error] : errorLiterals) {
                if (s.size() - i >= literal.size() && upper(s.substr(i, literal.size())) == literal) {
                    t.kind = TokenKind::ErrorLiteral;
                    t.error = error;
                    i += literal.size();
                    found = true;
                    break;
                }
            }
            if (!found)
                fail(i, "无法识别的错误值");
        } else {
            ++i;
            switch (c) {
            case '+':
                t.kind = TokenKind::Op;
                t.op = FormulaOp::Add;
                break;
            case '-':
                t.kind = TokenKind::Op;
                t.op = FormulaOp::Sub;
                break;
            case '*':
                t.kind = TokenKind::Op;
                t.op = FormulaOp::Mul;
                break;
            case '/':
                t.kind = TokenKind::Op;
                t.op = FormulaOp::Div;
                break;
            case '=':
                t.kind = TokenKind::Op;
                t.op = FormulaOp::Eq;
                break;
            case '<':
                t.kind = TokenKind::Op;
                t.op = FormulaOp::Lt;
                if (i < s.size() && s[i] == '>') {
                    t.op = FormulaOp::Ne;
                    ++i;
                } else if (i < s.size() && s[i] == '=') {
                    t.op = FormulaOp::Le;
                    ++i;
                }
                break;
            case '>':
                t.kind = TokenKind::Op;
                t.op = FormulaOp::Gt;
                if (i < s.size() && s[i] == '=') {
                    t.op = FormulaOp::Ge;
                    ++i;
                }
                break;
            case '(':
                t.kind = TokenKind::LParen;
                break;
            case ')':
                t.kind = TokenKind::RParen;
                break;
            case ',':
                t.kind = TokenKind::Comma;
                break;
            case ':':
                t.kind = TokenKind::Colon;
                break;
            default:
                fail(t.position, "无法识别的字符");
            }
        }
        tokens.push_back(std::move(t));
    }
    Token end;
    end.position = s.size();
    tokens.push_back(end);
    return tokens;
}

// "C12" -> column 2, row 11. nullopt when the name is not a cell reference.
std::optional<std::pair<int, int>> cellOf(const std::string &name)
{
    size_t letters = 0;
    while (letters < name.size() && isLetter(name[letters]))
        ++letters;
    if (letters == 0 || letters > 3 || letters == name.size())
        return std::nullopt;
    int col = 0;
    for (size_t k = 0; k < letters; ++k)
        col = col * 26 + (name[k] - 'A' + 1);
    long long row = 0;
    for (size_t k = letters; k < name.size(); ++k) {
        if (!isDigit(name[k]))
            return std::nullopt;
        row = row * 10 + (name[k] - '0');
        if (row > Formula::kMaxRow + 1LL)
            return std::nullopt;
    }
    if (row < 1 || col - 1 > Formula::kMaxCol)
        return std::nullopt;
    return std::make_pair(col - 1, static_cast<int>(row - 1));
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

    std::shared_ptr<FormulaTree> run()
    {
        m_tree = std::make_shared<FormulaTree>();
        if (peek().kind == TokenKind::Op && peek().op == FormulaOp::Eq)
            ++m_pos;
        if (peek().kind == TokenKind::End)
            fail(peek().position, "公式为空");
        m_tree->root = comparison();
        if (peek().kind != TokenKind::End) {
            if (peek().kind == TokenKind::RParen)
                fail(peek().position, "多余的右括号");
            fail(peek().position, "缺少运算符");
        }
        m_tree->collect();
        return m_tree;
    }

private:
    const Token &peek() const { return m_tokens[m_pos]; }
    const Token &next() { return m_tokens[m_pos++]; }

    int add(FormulaNode node)
    {
        m_tree->nodes.push_back(std::move(node));
        return static_cast<int>(m_tree->nodes.size() - 1);
    }

    struct DepthGuard {
        explicit DepthGuard(Parser &p) : parser(p)
        {
            if (++parser.m_depth > FormulaParser::kMaxDepth)
                fail(parser.peek().position, "公式嵌套层次过多");
        }
        ~DepthGuard() { --parser.m_depth; }
        Parser &parser;
    };

    static bool isComparison(FormulaOp op) { return op >= FormulaOp::Eq; }

    int chain(int first, auto isLevelOp, int (Parser::*operand)())
    {
        FormulaNode node;
        node.kind = FormulaNodeKind::Chain;
        node.children.push_back(first);
        while (peek().kind == TokenKind::Op && isLevelOp(peek().op)) {
            node.ops.push_back(next().op);
            node.children.push_back((this->*operand)());
        }
        if (node.ops.empty())
            return first;
        return add(std::move(node));
    }

    int comparison()
    {
        DepthGuard guard(*this);
        return chain(
            additive(), [](FormulaOp op) { return isComparison(op); }, &Parser::additive);
    }

    int additive()
    {
        return chain(
            multiplicative(), [](FormulaOp op) { return op == FormulaOp::Add || op == FormulaOp::Sub; },
            &Parser::multiplicative);
    }

    int multiplicative()
    {
        return chain(
            unary(), [](FormulaOp op) { return op == FormulaOp::Mul || op == FormulaOp::Div; }, &Parser::unary);
    }

    int unary()
    {
        if (peek().kind == TokenKind::Op && (peek().op == FormulaOp::Sub || peek().op == FormulaOp::Add)) {
            DepthGuard guard(*this);
            const bool negate = next().op == FormulaOp::Sub;
            int operand = unary();
            if (!negate)
                return operand;
            FormulaNode node;
            node.kind = FormulaNodeKind::Negate;
            node.children.push_back(operand);
            return add(std::move(node));
        }
        return primary();
    }

    int primary()
    {
        const Token &t = next();
        switch (t.kind) {
        case TokenKind::Number: {
            FormulaNode node;
            node.kind = FormulaNodeKind::Number;
            node.number = t.number;
            node.text = t.text;
            return add(std::move(node));
        }
        case TokenKind::ErrorLiteral: {
            FormulaNode node;
            node.kind = FormulaNodeKind::ErrorLiteral;
            node.error = t.error;
            return add(std::move(node));
        }
        case TokenKind::LParen: {
            FormulaNode node;
            node.kind = FormulaNodeKind::Paren;
            node.children.push_back(comparison());
            expectClose(t.position);
            return add(std::move(node));
        }
        case TokenKind::Name:
            if (peek().kind == TokenKind::LParen)
                return call(t);
            return reference(t);
        case TokenKind::End:
            fail(t.position, "公式不完整");
        case TokenKind::RParen:
        case TokenKind::Comma:
        case TokenKind::Colon:
        case TokenKind::Op:
            break;
        }
        fail(t.position, "此处应为数字、单元格或函数");
    }

    void expectClose(size_t openPosition)
    {
        if (peek().kind != TokenKind::RParen) {
            if (peek().kind == TokenKind::End)
                fail(openPosition, "缺少右括号");
            fail(peek().position, "此处应为右括号");
        }
        ++m_pos;
    }

    int reference(const Token &t)
    {
        auto first = cellOf(t.text);
        if (!first)
            fail(t.position, "无法识别的名称 " + t.text);
        FormulaNode node;
        node.kind = FormulaNodeKind::Ref;
        node.ref = {first->first, first->second, first->first, first->second};
        if (peek().kind == TokenKind::Colon) {
            ++m_pos;
            const Token &t2 = next();
            auto second = t2.kind == TokenKind::Name ? cellOf(t2.text) : std::nullopt;
            if (!second)
                fail(t2.position, "区域的第二个单元格无效");
            node.kind = FormulaNodeKind::Range;
            node.ref = {std::min(first->first, second->first), std::min(first->second, second->second),
                        std::max(first->first, second->first), std::max(first->second, second->second)};
        }
        return add(std::move(node));
    }

    int call(const Token &name)
    {
        DepthGuard guard(*this);
        const Token &open = next();
        FormulaNode node;
        node.kind = FormulaNodeKind::Call;
        struct Known {
            std::string_view name;
            FormulaFunction function;
            size_t minArgs, maxArgs;
        };
        static const Known known[] = {
            {"SUM", FormulaFunction::Sum, 1, 255},       {"IF", FormulaFunction::If, 2, 3},
            {"ROUND", FormulaFunction::Round, 1, 2},     {"ABS", FormulaFunction::Abs, 1, 1},
            {"GETCELL", FormulaFunction::Getcell, 3, 3},
        };
        size_t minArgs = 0, maxArgs = 255;
        node.function = FormulaFunction::Unknown;
        node.text = name.text;
        for (const Known &k : known) {
            if (k.name == name.text) {
                node.function = k.function;
                minArgs = k.minArgs;
                maxArgs = k.maxArgs;
            }
        }
        if (peek().kind != TokenKind::RParen) {
            while (true) {
                node.children.push_back(comparison());
                if (peek().kind != TokenKind::Comma)
                    break;
                ++m_pos;
            }
        }
        expectClose(open.position);
        if (node.children.size() < minArgs || node.children.size() > maxArgs)
            fail(name.position, "函数 " + name.text + " 的参数个数不对");
        return add(std::move(node));
    }

    std::vector<Token> m_tokens;
    size_t m_pos = 0;
    int m_depth = 0;
    std::shared_ptr<FormulaTree> m_tree;
};

} // namespace

void FormulaTree::collect()
{
    references.clear();
    hasGetcell = false;
    for (const FormulaNode &node : nodes) {
        if (node.kind == FormulaNodeKind::Ref || node.kind == FormulaNodeKind::Range)
            references.push_back(node.ref);
        else if (node.kind == FormulaNodeKind::Call && node.function == FormulaFunction::Getcell)
            hasGetcell = true;
    }
}

std::shared_ptr<FormulaTree> FormulaParser::parse(std::string_view text, std::string &error)
{
    try {
        return Parser(tokenize(text)).run();
    } catch (const ParseFailure &failure) {
        error = failure.message;
        return nullptr;
    }
}

} // namespace vantor
