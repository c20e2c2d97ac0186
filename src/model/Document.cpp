// Plan-wide state changes: plan changed, clear plan, scale from a denominator, labels and titles.
#include "model/Document.h"

#include <cmath>

namespace model {

void markPlanChanged(Document& doc) {
    ++doc.planRevision;
    doc.dataChanged = true;
    doc.resultValid = false;
    doc.maxLuxLabel.clear();
    doc.pointLuxLabel.clear();
    doc.menus.redisplayLux = false;
    doc.menus.redisplayColorTemp = false;
    doc.menus.dxfSaveResult = false;
    doc.menus.csvOutput = false;
    doc.menus.gridPrint = true;
}

void clearPlan(Document& doc, catalog::TourokuTable& touroku) {
    doc.plan.clearItems();
    doc.currentFileName.clear();
    doc.bitmapSaveFileName.clear();
    touroku.clearAll();
    doc.plan.mmPerPixel = -1;
    doc.plan.scaleDenominator = -1;
    doc.hasiraSizeText = "800";
    doc.arrayInput = 'K';
    doc.flVertical = false;
    doc.displayKind = 'B';
    doc.bitmapSizeMode = 2;
    doc.dxfSizeMode = 2;
    // The label returns to 3000 while tenDaka keeps its value, as the program always did; the
    // calculation reads the height from the label, so the two cannot disagree in a result.
    doc.tenDakaLabel = "3000";
    markPlanChanged(doc);
}

ScaleFromDenominator setScaleFromDenominator(Document& doc, std::int32_t denominator) {
    ScaleFromDenominator s = scaleFromDenominator(denominator, doc.screenMmPerPixel);
    if (!(s.mmPerPixel > 0)) return s;
    rescalePlan(doc.plan, s.mmPerPixel);
    doc.plan.mmPerPixel = s.mmPerPixel;
    doc.plan.scaleDenominator = denominator;
    doc.scaleLabel = scaleLabelFor(doc, true);
    doc.gridSnapVisible = true;
    doc.gridShown = true;
    return s;
}

std::string scaleLabelFor(const Document& doc, bool withEffective) {
    if (doc.plan.scaleDenominator < 1) return "縮尺未設定";
    std::string label = "縮尺：1/" + std::to_string(doc.plan.scaleDenominator);
    if (withEffective && doc.plan.mmPerPixel > 0 && doc.screenMmPerPixel > 0) {
        const auto effective = static_cast<long long>(std::trunc(doc.plan.mmPerPixel / doc.screenMmPerPixel + 0.5f));
        label += " (" + std::to_string(effective) + ")";
    }
    return label;
}

std::string windowTitleFor(const Document& doc, const std::string& path, bool unsaved) {
    std::string name = path;
    std::size_t cut = name.find_last_of("/\\");
    if (cut != std::string::npos) name = name.substr(cut + 1);
    if (name.empty() && !unsaved) return doc.productTitle + kTitleSuffix;
    if (name.empty()) name = "無題";
    return doc.productTitle + "  - " + (unsaved ? "*" : "") + name + kTitleSuffix;
}

bool hasUnsavedChanges(const Document& doc) { return doc.dataChanged && !doc.plan.isEmpty(); }

int addFixture(Document& doc, catalog::TourokuTable& touroku, std::int32_t x, std::int32_t y, std::int32_t typeIndex) {
    KiguRecord k;
    k.x = x;
    k.y = y;
    k.typeIndex = typeIndex;
    k.rotation = rotationFor(typeIndex, doc.flVertical);
    k.anchorX = x;
    k.anchorY = y;
    int index = doc.plan.kigu.add(k);
    touroku.changePlacedCount(typeIndex, +1);
    markPlanChanged(doc);
    return index;
}

void deleteFixture(Document& doc, catalog::TourokuTable& touroku, int index) {
    const std::int32_t type = doc.plan.kigu[index].typeIndex;
    doc.plan.kigu.removeAt(index);
    touroku.changePlacedCount(type, -1);
    markPlanChanged(doc);
}

void deleteFixturesOfSlot(Document& doc, catalog::TourokuTable& touroku, int slot) {
    for (int i = doc.plan.kigu.count(); i >= 1; --i) {
        if (doc.plan.kigu[i].typeIndex == slot) deleteFixture(doc, touroku, i);
    }
}

} // namespace model
