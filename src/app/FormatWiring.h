#pragma once

// The format toolbar's commands in the main window: the style toggles, the three
// alignments, merge and unmerge, and the font and size boxes, each applied to the
// selection of the detail sheet shown (FormatCommands). Only a detail sheet of a
// data-entry project takes a format; elsewhere the commands do nothing.

namespace vantor {

class ProjectDocument;
class frmMain;

class FormatWiring {
public:
    explicit FormatWiring(frmMain &window);
    ~FormatWiring();
    FormatWiring(const FormatWiring &) = delete;
    FormatWiring &operator=(const FormatWiring &) = delete;

private:
    bool formatsSheet() const;
    void applyStyleButtons();
    void applyAlignment(int code);
    void applyFontNameBox();
    void applyFontSizeBox();
    void mergeOrUnmerge(bool merge);

    frmMain &m_window;
    ProjectDocument &m_doc;
};

} // namespace vantor
