#pragma once

// How far the layout of a printed detail sheet has got: the step runs from 0 to 10 (10 is
// 100 %) with a short text of what is being done. The window that shows it repaints on every
// call. A progress that reports `cancelled` stops the layout; the engine then throws
// PrintCancelled and the workbook is left as it was.

#include <stdexcept>
#include <string>

namespace vantor {

class PrintProgress {
public:
    virtual ~PrintProgress() = default;
    virtual void ShowProgress(double step, const std::string &text) = 0;
    virtual bool cancelled() const { return false; }
    // The layout is done; the window goes before the printed pages are shown.
    virtual void finished() {}
    // The percentage shown for a step: step × 10 to a whole number, halves to even ("56%").
    static std::string percentText(double step);
};

class PrintCancelled : public std::runtime_error {
public:
    PrintCancelled() : std::runtime_error("打印已取消。") {}
};

} // namespace vantor
