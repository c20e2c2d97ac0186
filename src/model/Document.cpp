// Plan-wide state changes: plan changed, clear plan, scale from a denominator, the scale label and the window title.
#include "model/Document.h"

#include <cmath>

namespace model {

void markPlanChanged(Document& doc, WindowShown& shown) {
    ++doc.planRevision;
    doc.dataChanged = true;
    doc.resultValid = false;
    closeResultMenus(shown);
}

void clearPlan(Document& doc, WindowShown& shown, catalog::TourokuTable& touroku) {
    doc.plan.clearItems();
    doc.plan.room = RoomRecord{};  // a new plan starts without reflections, as a project without the section
    doc.currentFileName.clear();
    doc.bitmapSaveFileName.clear();
    doc.fileSpellings.clear();
    touroku.clearAll();
    doc.plan.mmPerPixel = -1;
    doc.plan.scaleDenominator = -1;
    shown.hasiraSizeText = "800";
    doc.arrayInput = 'K';
    doc.flVertical = false;
    doc.displayKind = 'B';
    doc.bitmapSizeMode = 2;
    doc.dxfSizeMode = 2;
    // The label returns to 3000 while tenDaka keeps its value, as the program always did; the
    // calculation reads the height from the label, so the two cannot disagree in a result.
    doc.tenDakaLabel = "3000";
    shown.windowTitle = windowTitleFor(doc, "");  // a new plan no longer carries the old file's name
    markPlanChanged(doc, shown);
}

ScaleFromDenominator setScaleFromDenominator(Document& doc, WindowShown& shown, std::int32_t denominator) {
    ScaleFromDenominator s = scaleFromDenominator(denominator, doc.screenMmPerPixel);
    if (!(s.mmPerPixel > 0)) return s;
    rescalePlan(doc.plan, s.mmPerPixel);
    doc.plan.mmPerPixel = s.mmPerPixel;
    doc.plan.scaleDenominator = denominator;
    shown.scaleLabel = scaleLabelFor(doc, true);
    shown.gridSnapVisible = true;
    doc.gridShown = true;
    return s;
}

std::string scaleLabelFor(const Document& doc, bool withEffective) {
    if (doc.plan.scaleDenominator < 1) return "縮尺未設定";
    std::string label = denominatorLabel(doc.plan.scaleDenominator);
    if (withEffective && doc.plan.mmPerPixel > 0 && doc.screenMmPerPixel > 0) {
        const auto effective = static_cast<long long>(std::trunc(doc.plan.mmPerPixel / doc.screenMmPerPixel + 0.5f));
        label += " (" + std::to_string(effective) + ")";
    }
    return label;
}

std::string denominatorLabel(std::int32_t denominator) { return "縮尺：1/" + std::to_string(denominator); }

std::string windowTitleFor(const Document& doc, const std::string& path) {
    // "[*]" is where the window shows its unsaved-changes mark.
    if (path.empty()) return doc.productTitle + "  - [*]無題" + kTitleSuffix;
    std::string name = path;
    std::size_t cut = name.find_last_of("/\\");
    if (cut != std::string::npos) name = name.substr(cut + 1);
    return doc.productTitle + "  - [*]" + name + kTitleSuffix;
}

bool hasUnsavedChanges(const Document& doc) { return doc.dataChanged && !doc.plan.isEmpty(); }

int addFixture(Document& doc, WindowShown& shown, catalog::TourokuTable& touroku, std::int32_t x, std::int32_t y, std::int32_t typeIndex) {
    KiguRecord k;
    k.x = x;
    k.y = y;
    k.typeIndex = typeIndex;
    k.rotation = rotationFor(typeIndex, doc.flVertical);
    k.anchorX = x;
    k.anchorY = y;
    int index = doc.plan.kigu.add(k);
    touroku.changePlacedCount(typeIndex, +1);
    markPlanChanged(doc, shown);
    return index;
}

void deleteFixture(Document& doc, WindowShown& shown, catalog::TourokuTable& touroku, int index) {
    const std::int32_t type = doc.plan.kigu[index].typeIndex;
    doc.plan.kigu.removeAt(index);
    touroku.changePlacedCount(type, -1);
    markPlanChanged(doc, shown);
}

void deleteFixturesOfSlot(Document& doc, WindowShown& shown, catalog::TourokuTable& touroku, int slot) {
    for (int i = doc.plan.kigu.count(); i >= 1; --i) {
        if (doc.plan.kigu[i].typeIndex == slot) deleteFixture(doc, shown, touroku, i);
    }
}

} // namespace model
