// Fixture pass benchmark on the office scene: both inner loops against the straightforward reference, ratios, cycles per pair and peak memory.
#include "BenchScene.h"
#include "calc/ReferenceEngine.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using namespace bench;

struct FastRun {
    double wall = 0, cpu = 0;  // cpu: processor time of the calling thread (meaningful with one thread)
};

FastRun runFast(int step, int threads, bool portable, calc::IlluminanceGrid& g) {
    g = freshGrid();
    calc::forcePortablePass(portable);
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = threadCpuSeconds();
    calc::runFixturePass(scene().doc.plan, scene().touroku, scene().doc.tenDaka, settingsFor(step), g, threads, nullptr);
    FastRun r{seconds(t0), threadCpuSeconds() - c0};
    calc::forcePortablePass(false);
    return r;
}

// The best of a few runs: on a shared machine the least disturbed one is nearest the true cost.
FastRun bestFast(int step, int threads, bool portable, calc::IlluminanceGrid& g, int runs) {
    FastRun best{1e300, 1e300};
    for (int i = 0; i < runs; ++i) {
        const FastRun r = runFast(step, threads, portable, g);
        best.wall = std::min(best.wall, r.wall);
        best.cpu = std::min(best.cpu, r.cpu);
    }
    return best;
}

bool sameBits(const calc::IlluminanceGrid& a, const calc::IlluminanceGrid& b) {
    return a.lux.size() == b.lux.size() && std::memcmp(a.lux.data(), b.lux.data(), a.lux.size() * sizeof(float)) == 0 &&
           std::memcmp(a.ctSum.data(), b.ctSum.data(), a.ctSum.size() * sizeof(float)) == 0;
}

// The point-and-luminaire pairs whose table entry is not zero: the pairs whose sight line is tested and
// whose light is added when nothing is in the way.
double evaluatedPairs(int step) {
    const auto& sc = scene();
    const calc::TableSettings st = settingsFor(step);
    const std::int64_t W = sc.doc.surfaceWidth, H = sc.doc.surfaceHeight;
    calc::TypeTable table;
    double pairs = 0;
    for (const calc::FixtureGroup& g : calc::fixtureGroups(sc.doc.plan, sc.touroku, sc.doc.tenDaka)) {
        calc::prepareFixtureType(table, sc.touroku[g.typeIndex], g.height, st, 1);
        if (table.dark) continue;
        for (int j : g.fixtures) {
            const auto& k = sc.doc.plan.kigu[j];
            const int rot = k.rotation == 0 ? 0 : 1;
            const std::int64_t R = table.reach;
            for (std::int64_t row = std::max<std::int64_t>(0, k.y - R); row <= std::min<std::int64_t>(H - 1, k.y + R); ++row) {
                if (row % step != 0) continue;
                const std::int64_t dy = std::abs(k.y - row);
                for (std::int64_t col = std::max<std::int64_t>(0, k.x - R); col <= std::min<std::int64_t>(W - 1, k.x + R); ++col) {
                    if (col % step != 0) continue;
                    const std::int64_t dx = std::abs(k.x - col);
                    const float v = rot == 0 ? table.at(static_cast<int>(dx), static_cast<int>(dy)) : table.at(static_cast<int>(dy), static_cast<int>(dx));
                    if (v != 0.0f) pairs += 1;
                }
            }
        }
    }
    return pairs;
}

// Everything of the pass in one run: the reference once, then each inner loop on every core and on one
// core, best of three; ratios against the reference, cycles per evaluated pair on one core (processor
// time × nominal clock) and whether every grid agrees with the reference bit for bit.
void BM_FastOverReference(benchmark::State& state) {
    const int step = static_cast<int>(state.range(0));
    calc::IlluminanceGrid ref, fast;
    FastRun reference, v, v1, p, p1;
    bool same = true;
    // Each fast grid is compared as soon as it is made: the process holds two grids, as a calculation does.
    auto check = [&](int threads, bool portable) {
        const FastRun r = bestFast(step, threads, portable, fast, 3);
        same = same && sameBits(ref, fast);
        return r;
    };
    for (auto _ : state) {
        ref = freshGrid();
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = threadCpuSeconds();
        calc::reference::fixturePass(scene().doc.plan, scene().touroku, scene().doc.tenDaka, settingsFor(step), ref);
        reference = FastRun{seconds(t0), threadCpuSeconds() - c0};
        v = check(0, false);
        p = check(0, true);
        v1 = check(1, false);
        p1 = check(1, true);
    }
    const double pairs = evaluatedPairs(step), hz = nominalHz();
    state.counters["reference_s"] = reference.wall;
    state.counters["vector_s"] = v.wall;
    state.counters["portable_s"] = p.wall;
    state.counters["vector_1t_s"] = v1.wall;
    state.counters["portable_1t_s"] = p1.wall;
    state.counters["ratio"] = reference.wall / v.wall;
    state.counters["ratio_portable"] = reference.wall / p.wall;
    state.counters["ratio_1t"] = reference.wall / v1.wall;
    state.counters["ratio_portable_1t"] = reference.wall / p1.wall;
    // On one thread, processor time against processor time: what a loaded machine disturbs least.
    state.counters["ratio_1t_cpu"] = reference.cpu / v1.cpu;
    state.counters["ratio_portable_1t_cpu"] = reference.cpu / p1.cpu;
    state.counters["pairs_M"] = pairs / 1e6;
    state.counters["cycles_per_pair"] = v1.cpu * hz / pairs;
    state.counters["cycles_per_pair_portable"] = p1.cpu * hz / pairs;
    state.counters["cycles_per_pair_reference"] = reference.cpu * hz / pairs;
    state.counters["bit_identical"] = same ? 1 : 0;
    state.counters["vector_units"] = calc::activePassKernel() == calc::PassKernel::Avx2 ? 1 : 0;
    state.counters["threads"] = calc::resolveThreads(0);
    state.counters["peak_MB"] = peakMegabytes();
    if (!same) state.SkipWithError("a fast grid differs from the reference");
}

// One inner loop alone: range(1) threads (0 = every core), range(2) 1 = point by point.
void BM_FastPass(benchmark::State& state) {
    calc::IlluminanceGrid g;
    for (auto _ : state) {
        benchmark::DoNotOptimize(runFast(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), state.range(2) != 0, g));
    }
    state.counters["peak_MB"] = peakMegabytes();
}

void BM_ReferencePass(benchmark::State& state) {
    calc::IlluminanceGrid g;
    for (auto _ : state) {
        g = freshGrid();
        calc::reference::fixturePass(scene().doc.plan, scene().touroku, scene().doc.tenDaka, settingsFor(static_cast<int>(state.range(0))), g);
    }
    state.counters["peak_MB"] = peakMegabytes();
}

// A hall of the office's luminaires in rows with a field of short partitions between them, at 1/500 (50 mm a
// pixel): `fixtures` luminaires and `walls` walls. With `narrow`, only the office's luminaire that lights the
// least far (about 75 pixels here): each sees a few of the plan's walls.
struct WallField {
    model::Plan plan;
    std::int32_t width = 0, height = 0;
};

WallField wallField(int fixtures, int walls, bool narrow) {
    WallField f;
    const model::Plan& office = scene().doc.plan;
    f.plan.mmPerPixel = 50;
    f.plan.scaleDenominator = 500;
    // Two metres between luminaires both ways, 40 pixels.
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(fixtures))));
    f.width = f.height = side * 40;
    std::vector<model::KiguRecord> kinds;
    office.kigu.forEach([&](const model::KiguRecord& k) {
        if (!narrow || k.typeIndex == 7) kinds.push_back(k);
    });
    for (int k = 0; k < fixtures; ++k) {
        model::KiguRecord kigu = kinds[static_cast<std::size_t>(k) % kinds.size()];
        kigu.x = kigu.anchorX = 20 + 40 * (k % side);
        kigu.y = kigu.anchorY = 20 + 40 * (k / side);
        kigu.heightOffset = 0;
        f.plan.kigu.add(kigu);
    }
    // Partitions on a lattice, their length two thirds of its pitch, turning a quarter from one to the next.
    const double pitch = std::sqrt(static_cast<double>(f.width) * f.height / walls);
    const int across = std::max(1, static_cast<int>(f.width / pitch)), down = (walls + across - 1) / across;
    const int len = std::max(1, static_cast<int>(pitch * 2 / 3));
    for (int k = 0; k < walls; ++k) {
        const int c = k % across, r = k / across;
        model::LineRecord l;
        l.x1 = static_cast<std::int32_t>((c + 0.5) * f.width / across);
        l.y1 = static_cast<std::int32_t>((r + 0.5) * f.height / down);
        l.x2 = l.x1 + ((c + r) % 2 == 0 ? len : 0);
        l.y2 = l.y1 + ((c + r) % 2 == 0 ? 0 : len);
        model::normaliseLine(l);
        f.plan.lines.add(l);
    }
    return f;
}

// range(0): step; range(1): luminaires; range(2): walls; range(3): 1 narrow luminaires. In one run, on every core: the pass culling the walls
// of each luminaire by looking at every wall of the plan and testing each row against the walls between it and
// the luminaire (as before the index and the fan), then through the index and each luminaire's fan of walls,
// best of two each; the ratio, whether the grids agree bit for bit, how many points the crossing test let past
// the wall hiding them (they test every wall in reach), and peak memory.
void BM_ManyWalls(benchmark::State& state) {
    const int step = static_cast<int>(state.range(0));
    const WallField field = wallField(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)), state.range(3) != 0);
    calc::TableSettings settings;
    settings.mmPerPixel = field.plan.mmPerPixel;
    settings.scaleDenominator = field.plan.scaleDenominator;
    settings.calcStep = step;
    calc::IlluminanceGrid scanned, indexed;
    auto run = [&](bool scan, calc::IlluminanceGrid& g) {
        double best = 1e300;
        for (int i = 0; i < 2; ++i) {
            g.allocate(field.width, field.height);
            g.reset();
            calc::forceWallScan(scan);
            const auto t0 = std::chrono::steady_clock::now();
            calc::runFixturePass(field.plan, scene().touroku, scene().doc.tenDaka, settings, g, 0, nullptr);
            best = std::min(best, seconds(t0));
            calc::forceWallScan(false);
        }
        return best;
    };
    double scan = 0, index = 0;
    std::uint64_t letPast = 0;
    for (auto _ : state) {
        scan = run(true, scanned);
        const std::uint64_t before = calc::fanPointsTestingEveryWall();
        index = run(false, indexed);
        letPast = calc::fanPointsTestingEveryWall() - before;
    }
    const bool same = sameBits(scanned, indexed);
    state.counters["scan_s"] = scan;
    state.counters["index_s"] = index;
    state.counters["ratio"] = scan / index;
    state.counters["walls"] = field.plan.lines.count();
    state.counters["fixtures"] = field.plan.kigu.count();
    state.counters["bit_identical"] = same ? 1 : 0;
    state.counters["every_wall_points"] = static_cast<double>(letPast);
    state.counters["peak_MB"] = peakMegabytes();
    if (!same) state.SkipWithError("the grid through the index and the fan differs from the one scanning every wall");
}

} // namespace

BENCHMARK(BM_ManyWalls)
    ->Args({3, 10000, 100000, 1})
    ->Args({3, 1000, 10000, 0})
    ->Args({3, 10000, 100000, 0})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_FastOverReference)->Arg(1)->Arg(3)->Arg(7)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_FastPass)->Args({1, 0, 0})->Args({1, 0, 1})->Args({3, 1, 0})->Args({3, 1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReferencePass)->Arg(3)->Iterations(1)->Unit(benchmark::kMillisecond);
