#pragma once

// Paper sizes by the paper codes of print settings, and the one conversion between millimetres
// (paper, margins) and sheet pixels (96 per inch). Pagination, page drawing and the fitting of
// printed forms all measure paper here.

#include <utility>

namespace vantor {

struct PaperSizes {
    static constexpr double PixelsPerMm = 96.0 / 25.4;
    static constexpr int A4 = 9;

    // Width and height in millimetres, portrait, for a paper code (9 A4, 8 A3, 11 A5, 13 B5,
    // 1 Letter, 5 Legal); unknown codes are A4.
    static constexpr std::pair<double, double> millimetres(int code)
    {
        switch (code) {
        case 1:
            return {215.9, 279.4};
        case 5:
            return {215.9, 355.6};
        case 8:
            return {297, 420};
        case 11:
            return {148, 210};
        case 13:
            return {182, 257};
        default:
            return {210, 297};
        }
    }
};

} // namespace vantor
