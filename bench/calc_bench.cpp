// Fixture pass benchmark on the office scene: the fast engine against the straightforward reference, ratio and peak memory.
#include "calc/FixturePass.h"
#include "calc/ReferenceEngine.h"
#include "model/ProjectFile.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace {

struct BenchScene {
    model::Document doc;
    catalog::TourokuTable touroku;
};

std::string scenePath() {
    std::vector<std::filesystem::path> candidates;
    if (const char* dir = std::getenv("ORDIVAN_SOURCE_DIR")) candidates.emplace_back(std::filesystem::path(dir) / "data/samples");
    candidates.emplace_back("samples");
    candidates.emplace_back("data/samples");
    candidates.emplace_back("../data/samples");
    for (const auto& c : candidates) {
        const auto p = c / "bench_office.OLE";
        if (std::filesystem::exists(p)) return p.string();
    }
    throw std::runtime_error("bench_office.OLE not found (run from the build directory or set ORDIVAN_SOURCE_DIR)");
}

const BenchScene& scene() {
    static const BenchScene s = [] {
        BenchScene b;
        model::ProjectContent content;
        const std::string path = scenePath();
        if (model::parseProject(path, content) != model::ParseError::None) throw std::runtime_error("cannot read " + path);
        model::applyProject(path, content, b.doc, b.touroku);
        model::normaliseAllLines(b.doc.plan);
        return b;
    }();
    return s;
}

calc::TableSettings settingsFor(int step) {
    calc::TableSettings t;
    t.mmPerPixel = scene().doc.plan.mmPerPixel;
    t.scaleDenominator = scene().doc.plan.scaleDenominator;
    t.calcStep = step;
    return t;
}

calc::IlluminanceGrid freshGrid() {
    calc::IlluminanceGrid g;
    g.allocate(scene().doc.surfaceWidth, scene().doc.surfaceHeight);
    g.reset();
    return g;
}

double runReference(int step, calc::IlluminanceGrid& g) {
    g = freshGrid();
    const auto t0 = std::chrono::steady_clock::now();
    calc::reference::fixturePass(scene().doc.plan, scene().touroku, scene().doc.tenDaka, settingsFor(step), g);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double runFast(int step, int threads, calc::IlluminanceGrid& g) {
    g = freshGrid();
    const auto t0 = std::chrono::steady_clock::now();
    calc::runFixturePass(scene().doc.plan, scene().touroku, scene().doc.tenDaka, settingsFor(step), g, threads, nullptr);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double peakMegabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

void BM_ReferencePass(benchmark::State& state) {
    calc::IlluminanceGrid g;
    for (auto _ : state) benchmark::DoNotOptimize(runReference(static_cast<int>(state.range(0)), g));
    state.counters["peak_MB"] = peakMegabytes();
}

void BM_FastPass(benchmark::State& state) {
    calc::IlluminanceGrid g;
    for (auto _ : state) {
        benchmark::DoNotOptimize(runFast(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), g));
    }
    state.counters["peak_MB"] = peakMegabytes();
}

// Both engines in the same run: the ratio of the reference time to the best fast time, and whether
// the grids agree bit for bit.
void BM_FastOverReference(benchmark::State& state) {
    const int step = static_cast<int>(state.range(0));
    calc::IlluminanceGrid ref, fast;
    double refSeconds = 0, fastSeconds = 1e300;
    for (auto _ : state) {
        refSeconds = runReference(step, ref);
        for (int i = 0; i < 3; ++i) fastSeconds = std::min(fastSeconds, runFast(step, 0, fast));
    }
    const bool same = ref.lux.size() == fast.lux.size() &&
                      std::memcmp(ref.lux.data(), fast.lux.data(), ref.lux.size() * sizeof(float)) == 0 &&
                      std::memcmp(ref.ctSum.data(), fast.ctSum.data(), ref.ctSum.size() * sizeof(float)) == 0;
    state.counters["reference_s"] = refSeconds;
    state.counters["fast_s"] = fastSeconds;
    state.counters["ratio"] = refSeconds / fastSeconds;
    state.counters["bit_identical"] = same ? 1 : 0;
    state.counters["threads"] = calc::resolveThreads(0);
    state.counters["peak_MB"] = peakMegabytes();
    if (!same) state.SkipWithError("fast grid differs from the reference");
}

} // namespace

BENCHMARK(BM_FastOverReference)->Arg(1)->Arg(3)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_FastPass)->Args({1, 0})->Args({3, 0})->Args({3, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReferencePass)->Arg(3)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
