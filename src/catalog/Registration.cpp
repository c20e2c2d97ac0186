// Registration window rules: rows of the shown tab, choosing and cancelling slots, flux edits.
#include "catalog/Registration.h"

#include "base/Text.h"
#include "catalog/Photometry.h"

#include <filesystem>

namespace catalog {
namespace {

bool validPosition(int p) { return p >= 1 && p <= 6; }

} // namespace

void Registration::rebuildRows() {
    for (int p = 1; p <= 6; ++p) {
        SlotRow& row = rows_[static_cast<std::size_t>(p - 1)];
        row = SlotRow{};
        const BunpuHinban& t = touroku_[slotAt(p)];
        if (t.isRegistered()) {
            row.registered = true;
            row.hin = t.option.empty() ? t.hinban : t.hinban + "(" + t.option + ")";
            row.kou = base::formatInt(t.kou);
            row.tosu = base::formatInt(t.tosu);
            row.mid = kMidText;
            row.lamp = lampNameMode_ == 'J' ? t.lampName : t.lampNameA;
            row.picture = SlotPicture::Registered;
            row.watts = wattsText(t.watts);
            if (t.kou != t.kouCatalog) {
                row.kouChanged = true;
                row.kouHint = base::formatInt(t.kouCatalog) + "を変更";
            }
        }
    }
    markCurrent();
    updateCounts();
}

void Registration::markCurrent() {
    for (int p = 1; p <= 6; ++p) {
        SlotRow& row = rows_[static_cast<std::size_t>(p - 1)];
        row.highlighted = false;
        row.picture = row.registered ? SlotPicture::Registered : SlotPicture::Free;
        if (slotAt(p) == currentSlot_) {
            row.highlighted = true;
            row.picture = SlotPicture::Current;
        }
    }
}

void Registration::refresh(int tab) {
    if (tab < 0 || tab > 5) return;
    tab_ = tab;
    rebuildRows();
}

void Registration::reset() {
    // Every slot may have been freed: none stays the type the plan editor places.
    currentSlot_ = -1;
    host_.setSelectedType(-1);
    for (auto& row : rows_) row.kosuu.clear();
    refresh(0);
    for (auto& row : rows_) row.picture = SlotPicture::Free;
}

void Registration::updateCounts() {
    for (int p = 1; p <= 6; ++p) {
        const std::int32_t n = touroku_[slotAt(p)].placedCount;
        rows_[static_cast<std::size_t>(p - 1)].kosuu = n > 0 ? base::formatInt(n) : std::string();
    }
}

void Registration::setLampNameMode(char mode) {
    lampNameMode_ = mode == 'J' ? 'J' : 'A';
    for (int p = 1; p <= 6; ++p) {
        const BunpuHinban& t = touroku_[slotAt(p)];
        rows_[static_cast<std::size_t>(p - 1)].lamp =
            t.isRegistered() ? (lampNameMode_ == 'J' ? t.lampName : t.lampNameA) : std::string();
    }
}

std::string Registration::hinbanForDialog(int position) const {
    if (!validPosition(position)) return {};
    return touroku_[slotAt(position)].hinban;
}

void Registration::registerSelection(int position, const HaikouMdb& selection) {
    if (!validPosition(position)) return;
    touroku_.registerSlot(slotAt(position), selection);
    host_.invalidateResult();
    host_.typesChanged();
    rebuildRows();
}

bool Registration::choose(int position, bool rightClick) {
    if (!validPosition(position)) return false;
    if (rows_[static_cast<std::size_t>(position - 1)].hin.empty()) {
        services_.messageBox(kMsgNotRegistered, "", ui::Icon::Stop, ui::Buttons::Ok);
        return false;
    }
    lastPosition_ = position;
    if (rightClick) return true;
    currentSlot_ = slotAt(position);
    host_.setSelectedType(currentSlot_);
    markCurrent();
    host_.showCurveOf(currentSlot_);
    return false;
}

void Registration::cancelRegistration() {
    const int slot = slotAt(lastPosition_);
    BunpuHinban& t = touroku_[slot];
    if (!t.isRegistered()) return;
    touroku_.freeSlot(slot);
    host_.typesChanged();
    if (currentSlot_ == slot) {
        currentSlot_ = -1;
        host_.setSelectedType(-1);
    }
    if (t.placedCount > 0) {
        if (services_.messageBox(kAskDeletePlaced, "", ui::Icon::Question, ui::Buttons::YesNo) == ui::Answer::Yes) {
            host_.deleteFixturesOfSlot(slot);
        }
    }
    t.placedCount = 0;
    refresh(tab_);
}

void Registration::kouChanged(int position, const std::string& text) {
    if (!validPosition(position)) return;
    SlotRow& row = rows_[static_cast<std::size_t>(position - 1)];
    row.kou = text;
    host_.invalidateResult();
    if (text.empty()) return;
    BunpuHinban& t = touroku_[slotAt(position)];
    try {
        const std::int32_t kou = base::toInt(text);
        // Lumens no lamp has would be refused by the project reader once saved.
        if (kou < -kMaxLampLumens || kou > kMaxLampLumens) throw base::ConversionError("'" + text + "' は数値ではありません");
        // The window rewrites the boxes whenever it is refreshed; only a new value is an edit.
        if (t.kou != kou) {
            t.kou = kou;
            host_.typesChanged();
        }
    } catch (const base::ConversionError& e) {
        services_.showError(e.what());
        return;
    }
    row.kouChanged = t.kou != t.kouCatalog;
    row.kouHint = row.kouChanged ? base::formatInt(t.kouCatalog) + "を変更" : std::string();
}

void Registration::wattsEntered(int position, const std::string& text) {
    if (!validPosition(position)) return;
    SlotRow& row = rows_[static_cast<std::size_t>(position - 1)];
    BunpuHinban& t = touroku_[slotAt(position)];
    if (!t.isRegistered()) return;
    const auto watts = wattsOf(text);
    if (!watts) {
        services_.showError(kMsgWattsRange);
    } else if (*watts != t.watts) {
        t.watts = *watts;
        host_.powerChanged();
    }
    row.watts = wattsText(t.watts);
}

int Registration::importPosition() const {
    if (currentSlot_ >= slotAt(1) && currentSlot_ <= slotAt(6)) return currentSlot_ - slotAt(1) + 1;
    for (int p = 1; p <= 6; ++p) {
        if (!touroku_[slotAt(p)].isRegistered()) return p;
    }
    return 0;
}

bool Registration::importPhotometry() {
    const int position = importPosition();
    if (position == 0) {
        services_.messageBox(kMsgNoFreeSlot, "", ui::Icon::Stop, ui::Buttons::Ok);
        return false;
    }
    ui::FileDialogRequest request;
    request.filter = kPhotometryFilter;
    auto path = services_.openFileDialog(request);
    if (!path || path->empty()) return false;
    return importPhotometryFile(*path, position);
}

bool Registration::importPhotometryFile(const std::string& path, int position) {
    if (!validPosition(position)) return false;
    std::string reason;
    auto data = readPhotometricFile(path, reason);
    if (!data) {
        const std::string text = std::string(kMsgPhotometryRefused) + "\n(" + reason + ")";
        services_.messageBox(ui::aboutFile(text, path), "読み込みエラー", ui::Icon::Stop, ui::Buttons::Ok);
        return false;
    }
    registerSelection(position, toFixtureType(*data, std::filesystem::path(path).stem().string()));
    return true;
}

bool Registration::kouKeyPasses(int key) {
    if (key >= '0' && key <= '9') return true;
    if (key == ui::KeyEvent::kBackspace || key == ui::KeyEvent::kEnter || key == '-') return true;
    return key >= 0x25 && key <= 0x28;
}

} // namespace catalog
