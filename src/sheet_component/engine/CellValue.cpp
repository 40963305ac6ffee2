#include "sheet_component/engine/CellValue.h"

#include "common/Amount.h"

#include <charconv>
#include <cmath>

namespace vantor {

const char *cellErrorText(CellError error)
{
    switch (error) {
    case CellError::Value:
        return "#VALUE!";
    case CellError::Ref:
        return "#REF!";
    case CellError::Div0:
        return "#DIV/0!";
    case CellError::Name:
        return "#NAME?";
    case CellError::Parse:
        return "#ERROR!";
    case CellError::Cycle:
        return "#CYCLE!";
    }
    return "#VALUE!";
}

CellValue CellValue::number(double value)
{
    CellValue v;
    v.m_type = Type::Number;
    v.m_number = value;
    return v;
}

CellValue CellValue::text(std::string value)
{
    CellValue v;
    v.m_type = Type::Text;
    v.m_text = std::move(value);
    return v;
}

CellValue CellValue::error(CellError error)
{
    CellValue v;
    v.m_type = Type::Error;
    v.m_error = error;
    return v;
}

const std::string &CellValue::text() const
{
    static const std::string empty;
    return m_type == Type::Text ? m_text : empty;
}

double CellValue::toNumber() const
{
    switch (m_type) {
    case Type::Number:
        return m_number;
    case Type::Text: {
        double value = 0.0;
        return parseCellNumber(m_text, value) ? value : 0.0;
    }
    case Type::Empty:
    case Type::Error:
        break;
    }
    return 0.0;
}

bool CellValue::operator==(const CellValue &other) const
{
    if (m_type != other.m_type)
        return false;
    switch (m_type) {
    case Type::Empty:
        return true;
    case Type::Number:
        return m_number == other.m_number;
    case Type::Text:
        return m_text == other.m_text;
    case Type::Error:
        return m_error == other.m_error;
    }
    return false;
}

bool parseCellNumber(std::string_view text, double &out)
{
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return false;
    std::string_view body = text;
    bool negative = false;
    if (body.front() == '+' || body.front() == '-') {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    // from_chars would also take "inf", "nan" and hex floats; cells only hold decimals.
    if (body.empty() || !((body.front() >= '0' && body.front() <= '9') || body.front() == '.'))
        return false;
    if (body.find(',') != std::string_view::npos) {
        auto amount = Amount::parse(text);
        if (!amount)
            return false;
        out = amount->toDouble();
        return true;
    }
    double value = 0.0;
    auto res = std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != body.data() + body.size() || !std::isfinite(value))
        return false;
    out = negative ? -value : value;
    return true;
}

} // namespace vantor
