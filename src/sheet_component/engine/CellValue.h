#pragma once

// The value a cell holds or a formula yields: empty, a number, a text or an error.
// A small value type, copied freely between the sheet, the evaluator and callers.

#include <string>
#include <string_view>

namespace vantor {

enum class CellError { Value, Ref, Div0, Name, Parse, Cycle };

// "#VALUE!", "#REF!", "#DIV/0!", "#NAME?", "#ERROR!", "#CYCLE!"
const char *cellErrorText(CellError error);

class CellValue {
public:
    enum class Type { Empty, Number, Text, Error };

    CellValue() = default;
    static CellValue number(double value);
    static CellValue text(std::string value);
    static CellValue error(CellError error);

    Type type() const { return m_type; }
    bool isEmpty() const { return m_type == Type::Empty; }
    bool isNumber() const { return m_type == Type::Number; }
    bool isText() const { return m_type == Type::Text; }
    bool isError() const { return m_type == Type::Error; }

    double number() const { return m_type == Type::Number ? m_number : 0.0; }
    const std::string &text() const; // "" unless isText
    CellError error() const { return m_error; }

    // Empty -> 0, a number as it is, a text that reads as a number -> that number,
    // any other text and errors -> 0.
    double toNumber() const;

    bool operator==(const CellValue &other) const;

private:
    Type m_type = Type::Empty;
    double m_number = 0.0;
    CellError m_error = CellError::Value;
    std::string m_text;
};

// Reads a text as a number the way cells do: surrounding blanks ignored, optional
// sign, decimal digits with an optional fraction and exponent, thousands commas
// allowed. Returns false for anything else.
bool parseCellNumber(std::string_view text, double &out);

} // namespace vantor
