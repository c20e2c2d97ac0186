// The headless display draws exactly the wall pixels the interpolation reads back.
#include "app/BasicCalcDisplay.h"
#include "ui/qt/QtSurface.h"

#include <gtest/gtest.h>

namespace {

TEST(BasicCalcDisplay, WallsArcsAndPillarsAreBlackOnWhite) {
    model::Document doc;
    model::LineRecord wall;
    wall.x1 = 10, wall.y1 = 90, wall.x2 = 90, wall.y2 = 90;
    doc.plan.lines.add(wall);
    model::LineRecord arc;  // upper half of the circle of radius 20 about (50, 50), counter-clockwise from east
    arc.kind = 'A';
    arc.x1 = 70, arc.y1 = 50, arc.x2 = 30, arc.y2 = 50;
    arc.x3 = 30, arc.y3 = 30, arc.x4 = 70, arc.y4 = 70;
    doc.plan.lines.add(arc);
    doc.plan.hasira.add(model::HasiraRecord{model::kSquarePillar, 15, 15, 5, 0});
    ui::qt::ImageSurface surface(100, 100);
    surface.fillRect(ui::Rect{0, 0, 100, 100}, ui::colors::red);
    app::BasicCalcDisplay display(doc, surface);
    display.clearAndDrawWalls(1);
    EXPECT_EQ(surface.pixel(50, 90), ui::colors::black);
    EXPECT_EQ(surface.pixel(50, 89), ui::colors::white);
    EXPECT_EQ(surface.pixel(50, 30), ui::colors::black);  // the arc's top
    EXPECT_EQ(surface.pixel(50, 69), ui::colors::white);  // the open bottom
    EXPECT_EQ(surface.pixel(50, 70), ui::colors::white);
    EXPECT_EQ(surface.pixel(10, 15), ui::colors::black);  // the pillar's outline
    EXPECT_EQ(surface.pixel(15, 15), ui::colors::white);
    EXPECT_EQ(surface.pixel(2, 2), ui::colors::white);
    display.showResult('B');
    EXPECT_TRUE(doc.resultShown);
    display.redisplayPlan();
    EXPECT_FALSE(doc.resultShown);
}

} // namespace
