#pragma once

// What a reader sees on a rendered page, without a reference picture: where there is ink, and
// whether the table sits in the middle of the paper.

#include <QImage>
#include <QRectF>

#include <algorithm>
#include <cmath>

namespace vantor::test {

// True when a pixel inside `rect` is darker than the light grey of screen grid lines.
inline bool inked(const QImage &image, const QRectF &rect)
{
    const QRect r = rect.toAlignedRect().intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                return true;
    return false;
}

// Left and right blank widths of a page; both -1 for an empty page.
inline std::pair<int, int> sideMargins(const QImage &image)
{
    int left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    if (right < 0)
        return {-1, -1};
    return {left, image.width() - 1 - right};
}

// The ink is centred across the paper within 2 % of its width.
inline bool centred(const QImage &image)
{
    const auto [left, right] = sideMargins(image);
    return left >= 0 && std::abs(left - right) <= image.width() / 50 + 1;
}

} // namespace vantor::test
