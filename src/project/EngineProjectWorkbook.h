#pragma once

// ProjectWorkbook over an engine Workbook that someone else owns (the main
// window's component, the command-line tool, tests). Loading replaces the
// workbook's content in place, so views attached to it stay attached.

#include "project/ProjectWorkbook.h"

namespace vantor {

class Selection;
class Workbook;

class EngineProjectWorkbook : public ProjectWorkbook {
public:
    // `view`, when given, is saved with the workbook and restored on loading.
    explicit EngineProjectWorkbook(Workbook &workbook, Selection *view = nullptr) : m_workbook(workbook), m_view(view)
    {
    }

    void load(const std::string &path) override;
    void save(const std::string &path) override;
    void reset() override;
    bool isModified() const override;
    void setModified(bool modified) override;
    void setReadOnly(bool readOnly) override;
    int sheetCount() const override;
    std::string sheetLabel(int index) const override;
    void showSheet(int index) override;

    Workbook &workbook() const { return m_workbook; }

private:
    Workbook &m_workbook;
    Selection *m_view;
};

} // namespace vantor
