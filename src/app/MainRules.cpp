// The main window's result and height rules, free of any window.
#include "app/MainRules.h"

#include "calc/SettingsDialogs.h"
#include "view/RangeDialogRules.h"

namespace app {

bool calcButtonAllowed(const model::Document& doc, ui::Services& services) {
    if (doc.plan.kigu.count() > 0) return true;
    services.messageBox(kNoFixtures, "", ui::Icon::Stop, ui::Buttons::Ok);
    return false;
}

RedisplayStep redisplayStepFor(model::Document& doc, ui::Services& services, char kind) {
    doc.displayKind = kind;
    const bool fixtures = doc.plan.kigu.count() > 0;
    if (!doc.resultValid && fixtures) {
        const auto answer = services.messageBox(kRecalcQuestion, kRecalcTitle, ui::Icon::Stop, ui::Buttons::OkCancel);
        return answer == ui::Answer::Ok ? RedisplayStep::Recalculate : RedisplayStep::Nothing;
    }
    if (fixtures) return RedisplayStep::Redisplay;
    services.messageBox(kNoFixtures, "", ui::Icon::Stop, ui::Buttons::Ok);
    return RedisplayStep::Nothing;
}

void chooseResultKind(model::Document& doc, char kind) {
    doc.displayKind = kind;
    doc.scaleTypeLabel = view::scaleTypeLabel(kind, doc.rangeMode);
}

void chooseRangeMode(model::Document& doc, bool userLevels) {
    doc.rangeMode = userLevels;
    doc.scaleTypeLabel = view::scaleTypeLabel(doc.displayKind, userLevels);
}

bool requireScale(const model::Document& doc, ui::Services& services) {
    if (doc.plan.hasScale()) return true;
    services.messageBox(kSetScale, "", ui::Icon::Stop, ui::Buttons::Ok);
    return false;
}

bool chooseArrayInput(model::Document& doc, ui::Services& services, char arrayInput) {
    if (arrayInput == 'P' && !doc.plan.hasScale()) {
        services.messageBox(kNoScaleForPitch, "エラー", ui::Icon::Stop, ui::Buttons::Ok);
        return false;
    }
    doc.arrayInput = arrayInput;
    return true;
}

void changeReferenceHeight(model::Document& doc, const HeightChangeSteps& steps) {
    const std::int32_t before = doc.tenDaka;
    if (steps.askHeight) steps.askHeight();
    // Cancelled, or the height it already had: the plan and its result stay as they are.
    if (doc.tenDaka == before) return;
    if (calc::anyFixtureWithOwnHeight(doc.plan)) {
        const int answer = steps.askFixtures ? steps.askFixtures() : 0;
        if (answer != 0) calc::applyTenDakaChange(doc.plan, answer, before, doc.tenDaka);
        if (steps.redisplayPlan) steps.redisplayPlan();
    }
    model::markPlanChanged(doc);
}


bool chooseBackgroundSize(model::Document& doc, ui::Services& services, char background, int mode) {
    (background == 'B' ? doc.bitmapSizeMode : doc.dxfSizeMode) = mode;
    if (doc.backgroundKind != background) return false;
    return services.messageBox(kChangeScreen, "", ui::Icon::Question, ui::Buttons::OkCancel) == ui::Answer::Ok;
}

ScrollChange windowResized(model::Document& doc, bool autoScroll, int clientWidth, int freeHeight) {
    if (doc.extent.Xe < 0) return ScrollChange::None;
    if (doc.extent.Xe == 0) {
        doc.extent.Xe = 1;
        return ScrollChange::None;
    }
    doc.extent = model::computeExtent(doc.plan, doc.screenWidth, doc.screenHeight);
    if (autoScroll && doc.extent.Xe < clientWidth && doc.extent.Ye < freeHeight) return ScrollChange::Off;
    if (!autoScroll && (doc.extent.Xe > clientWidth || doc.extent.Ye > freeHeight)) return ScrollChange::On;
    return ScrollChange::None;
}

} // namespace app
