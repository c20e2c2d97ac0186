// The editor's seams answered by the real neighbours: plan rendering by the view, the DXF background by the interchange reader.
#pragma once
#include "editor/Seams.h"
#include "io/DxfReader.h"
#include "model/Document.h"
#include "ui/Services.h"

namespace app {

// Walls, pillars and fixture symbols drawn by the view at offset (0, 0), scale 1.
class ViewPlanPainter : public editor::PlanPainter {
public:
    // `legendVisible` tells whether the floating colour legend is up (fixture labels then keep clear of it).
    ViewPlanPainter(model::Document& doc, ui::Services& services, const bool* legendVisible = nullptr)
        : doc_(doc), services_(services), legendVisible_(legendVisible) {}
    void drawWalls(ui::Surface& surface) override;
    void drawFixtures(ui::Surface& surface) override;
    void drawSymbol(ui::Surface& surface, int x, int y, int code, char mode, int rotation, int pillarHalfSize) override;

private:
    model::Document& doc_;
    ui::Services& services_;
    const bool* legendVisible_;
};

// The DXF drawing of the interchange reader as the editor's background, fitted into the plan surface.
class ReaderDxfBackground : public editor::DxfBackground {
public:
    ReaderDxfBackground(io::TfrmDXF& dxf, model::Document& doc, model::WindowShown& shown, ui::Services& services,
                        const ui::Surface& surface)
        : dxf_(dxf), doc_(doc), shown_(shown), services_(services), surface_(surface) {}
    bool load(const std::string& path) override;
    void fitToView() override;
    void draw(ui::Surface& surface) override;
    void zoom(int x1, int y1, int x2, int y2) override;
    void resetView() override;
    float nearestEndPoint(float best, int px, int py, ui::Point& found) override;

private:
    // A fitted drawing gives the plan its scale; the window's scale label follows.
    void showScale();

    io::TfrmDXF& dxf_;
    model::Document& doc_;
    model::WindowShown& shown_;
    ui::Services& services_;
    const ui::Surface& surface_;  // its size is the image the drawing is fitted into
};

} // namespace app
