// The main window's plan commands outside the tools: undo, reference height, resize, calculation and result, new plan.
#include "base/Text.h"
#include "calc/SettingsDialogs.h"
#include "editor/Dialogs.h"
#include "editor/Editor.h"
#include "editor/PlanEdits.h"
#include "model/Document.h"
#include "view/RangeDialogRules.h"

namespace editor {

// ---------------------------------------------------------------- undo

void Editor::mnuUndoClick() {
    auto& doc = state_.doc;
    eraseRubberBand();
    // An edit since the last undo or redo ends the history that could be redone.
    if (doc.planRevision != state_.window.redoRevision) redo_.clear();
    if (undoEditCycle()) return;
    switch (state_.window.editTarget) {
    case 'R': {
        if (isTaskAreaTool(state_.window.toolCode)) {
            if (doc.plan.areas.empty()) return;
            redo_.emplace_back(doc.plan.areas.back());
            doc.plan.areas.pop_back();
            model::markPlanChanged(doc, state_.window);
            redisplayPlan();
            showRedo();
            noteUndoableCycle();
            return;
        }
        auto& lines = doc.plan.lines;
        if (lines.empty()) return;
        eraseSegment(context_, lines[lines.count()]);
        redo_.emplace_back(lines[lines.count()]);
        lines.removeLast();
        break;
    }
    case 'K': {
        auto& kigu = doc.plan.kigu;
        if (kigu.empty()) return;
        const model::KiguRecord k = kigu[kigu.count()];
        eraseFixture(context_, k);
        decrementPlaced(touroku_, k.typeIndex);
        call(hooks_.refreshRegistrationCounts);
        redo_.emplace_back(k);
        kigu.removeLast();
        break;
    }
    default: {
        auto& hasira = doc.plan.hasira;
        if (hasira.empty()) return;
        eraseHasira(context_, hasira[hasira.count()]);
        redo_.emplace_back(hasira[hasira.count()]);
        hasira.removeLast();
        break;
    }
    }
    // The plan is no longer the one the result was calculated for.
    model::markPlanChanged(doc, state_.window);
    showRedo();
    noteUndoableCycle();
}

void Editor::mnuRedoClick() {
    auto& doc = state_.doc;
    if (redo_.empty() || doc.planRevision != state_.window.redoRevision) {
        redo_.clear();
        showRedo();
        return;
    }
    cancelOperation();
    const auto item = redo_.back();
    redo_.pop_back();
    if (const auto* k = std::get_if<model::KiguRecord>(&item)) {
        // A type whose slot was freed since the undo cannot take its fixture back.
        if (k->typeIndex < 1 || k->typeIndex > catalog::kSlotCount || !touroku_[k->typeIndex].isRegistered()) {
            redo_.clear();
            showRedo();
            return;
        }
        doc.plan.kigu.add(*k);
        touroku_.changePlacedCount(k->typeIndex, +1);
        call(hooks_.refreshRegistrationCounts);
    } else if (const auto* l = std::get_if<model::LineRecord>(&item)) {
        doc.plan.lines.add(*l);
    } else if (const auto* a = std::get_if<model::AreaRecord>(&item)) {
        doc.plan.areas.push_back(*a);
    } else if (const auto* cycle = std::get_if<EditCycle>(&item)) {
        if (!redoEditCycle(*cycle)) redo_.clear();
        showRedo();
        return;
    } else {
        doc.plan.hasira.add(std::get<model::HasiraRecord>(item));
    }
    model::markPlanChanged(doc, state_.window);
    // Undo left white gaps where the item crossed others; the whole plan is drawn again.
    redisplayPlan();
    showRedo();
}

void Editor::showRedo() {
    auto& window = state_.window;
    window.redoRevision = state_.doc.planRevision;
    window.redoCaption.clear();
    if (redo_.empty()) return;
    const auto& top = redo_.back();
    window.redoCaption = std::holds_alternative<model::LineRecord>(top)   ? "やり直し(部屋)"
                         : std::holds_alternative<model::KiguRecord>(top) ? "やり直し(器具)"
                         : std::holds_alternative<model::AreaRecord>(top) ? "やり直し(作業領域)"
                         : std::holds_alternative<EditCycle>(top)        ? "やり直し(編集)"
                                                                          : "やり直し(柱)";
}

void Editor::selectDeleteTool() {
    // With a selection, Delete takes it away; otherwise it takes the delete tool as it always did.
    if (state_.window.toolCode == 'V' && !liveSelection(state_.doc.planRevision, state_.window).empty()) {
        deleteSelection();
        return;
    }
    switch (state_.window.editTarget) {
    case 'R': imgDelLineClick(); break;
    case 'K': imgDelKiguClick(); break;
    default: imgHasiraDelClick(); break;
    }
}

// ---------------------------------------------------------------- status panel and window

void Editor::btnHenkouClick() {
    auto& doc = state_.doc;
    eraseRubberBand();
    const std::int32_t before = doc.tenDaka;
    call(hooks_.showTenDakaDialog);
    // Cancelled, or the height it already had: the plan and its result stay as they are.
    if (doc.tenDaka == before) return;
    if (calc::anyFixtureWithOwnHeight(doc.plan)) {
        const int answer = hooks_.askTenDakaChange ? hooks_.askTenDakaChange(state_.heightChangeChoice) : 0;
        if (answer >= 1 && answer <= 3) {
            state_.heightChangeChoice = answer;
            calc::applyTenDakaChange(doc.plan, answer, before, doc.tenDaka);
        }
        redisplayPlan();
    }
    model::markPlanChanged(doc, state_.window);
}

bool Editor::windowResized(int clientWidth, int freeHeight, bool autoScroll) {
    auto& doc = state_.doc;
    if (doc.extent.Xe < 0) return autoScroll;
    if (doc.extent.Xe == 0) {
        doc.extent.Xe = 1;  // the first resize after start-up
        return autoScroll;
    }
    doc.extent = model::computeExtent(doc.plan, doc.screenWidth, doc.screenHeight);
    if (autoScroll) return !(doc.extent.Xe < clientWidth && doc.extent.Ye < freeHeight);
    return doc.extent.Xe > clientWidth || doc.extent.Ye > freeHeight;
}

void Editor::button3Click() {
    call(hooks_.closeSecondColourScale);
    redisplayPlan();
}

// ---------------------------------------------------------------- calculation and result display

void Editor::runCalculationCommand(bool checkFixtures) {
    auto& doc = state_.doc;
    if (checkFixtures && doc.plan.kigu.empty()) {
        stop(kNoFixtures);
        return;
    }
    cancelOperation();
    state_.settings.calcConfirmed = false;
    call(hooks_.showCalcStartDialog);
    if (state_.settings.calcConfirmed) call(hooks_.runCalculation);
}

void Editor::imgCalcClick() { runCalculationCommand(true); }
void Editor::mnuCalcRunClick() { runCalculationCommand(false); }

void Editor::redisplayResultAs(char kind) {
    auto& doc = state_.doc;
    doc.displayKind = kind;
    if (kind == 'T' && hooks_.askRedrawChoice && !hooks_.askRedrawChoice()) return;
    cancelOperation();
    const bool haveFixtures = !doc.plan.kigu.empty();
    if (!doc.resultValid && haveFixtures) {
        if (services_.messageBox(kRecalculate, "再計算", ui::Icon::Stop, ui::Buttons::OkCancel) == ui::Answer::Ok)
            call(hooks_.runCalculation);
    } else if (haveFixtures) {
        if (hooks_.redisplayResult) hooks_.redisplayResult(kind);
    } else {
        stop(kNoFixtures);
    }
}

void Editor::updateScaleTypeLabel() {
    state_.window.scaleTypeLabel = view::scaleTypeLabel(state_.doc.displayKind, state_.doc.rangeMode);
}

void Editor::chooseNextResult(char kind) {
    state_.doc.displayKind = kind;
    updateScaleTypeLabel();
}

// The status panel names the levels in force as soon as the choice changes.
void Editor::mnuScaleONClick() {
    state_.doc.rangeMode = true;
    updateScaleTypeLabel();
}
void Editor::mnuScaleOFFClick() {
    state_.doc.rangeMode = false;
    updateScaleTypeLabel();
}

void Editor::mnuHaikouClick() {
    if (state_.doc.selectedType > 0) {
        if (hooks_.showCurveWindow) hooks_.showCurveWindow(state_.doc.selectedType);
    } else {
        stop(kNeedTypeCurve);
    }
}

// ---------------------------------------------------------------- new plan

void Editor::New1Click() {
    if (!hooks_.askNewPlan) return;
    auto choice = hooks_.askNewPlan();
    if (!choice || !choice->confirmed) return;
    applyNewPlan(*choice, true);
}

void Editor::clearPlan() {
    auto& doc = state_.doc;
    cancelOperation();
    clearSelection();
    // The edits of selections belong to the plan that goes.
    cycles_.clear();
    state_.window.editUndoRevision = ~std::uint64_t{0};
    call(hooks_.closeLegendWindows);
    model::clearPlan(doc, state_.window, touroku_);
    state_.grid.zero();
    state_.window.scaleLabel = model::scaleLabelFor(doc, false);
    clearDrawingSurface();
    call(hooks_.hideRegistration);
    call(hooks_.refreshRegistrationSlots);
}

void Editor::applyNewPlan(const NewPlanChoice& choice, bool clearFirst) {
    auto& doc = state_.doc;
    cancelOperation();
    if (clearFirst) clearPlan();
    int denominator = choice.denominator;
    try {
        denominator = chosenDenominator(choice);
    } catch (const base::ConversionError& e) {
        services_.showError(e.what());
        return;
    }
    switch (choice.background) {
    case NewPlanBackground::White:
        clearDrawingSurface();
        doc.backgroundKind = 'N';
        break;
    case NewPlanBackground::Dxf: loadDxfBackground(false); break;
    case NewPlanBackground::Bitmap: loadBitmapBackground(false); break;
    case NewPlanBackground::Grid:
        // A background drawn at the old scale would be shown and snapped to at a scale no longer the
        // plan's: the grid replaces it, as white paper does.
        clearDrawingSurface();
        doc.backgroundKind = 'N';
        model::setScaleFromDenominator(doc, state_.window, denominator);
        if (doc.plan.hasScale()) redraw(0);
        break;
    }
}

} // namespace editor
