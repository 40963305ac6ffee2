#pragma once

// Reads back what the tests need of an .xlsx file: sheet names, cells (value, formula, number
// format code), merges, column widths and the frozen rows. The parts are taken out of the zip
// with `unzip -p`; the XML is the plain form the writer produces, scanned with regexes.

#include <cstdio>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace vantor::test {

struct XlsxCell {
    std::string value; // number as written, or the text
    std::string formula;
    std::string numberFormat;
    bool isText = false;
};

struct XlsxSheet {
    std::map<std::string, XlsxCell> cells; // by reference, "A1"
    std::vector<std::string> merges;       // "A1:G1"
    std::map<int, double> widths;          // 1-based column → Excel width
    int frozenRows = 0;
};

class XlsxReader {
public:
    explicit XlsxReader(const std::string &path) : m_path(path)
    {
        const std::string book = part("xl/workbook.xml");
        static const std::regex sheet(R"re(<sheet name="([^"]*)")re");
        for (auto it = std::sregex_iterator(book.begin(), book.end(), sheet); it != std::sregex_iterator(); ++it)
            names.push_back(unescape((*it)[1]));
        readStyles();
    }

    XlsxSheet sheet(int index) const
    {
        const std::string xml = part("xl/worksheets/sheet" + std::to_string(index + 1) + ".xml");
        XlsxSheet out;
        // Cells by hand: a regex over a 32,767-character text recurses once per character.
        for (std::size_t at = xml.find("<c r=\""); at != std::string::npos; at = xml.find("<c r=\"", at + 1)) {
            const std::size_t close = xml.find('>', at);
            const std::string head = xml.substr(at, close - at);
            const bool empty = head.back() == '/';
            const std::size_t end = empty ? close : xml.find("</c>", close);
            const std::string body = empty ? std::string() : xml.substr(close + 1, end - close - 1);
            XlsxCell c;
            c.formula = unescape(between(body, "<f>", "</f>"));
            if (const std::size_t t = body.find("<t"); t != std::string::npos) {
                c.value = unescape(between(body.substr(body.find('>', t) + 1), "", "</t>"));
                c.isText = true;
            } else {
                c.value = unescape(between(body, "<v>", "</v>"));
                c.isText = attribute(head, "t") == "str";
            }
            const std::string s = attribute(head, "s");
            const int style = s.empty() ? 0 : std::stoi(s);
            if (style < static_cast<int>(m_xfFormats.size()))
                c.numberFormat = m_xfFormats[static_cast<std::size_t>(style)];
            out.cells[attribute(head, "r")] = c;
        }
        static const std::regex merge(R"re(<mergeCell ref="([^"]+)")re");
        for (auto it = std::sregex_iterator(xml.begin(), xml.end(), merge); it != std::sregex_iterator(); ++it)
            out.merges.push_back((*it)[1]);
        static const std::regex col(R"re(<col min="([0-9]+)" max="([0-9]+)" width="([0-9.]+)")re");
        for (auto it = std::sregex_iterator(xml.begin(), xml.end(), col); it != std::sregex_iterator(); ++it)
            for (int c = std::stoi((*it)[1]); c <= std::stoi((*it)[2]); ++c)
                out.widths[c] = std::stod((*it)[3]);
        static const std::regex pane(R"re(<pane ySplit="([0-9]+)")re");
        std::smatch m;
        if (std::regex_search(xml, m, pane))
            out.frozenRows = std::stoi(m[1]);
        return out;
    }

    std::vector<std::string> names;

private:
    std::string part(const std::string &name) const
    {
        std::string out;
        FILE *pipe = popen(("unzip -p '" + m_path + "' '" + name + "'").c_str(), "r");
        if (!pipe)
            return out;
        char buffer[65536];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
        return out;
    }

    void readStyles()
    {
        const std::string xml = part("xl/styles.xml");
        std::map<int, std::string> codes{{0, ""}, {2, "0.00"}, {4, "#,##0.00"}, {10, "0.00%"}};
        static const std::regex fmt(R"re(<numFmt numFmtId="([0-9]+)" formatCode="([^"]*)")re");
        for (auto it = std::sregex_iterator(xml.begin(), xml.end(), fmt); it != std::sregex_iterator(); ++it)
            codes[std::stoi((*it)[1])] = unescape((*it)[2]);
        const auto begin = xml.find("<cellXfs");
        const std::string xfs = xml.substr(begin, xml.find("</cellXfs>") - begin);
        static const std::regex xf(R"re(<xf numFmtId="([0-9]+)")re");
        for (auto it = std::sregex_iterator(xfs.begin(), xfs.end(), xf); it != std::sregex_iterator(); ++it) {
            const int id = std::stoi((*it)[1]);
            m_xfFormats.push_back(codes.count(id) ? codes[id] : "#" + std::to_string(id));
        }
    }

    static std::string between(const std::string &text, const std::string &open, const std::string &close)
    {
        const std::size_t a = text.find(open);
        if (a == std::string::npos)
            return {};
        const std::size_t b = text.find(close, a + open.size());
        return text.substr(a + open.size(), b == std::string::npos ? std::string::npos : b - a - open.size());
    }
    static std::string attribute(const std::string &head, const std::string &name)
    {
        return between(head, " " + name + "=\"", "\"");
    }

    static std::string unescape(std::string s)
    {
        static const std::pair<const char *, const char *> entities[] = {
            {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
        for (const auto &[from, to] : entities)
            for (std::size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + 1))
                s.replace(p, std::string(from).size(), to);
        return s;
    }

    std::string m_path;
    std::vector<std::string> m_xfFormats;
};

} // namespace vantor::test
