// The selection tool on the plan (click, Shift+click, window, drag, Ctrl+drag copy) and the edits of a selection, each one undo step.
#include "base/Text.h"
#include "editor/Editor.h"
#include "editor/ItemProperties.h"
#include "editor/PlanEdits.h"
#include "model/Document.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>

namespace editor {

namespace {
// Edits of selections kept for undo; older ones are forgotten.
constexpr std::size_t kMaxEditCycles = 200;
// A press that moves the pointer less than this many screen pixels is a click, not a drag.
constexpr double kDragThreshold = 3.0;
constexpr const char* kPickCentre = "回転の中心をクリックして下さい";
constexpr const char* kDragWindow = "範囲を四角で囲んで下さい";

std::string mmText(long long pixels, float mmPerPixel) {
    const double mm = static_cast<double>(pixels) * mmPerPixel;
    return base::formatInt(static_cast<long long>(mm < 0 ? -std::floor(-mm + 0.5) : std::floor(mm + 0.5))) + " mm";
}

// The slots' placed counts follow the fixtures an edit added or took away.
void followPlacedCounts(catalog::TourokuTable& touroku, const std::vector<model::KiguRecord>& from,
                        const std::vector<model::KiguRecord>& to) {
    std::array<int, catalog::kSlotCount + 1> delta{};
    for (const auto& k : from)
        if (catalog::isValidSlot(k.typeIndex)) --delta[static_cast<std::size_t>(k.typeIndex)];
    for (const auto& k : to)
        if (catalog::isValidSlot(k.typeIndex)) ++delta[static_cast<std::size_t>(k.typeIndex)];
    for (int slot = 1; slot <= catalog::kSlotCount; ++slot) {
        const int d = delta[static_cast<std::size_t>(slot)];
        if (d > 0) touroku.changePlacedCount(slot, d);
        for (int i = 0; i < -d; ++i) decrementPlaced(touroku, slot);
    }
}
// Whether every slot that going from `from` to `to` gives more fixtures is still registered.
bool typesRegistered(const catalog::TourokuTable& touroku, const std::vector<model::KiguRecord>& from,
                     const std::vector<model::KiguRecord>& to) {
    std::map<std::int32_t, int> gained;
    for (const auto& k : to) ++gained[k.typeIndex];
    for (const auto& k : from) --gained[k.typeIndex];
    return std::all_of(gained.begin(), gained.end(), [&](const auto& g) {
        return g.second <= 0 || (catalog::isValidSlot(g.first) && touroku[g.first].isRegistered());
    });
}
} // namespace

double Editor::pointerReach() const {
    const double zoom = state_.window.zoom;
    return zoom > 0 ? 10.0 / zoom : 10.0;
}

void Editor::setSelection(std::vector<ItemRef> items) {
    // A selection belongs to the selection tool: an undo with another tool leaves none behind.
    if (state_.window.toolCode != 'V') items.clear();
    state_.window.selection = std::move(items);
    state_.window.selectionRevision = state_.doc.planRevision;
    state_.window.dragOffset = {};
}

void Editor::clearSelection() {
    state_.window.selection.clear();
    state_.window.dragOffset = {};
    drag_ = SelectDrag{};
    if (rotationAwaitingCentre_ || windowAwaited_) {
        rotationAwaitingCentre_.reset();
        windowAwaited_ = nullptr;
        state_.window.bikouLabel.clear();
    }
}

void Editor::askWindow(std::function<void(ui::Rect)> then) {
    if (state_.window.editTarget != 'R') imgRoomClick();
    selectWallTool('V');
    windowAwaited_ = std::move(then);
    state_.window.bikouLabel = kDragWindow;
}

void Editor::imgSelectClick() {
    if (state_.window.editTarget == 'R') {
        selectWallTool('V');
    } else {
        selectPlacementTool('V');
    }
}

void Editor::mnuEvenLayoutClick() {
    if (state_.window.resultShown) return;
    if (state_.window.editTarget != 'K') imgKiguClick();
    selectPlacementTool('3');
    if (state_.window.toolCode != '3') return;  // refused: no scale or no type
    state_.doc.arrayInput = 'K';
    state_.window.centreGridPreset = true;
}

void Editor::mnuSelectAllClick() {
    if (state_.window.resultShown) return;
    if (state_.window.toolCode != 'V') imgSelectClick();
    setSelection(allItems(state_.doc.plan, state_.window.editTarget));
}

void Editor::selectionPress(const ui::MouseEvent& e, ui::Point snapped) {
    const auto& plan = state_.doc.plan;
    if (rotationAwaitingCentre_) {
        const double degrees = *rotationAwaitingCentre_;
        rotationAwaitingCentre_.reset();
        state_.window.bikouLabel.clear();
        editSelection([degrees, snapped](model::Plan& p, const std::vector<ItemRef>& s) {
            rotateItems(p, s, degrees, snapped);
            return s;
        });
        return;
    }
    std::vector<ItemRef> selection = liveSelection(state_.doc.planRevision, state_.window);
    const auto hit = pickItem(plan, state_.window.editTarget, e.position, pointerReach());
    drag_ = SelectDrag{};
    drag_.pressedAt = e.position;
    drag_.grab = snapped;
    if (windowAwaited_) {
        drag_.mode = SelectDrag::Mode::Window;
        return;
    }
    if (!hit) {
        // Nothing under the pointer: a window begins here (Shift keeps what was selected).
        if (!e.shift) selection.clear();
        setSelection(selection);
        drag_.mode = SelectDrag::Mode::Window;
        return;
    }
    const auto found = std::find(selection.begin(), selection.end(), *hit);
    if (e.shift) {
        if (found != selection.end()) {
            selection.erase(found);
        } else {
            selection.push_back(*hit);
        }
        setSelection(selection);
        return;
    }
    if (found == selection.end()) selection = {*hit};
    setSelection(selection);
    drag_.mode = SelectDrag::Mode::Move;
}

void Editor::selectionDragTo(const ui::MouseEvent& e) {
    const auto& doc = state_.doc;
    const ui::Point p = e.position;
    const double zoom = state_.window.zoom > 0 ? state_.window.zoom : 1.0;
    if (std::hypot(static_cast<double>(p.x) - drag_.pressedAt.x, static_cast<double>(p.y) - drag_.pressedAt.y) * zoom >= kDragThreshold)
        drag_.moved = true;
    if (!drag_.moved) return;
    if (drag_.mode == SelectDrag::Mode::Window) {
        band_ = RubberBand{RubberBand::Shape::Rect, drag_.pressedAt, p, {}, {}, {}};
        xorShape(band_);
        return;
    }
    const ui::Point to = snap(p.x, p.y).value_or(p);
    const ui::Point offset{to.x - drag_.grab.x, to.y - drag_.grab.y};
    state_.window.dragOffset = offset;
    if (doc.plan.hasScale()) {
        state_.window.pointerReadout = "dx: " + mmText(offset.x, doc.plan.mmPerPixel) + "  dy: " + mmText(offset.y, doc.plan.mmPerPixel) +
                                       (e.ctrl ? "  (複写)" : "");
    } else {
        state_.window.pointerReadout = "dx: " + std::to_string(offset.x) + "  dy: " + std::to_string(offset.y);
    }
}

void Editor::mouseUp(const ui::MouseEvent& e) {
    if (e.button != ui::MouseButton::Left || drag_.mode == SelectDrag::Mode::None) return;
    const SelectDrag drag = drag_;
    drag_ = SelectDrag{};
    eraseRubberBand();
    state_.window.dragOffset = {};
    if (!drag.moved) return;  // a click: the press has chosen
    const auto& plan = state_.doc.plan;
    if (drag.mode == SelectDrag::Mode::Window && windowAwaited_) {
        const auto then = std::move(windowAwaited_);
        windowAwaited_ = nullptr;
        state_.window.bikouLabel.clear();
        then(ui::Rect{std::min(drag.pressedAt.x, e.position.x), std::min(drag.pressedAt.y, e.position.y),
                      std::max(drag.pressedAt.x, e.position.x), std::max(drag.pressedAt.y, e.position.y)});
        return;
    }
    if (drag.mode == SelectDrag::Mode::Window) {
        std::vector<ItemRef> selection = e.shift ? liveSelection(state_.doc.planRevision, state_.window) : std::vector<ItemRef>{};
        for (const ItemRef& r : itemsInWindow(plan, state_.window.editTarget, drag.pressedAt, e.position)) {
            if (std::find(selection.begin(), selection.end(), r) == selection.end()) selection.push_back(r);
        }
        setSelection(selection);
        return;
    }
    const ui::Point to = snap(e.position.x, e.position.y).value_or(e.position);
    const int dx = to.x - drag.grab.x, dy = to.y - drag.grab.y;
    if (dx == 0 && dy == 0) return;
    if (e.ctrl) {
        editSelection([dx, dy](model::Plan& p, const std::vector<ItemRef>& s) { return copyItems(p, s, dx, dy); });
    } else {
        editSelection([dx, dy](model::Plan& p, const std::vector<ItemRef>& s) {
            moveItems(p, s, dx, dy);
            return s;
        });
    }
}

void Editor::nudgeSelection(int dx, int dy) {
    if (state_.window.resultShown || drag_.mode != SelectDrag::Mode::None) return;
    editSelection([dx, dy](model::Plan& p, const std::vector<ItemRef>& s) {
        moveItems(p, s, dx, dy);
        return s;
    });
}

void Editor::deleteSelection() {
    editSelection([](model::Plan& p, const std::vector<ItemRef>& s) {
        deleteItems(p, s);
        return std::vector<ItemRef>{};
    });
}

void Editor::moveOrCopyByDialog(bool copy) {
    const auto& doc = state_.doc;
    if (liveSelection(doc.planRevision, state_.window).empty() || state_.window.resultShown) return;
    if (!doc.plan.hasScale()) {
        stop(kNeedScale);
        return;
    }
    if (!hooks_.askOffset) return;
    const auto answer = hooks_.askOffset(copy);
    if (!answer) return;
    const auto dx = mmToPixels(answer->dxMm, doc.plan.mmPerPixel);
    const auto dy = mmToPixels(answer->dyMm, doc.plan.mmPerPixel);
    if (!dx || !dy) return;  // beyond any plan: nothing moves
    const int x = *dx, y = *dy;
    if (copy) {
        editSelection([x, y](model::Plan& p, const std::vector<ItemRef>& s) { return copyItems(p, s, x, y); });
    } else {
        editSelection([x, y](model::Plan& p, const std::vector<ItemRef>& s) {
            moveItems(p, s, x, y);
            return s;
        });
    }
}

void Editor::mnuRotateSelClick() {
    if (liveSelection(state_.doc.planRevision, state_.window).empty() || state_.window.resultShown || !hooks_.askRotation) return;
    const auto answer = hooks_.askRotation();
    if (!answer || !std::isfinite(answer->degrees)) return;
    if (answer->aboutClickedPoint) {
        rotationAwaitingCentre_ = answer->degrees;
        state_.window.bikouLabel = kPickCentre;
        return;
    }
    const double degrees = answer->degrees;
    editSelection([degrees](model::Plan& p, const std::vector<ItemRef>& s) {
        rotateItems(p, s, degrees, selectionCentre(p, s));
        return s;
    });
}

void Editor::mnuPropertiesSelClick() {
    auto& doc = state_.doc;
    const auto& selection = liveSelection(doc.planRevision, state_.window);
    if (selection.size() != 1 || state_.window.resultShown || !hooks_.askProperties) return;
    if (!doc.plan.hasScale()) {
        stop(kNeedScale);
        return;
    }
    const ItemRef item = selection.front();
    // The box stays open until its texts pass, checked on a copy of the plan.
    const PropertyCheck check = [this, item](const std::vector<std::string>& texts) {
        model::Plan scratch = state_.doc.plan;
        return applyPropertyTexts(scratch, state_.doc, touroku_, item, texts, services_);
    };
    const auto texts = hooks_.askProperties(propertySheetOf(doc, item), check);
    if (!texts) return;
    editSelection([this, item, &texts](model::Plan& p, const std::vector<ItemRef>& s) {
        applyPropertyTexts(p, state_.doc, touroku_, item, *texts, services_);
        return s;
    });
}

void Editor::mirrorSelection(bool leftRight) {
    editSelection([leftRight](model::Plan& p, const std::vector<ItemRef>& s) {
        mirrorItems(p, s, leftRight, selectionCentre(p, s));
        return s;
    });
}

void Editor::editSelection(const std::function<std::vector<ItemRef>(model::Plan&, const std::vector<ItemRef>&)>& edit) {
    auto& doc = state_.doc;
    const std::vector<ItemRef> selection = liveSelection(doc.planRevision, state_.window);
    if (selection.empty() || state_.window.resultShown) return;
    cancelOperation();
    EditCycle cycle;
    cycle.before = itemsOf(doc.plan);
    cycle.selectionBefore = selection;
    cycle.selectionAfter = edit(doc.plan, selection);
    cycle.after = itemsOf(doc.plan);
    commitCycle(std::move(cycle));
}

void Editor::addWalls(const std::vector<model::LineRecord>& walls) {
    if (walls.empty() || state_.window.resultShown) return;
    if (state_.window.editTarget != 'R') imgRoomClick();
    selectWallTool('V');
    auto& plan = state_.doc.plan;
    EditCycle cycle;
    cycle.before = itemsOf(plan);
    for (const auto& w : walls) cycle.selectionAfter.push_back(ItemRef{ItemKind::Wall, plan.lines.add(w)});
    cycle.after = itemsOf(plan);
    commitCycle(std::move(cycle));
}

void Editor::commitCycle(EditCycle cycle) {
    auto& doc = state_.doc;
    if (cycle.after == cycle.before) {
        setSelection(cycle.selectionAfter);
        return;
    }
    followPlacedCounts(touroku_, cycle.before.kigu, cycle.after.kigu);
    call(hooks_.refreshRegistrationCounts);
    model::markPlanChanged(doc, state_.window);
    pushCycle(std::move(cycle));
    setSelection(cycles_.back().selectionAfter);
    redisplayPlan();
}

void Editor::pushCycle(EditCycle cycle) {
    cycles_.push_back(std::move(cycle));
    if (cycles_.size() > kMaxEditCycles) cycles_.erase(cycles_.begin());
    state_.window.editUndoRevision = state_.doc.planRevision;
}

void Editor::roomEdited(const model::RoomRecord& before) {
    // The dialog has stored the room and marked the plan changed; nothing on the plan is drawn differently.
    EditCycle cycle;
    cycle.after = itemsOf(state_.doc.plan);
    cycle.before = cycle.after;
    cycle.before.room = before;
    if (cycle.before == cycle.after) return;
    pushCycle(std::move(cycle));
}

void Editor::restoreItems(const PlanItems& from, const PlanItems& to, const std::vector<ItemRef>& selection) {
    auto& doc = state_.doc;
    putItems(doc.plan, to);
    followPlacedCounts(touroku_, from.kigu, to.kigu);
    call(hooks_.refreshRegistrationCounts);
    model::markPlanChanged(doc, state_.window);
    setSelection(selection);
    redisplayPlan();
}

bool Editor::undoEditCycle() {
    auto& doc = state_.doc;
    if (cycles_.empty() || state_.window.editUndoRevision != doc.planRevision) return false;
    if (!typesRegistered(touroku_, cycles_.back().after.kigu, cycles_.back().before.kigu)) {
        // A slot freed since (the registration window frees a slot without touching the plan) cannot
        // take its fixtures back: the edits of selections are forgotten, the plan stays as it is.
        cycles_.clear();
        state_.window.editUndoRevision = ~std::uint64_t{0};
        return true;
    }
    cancelOperation();
    EditCycle cycle = std::move(cycles_.back());
    cycles_.pop_back();
    restoreItems(cycle.after, cycle.before, cycle.selectionBefore);
    redo_.emplace_back(std::move(cycle));
    showRedo();
    noteUndoableCycle();
    return true;
}

bool Editor::redoEditCycle(const EditCycle& cycle) {
    if (!typesRegistered(touroku_, cycle.before.kigu, cycle.after.kigu)) return false;
    restoreItems(cycle.before, cycle.after, cycle.selectionAfter);
    cycles_.push_back(cycle);
    state_.window.editUndoRevision = state_.doc.planRevision;
    return true;
}

void Editor::noteUndoableCycle() {
    const bool again = !cycles_.empty() && cycles_.back().after == itemsOf(state_.doc.plan);
    state_.window.editUndoRevision = again ? state_.doc.planRevision : ~std::uint64_t{0};
}

} // namespace editor
