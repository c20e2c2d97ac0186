// Joining traced contour pieces: ends matched through a table of rounded positions.
#include "calc/ContourJoin.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <utility>

namespace calc {
namespace {

using Line = std::vector<ContourPoint>;

// Two ends meet when they round to the same thousandth of a pixel.
std::pair<std::int64_t, std::int64_t> keyOf(const ContourPoint& p) {
    return {static_cast<std::int64_t>(std::llround(static_cast<double>(p.x) * 1000.0)),
            static_cast<std::int64_t>(std::llround(static_cast<double>(p.y) * 1000.0))};
}

std::vector<Line> linesOf(const std::vector<ContourPoint>& sequence) {
    std::vector<Line> lines;
    bool open = false;
    for (const ContourPoint& p : sequence) {
        if (p == kLineStart) {
            lines.emplace_back();
            open = true;
        } else if (p == kLineEnd) {
            open = false;
        } else if (open) {
            lines.back().push_back(p);
        }
    }
    lines.erase(std::remove_if(lines.begin(), lines.end(), [](const Line& l) { return l.empty(); }), lines.end());
    return lines;
}

std::vector<Line> joined(std::vector<Line> lines) {
    // Every end of every line, by position; a line whose two ends meet is closed and joins nothing.
    std::multimap<std::pair<std::int64_t, std::int64_t>, std::size_t> ends;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (keyOf(lines[i].front()) == keyOf(lines[i].back()) && lines[i].size() > 1) continue;
        ends.emplace(keyOf(lines[i].front()), i);
        ends.emplace(keyOf(lines[i].back()), i);
    }
    std::vector<bool> used(lines.size(), false);
    auto forget = [&ends](const Line& l, std::size_t i) {
        for (const ContourPoint& p : {l.front(), l.back()}) {
            auto [lo, hi] = ends.equal_range(keyOf(p));
            for (auto it = lo; it != hi; ++it) {
                if (it->second == i) {
                    ends.erase(it);
                    break;
                }
            }
        }
    };
    // Another unused line with an end at p, taken out of the table; lines.size() when there is none.
    auto partnerAt = [&](const ContourPoint& p) {
        const auto it = ends.find(keyOf(p));
        if (it == ends.end()) return lines.size();
        const std::size_t j = it->second;
        forget(lines[j], j);
        used[j] = true;
        return j;
    };
    std::vector<Line> out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (used[i]) continue;
        used[i] = true;
        Line line = std::move(lines[i]);
        forget(line, i);
        // Grow at the end, then at the start, until no piece meets either.
        for (bool atEnd : {true, false}) {
            for (;;) {
                if (line.size() > 1 && keyOf(line.front()) == keyOf(line.back())) break;  // closed
                const ContourPoint tip = atEnd ? line.back() : line.front();
                const std::size_t j = partnerAt(tip);
                if (j == lines.size()) break;
                Line piece = std::move(lines[j]);
                // Turned so that it starts (when growing the end) or ends (the start) at the tip.
                if (atEnd ? keyOf(piece.front()) != keyOf(tip) : keyOf(piece.back()) != keyOf(tip))
                    std::reverse(piece.begin(), piece.end());
                if (atEnd) line.insert(line.end(), piece.begin() + 1, piece.end());
                else line.insert(line.begin(), piece.begin(), piece.end() - 1);
            }
        }
        out.push_back(std::move(line));
    }
    return out;
}

} // namespace

ContourSet joinedContours(const ContourSet& set) {
    ContourSet out;
    out.levels = set.levels;
    for (const std::vector<ContourPoint>& sequence : set.points) {
        std::vector<ContourPoint> s;
        for (const Line& line : joined(linesOf(sequence))) {
            s.push_back(kLineStart);
            s.insert(s.end(), line.begin(), line.end());
            s.push_back(kLineEnd);
        }
        out.points.push_back(std::move(s));
    }
    return out;
}

} // namespace calc
