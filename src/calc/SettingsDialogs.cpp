// Rules of the calculation settings dialogs, free of any window.
#include "calc/SettingsDialogs.h"

#include "base/Text.h"

#include <cmath>

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

namespace {

long long percentOf(double reflectance) { return static_cast<long long>(std::trunc(reflectance * 100 + 0.5)); }

} // namespace

RoomTexts roomTextsOf(const model::RoomRecord& room) {
    RoomTexts t;
    t.on = room.on;
    t.roomHeight = room.roomHeight > 0 ? base::formatInt(room.roomHeight) : "";
    t.workPlane = base::formatInt(room.workPlaneHeight);
    t.ceiling = base::formatInt(percentOf(room.ceiling));
    t.walls = base::formatInt(percentOf(room.walls));
    t.floor = base::formatInt(percentOf(room.floor));
    return t;
}

int presetIndexOf(const std::string& ceiling, const std::string& walls, const std::string& floor) {
    auto is = [](const std::string& text, int percent) { return base::isInt(text) && base::toInt(text) == percent; };
    for (std::size_t i = 0; i < kReflectancePresets.size(); ++i) {
        const ReflectancePreset& p = kReflectancePresets[i];
        if (is(ceiling, p.ceiling) && is(walls, p.walls) && is(floor, p.floor)) return static_cast<int>(i);
    }
    return -1;
}

RoomVerdict applyRoomTexts(model::Document& doc, model::WindowShown& shown, const RoomTexts& texts) {
    // A text that is not a whole number is refused like one out of range, with the field's own message.
    auto whole = [](const std::string& text, std::int32_t ifEmpty) {
        if (text.empty()) return ifEmpty;
        return base::isInt(text) ? base::toInt(text) : -1;
    };
    auto reflectance = [&whole](const std::string& text) {
        const std::int32_t percent = whole(text, -1);
        return percent < 0 ? -1.0f : static_cast<float>(percent) / 100.0f;
    };
    model::RoomRecord r;
    r.stored = true;
    r.on = texts.on;
    r.roomHeight = whole(texts.roomHeight, 0);
    r.workPlaneHeight = whole(texts.workPlane, -1);
    r.ceiling = reflectance(texts.ceiling);
    r.walls = reflectance(texts.walls);
    r.floor = reflectance(texts.floor);
    switch (const model::RoomFault fault = model::roomFault(r)) {
    case model::RoomFault::None: break;
    case model::RoomFault::RoomHeight: return {fault, kMsgRoomHeight};
    case model::RoomFault::WorkPlane: return {fault, kMsgWorkPlane};
    case model::RoomFault::Ceiling:
    case model::RoomFault::Walls:
    case model::RoomFault::Floor: return {fault, kMsgReflectance};
    }
    const model::RoomRecord& old = doc.plan.room;
    const bool same = old.stored && old.on == r.on && old.roomHeight == r.roomHeight &&
                      old.workPlaneHeight == r.workPlaneHeight && old.ceiling == r.ceiling && old.walls == r.walls &&
                      old.floor == r.floor;
    if (!same) {
        doc.plan.room = r;
        model::markPlanChanged(doc, shown);
    }
    return {};
}

std::string reflectancePercents(double ceiling, double walls, double floor) {
    return "天井" + base::formatInt(percentOf(ceiling)) + "%・壁" + base::formatInt(percentOf(walls)) + "%・床" +
           base::formatInt(percentOf(floor)) + "%";
}

std::array<std::string, 3> reflectionNoteParts(const RoomGeometry& room) {
    auto mm = [](double v) { return base::formatInt(static_cast<long long>(std::trunc(v + 0.5))) + "mm"; };
    return {"■この照度分布図は、逐点法による直接照度に相互反射を加えています。",
            "反射率：" + reflectancePercents(room.ceiling, room.walls, room.floor) + "、天井高" + mm(room.roomHeight) +
                "・作業面高さ" + mm(room.workPlaneHeight) + "で",
            "相互反射を計算しています。"};
}

std::string reflectionSummary(const model::RoomRecord& room) {
    if (!room.on) return "相互反射：計算しない";
    return "相互反射：計算する（" + reflectancePercents(room.ceiling, room.walls, room.floor) + "）";
}

} // namespace calc
