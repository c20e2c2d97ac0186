// The whole road of a calculation on the office scene, phase by phase, and the command line's calc with a PNG picture.
#include "BenchScene.h"
#include "app/Cli.h"
#include "calc/Calculation.h"
#include "io/ExportPicture.h"
#include "ui/qt/HeadlessServices.h"
#include "view/ResultPresenter.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>

namespace {

using namespace bench;
using Clock = std::chrono::steady_clock;

const char kKinds[] = {'B', 'T', 'C'};

std::string scratchPng() { return (std::filesystem::temp_directory_path() / ("ordivan_bench_" + std::to_string(::getpid()) + ".png")).string(); }

struct Phases {
    double wallMask = 0, pass = 0, interpolation = 0, levels = 0, stats = 0, tracing = 0, paint = 0, present = 0, png = 0;
    double total() const { return wallMask + pass + interpolation + stats + present + png; }
};

// The road the calculation command takes, each phase timed on its own: the calls calculateAndPresent and
// the command line make, in their order. The level choice is part of the interpolation and is timed again
// alone; the tracing and the paint are part of the presentation and are timed again alone after it.
Phases runRoad(int step, char kind) {
    std::ostringstream quiet;
    ui::qt::HeadlessServices services(quiet);
    std::ostringstream out, err;
    app::CliRun run{{}, services, out, err, app::ScreenInfo{}, {}, {}};
    if (!run.loadProject(scenePath())) throw std::runtime_error("cannot open the office scene");
    model::Document& doc = run.doc;
    doc.displayKind = kind;
    calc::IlluminanceGrid grid;
    calc::ResultStats stats;
    calc::CalcSettings settings;
    settings.calcStep = step;
    settings.calcConfirmed = true;
    calc::ContourSet contours;
    const auto surface = services.createSurface(doc.surfaceWidth, doc.surfaceHeight);
    view::ResultPresenter presenter(doc, run.shown, grid, stats, settings, contours, *surface, services);
    view::ServicesCalcProgress progress(services);
    Phases p;

    auto t = Clock::now();
    const std::optional<calc::WallMask> walls = presenter.wallMask();
    p.wallMask = seconds(t);

    t = Clock::now();
    calc::CalcResult result;
    result.levels = doc.tables.luxLevel;
    result.grid.allocate(doc.surfaceWidth, doc.surfaceHeight);
    result.grid.reset();
    model::normaliseAllLines(doc.plan);
    calc::runFixturePass(doc.plan, run.touroku, doc.tenDaka, calc::tableSettingsOf(doc, settings), result.grid, 0, nullptr);
    p.pass = seconds(t);

    t = Clock::now();
    calc::CalcContext ctx{doc, settings, *walls, progress, result.grid, result.stats, result.levels};
    calc::interpolateGrid(ctx);
    p.interpolation = seconds(t);

    t = Clock::now();
    benchmark::DoNotOptimize(calc::chooseLevels(doc, result.stats.maxLux));
    p.levels = seconds(t);

    t = Clock::now();
    calc::computeLitExtent(result.grid, result.grid.gridWidth - 1, result.grid.gridHeight - 1, result.levels[1], result.stats);
    result.stats.averageLux = calc::averageLux(result.grid);
    p.stats = seconds(t);
    result.outcome = calc::CalcOutcome::Done;
    presenter.accept(std::move(result));

    t = Clock::now();
    presenter.present();
    p.present = seconds(t);

    t = Clock::now();
    if (!io::savePlanPicture(scratchPng(), *surface, io::legendStampOf(presenter.legend(), presenter.mainWindow), services,
                             io::PictureFormat::Png))
        throw std::runtime_error("cannot write the picture");
    p.png = seconds(t);
    std::filesystem::remove(scratchPng());

    if (kind == 'T') {
        t = Clock::now();
        presenter.rebuildContours();
        p.tracing = seconds(t);
    }
    t = Clock::now();
    if (kind == 'B') presenter.paintColourMap();
    else if (kind == 'C') presenter.paintColourTemperature();
    else presenter.showContours();
    p.paint = seconds(t);
    return p;
}

// range(0): step; range(1): index of the result kind (colour map, contour lines, colour temperature).
void BM_Road(benchmark::State& state) {
    const int step = static_cast<int>(state.range(0));
    const char kind = kKinds[state.range(1)];
    Phases best;
    double bestTotal = 1e300;
    for (auto _ : state) {
        const Phases p = runRoad(step, kind);
        if (p.total() < bestTotal) {
            bestTotal = p.total();
            best = p;
        }
    }
    state.SetLabel(std::string("kind ") + kind);
    const double total = best.total();
    auto share = [&](const char* name, double s) {
        state.counters[std::string(name) + "_ms"] = s * 1e3;
        state.counters[std::string(name) + "_pct"] = 100.0 * s / total;
    };
    share("mask", best.wallMask);
    share("pass", best.pass);
    share("interp", best.interpolation);
    share("stats", best.stats);
    share("present", best.present);
    share("png", best.png);
    // Inside the steps above, timed again alone.
    state.counters["levels_ms"] = best.levels * 1e3;
    state.counters["tracing_ms"] = best.tracing * 1e3;
    state.counters["paint_ms"] = best.paint * 1e3;
    state.counters["total_ms"] = total * 1e3;
    state.counters["peak_MB"] = peakMegabytes();
}

// The command line's calc with a PNG picture, in this process through the same entry point.
void BM_CliCalcPng(benchmark::State& state) {
    const std::string step = std::to_string(state.range(0));
    const std::string kind(1, kKinds[state.range(1)]);
    const std::string png = scratchPng();
    for (auto _ : state) {
        std::ostringstream quiet, out, err;
        ui::qt::HeadlessServices services(quiet);
        if (app::runCli({"calc", scenePath(), "--step", step, "--kind", kind, "--png", png}, services, out, err) != app::kExitOk)
            state.SkipWithError("calc refused the office scene");
    }
    std::filesystem::remove(png);
    state.SetLabel("kind " + kind);
    state.counters["peak_MB"] = peakMegabytes();
}

double runProgram(const std::string& program, const std::string& step, const std::string& kind, const std::string& png) {
    const std::string command =
        "'" + program + "' calc '" + scenePath() + "' --step " + step + " --kind " + kind + " --png '" + png + "' >/dev/null 2>&1";
    const auto t = Clock::now();
    const int status = std::system(command.c_str());
    const double s = seconds(t);
    return status == 0 ? s : -1;
}

// The command line as a user runs it, a separate process each time: this build's ordivan-cli and, when
// ORDIVAN_CLI_BEFORE names an earlier build, that one, alternately, best of the runs.
void BM_CliProcess(benchmark::State& state) {
    const std::string step = std::to_string(state.range(0));
    const std::string kind(1, kKinds[state.range(1)]);
    const std::string now = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "ordivan-cli").string();
    const char* before = std::getenv("ORDIVAN_CLI_BEFORE");
    const std::string png = scratchPng();
    double bestNow = 1e300, bestBefore = 1e300;
    for (auto _ : state) {
        const double a = runProgram(now, step, kind, png);
        if (a < 0) state.SkipWithError("ordivan-cli calc failed");
        bestNow = std::min(bestNow, a);
        if (before) {
            const double b = runProgram(before, step, kind, png);
            if (b < 0) state.SkipWithError("the earlier ordivan-cli failed");
            bestBefore = std::min(bestBefore, b);
        }
    }
    std::filesystem::remove(png);
    state.SetLabel("kind " + kind);
    state.counters["now_s"] = bestNow;
    if (before) {
        state.counters["before_s"] = bestBefore;
        state.counters["before_over_now"] = bestBefore / bestNow;
    }
}

} // namespace

BENCHMARK(BM_Road)->ArgsProduct({{1, 3, 7}, {0, 1, 2}})->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliCalcPng)->ArgsProduct({{1, 3, 7}, {0, 1, 2}})->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliProcess)->ArgsProduct({{1, 3}, {0, 1}})->Iterations(3)->Unit(benchmark::kMillisecond);
