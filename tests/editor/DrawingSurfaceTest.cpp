// Clearing the plan drawing surface: white with a light outline, and the menus that depend on a shown result reset.
#include "EditorHarness.h"

#include <gtest/gtest.h>

namespace editor {
namespace {
using testing::Harness;

TEST(DrawingSurface, ClearingItFillsWhiteWithALightOutlineAndResetsTheResultMenus) {
    Harness h(true, 200, 100);
    WindowState& window = h.state.window;
    h.surface->fillRect(ui::Rect{0, 0, 200, 100}, ui::colors::black);
    window.resultShown = true;
    window.menus.print = window.menus.deleteGrid = window.menus.deleteBackground = true;
    window.menus.gridPrint = false;
    h.state.window.menus.scaleSet = false;
    window.bikouLabel = "図面入力に戻るには \"再表示\"";

    h.editor->clearDrawingSurface();

    EXPECT_EQ(h.surface->pixel(100, 50), ui::colors::white);
    EXPECT_EQ(h.surface->pixel(0, 0), (ui::Color{238, 238, 238}));
    EXPECT_EQ(h.surface->pixel(199, 99), (ui::Color{238, 238, 238}));
    EXPECT_FALSE(window.resultShown);
    EXPECT_FALSE(window.menus.print);
    EXPECT_FALSE(window.menus.deleteGrid);
    EXPECT_FALSE(window.menus.deleteBackground);
    EXPECT_TRUE(window.menus.gridPrint);
    EXPECT_TRUE(h.state.window.menus.scaleSet);
    EXPECT_TRUE(window.bikouLabel.empty());
}

} // namespace
} // namespace editor
