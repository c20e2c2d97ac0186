// A main window without widgets for editor tests: state, fixture table, surface, scripted dialogs and a recording painter.
#pragma once
#include "editor/Editor.h"
#include "editor/WindowView.h"
#include "model/Document.h"
#include "ui/qt/QtSurface.h"
#include "ui/testing/FakeServices.h"
#include "ui/testing/RecordingSurface.h"

#include <QGuiApplication>
#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace editor::testing {

// Text drawing on a QImage needs the application object; one for the whole test program, never
// destroyed, because Qt's font caches must not outlive it at exit.
inline void ensureGuiApplication() {
    if (QCoreApplication::instance() == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "test_editor";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }
}

// Records the symbols it is asked for and draws walls plainly, so that tests see where things went.
class FakePainter : public PlanPainter {
public:
    explicit FakePainter(const MainState& state) : state_(state) {}
    std::vector<std::string> symbols;  // "P 3 100,200 r0", "p 51 10,10 h40", "D 3 100,200 r0"
    int wallsDrawn = 0;
    int fixturesDrawn = 0;

    void drawWalls(ui::Surface& s) override {
        ++wallsDrawn;
        s.setPen(ui::Pen{});
        s.setBrush(ui::Brush{ui::colors::white, true});
        state_.doc.plan.lines.forEach([&](const model::LineRecord& l) {
            if (l.isArc()) {
                s.arc(l.x3, l.y3, l.x4, l.y4, l.x1, l.y1, l.x2, l.y2);
            } else {
                s.moveTo(l.x1, l.y1);
                s.lineTo(l.x2, l.y2);
            }
        });
    }
    void drawFixtures(ui::Surface&) override { ++fixturesDrawn; }
    void drawSymbol(ui::Surface& s, int x, int y, int code, char mode, int rotation, int halfSize) override {
        std::string text = std::string(1, mode) + " " + std::to_string(code) + " " + std::to_string(x) + "," + std::to_string(y);
        text += code > 36 ? " h" + std::to_string(halfSize) : " r" + std::to_string(rotation);
        symbols.push_back(text);
        const ui::Color c = mode == 'D' ? ui::colors::white : ui::colors::black;
        const int d = code > 36 ? halfSize : 5;
        s.fillRect(ui::Rect{x - d, y - d, x + d + 1, y + d + 1}, c);
    }

private:
    const MainState& state_;
};

// A DXF background of a few fixed end points.
class FakeDxf : public DxfBackground {
public:
    std::vector<ui::Point> ends;
    std::vector<std::string> calls;
    bool loadResult = true;
    bool load(const std::string& path) override {
        calls.push_back("load " + path);
        return loadResult;
    }
    void fitToView() override { calls.push_back("fit"); }
    void draw(ui::Surface&) override { calls.push_back("draw"); }
    void zoom(int x1, int y1, int x2, int y2) override {
        calls.push_back("zoom " + std::to_string(x1) + "," + std::to_string(y1) + "-" + std::to_string(x2) + "," + std::to_string(y2));
    }
    void resetView() override { calls.push_back("reset"); }
    float nearestEndPoint(float best, int px, int py, ui::Point& found) override {
        for (const auto& e : ends) {
            const float dx = static_cast<float>(px - e.x), dy = static_cast<float>(py - e.y);
            const float d2 = dx * dx + dy * dy;
            if (d2 < best) {
                best = d2;
                found = e;
            }
        }
        return best;
    }
};

// One editor bound to its own state; `pixels` chooses a QImage surface instead of a recording one.
struct Harness {
    explicit Harness(bool pixels = false, int width = 800, int height = 600) {
        if (pixels) {
            ensureGuiApplication();
            image = std::make_unique<ui::qt::ImageSurface>(width, height);
            surface = image.get();
        } else {
            recording = std::make_unique<ui::testing::RecordingSurface>(width, height);
            surface = recording.get();
        }
        state.doc.screenWidth = width;
        state.doc.screenHeight = height;
        EditorHooks hooks;
        hooks.askLength = [this](const LengthRequest& r) {
            lengthRequests.push_back(r);
            if (lengthAnswers.empty()) return LengthAnswer{};
            LengthAnswer a = lengthAnswers.front();
            lengthAnswers.pop_front();
            return a;
        };
        hooks.showCalcStartDialog = [this] {
            ++calcDialogs;
            state.settings.calcConfirmed = confirmCalc;
        };
        hooks.runCalculation = [this] {
            // What the driver leaves behind that the editor relies on.
            ++calcRuns;
            state.doc.resultValid = true;
            state.window.resultShown = true;
        };
        hooks.redisplayResult = [this](char kind) { redisplays.push_back(kind); };
        hooks.askRedrawChoice = [this] { return redrawChoice; };
        hooks.showTenDakaDialog = [this] {
            if (newTenDaka) state.doc.tenDaka = *newTenDaka;
        };
        hooks.askTenDakaChange = [this](int pre) {
            preselectedHeightAnswer = pre;
            return heightAnswer;
        };
        hooks.showRegistration = [this] { registration = "shown"; };
        hooks.hideRegistration = [this] { registration = "hidden"; };
        hooks.refreshRegistrationCounts = [this] { ++countRefreshes; };
        hooks.showContextMenu = [this] { ++contextMenus; };
        hooks.showCurveWindow = [this](int slot) { curveSlot = slot; };
        hooks.loadBitmap = [this](const std::string&) -> std::unique_ptr<ui::Surface> {
            return std::make_unique<ui::testing::RecordingSurface>(bitmapSize.width, bitmapSize.height);
        };
        hooks.askNewPlan = [this] { return newPlan; };
        hooks.enlargeWindowToScreen = [this] { ++enlargements; };
        editor = std::make_unique<Editor>(state, touroku, *surface, services, painter, hooks, &dxf);
        editor->initialise();
    }

    void click(int x, int y) { editor->mouseDown(ui::MouseEvent{{x, y}, ui::MouseButton::Left}); }
    void rightClick(int x, int y) { editor->mouseDown(ui::MouseEvent{{x, y}, ui::MouseButton::Right}); }
    void move(int x, int y) { editor->mouseMove(ui::MouseEvent{{x, y}, ui::MouseButton::Left}); }
    void drag(int x0, int y0, int x1, int y1) {
        click(x0, y0);
        move(x1, y1);
        click(x1, y1);
    }
    // A scale without touching the plan: mmPerPixel and the denominator it stands for.
    void setScale(float mmPerPixel, int denominator = 50) {
        state.doc.plan.mmPerPixel = mmPerPixel;
        state.doc.plan.scaleDenominator = denominator;
    }
    void registerSlot(int slot) {
        catalog::HaikouMdb m;
        m.hinban = "TEST-" + std::to_string(slot);
        m.kou = 1000;
        touroku.registerSlot(slot, m);
    }
    // Walls target → fixtures target with a registered, selected slot and a scale.
    void readyFixtures(int slot = 1, float mm = 10.0f) {
        setScale(mm);
        registerSlot(slot);
        editor->imgKiguClick();
        state.doc.selectedType = slot;  // what the registration window does
    }
    std::vector<ui::Point> fixturePositions() const {
        std::vector<ui::Point> out;
        state.doc.plan.kigu.forEach([&](const model::KiguRecord& k) { out.push_back({k.x, k.y}); });
        return out;
    }
    ui::Color pixel(int x, int y) const { return surface->pixel(x, y); }
    // The first point of the operation in progress; (-1, -1) when there is none.
    ui::Point start() const { return editor->startPoint().value_or(ui::Point{-1, -1}); }
    // How the window shows a palette control and which cursor it shows over the plan.
    ButtonView view(const std::string& name) const { return paletteViewOf(state.doc, state.window, false).at(name); }
    int cursor() const { return cursorNumberFor(state.window); }

    MainState state;
    catalog::TourokuTable touroku;
    std::unique_ptr<ui::testing::RecordingSurface> recording;
    std::unique_ptr<ui::qt::ImageSurface> image;
    ui::Surface* surface = nullptr;
    ui::testing::FakeServices services;
    FakePainter painter{state};
    FakeDxf dxf;
    std::unique_ptr<Editor> editor;

    std::deque<LengthAnswer> lengthAnswers;
    std::vector<LengthRequest> lengthRequests;
    bool confirmCalc = true;
    int calcDialogs = 0;
    int calcRuns = 0;
    std::vector<char> redisplays;
    bool redrawChoice = true;
    std::optional<int> newTenDaka;
    int heightAnswer = 0;
    int preselectedHeightAnswer = 0;
    std::string registration;
    int countRefreshes = 0;
    int contextMenus = 0;
    int curveSlot = 0;
    ui::Size bitmapSize{2000, 1000};
    std::optional<NewPlanChoice> newPlan;
    int enlargements = 0;
};

inline std::vector<std::string> messageTexts(const ui::testing::FakeServices& s) {
    std::vector<std::string> out;
    for (const auto& m : s.messages) out.push_back(m.text);
    return out;
}

} // namespace editor::testing
