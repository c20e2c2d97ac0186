// Printing the sheets into PDF files through the platform's print job (the headless engine's output).
#pragma once
#include "print/CurveSheet.h"
#include "print/SheetText.h"
#include "ui/Services.h"

#include <string>

namespace print {

// Resolution of the PDF sheets the headless engine writes.
inline constexpr int kPdfDpi = 300;

// The curve sheet on one A4 portrait page, dated `date` (empty: today); false (nothing reported) when the
// file cannot be written.
bool printCurveSheetPdf(const std::string& path, const CurveView& view, ui::Services& services,
                        const std::string& version, const PlaceTextFn& placeText = placeSheetText,
                        const std::string& date = {});

// Height of "W" in 9 pt on a screen picture of the platform (what the sheets scale their diagram texts by).
int screenTextHeight(ui::Services& services);

} // namespace print
