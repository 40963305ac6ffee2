#pragma once

// Draws one formula of the calculator window on a line: plain text pieces and
// fractions with the numerator over a bar over the denominator, centred on the
// line's middle.

#include "calculators/AppraisalCalculators.h"

#include <QWidget>

namespace vantor {

class FormulaView : public QWidget {
    Q_OBJECT
public:
    explicit FormulaView(QWidget *parent = nullptr);

    void setTerms(std::vector<FormulaTerm> terms);
    const std::vector<FormulaTerm> &terms() const { return m_terms; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Width of one term in pixels with the widget's font.
    int termWidth(const FormulaTerm &term) const;

    std::vector<FormulaTerm> m_terms;
};

} // namespace vantor
