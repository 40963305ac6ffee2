// The whole report as one PDF, read back as a reader meets it: the contents page's text with the
// page range of every form, the bookmarks and the page count; empty detail sheets left out unless
// asked for; a cancelled report writes nothing; the user's workbook is never touched.

#include "output/pdf/ReportPdf.h"
#include "output/PrintProgress.h"
#include "output/ReportBook.h"
#include "sheet_component/engine/CllFile.h"

#include "support/DataProject.h"

#include <gtest/gtest.h>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace vantor {
namespace {

// The last word of the contents line of form `code` (its pages); empty without such a line.
std::string pagesOf(const std::string &text, const std::string &code)
{
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(code + " ", 0) == 0) {
            line.erase(line.find_last_not_of(' ') + 1);
            return line.substr(line.find_last_of(' ') + 1);
        }
    return {};
}

std::string pdfText(const std::string &path, int page)
{
    const std::string command = "pdftotext -layout -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
                                path + "' - 2>/dev/null";
    std::string out;
    if (FILE *pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

class ReportPdfTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        project.addSheet(10, 1, 1726920);
        project.addSheet(22, 30, 10); // 25 rows a page: two pages
        project.addSheet(16, 0, 0);   // no data
    }
    ReportOptions options(bool includeEmpty) const
    {
        ReportOptions o;
        o.includeEmpty = includeEmpty;
        o.rowsPerPage = [](int16_t) { return 25; };
        return o;
    }

    test::DataProject project;
};

TEST_F(ReportPdfTest, ContentsListsEveryFormWithItsPagesAndEachFormIsABookmark)
{
    const std::string before = CllFile::toBytes(project.workbook);
    const std::string path = project.dir.file("报表.pdf");
    ReportBook book(project.workbook, *project.store, options(false));
    ReportPdf::write(book, path);
    EXPECT_EQ(CllFile::toBytes(project.workbook), before) << "the user's workbook changed";

    // Contents, ten summary forms of one page each, 表3-1-1 on one page, 表3-10-1 on two.
    QPDF pdf;
    pdf.processFile(path.c_str());
    auto pages = QPDFPageDocumentHelper(pdf).getAllPages();
    ASSERT_EQ(pages.size(), 14u);
    QPDFOutlineDocumentHelper outlines(pdf);
    auto marks = outlines.getTopLevelOutlines();
    ASSERT_EQ(marks.size(), 13u);
    EXPECT_EQ(marks[0].getTitle(), "目录");
    EXPECT_EQ(marks[12].getTitle().substr(0, 10), "表3-10-1 ");
    EXPECT_EQ(marks[12].getDestPage().getObjGen(), pages[12].getObjectHandle().getObjGen());

    const std::string contents = pdfText(path, 1);
    if (contents.empty())
        GTEST_SKIP() << "pdftotext is missing";
    for (const auto &[code, pages] : std::vector<std::pair<std::string, std::string>>{
             {"表1", "2"}, {"表2-2", "4"}, {"表10", "11"}, {"表3-1-1", "12"}, {"表3-10-1", "13-14"}})
        EXPECT_EQ(pagesOf(contents, code), pages) << code << " in\n" << contents;
    EXPECT_EQ(pagesOf(contents, "表3-4"), "") << "an empty detail sheet is left out";
    // Copied or searched text reads as printed: the CJK faces share glyphs between radicals and
    // ideographs (页 and ⻚, 金 and ⾦), and the text layer must name the ideographs.
    EXPECT_NE(pdfText(path, 14).find("共2页"), std::string::npos) << "the form keeps its own page numbers";
    EXPECT_NE(pdfText(path, 12).find("金额单位"), std::string::npos) << pdfText(path, 12);
}

TEST_F(ReportPdfTest, EmptySheetsOnlyWhenAskedAndCancelWritesNothing)
{
    auto codes = [&](bool includeEmpty) {
        std::string out;
        ReportBook book(project.workbook, *project.store, options(includeEmpty));
        for (const ReportForm &form : book.forms())
            if (form.id >= 10)
                out += form.code + ";";
        return out;
    };
    EXPECT_EQ(codes(false), "表3-1-1;表3-10-1;");
    EXPECT_EQ(codes(true), "表3-1-1;表3-4;表3-10-1;表11;");

    struct Cancelling : PrintProgress {
        void ShowProgress(double, const std::string &) override {}
        bool cancelled() const override { return true; }
    } cancel;
    const std::string path = project.dir.file("取消.pdf");
    ReportBook book(project.workbook, *project.store, options(false));
    EXPECT_THROW(ReportPdf::write(book, path, &cancel), PrintCancelled);
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
} // namespace vantor
