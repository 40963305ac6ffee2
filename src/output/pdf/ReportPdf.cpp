#include "output/pdf/ReportPdf.h"

#include "common/AtomicFile.h"
#include "output/PrintProgress.h"
#include "output/ReportBook.h"
#include "sheet_component/render/PdfFile.h"
#include "sheet_component/render/SheetPrinter.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <memory>
#include <vector>

namespace vantor {

namespace {

// One form's share of the whole report's progress bar; cancelling cancels the report.
class FormProgress : public PrintProgress {
public:
    FormProgress(PrintProgress *outer, std::size_t index, std::size_t count, std::string code)
        : m_outer(outer), m_index(index), m_count(count), m_code(std::move(code))
    {
    }
    void ShowProgress(double step, const std::string &text) override
    {
        if (m_outer)
            m_outer->ShowProgress(9.5 * (static_cast<double>(m_index) + step / 10.0) / static_cast<double>(m_count),
                                  m_code + "（" + std::to_string(m_index + 1) + "/" + std::to_string(m_count) + "）" +
                                      text);
    }
    bool cancelled() const override { return m_outer && m_outer->cancelled(); }

private:
    PrintProgress *m_outer;
    std::size_t m_index, m_count;
    std::string m_code;
};

// Paints laid-out sheets one after another into one PDF, each page on its own paper layout.
class PdfPages {
public:
    PdfPages() : m_writer(&m_buffer)
    {
        m_buffer.open(QIODevice::WriteOnly);
        m_writer.setResolution(300);
        m_writer.setCreator(QStringLiteral("Vantor"));
    }

    // Returns the number of pages added.
    int add(const Workbook &workbook, int sheet)
    {
        SheetPrinter printer(workbook, sheet);
        const int pages = std::max(printer.pageCount(), 1);
        for (int i = 0; i < pages; ++i) {
            m_writer.setPageLayout(printer.pageLayout());
            if (m_painter.isActive())
                m_writer.newPage();
            else if (!m_painter.begin(&m_writer))
                throw ReportPdfError("PDF文件无法生成。");
            printer.paintPage(m_painter, i, m_writer.resolution());
        }
        m_count += pages;
        return pages;
    }

    int count() const { return m_count; }

    QByteArray finish()
    {
        if (m_painter.isActive())
            m_painter.end();
        m_buffer.close();
        QByteArray bytes = m_buffer.data();
        PdfFile::mendTextLayer(bytes);
        return bytes;
    }

private:
    QBuffer m_buffer;
    QPdfWriter m_writer;
    QPainter m_painter;
    int m_count = 0;
};

struct Bookmark {
    std::string title;
    int page; // 0-based in the final file
};

// Moves the last `front` pages to the beginning and adds one outline entry per bookmark.
std::string reorderAndOutline(const QByteArray &pdfBytes, int front, const std::vector<Bookmark> &marks)
{
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processMemoryFile("report", pdfBytes.constData(), static_cast<size_t>(pdfBytes.size()));
    QPDFPageDocumentHelper pageHelper(pdf);
    std::vector<QPDFPageObjectHelper> pages = pageHelper.getAllPages();
    for (int i = 0; i < front; ++i) {
        QPDFPageObjectHelper page = pages[pages.size() - 1 - static_cast<std::size_t>(i)];
        pageHelper.removePage(page);
        pageHelper.addPage(page, true);
    }
    pages = pageHelper.getAllPages();

    QPDFObjectHandle outlines = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
    outlines.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
    std::vector<QPDFObjectHandle> items;
    for (const Bookmark &mark : marks) {
        QPDFObjectHandle item = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(mark.title));
        item.replaceKey("/Parent", outlines);
        QPDFObjectHandle dest = QPDFObjectHandle::newArray();
        dest.appendItem(pages.at(static_cast<std::size_t>(mark.page)).getObjectHandle());
        dest.appendItem(QPDFObjectHandle::newName("/Fit"));
        item.replaceKey("/Dest", dest);
        if (!items.empty()) {
            item.replaceKey("/Prev", items.back());
            items.back().replaceKey("/Next", item);
        }
        items.push_back(item);
    }
    if (!items.empty()) {
        outlines.replaceKey("/First", items.front());
        outlines.replaceKey("/Last", items.back());
        outlines.replaceKey("/Count", QPDFObjectHandle::newInteger(static_cast<long long>(items.size())));
    }
    QPDFObjectHandle root = pdf.getRoot();
    root.replaceKey("/Outlines", outlines);
    root.replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));

    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    writer.setObjectStreamMode(qpdf_o_generate);
    writer.write();
    const std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
    return std::string(reinterpret_cast<const char *>(out->getBuffer()), out->getSize());
}

} // namespace

void ReportPdf::write(ReportBook &book, const std::string &path, PrintProgress *progress)
{
    const std::size_t count = book.forms().size();
    const int front = ReportBook::contentsPages(count);
    PdfPages pdf;
    std::vector<std::pair<int, int>> ranges;
    std::vector<Bookmark> marks{{"目录", 0}};
    for (std::size_t i = 0; i < count; ++i) {
        const ReportForm &form = book.forms()[i];
        FormProgress step(progress, i, count, form.code);
        step.ShowProgress(0, "正在排版");
        if (step.cancelled())
            throw PrintCancelled();
        const int first = pdf.count();
        book.layOut(i, &step, [&](Workbook &wb, int sheet) { pdf.add(wb, sheet); });
        ranges.emplace_back(front + first + 1, front + pdf.count());
        marks.push_back({form.code + " " + form.name, front + first});
    }
    if (progress) {
        progress->ShowProgress(9.5, "正在生成目录");
        if (progress->cancelled())
            throw PrintCancelled();
    }
    const int before = pdf.count();
    book.layOutContents(ranges, [&](Workbook &wb, int sheet) { pdf.add(wb, sheet); });
    if (pdf.count() - before != front)
        throw ReportPdfError("目录的页数与预计不符，PDF文件没有写成。");

    std::string bytes;
    try {
        bytes = reorderAndOutline(pdf.finish(), front, marks);
    } catch (const std::exception &e) {
        throw ReportPdfError(std::string("PDF文件没有写成：") + e.what());
    }
    try {
        AtomicFile::writeFile(path, bytes);
    } catch (const AtomicFileError &e) {
        throw ReportPdfError("PDF文件“" + path + "”没有写成：" + describeFileError(e.errorNumber()));
    }
    if (progress) {
        progress->ShowProgress(10, "完成");
        progress->finished();
    }
}

} // namespace vantor
