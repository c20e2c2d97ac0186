// Fuzz target for every text users type into a window: lengths, counts, levels, heights, denominators, filters,
// the pillar size, a type's lumen, the print margins, the product number searched for, the product list's
// cells and the object name and date written into its CSV file.
#include "base/Text.h"
#include "calc/SettingsDialogs.h"
#include "catalog/Catalog.h"
#include "catalog/ProductList.h"
#include "catalog/Registration.h"
#include "catalog/Selection.h"
#include "editor/Dialogs.h"
#include "FuzzEditor.h"
#include "print/PageGeometry.h"
#include "ui/FileFilter.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"
#include "view/RangeDialogRules.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

class NullHost : public catalog::RegistrationHost {
public:
    void invalidateResult() override {}
    void setSelectedType(int) override {}
    void deleteFixturesOfSlot(int) override {}
};

// The pillar size edit beside the palette, read when a pillar is placed.
void placePillar(const std::string& sizeText) {
    // A small surface: the editor sizes its illuminance grid by it, and the text is what is being tried.
    ui::testing::RecordingSurface surface(80, 60);
    fuzzing::EditorRig rig;
    editor::Editor& ed = rig.start(surface);
    auto& doc = rig.state.doc;
    doc.plan.mmPerPixel = 10.0f;
    doc.plan.scaleDenominator = 50;
    ed.imgKakutyuuClick();
    rig.state.window.hasiraSizeText = sizeText;
    ed.mouseDown(ui::MouseEvent{{40, 30}, ui::MouseButton::Left});
    // A pillar is placed exactly when the text is a size; otherwise the user is told or nothing happens.
    if (doc.plan.hasira.count() > 1) std::abort();
    if (doc.plan.hasira.count() == 1 && doc.plan.hasira[1].halfSize < 0) std::abort();
}

// The lumen edit of a registered type's row.
void typeKou(const std::string& text) {
    catalog::TourokuTable touroku;
    catalog::HaikouMdb m;
    m.hinban = "F1";
    m.kou = 1000;
    touroku.registerSlot(1, m);
    NullHost host;
    ui::testing::FakeServices services;
    catalog::Registration registration(touroku, host, services);
    registration.refresh(0);
    registration.kouChanged(1, text);
}

// The product list window: every cell of a row edited, then ＯＫ, then the CSV with the typed object name and date.
void editProductList(const std::string& x, const std::string& y) {
    for (char mode : {'J', 'A'}) {
        catalog::TourokuTable touroku;
        catalog::HaikouMdb m;
        m.hinban = "F2";
        m.kou = 2000;
        touroku.registerSlot(2, m);
        touroku[2].placedCount = 3;
        ui::testing::FakeServices services;
        auto rows = catalog::listRows(touroku, mode);
        if (rows.size() != 1) std::abort();
        rows[0].cells = {x, y, x, x, y, y};
        catalog::writeBackList(touroku, rows, mode, services);
        const std::string csv = catalog::productListCsv(touroku, mode, x, y);
        if (csv.size() < 2 || csv.compare(csv.size() - 2, 2, "\r\n") != 0) std::abort();
    }
}

// The four margin edits of the print windows, left one after the other.
void leaveMargins(const std::string& a, const std::string& b) {
    print::MarginRules rules;
    print::Margins margins;
    rules.measure(print::PageGeometry::of(4960, 7016, 600, 600), margins);
    for (auto side : {print::MarginSide::Up, print::MarginSide::Down, print::MarginSide::Left, print::MarginSide::Right}) {
        try {
            const int v = rules.leave(side, (static_cast<int>(side) & 1) ? b : a, margins);
            if (v < print::MarginRules::kMinimum && rules.largestAllowed(side) >= print::MarginRules::kMinimum) std::abort();
        } catch (const base::ConversionError&) {
        }
    }
}

// The product number typed into the selection window, searched in the shipped catalogue.
void searchHinban(const std::string& text) {
    static ui::testing::FakeServices loadServices;
    static const catalog::Catalog* shipped = [] {
        auto* c = new catalog::Catalog;
        c->load(std::string(ORDIVAN_SOURCE_DIR) + "/data/zolt_data", loadServices);
        return c;
    }();
    ui::testing::FakeServices services;
    catalog::Selection selection(*shipped, services);
    ui::testing::RecordingSurface picture(catalog::kConePictureSize, catalog::kConePictureSize);
    selection.textChanged(text);
    selection.search(picture);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // Two edits' worth of text: split at the first newline.
    const auto cut = text.find('\n');
    const std::string x = text.substr(0, cut);
    const std::string y = cut == std::string::npos ? std::string() : text.substr(cut + 1);

    // A refused text may only fail with the conversion message; anything else escaping is a fault.
    ui::testing::FakeServices services;
    for (char kind : {'K', 'P', 'H', 'M', 'L'}) {
        try {
            editor::LengthDialogModel dialog;
            dialog.configure(kind, '3');
            dialog.txtX = x;
            dialog.txtY = y;
            dialog.ok(services);
        } catch (const base::ConversionError&) {
        }
    }
    try {
        std::array<std::string, 7> texts{"", x, y, x, y, x, y};
        view::checkLevels(view::readLevels(texts));
    } catch (const base::ConversionError&) {
    }
    try {
        model::Document doc;
        std::string refusal;
        calc::acceptTenDaka(doc, x, refusal);
    } catch (const base::ConversionError&) {
    }
    try {
        editor::NewPlanChoice c;
        c.customScale = true;
        c.denominatorText = x;
        editor::chosenDenominator(c);
    } catch (const base::ConversionError&) {
    }
    placePillar(x);
    typeKou(x);
    leaveMargins(x, y);
    editProductList(x, y);
    searchHinban(x);
    ui::parseFilter(text);
    ui::withDefaultExtension(x, y);
    return 0;
}
