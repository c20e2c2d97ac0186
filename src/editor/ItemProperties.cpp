// The properties box's fields of a fixture, wall, pillar or task area, and the typed values written back.
#include "editor/ItemProperties.h"

#include "base/Text.h"
#include "editor/Dialogs.h"
#include "editor/Editor.h"

#include <cmath>

namespace editor {

namespace {

std::string mm(std::int32_t pixels, float mmPerPixel) {
    const double v = static_cast<double>(pixels) * mmPerPixel;
    return base::formatInt(static_cast<long long>(v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5)));
}

// A typed position in mm as plan pixels; refused beyond any plan.
bool pixels(const std::string& text, float mmPerPixel, std::int32_t& out, ui::Services& services) {
    const auto p = mmToPixels(base::toFloat(text), mmPerPixel);
    if (!p) {
        services.messageBox(kMsgEnterValue, "入力エラー", ui::Icon::Stop, ui::Buttons::Ok);
        return false;
    }
    out = *p;
    return true;
}

bool refuse(ui::Services& services, const char* text, const char* title = "入力エラー") {
    services.messageBox(text, title, ui::Icon::Stop, ui::Buttons::Ok);
    return false;
}

} // namespace

PropertySheet propertySheetOf(const model::Document& doc, ItemRef item) {
    const auto& plan = doc.plan;
    const float s = plan.mmPerPixel;
    PropertySheet sheet;
    switch (item.kind) {
    case ItemKind::Fixture: {
        const auto& k = plan.kigu[item.index];
        sheet.title = "器具のプロパティ";
        sheet.fields = {{"器具番号", std::to_string(k.typeIndex)},
                        {"X (mm)", mm(k.x, s)},
                        {"Y (mm)", mm(k.y, s)},
                        {"取付高さ (mm)", std::to_string(static_cast<long long>(doc.tenDaka) + k.heightOffset)},
                        {"回転 (0/90)", std::to_string(k.rotation)}};
        break;
    }
    case ItemKind::Wall: {
        const auto& l = plan.lines[item.index];
        if (l.isArc()) {
            sheet.title = "円弧のプロパティ";
            sheet.fields = {{"中心 X (mm)", mm((l.x3 + l.x4) / 2, s)}, {"中心 Y (mm)", mm((l.y3 + l.y4) / 2, s)}};
        } else {
            sheet.title = "壁のプロパティ";
            sheet.fields = {{"始点 X (mm)", mm(l.x1, s)}, {"始点 Y (mm)", mm(l.y1, s)}, {"終点 X (mm)", mm(l.x2, s)},
                            {"終点 Y (mm)", mm(l.y2, s)}};
        }
        break;
    }
    case ItemKind::Pillar: {
        const auto& h = plan.hasira[item.index];
        sheet.title = "柱のプロパティ";
        sheet.fields = {{"中心 X (mm)", mm(h.x, s)}, {"中心 Y (mm)", mm(h.y, s)}, {"サイズ (mm)", mm(2 * h.halfSize, s)}};
        break;
    }
    case ItemKind::Area: {
        const auto& a = plan.areas.at(static_cast<std::size_t>(item.index - 1));
        sheet.title = "作業領域のプロパティ";
        sheet.fields = {{"名前", a.name},
                        {"X1 (mm)", mm(a.x1, s)},
                        {"Y1 (mm)", mm(a.y1, s)},
                        {"X2 (mm)", mm(a.x2, s)},
                        {"Y2 (mm)", mm(a.y2, s)},
                        {"必要照度 (Lx)", std::to_string(a.requiredLux)},
                        {"必要均斉度", base::formatFixed(a.requiredUniformity, 2)}};
        break;
    }
    }
    return sheet;
}

bool applyPropertyTexts(model::Plan& plan, const model::Document& doc, const catalog::TourokuTable& touroku, ItemRef item,
                        const std::vector<std::string>& t, ui::Services& services) {
    const float s = doc.plan.mmPerPixel;
    switch (item.kind) {
    case ItemKind::Fixture: {
        if (t.size() != 5) return false;
        model::KiguRecord k = plan.kigu[item.index];
        const std::int32_t slot = base::toInt(t[0]);
        if (!catalog::isValidSlot(slot) || !touroku[slot].isRegistered()) return refuse(services, kNeedType, "");
        if (!pixels(t[1], s, k.x, services) || !pixels(t[2], s, k.y, services)) return false;
        const std::int32_t height = base::toInt(t[3]);
        const std::int32_t rotation = base::toInt(t[4]);
        if (!(rotation == 0 || (rotation == 90 && model::rotationFor(slot, true) == 90))) return refuse(services, kMsgRotation);
        // As the height tool stores it: the reference height itself is no offset.
        k.heightOffset = height == doc.tenDaka ? 0 : height - doc.tenDaka;
        k.typeIndex = slot;
        k.rotation = rotation;
        k.anchorX = k.x;
        k.anchorY = k.y;
        plan.kigu[item.index] = k;
        return true;
    }
    case ItemKind::Wall: {
        model::LineRecord l = plan.lines[item.index];
        if (l.isArc()) {
            if (t.size() != 2) return false;
            std::int32_t cx = 0, cy = 0;
            if (!pixels(t[0], s, cx, services) || !pixels(t[1], s, cy, services)) return false;
            const std::int32_t dx = cx - (l.x3 + l.x4) / 2, dy = cy - (l.y3 + l.y4) / 2;
            for (int i = 1; i <= 4; ++i) {
                l.setX(i, l.x(i) + dx);
                l.setY(i, l.y(i) + dy);
            }
        } else {
            if (t.size() != 4) return false;
            if (!pixels(t[0], s, l.x1, services) || !pixels(t[1], s, l.y1, services) || !pixels(t[2], s, l.x2, services) ||
                !pixels(t[3], s, l.y2, services))
                return false;
            if (l.x1 == l.x2 && l.y1 == l.y2) return refuse(services, kMsgNoLength);
        }
        model::normaliseLine(l);
        plan.lines[item.index] = l;
        return true;
    }
    case ItemKind::Pillar: {
        if (t.size() != 3) return false;
        model::HasiraRecord h = plan.hasira[item.index];
        if (!pixels(t[0], s, h.x, services) || !pixels(t[1], s, h.y, services)) return false;
        const std::int32_t sizeMm = base::toInt(t[2]);
        // As the pillar tool places it: half the size in pixels, truncated; a pillar of no size is none.
        const auto half = static_cast<std::int32_t>(std::trunc(sizeMm / static_cast<double>(s) * 0.5));
        if (sizeMm <= 0 || half <= 0) return refuse(services, kMsgEnterValue);
        h.halfSize = half;
        plan.hasira[item.index] = h;
        return true;
    }
    case ItemKind::Area: {
        if (t.size() != 7) return false;
        auto& stored = plan.areas.at(static_cast<std::size_t>(item.index - 1));
        const auto a = taskAreaFromTexts(stored, t[0], t[5], t[6], services);
        if (!a) return false;
        model::AreaRecord r = *a;
        if (!pixels(t[1], s, r.x1, services) || !pixels(t[2], s, r.y1, services) || !pixels(t[3], s, r.x2, services) ||
            !pixels(t[4], s, r.y2, services))
            return false;
        model::normaliseArea(r);
        stored = r;
        return true;
    }
    }
    return false;
}

} // namespace editor
