// The printer page measured for a sheet: size in dots, dots per millimetre, margins and the one-fifth limits.
#pragma once
#include "ui/Surface.h"

#include <array>
#include <string>

namespace print {

struct PageGeometry {
    int PW = 0, PH = 0;      // printable page in dots
    double dX = 0, dY = 0;   // dots per millimetre
    static PageGeometry of(const ui::Surface& page);
    static PageGeometry of(int width, int height, int dpiX, int dpiY);
    // One fifth of the page in whole millimetres.
    int W5() const;
    int H5() const;
};

// The four margins in whole millimetres, as the dialog's edits hold them.
struct Margins {
    int top = 5, bottom = 5, left = 5, right = 5;
};

// The margins in dots: millimetres × dots per millimetre, plus 0.5, truncated.
struct MarginDots {
    int ML = 0, MR = 0, MT = 0, MB = 0;
    static MarginDots of(const Margins& m, const PageGeometry& g);
};

// Truncation toward zero, safe for values beyond int (clamped) and for non-numbers (0).
int truncDots(double v);

enum class MarginSide { Up = 0, Down = 1, Left = 2, Right = 3 };

// The rules of the four margin edits: the smallest margin is 5 mm, and opposite margins together never
// take more than a fifth of the page.
class MarginRules {
public:
    static constexpr int kMinimum = 5;

    // Measures the page's fifths and sets the largest allowed values and the range labels from the
    // opposite margins (on show, and again after the printer set-up).
    void measure(const PageGeometry& page, const Margins& margins);
    // On leaving an edit: reads the text as a whole number (base::ConversionError when it is none, the
    // margins untouched), clamps it into 5 .. largest allowed, stores it and limits the opposite margin.
    // Returns the value written back into the edit.
    int leave(MarginSide side, const std::string& text, Margins& margins);

    int largestAllowed(MarginSide side) const { return largest_[static_cast<std::size_t>(side)]; }
    // "(5～37)"
    std::string label(MarginSide side) const;
    int W5() const { return w5_; }
    int H5() const { return h5_; }

private:
    int w5_ = 0, h5_ = 0;
    std::array<int, 4> largest_{};
};

// The keys a margin edit lets through: digits, backspace, Enter, '-' and the codes 37..40 that the
// arrow keys share with '%', '&', '\'' and '('. Everything else (the decimal point too) is swallowed.
bool marginKeyPasses(int key);

} // namespace print
