// The inter-reflection solve on the office scene against the direct light alone, in the same run, with its phases.
#include "BenchScene.h"
#include "calc/Calculation.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

using namespace bench;
using Clock = std::chrono::steady_clock;

// Processor time of the whole process, every thread included: the figure a loaded machine disturbs least.
double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

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
    BenchScene sc = scene();
    model::Document& doc = sc.doc;
    calc::CalcSettings settings;
    settings.calcStep = step;
    // No wall pixels: both runs interpolate alike, and the mask is not what is measured.
    calc::WallMask walls;
    walls.allocate(doc.surfaceWidth, doc.surfaceHeight);
    NoProgress progress;
    double bestDirect = 1e300, bestRoom = 1e300, cpuDirect = 1e300, cpuRoom = 1e300;
    calc::IndirectFigures fig;
    for (auto _ : state) {
        doc.plan.room = model::RoomRecord{};
        auto t = Clock::now();
        double c = processCpuSeconds();
        benchmark::DoNotOptimize(calc::calculate(calc::CalcInput{doc, sc.touroku, settings, walls, progress, doc.tenDakaLabel, threads}));
        bestDirect = std::min(bestDirect, seconds(t));
        cpuDirect = std::min(cpuDirect, processCpuSeconds() - c);
        doc.plan.room.on = true;
        t = Clock::now();
        c = processCpuSeconds();
        const calc::CalcResult r = calc::calculate(calc::CalcInput{doc, sc.touroku, settings, walls, progress, doc.tenDakaLabel, threads});
        const double s = seconds(t);
        cpuRoom = std::min(cpuRoom, processCpuSeconds() - c);
        if (s < bestRoom) {
            bestRoom = s;
            fig = r.indirect;
        }
    }
    state.counters["direct_ms"] = bestDirect * 1e3;
    state.counters["room_ms"] = bestRoom * 1e3;
    state.counters["ratio"] = bestRoom / bestDirect;
    state.counters["direct_cpu_ms"] = cpuDirect * 1e3;
    state.counters["room_cpu_ms"] = cpuRoom * 1e3;
    state.counters["ratio_cpu"] = cpuRoom / cpuDirect;
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
