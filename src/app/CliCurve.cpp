// ordivan-cli curve: the light distribution curve of one registered type as a picture and as a printed sheet.
#include "app/Cli.h"
#include "base/Text.h"
#include "model/ProjectFile.h"
#include "print/CurveSheet.h"
#include "print/PdfPrint.h"
#include "print/SheetText.h"
#include "ui/qt/QtSurface.h"

#include <ostream>

namespace app {

int cmdCurve(CliRun& run) {
    if (run.args.size() < 2) return kExitUsage;
    std::string slotText, layout, png, pdf, date;
    if (!run.option("--slot", slotText)) return kExitUsage;
    const bool hasLayout = run.option("--layout", layout);
    run.option("--png", png);
    run.option("--pdf", pdf);
    run.option("--date", date);
    int slot = 0;
    try {
        slot = base::toInt(slotText);
    } catch (const base::ConversionError& e) {
        run.err << "ordivan-cli: curve: " << e.what() << '\n';
        return kExitUsage;
    }
    int mode = -1;
    if (hasLayout) {
        if (layout.size() == 2 && (layout[0] == 'C' || layout[0] == 'c') && layout[1] >= '1' && layout[1] <= '4')
            mode = layout[1] - '1';
        else
            return kExitUsage;
    }
    if (!run.loadProject(run.args[1])) return kExitRefused;
    if (!catalog::isValidSlot(slot) || !run.touroku[slot].isRegistered()) {
        run.services.messageBox("器具を選択してください", "", ui::Icon::Stop, ui::Buttons::Ok);
        return kExitRefused;
    }

    print::CurveView view;
    if (mode >= 0) view.pickLayout(mode);
    view.fill(run.touroku[slot]);
    run.out << "C" << view.curveMode() + 1 << " scaleMax " << view.scaleMax() << ' '
            << print::halfIlluminanceText(view.sheet()) << '\n';

    if (!png.empty()) {
        ui::qt::ImageSurface picture(print::CurveView::kPictureWidth, print::CurveView::kPictureHeight, run.screen.dpi);
        view.drawExportPicture(picture, print::placeSheetText);
        if (!ui::qt::savePicture(picture, png, "PNG")) {
            const auto naming = run.about(png);
            run.services.messageBox(model::kMsgCannotWrite, model::kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
            return kExitRefused;
        }
    }
    if (!pdf.empty() && !print::printCurveSheetPdf(pdf, view, run.services, run.doc.productTitle, print::placeSheetText, date)) {
        const auto naming = run.about(pdf);
        run.services.messageBox(model::kMsgCannotWrite, model::kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
        return kExitRefused;
    }
    return kExitOk;
}

} // namespace app
