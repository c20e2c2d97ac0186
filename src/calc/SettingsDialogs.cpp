// Rules of the calculation settings dialogs, free of any window.
#include "calc/SettingsDialogs.h"

#include "base/Text.h"

namespace calc {

CalcStartView calcStartViewOf(const CalcSettings& settings) {
    CalcStartView v;
    v.environment = !settings.maintenanceOn ? Environment::NotConsidered
                    : settings.maintenanceClass == 0 ? Environment::Good
                    : settings.maintenanceClass == 2 ? Environment::Poor
                                                     : Environment::Normal;
    v.step = settings.calcStep;
    return v;
}

void invalidateResult(model::Document& doc, model::WindowShown& shown) {
    const bool changed = doc.dataChanged;
    model::markPlanChanged(doc, shown);
    doc.dataChanged = changed;
}

void applyCalcStart(model::Document& doc, model::WindowShown& shown, CalcSettings& settings, const CalcStartChoice& choice) {
    settings.showFixturesOnResult = choice.fixturePlot;
    doc.displayKind = choice.displayKind;

    const bool oldOn = settings.maintenanceOn;
    const std::int32_t oldClass = settings.maintenanceClass;
    settings.maintenanceOn = true;
    switch (choice.environment) {
    case Environment::Good: settings.maintenanceClass = 0; break;
    case Environment::Normal: settings.maintenanceClass = 1; break;
    case Environment::Poor: settings.maintenanceClass = 2; break;
    case Environment::NotConsidered: settings.maintenanceOn = false; break;
    }
    if (settings.maintenanceOn != oldOn || settings.maintenanceClass != oldClass || choice.step != settings.calcStep) {
        invalidateResult(doc, shown);
    }
    settings.calcStep = choice.step;
    settings.calcConfirmed = true;
}

std::string tenDakaRefusal(std::int32_t height) {
    if (height <= 0) return kTenDakaNotPositive;
    if (height < model::kMinTenDaka) return kTenDakaNotMm;
    return {};
}

bool acceptTenDaka(model::Document& doc, const std::string& typed, std::string& refusal) {
    const std::int32_t a = base::toInt(typed);
    refusal = tenDakaRefusal(a);
    if (!refusal.empty()) return false;
    doc.tenDaka = a;
    doc.tenDakaLabel = typed;
    return true;
}

bool anyFixtureWithOwnHeight(const model::Plan& plan) {
    bool any = false;
    plan.kigu.forEach([&](const model::KiguRecord& k) { any = any || k.heightOffset != 0; });
    return any;
}

void applyTenDakaChange(model::Plan& plan, int answer, std::int32_t tenDakaBefore, std::int32_t tenDaka) {
    switch (answer) {
    case 1:
        for (int j = 1; j <= plan.kigu.count(); ++j) plan.kigu[j].heightOffset = 0;
        break;
    case 3:
        for (int j = 1; j <= plan.kigu.count(); ++j) {
            if (plan.kigu[j].heightOffset != 0) plan.kigu[j].heightOffset += tenDakaBefore - tenDaka;
        }
        break;
    default: break;  // 2: the offsets ride along with the reference height
    }
}

void setCalcStep(model::Document& doc, model::WindowShown& shown, CalcSettings& settings, std::int32_t position) {
    if (position != settings.calcStep) invalidateResult(doc, shown);
    settings.calcStep = position;
}

void applyMaintenance(CalcSettings& settings, bool considered, std::int32_t environmentClass) {
    settings.maintenanceOn = considered;
    settings.maintenanceClass = environmentClass;
}

} // namespace calc
