// Backgrounds and scale grid: clearing and redrawing the plan surface, bitmap fitting, DXF background, grid and scale bar.
#include "editor/Editor.h"
#include "editor/TaskAreaTools.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace editor {

namespace {
constexpr ui::Color grey(int v) {
    return ui::Color{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v)};
}

struct GridFamily {
    std::int32_t mm;
    int grey;
};
} // namespace

void Editor::clearDrawingSurface() {
    eraseRubberBand();
    surface_.setPen(ui::Pen{grey(238), 1, ui::PenStyle::Solid, ui::PenMode::Copy});
    surface_.setBrush(ui::Brush{ui::colors::white, false});
    surface_.rectangle(0, 0, surface_.width(), surface_.height());
    surface_.setPen(ui::Pen{});
    surface_.setBrush(ui::Brush{ui::colors::white, true});
    model::surfaceWiped(state_.window);
}

void Editor::redisplayPlan() {
    switch (state_.doc.backgroundKind) {
    case 'B': redraw(1); break;
    case 'D': redraw(4); break;
    default: redraw(0); break;
    }
}

void Editor::redraw(int kind) {
    auto& doc = state_.doc;
    eraseRubberBand();
    call(hooks_.closeLegendWindows);
    surface_.setPen(ui::Pen{});
    if (kind >= 0) clearDrawingSurface();
    if (doc.backgroundShown) {
        if (kind == 1) drawBitmap(false);
        if (kind == 2) drawBitmap(true);
    }
    if (doc.gridShown && kind >= 0) drawGrid();
    if (doc.backgroundShown && dxf_ != nullptr) {
        if (kind == 5 || kind == 6) dxf_->fitToView();
        if (kind >= 4 && kind <= 6) dxf_->draw(surface_);
    }
    if (kind > 0) state_.window.menus.deleteBackground = true;
    if (kind > 3) state_.window.menus.dxfMenu = true;
    surface_.setPen(ui::Pen{});
    painter_.drawWalls(surface_);
    drawTaskAreas(surface_, doc.plan);
    if (!(kind == -1 && !state_.settings.showFixturesOnResult)) painter_.drawFixtures(surface_);
}

void Editor::drawBitmap(bool refit) {
    if (!state_.bitmap) return;
    const ui::Surface& bmp = *state_.bitmap;
    const int bw = bmp.width(), bh = bmp.height();
    if (bw <= 0 || bh <= 0) return;
    if (refit) {
        const int mode = state_.doc.bitmapSizeMode;
        if (mode == 1) call(hooks_.enlargeWindowToScreen);
        if (mode == 1 || mode == 2) {
            state_.bmpFactor = std::min(static_cast<float>(surface_.width()) / static_cast<float>(bw),
                                        static_cast<float>(surface_.height()) / static_cast<float>(bh));
        } else {
            state_.bmpFactor = 1.0f;
        }
    }
    const auto w = static_cast<std::int32_t>(std::trunc(bw * static_cast<double>(state_.bmpFactor)));
    const auto h = static_cast<std::int32_t>(std::trunc(bh * static_cast<double>(state_.bmpFactor)));
    surface_.stretchSurface(ui::Rect{0, 0, w, h}, bmp, ui::Rect{0, 0, bw, bh});
}

void Editor::drawGrid() {
    auto& doc = state_.doc;
    const std::int32_t n = doc.plan.scaleDenominator;
    const model::ScaleFromDenominator sc = model::scaleFromDenominator(n, doc.screenMmPerPixel);
    if (sc.pitches.empty()) return;
    auto pitchOf = [&](std::int32_t mm) {
        for (std::size_t i = 0; i < sc.pitchMm.size() && i < sc.pitches.size(); ++i)
            if (sc.pitchMm[i] == mm) return sc.pitches[i];
        return 0;
    };
    std::vector<GridFamily> families;
    std::int32_t barMm = 5000;
    std::string barText = "5m";
    if (n <= 90) {
        families = {{100, 204}, {500, 170}, {1000, 136}};
        barMm = 1000;
        barText = "1m";
    } else if (n < 200) {
        families = {{200, 204}, {1000, 170}, {5000, 136}};
    } else {
        families = {{500, 221}, {1000, 204}, {5000, 170}, {10000, 136}};
    }
    state_.gridPitch = pitchOf(families.front().mm);
    const int width = doc.screenWidth, height = doc.screenHeight;
    for (const auto& f : families) {
        const int p = pitchOf(f.mm);
        if (p <= 0) continue;  // a scale too small for this family: no lines rather than endless ones
        surface_.setPen(ui::Pen{grey(f.grey), 1, ui::PenStyle::Solid, ui::PenMode::Copy});
        for (int x = 0; x < width; x += p) {
            surface_.moveTo(x, 0);
            surface_.lineTo(x, height);
        }
        for (int y = 0; y < height; y += p) {
            surface_.moveTo(0, y);
            surface_.lineTo(width, y);
        }
    }

    const int bar = pitchOf(barMm);
    surface_.setPen(ui::Pen{ui::colors::red, 1, ui::PenStyle::Solid, ui::PenMode::Copy});
    surface_.moveTo(0, 45);
    surface_.lineTo(bar, 45);
    surface_.moveTo(0, 43);
    surface_.lineTo(0, 47);
    surface_.moveTo(bar, 43);
    surface_.lineTo(bar, 47);
    const ui::Font before = surface_.font();
    ui::Font font = before;
    font.sizePt = 9;
    font.color = ui::colors::red;
    surface_.setFont(font);
    surface_.setTextBackground(ui::colors::white, true);
    const ui::Size ext = surface_.textExtent(barText);
    surface_.textOut(bar / 2 - ext.width / 2, 45 - ext.height - 3, barText);
    surface_.setFont(before);
    surface_.setPen(ui::Pen{});

    state_.window.menus.deleteGrid = true;
    state_.window.menus.scaleSet = false;
    state_.window.gridSnapVisible = true;
    if (doc.backgroundKind != 'D') state_.window.menus.printDxfBackground = false;
    if (doc.backgroundKind != 'B') state_.window.menus.printBmpBackground = false;
}

void Editor::loadBitmapBackground(bool fromMenu) {
    auto& doc = state_.doc;
    ui::FileDialogRequest request;
    request.filter = kBitmapFilter;
    auto path = services_.openFileDialog(request);
    if (!path) return;
    std::unique_ptr<ui::Surface> picture;
    try {
        if (hooks_.loadBitmap) picture = hooks_.loadBitmap(*path);
    } catch (const std::exception& e) {
        services_.showError(e.what());
        return;
    }
    if (!picture) return;
    state_.bitmap = std::move(picture);
    doc.gridShown = false;
    doc.backgroundShown = true;
    state_.window.gridSnapVisible = false;
    doc.backgroundKind = 'B';
    redraw(2);
    state_.window.menus.printDxfBackground = false;
    state_.window.menus.printBmpBackground = true;
    state_.window.menus.deleteBackground = true;
    if (fromMenu) state_.window.menus.dxfMenu = false;
}

void Editor::loadDxfBackground(bool fromMenu) {
    auto& doc = state_.doc;
    doc.gridShown = false;
    doc.backgroundShown = true;
    ui::FileDialogRequest request;
    request.filter = kDxfFilter;
    auto path = services_.openFileDialog(request);
    if (!path) return;
    state_.window.gridSnapVisible = false;
    services_.progressShow("DXFﾌｧｲﾙの読み込み", "DXFﾌｧｲﾙを読み込み中", 0);
    const bool loaded = dxf_ != nullptr && dxf_->load(*path);
    services_.progressHide();
    if (!loaded) return;  // the reader has said why; the previous drawing stays
    redraw(5);
    doc.backgroundKind = 'D';
    state_.window.menus.printDxfBackground = true;
    state_.window.menus.deleteBackground = true;
    state_.window.menus.printBmpBackground = false;
    if (fromMenu) state_.window.menus.dxfMenu = true;
}

void Editor::chooseBitmapSizeMode(int mode) {
    state_.doc.bitmapSizeMode = mode;
    if (state_.doc.backgroundKind != 'B') return;
    if (services_.messageBox(kChangeScreen, "", ui::Icon::Question, ui::Buttons::OkCancel) == ui::Answer::Ok) redraw(2);
}

void Editor::chooseDxfSizeMode(int mode) {
    if (mode == 1) call(hooks_.enlargeWindowToScreen);
    state_.doc.dxfSizeMode = mode;
    if (state_.doc.backgroundKind != 'D') return;
    if (services_.messageBox(kChangeScreen, "", ui::Icon::Question, ui::Buttons::OkCancel) == ui::Answer::Ok) redraw(5);
}

void Editor::mnuModosuClick() {
    if (dxf_ != nullptr) dxf_->resetView();
    redraw(4);
}

void Editor::mnuPrintBMPClick() {
    state_.doc.backgroundKind = 'B';
    state_.doc.backgroundShown = true;
    redraw(1);
}

void Editor::mnuPrintDXFClick() {
    if (hooks_.askRedrawChoice && !hooks_.askRedrawChoice()) return;
    state_.doc.backgroundKind = 'D';
    state_.doc.backgroundShown = true;
    redraw(4);
}

void Editor::mnuPrintGridClick() {
    if (!state_.doc.plan.hasScale()) {
        stop(kNeedScale);
        return;
    }
    state_.doc.gridShown = true;
    redisplayPlan();
}

void Editor::mnuDelHaikeiClick() {
    state_.doc.backgroundShown = false;
    redraw(0);
    state_.window.menus.deleteBackground = false;
    state_.window.menus.dxfMenu = false;
}

void Editor::mnuDelGridClick() {
    auto& doc = state_.doc;
    doc.gridShown = false;
    state_.window.menus.deleteGrid = false;
    state_.window.gridSnapVisible = false;
    state_.window.menus.scaleSet = true;
    redisplayPlan();
}

} // namespace editor
