// The inter-reflection solve on the office scene against the direct light alone, in the same run, with its phases.
#include "BenchScene.h"
#include "app/Cli.h"
#include "calc/Calculation.h"
#include "ui/qt/HeadlessServices.h"
#include "view/ResultPresenter.h"

#include <benchmark/benchmark.h>

#include <sstream>

namespace {

using namespace bench;
using Clock = std::chrono::steady_clock;

struct NoProgress : calc::CalcProgress {
    void progressShow(const std::string&, const std::string&, int) override {}
    void progressSet(int) override {}
    bool processEvents() override { return false; }
    void progressHide() override {}
};

// range(0): step; range(1): threads. Each iteration: the whole calculation with the room off, then on with
// its default settings; the best of each is kept.
void BM_Reflections(benchmark::State& state) {
    const int step = static_cast<int>(state.range(0));
    const int threads = static_cast<int>(state.range(1));
    std::ostringstream quiet;
    ui::qt::HeadlessServices services(quiet);
    std::ostringstream out, err;
    app::CliRun run{{}, services, out, err, app::ScreenInfo{}, {}, {}};
    if (!run.loadProject(scenePath())) throw std::runtime_error("cannot open the office scene");
    model::Document& doc = run.doc;
    calc::IlluminanceGrid grid;
    calc::ResultStats stats;
    calc::CalcSettings settings;
    settings.calcStep = step;
    calc::ContourSet contours;
    const auto surface = services.createSurface(doc.surfaceWidth, doc.surfaceHeight);
    view::ResultPresenter presenter(doc, run.shown, grid, stats, settings, contours, *surface, services);
    const std::optional<calc::WallMask> walls = presenter.wallMask();
    NoProgress progress;
    double bestDirect = 1e300, bestRoom = 1e300;
    calc::IndirectFigures fig;
    for (auto _ : state) {
        doc.plan.room = model::RoomRecord{};
        auto t = Clock::now();
        benchmark::DoNotOptimize(calc::calculate(calc::CalcInput{doc, run.touroku, settings, *walls, progress, doc.tenDakaLabel, threads}));
        bestDirect = std::min(bestDirect, seconds(t));
        doc.plan.room.on = true;
        t = Clock::now();
        const calc::CalcResult r = calc::calculate(calc::CalcInput{doc, run.touroku, settings, *walls, progress, doc.tenDakaLabel, threads});
        const double s = seconds(t);
        if (s < bestRoom) {
            bestRoom = s;
            fig = r.indirect;
        }
    }
    state.counters["direct_ms"] = bestDirect * 1e3;
    state.counters["room_ms"] = bestRoom * 1e3;
    state.counters["ratio"] = bestRoom / bestDirect;
    state.counters["elements"] = static_cast<double>(fig.elements);
    state.counters["iterations"] = fig.iterations;
    state.counters["mesh_ms"] = fig.meshSeconds * 1e3;
    state.counters["to_elements_ms"] = fig.directSeconds * 1e3;
    state.counters["form_factors_ms"] = fig.formFactorSeconds * 1e3;
    state.counters["solve_ms"] = fig.solveSeconds * 1e3;
    state.counters["gather_ms"] = fig.gatherSeconds * 1e3;
    state.counters["indirect_lx"] = fig.indirectAverageLux;
    state.counters["peak_MB"] = peakMegabytes();
}

} // namespace

BENCHMARK(BM_Reflections)->Args({1, 2})->Iterations(2)->Unit(benchmark::kMillisecond);
