#pragma once

// What the project lifecycle needs of the spreadsheet component that shows
// the project's workbook: load and save the working copy, empty it, its
// modified state, its sheet labels. The main window implements it over its
// component; EngineProjectWorkbook implements it over a plain engine Workbook
// (command-line tool, tests).

#include <string>

namespace vantor {

class ProjectWorkbook {
public:
    virtual ~ProjectWorkbook() = default;

    // Replaces the content with the workbook file; throws (std::exception)
    // with a message for the user when the file cannot be read.
    virtual void load(const std::string &path) = 0;
    // Writes the content to the file; throws when it cannot.
    virtual void save(const std::string &path) = 0;
    // Back to the empty component.
    virtual void reset() = 0;

    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;
    virtual void setReadOnly(bool readOnly) = 0;

    virtual int sheetCount() const = 0;
    virtual std::string sheetLabel(int index) const = 0;
    virtual void showSheet(int index) = 0;
};

} // namespace vantor
