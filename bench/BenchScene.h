// What the benchmarks share: the office scene, clocks, peak memory and the processor's nominal frequency.
#pragma once
#include "calc/FixturePass.h"
#include "model/ProjectFile.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

struct BenchScene {
    model::Document doc;
    catalog::TourokuTable touroku;
};

inline std::string scenePath() {
    std::vector<std::filesystem::path> candidates;
    if (const char* dir = std::getenv("ORDIVAN_SOURCE_DIR")) candidates.emplace_back(std::filesystem::path(dir) / "data/samples");
    candidates.emplace_back("samples");
    candidates.emplace_back("data/samples");
    candidates.emplace_back("../data/samples");
    for (const auto& c : candidates) {
        const auto p = c / "bench_office.OLE";
        if (std::filesystem::exists(p)) return std::filesystem::absolute(p).string();
    }
    throw std::runtime_error("bench_office.OLE not found (run from the build directory or set ORDIVAN_SOURCE_DIR)");
}

inline const BenchScene& scene() {
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

inline calc::TableSettings settingsFor(int step) {
    calc::TableSettings t;
    t.mmPerPixel = scene().doc.plan.mmPerPixel;
    t.scaleDenominator = scene().doc.plan.scaleDenominator;
    t.calcStep = step;
    return t;
}

inline calc::IlluminanceGrid freshGrid() {
    calc::IlluminanceGrid g;
    g.allocate(scene().doc.surfaceWidth, scene().doc.surfaceHeight);
    g.reset();
    return g;
}

inline double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Processor time of the calling thread: what a single-threaded run costs whatever else the machine runs.
inline double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

inline double peakMegabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// The nominal clock in Hz as the kernel reports it (the first "cpu MHz" line), 0 when unknown.
inline double nominalHz() {
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("cpu MHz", 0) != 0) continue;
        const auto colon = line.find(':');
        if (colon != std::string::npos) return std::strtod(line.c_str() + colon + 1, nullptr) * 1e6;
    }
    return 0;
}

} // namespace bench
