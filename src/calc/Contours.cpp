// Contour tracing: iso-lines of each level through the cells of the grid, each cell cut into four triangles at its centre.
#include "calc/Calculation.h"

#include <cstdint>
#include <vector>

namespace calc {
namespace {

// The lattice of one contour build: nodes on the grid points of the drawing surface, the outermost ring at -1.
class Lattice {
public:
    Lattice(const IlluminanceGrid& grid, std::int32_t surfaceWidth, std::int32_t surfaceHeight)
        : grid_(grid),
          nx_(std::max<std::int32_t>(0, std::min(surfaceWidth, grid.gridWidth - 1))),
          ny_(std::max<std::int32_t>(0, std::min(surfaceHeight, grid.gridHeight - 1))) {}

    std::int32_t cellsX() const { return nx_; }
    std::int32_t cellsY() const { return ny_; }

    float node(std::int32_t i, std::int32_t j) const {
        if (i <= 0 || j <= 0 || i >= nx_ || j >= ny_) return -1.0f;
        return grid_.lux[grid_.index(i, j)];
    }
    float centre(std::int32_t i, std::int32_t j) const {
        return (node(i, j) + node(i + 1, j) + node(i + 1, j + 1) + node(i, j + 1)) * 0.25f;
    }

    // The three vertices of triangle k of cell (i, j), clockwise on screen: top (TL, TR, C), right (TR, BR, C),
    // bottom (BR, BL, C), left (BL, TL, C).
    void triangle(std::int32_t i, std::int32_t j, int k, float px[3], float py[3], float pv[3]) const {
        static constexpr int cornerX[4] = {0, 1, 1, 0};  // TL, TR, BR, BL
        static constexpr int cornerY[4] = {0, 0, 1, 1};
        const int a = k, b = (k + 1) % 4;
        px[0] = static_cast<float>(i + cornerX[a]);
        py[0] = static_cast<float>(j + cornerY[a]);
        pv[0] = node(i + cornerX[a], j + cornerY[a]);
        px[1] = static_cast<float>(i + cornerX[b]);
        py[1] = static_cast<float>(j + cornerY[b]);
        pv[1] = node(i + cornerX[b], j + cornerY[b]);
        px[2] = static_cast<float>(i) + 0.5f;
        py[2] = static_cast<float>(j) + 0.5f;
        pv[2] = centre(i, j);
    }

private:
    const IlluminanceGrid& grid_;
    std::int32_t nx_, ny_;
};

// Whether the iso-line of L crosses the edge between two values: one end at or above L, the other below,
// and neither end in an unlit area (lines stop at 0.01 lx and at cleared walls and pillars).
bool crosses(float a, float b, float level) {
    if ((a >= level) == (b >= level)) return false;
    return std::min(a, b) > 0.01f;
}

// The segment of the iso-line in one triangle, as (from edge, to edge) with edge e joining vertex e and
// vertex e + 1; oriented so that the brighter side lies on the right of the direction of travel on
// screen (a line round a peak runs clockwise as seen on screen). -1 when there is none.
int segmentCode(const float pv[3], float level) {
    const bool above[3] = {pv[0] >= level, pv[1] >= level, pv[2] >= level};
    int lone = -1;
    for (int i = 0; i < 3; ++i) {
        if (above[i] != above[(i + 1) % 3] && above[i] != above[(i + 2) % 3]) lone = i;
    }
    if (lone < 0) return -1;
    const int before = (lone + 2) % 3;  // edge (lone - 1, lone)
    const int after = lone;             // edge (lone, lone + 1)
    if (!crosses(pv[before], pv[(before + 1) % 3], level) || !crosses(pv[after], pv[(after + 1) % 3], level)) return -1;
    return above[lone] ? after * 3 + before : before * 3 + after;
}

ContourPoint edgePoint(const float px[3], const float py[3], const float pv[3], int e, float level) {
    const int a = e, b = (e + 1) % 3;
    const float t = (pv[a] - level) / (pv[a] - pv[b]);
    return ContourPoint{px[a] + (px[b] - px[a]) * t, py[a] + (py[b] - py[a]) * t};
}

} // namespace

ContourSet buildContours(const IlluminanceGrid& grid, const std::vector<float>& levels, std::int32_t surfaceWidth,
                         std::int32_t surfaceHeight) {
    ContourSet set;
    const Lattice lat(grid, surfaceWidth, surfaceHeight);
    const std::int32_t nx = lat.cellsX(), ny = lat.cellsY();
    const std::size_t triangles = static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny) * 4;
    std::vector<std::int8_t> code(triangles);
    std::vector<std::uint8_t> used(triangles);

    for (std::size_t li = 0; li < levels.size() && li < static_cast<std::size_t>(ContourSet::kMaxLevels); ++li) {
        const float level = levels[li];
        set.levels.push_back(level);
        std::vector<ContourPoint> out;
        float px[3], py[3], pv[3];
        for (std::int32_t j = 0; j < ny; ++j) {
            for (std::int32_t i = 0; i < nx; ++i) {
                for (int k = 0; k < 4; ++k) {
                    lat.triangle(i, j, k, px, py, pv);
                    code[(static_cast<std::size_t>(j) * nx + i) * 4 + k] = static_cast<std::int8_t>(segmentCode(pv, level));
                }
            }
        }
        std::fill(used.begin(), used.end(), 0);

        // The triangle across edge e of triangle t, or -1 at the lattice border.
        auto across = [nx, ny](std::int64_t t, int e) -> std::int64_t {
            const std::int64_t cell = t / 4;
            const int k = static_cast<int>(t % 4);
            const std::int64_t i = cell % nx, j = cell / nx;
            if (e == 1) return cell * 4 + (k + 1) % 4;
            if (e == 2) return cell * 4 + (k + 3) % 4;
            static constexpr int dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0};
            const std::int64_t ni = i + dx[k], nj = j + dy[k];
            if (ni < 0 || nj < 0 || ni >= nx || nj >= ny) return -1;
            return (nj * nx + ni) * 4 + (k + 2) % 4;
        };
        // The edge of the neighbour that is the same as edge e of a triangle.
        auto sharedEdge = [](int e) { return e == 0 ? 0 : (e == 1 ? 2 : 1); };
        auto pointOf = [&](std::int64_t t, int e) {
            const std::int64_t cell = t / 4;
            lat.triangle(static_cast<std::int32_t>(cell % nx), static_cast<std::int32_t>(cell / nx), static_cast<int>(t % 4), px, py, pv);
            return edgePoint(px, py, pv, e, level);
        };

        for (std::int64_t t0 = 0; t0 < static_cast<std::int64_t>(triangles); ++t0) {
            if (code[static_cast<std::size_t>(t0)] < 0 || used[static_cast<std::size_t>(t0)]) continue;
            // Back to the start of the line (or once round a closed one).
            std::int64_t start = t0;
            for (;;) {
                const int from = code[static_cast<std::size_t>(start)] / 3;
                const std::int64_t prev = across(start, from);
                if (prev < 0 || prev == t0 || used[static_cast<std::size_t>(prev)]) break;
                const int pc = code[static_cast<std::size_t>(prev)];
                if (pc < 0 || pc % 3 != sharedEdge(from)) break;
                start = prev;
            }
            std::vector<ContourPoint> line;
            auto append = [&line](const ContourPoint& p) {
                if (line.empty() || !(line.back() == p)) line.push_back(p);
            };
            append(pointOf(start, code[static_cast<std::size_t>(start)] / 3));
            std::int64_t t = start;
            while (t >= 0 && code[static_cast<std::size_t>(t)] >= 0 && !used[static_cast<std::size_t>(t)]) {
                used[static_cast<std::size_t>(t)] = 1;
                const int to = code[static_cast<std::size_t>(t)] % 3;
                append(pointOf(t, to));
                const std::int64_t next = across(t, to);
                if (next < 0 || code[static_cast<std::size_t>(next)] < 0 || code[static_cast<std::size_t>(next)] / 3 != sharedEdge(to)) break;
                t = next;
            }
            if (line.size() < 2) continue;
            out.push_back(kLineStart);
            out.insert(out.end(), line.begin(), line.end());
            out.push_back(kLineEnd);
        }
        set.points.push_back(std::move(out));
    }
    return set;
}

} // namespace calc
