// PDF output of the sheets: one print job per file, the page drawn by the Qt-free sheet layouts.
#include "print/PdfPrint.h"

namespace print {

int screenTextHeight(ui::Services& services) {
    auto probe = services.createSurface(16, 16);
    if (!probe) return 0;
    ui::Font font = probe->font();
    font.sizePt = 9;
    probe->setFont(font);
    return probe->textExtent("W").height;
}

bool printCurveSheetPdf(const std::string& path, const CurveView& view, ui::Services& services,
                        const std::string& version, const PlaceTextFn& placeText, const std::string& date) {
    auto job = services.startPdfJob(path, false, kPdfDpi);
    if (!job) return false;
    CurveSheetPrintOptions options;
    auto logo = services.createSurface(120, 40);
    if (logo) {
        drawMakerLogo(*logo);
        options.logo = logo.get();
    }
    options.screenTextHeight = screenTextHeight(services);
    options.date = date.empty() ? services.today() : date;
    options.version = version;
    printCurveSheet(job->page(), view, options, placeText);
    return job->finish();
}

} // namespace print
