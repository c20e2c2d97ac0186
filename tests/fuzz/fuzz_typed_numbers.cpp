// Fuzz target for the texts users type into the dialogs: lengths, counts, levels, heights, denominators, filters.
#include "base/Text.h"
#include "calc/SettingsDialogs.h"
#include "editor/Dialogs.h"
#include "ui/FileFilter.h"
#include "ui/testing/FakeServices.h"
#include "view/RangeDialogRules.h"

#include <cstddef>
#include <cstdint>
#include <string>

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
    ui::parseFilter(text);
    ui::withDefaultExtension(x, y);
    return 0;
}
