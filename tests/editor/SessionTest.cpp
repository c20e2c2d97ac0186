// Whole editing sessions: a room drawn, lit and calculated as a user does it, and seeded random sessions that must stay consistent.
#include "EditorHarness.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <random>

namespace editor {
namespace {

using testing::Harness;

TEST(Session, ARoomWithAnArcWallFixturesAndPillarsIsCalculatedAndAnUndoInvalidatesIt) {
    Harness h(true, 800, 600);
    h.newPlan = NewPlanChoice{true, NewPlanBackground::Grid, 50, false, ""};
    h.editor->New1Click();  // 1/50: 12.5 mm a pixel, grid pitch 8

    // The room: a rectangle snapped to the grid, then an arc bay on its right wall.
    h.editor->imgGridClick();
    h.editor->imgBoxClick();
    h.click(81, 79);
    h.move(400, 300);
    h.click(479, 401);
    ASSERT_EQ(h.state.doc.plan.lines.count(), 4);
    EXPECT_EQ(h.state.doc.plan.lines[1].x1, 80);
    EXPECT_EQ(h.state.doc.plan.lines[2].x1, 480);
    EXPECT_EQ(h.state.doc.plan.lines[2].y2, 400);
    h.editor->imgArcClick();
    h.editor->imgEdgeClick();
    h.click(483, 83);   // snaps to the corner (480, 80)
    h.click(478, 398);  // and to (480, 400)
    h.editor->imgFreeClick();
    h.move(600, 240);
    h.click(600, 240);
    h.rightClick(0, 0);
    ASSERT_EQ(h.state.doc.plan.lines.count(), 5);
    const auto& arc = h.state.doc.plan.lines[5];
    EXPECT_TRUE(arc.isArc());
    EXPECT_EQ((ui::Point{arc.x1, arc.y1}), (ui::Point{480, 400}));  // drawn anticlockwise through the bay
    EXPECT_EQ((ui::Point{arc.x2, arc.y2}), (ui::Point{480, 80}));
    int blackNearThirdClick = 0;  // the arc passes the third click
    for (int y = 236; y <= 244; ++y)
        for (int x = 595; x <= 601; ++x) blackNearThirdClick += h.pixel(x, y) == ui::colors::black;
    EXPECT_GE(blackNearThirdClick, 5);
    EXPECT_EQ(h.pixel(540, 236), ui::colors::white);  // and not across the bay

    // Fixtures: a 4 × 3 grid by count.
    h.registerSlot(2);
    h.editor->imgKiguClick();
    h.state.doc.selectedType = 2;
    h.editor->imgKigu3Click();
    h.lengthAnswers.push_back({true, 4, 3});
    h.drag(128, 128, 428, 328);
    ASSERT_EQ(h.state.doc.plan.kigu.count(), 12);
    EXPECT_EQ(h.touroku[2].placedCount, 12);
    EXPECT_EQ(h.state.doc.plan.kigu[12].x, 428);
    EXPECT_EQ(h.state.doc.plan.kigu[12].y, 328);
    EXPECT_EQ(h.state.doc.plan.kigu[2].y, 228);

    // Two pillars of 800 mm: half size 32 pixels.
    h.editor->imgHasiraClick();
    h.click(200, 360);
    h.editor->imgEntyuuClick();
    h.click(360, 360);
    ASSERT_EQ(h.state.doc.plan.hasira.count(), 2);
    EXPECT_EQ(h.state.doc.plan.hasira[1].halfSize, 32);
    EXPECT_EQ(h.state.doc.plan.hasira[2].pillarKind, 50);

    // Calculate, redisplay, then undo the last pillar.
    h.editor->imgCalcClick();
    EXPECT_EQ(h.calcRuns, 1);
    EXPECT_TRUE(h.state.doc.resultValid);
    h.editor->mnuRedrawClick();
    h.editor->mnuRedBunpuClick();
    EXPECT_EQ(h.redisplays.size(), 1u);
    h.editor->mnuRedrawClick();
    h.editor->mnuUndoClick();
    EXPECT_EQ(h.state.doc.plan.hasira.count(), 1);
    EXPECT_FALSE(h.state.doc.resultValid);
    h.services.answers.push_back(ui::Answer::Cancel);
    h.editor->mnuRedBunpuClick();
    EXPECT_EQ(h.services.messages.back().text, kRecalculate);
    EXPECT_EQ(h.redisplays.size(), 1u);  // never the stale result

    if (const char* out = std::getenv("ORDIVAN_EDITOR_PNG")) h.image->image()->save(QString::fromUtf8(out));
}

// Every collection index in range, counts equal to the plan, no operation half done.
void expectConsistent(const Harness& h) {
    const auto& plan = h.state.doc.plan;
    int perSlot[catalog::kSlotCount + 1] = {};
    plan.kigu.forEach([&](const model::KiguRecord& k) {
        ASSERT_TRUE(catalog::isValidSlot(k.typeIndex));
        ++perSlot[k.typeIndex];
    });
    for (int s = 1; s <= catalog::kSlotCount; ++s) ASSERT_EQ(h.touroku[s].placedCount, perSlot[s]) << "slot " << s;
    plan.hasira.forEach([&](const model::HasiraRecord& p) {
        ASSERT_TRUE(p.pillarKind == 50 || p.pillarKind == 51);
        ASSERT_GE(p.halfSize, 0);
    });
    plan.lines.forEach([&](const model::LineRecord& l) { ASSERT_TRUE(l.kind == 'L' || l.kind == 'A'); });
    ASSERT_LE(plan.lines.count(), plan.lines.capacity() - 1);
    ASSERT_LE(plan.kigu.count(), plan.kigu.capacity() - 1);
    ASSERT_LE(plan.hasira.count(), plan.hasira.capacity() - 1);
}

TEST(Session, SeededRandomClicksToolChangesUndosAndDeletionsKeepThePlanConsistent) {
    int mostWalls = 0, mostFixtures = 0, mostPillars = 0, erasures = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        Harness h;
        std::mt19937 rng(seed);
        auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        for (int slot : {1, 7, 20, 36}) h.registerSlot(slot);
        h.state.doc.selectedType = 1;
        for (int step = 0; step < 600; ++step) {
            const int x = pick(820) - 10, y = pick(620) - 10;
            switch (pick(24)) {
            case 0: h.editor->imgRoomClick(); break;
            case 1: h.editor->imgKiguClick(); break;
            case 2: h.editor->imgHasiraClick(); break;
            case 3: {
                static const char walls[] = {'L', '+', 'S', 'A', 'D'};
                h.editor->selectWallTool(walls[pick(5)]);
                break;
            }
            case 4: {
                static const char tools[] = {'1', '2', '3', 'd', 'H'};
                h.lengthAnswers.push_back({pick(4) != 0, pick(7) - 1, pick(5) - 1});
                h.editor->selectPlacementTool(tools[pick(5)]);
                break;
            }
            case 5: h.editor->mnuUndoClick(); break;
            case 6: h.rightClick(x, y); break;
            case 7: h.state.doc.selectedType = std::array<int, 5>{-1, 1, 7, 20, 36}[pick(5)]; break;
            case 8: h.setScale(pick(3) == 0 ? -1.0f : static_cast<float>(1 + pick(20))); break;
            case 9: pick(2) ? h.editor->rbtnKosuuClick() : static_cast<void>(h.editor->rbtnPitchClick()); break;
            case 10:
                model::deleteFixturesOfSlot(h.state.doc, h.state.window, h.touroku, std::array<int, 3>{1, 7, 20}[pick(3)]);
                h.editor->redisplayPlan();
                break;
            case 11: h.editor->S1Click(); break;
            case 12:
                h.lengthAnswers.push_back({true, pick(3000) - 500, pick(3000) - 500});
                h.editor->btnSuutiClick();
                break;
            case 13: h.editor->imgCutClick(); break;
            case 14: h.editor->selectSnap(std::array<char, 3>{'F', 'E', 'G'}[pick(3)]); break;
            case 15: h.editor->imgEntyuuClick(); break;
            case 16: h.state.window.hasiraSizeText = std::array<const char*, 4>{"800", "0", "-3", "x"}[pick(4)]; break;
            case 17: h.editor->mnuRedrawClick(); break;
            default:
                h.lengthAnswers.push_back({pick(5) != 0, pick(6) - 1, pick(4)});
                h.move(x, y);
                h.click(x, y);
                break;
            }
            expectConsistent(h);
            mostWalls = std::max(mostWalls, h.state.doc.plan.lines.count());
            mostFixtures = std::max(mostFixtures, h.state.doc.plan.kigu.count());
            mostPillars = std::max(mostPillars, h.state.doc.plan.hasira.count());
            if (::testing::Test::HasFatalFailure()) {
                ADD_FAILURE() << "seed " << seed << " step " << step;
                return;
            }
            while (h.lengthAnswers.size() > 4) h.lengthAnswers.pop_front();
        }
        for (const auto& sym : h.painter.symbols) erasures += sym[0] == 'D';
    }
    // The sessions really built plans and took items away again, rather than bouncing off refusals.
    EXPECT_GT(mostWalls, 10);
    EXPECT_GT(mostFixtures, 10);
    EXPECT_GT(mostPillars, 3);
    EXPECT_GT(erasures, 20);
}

} // namespace
} // namespace editor
