// Clearing the plan drawing surface: white with a light outline, and the menus that depend on a shown result reset.
#include "EditorHarness.h"

#include <gtest/gtest.h>

namespace editor {
namespace {
using testing::Harness;

TEST(DrawingSurface, ClearingItFillsWhiteWithALightOutlineAndResetsTheResultMenus) {
    Harness h(true, 200, 100);
    model::Document& doc = h.state.doc;
    h.surface->fillRect(ui::Rect{0, 0, 200, 100}, ui::colors::black);
    doc.resultShown = true;
    doc.menus.print = doc.menus.deleteGrid = doc.menus.deleteBackground = true;
    doc.menus.gridPrint = false;
    h.state.doc.menus.scaleSet = false;
    doc.bikouLabel = "図面入力に戻るには \"再表示\"";

    h.editor->clearDrawingSurface();

    EXPECT_EQ(h.surface->pixel(100, 50), ui::colors::white);
    EXPECT_EQ(h.surface->pixel(0, 0), (ui::Color{238, 238, 238}));
    EXPECT_EQ(h.surface->pixel(199, 99), (ui::Color{238, 238, 238}));
    EXPECT_FALSE(doc.resultShown);
    EXPECT_FALSE(doc.menus.print);
    EXPECT_FALSE(doc.menus.deleteGrid);
    EXPECT_FALSE(doc.menus.deleteBackground);
    EXPECT_TRUE(doc.menus.gridPrint);
    EXPECT_TRUE(h.state.doc.menus.scaleSet);
    EXPECT_TRUE(doc.bikouLabel.empty());
}

} // namespace
} // namespace editor
