// Contour tracing: iso-lines of each level through the cells of the grid, each cell cut into four triangles at its centre.
#include "calc/Calculation.h"
#include "calc/Threads.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <thread>
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
    float centre(std::int32_t i, std::int32_t j) const { return cellCentre(node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1)); }
    static float cellCentre(float tl, float tr, float br, float bl) { return (tl + tr + br + bl) * 0.25f; }
    // The nodes of lattice row j, columns 0 to cellsX().
    void rowNodes(std::int32_t j, std::vector<float>& out) const {
        out.resize(static_cast<std::size_t>(nx_) + 1);
        for (std::int32_t i = 0; i <= nx_; ++i) out[static_cast<std::size_t>(i)] = node(i, j);
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

// A triangle's piece once it is part of a line: the code keeps its edges in the low bits.
constexpr std::int8_t kUsedPiece = 0x40;
constexpr std::int8_t kPieceEdges = 0x3F;

// Each triangle's code: the edges the level's piece runs between, or -1 when it holds none.
void markPieces(const Lattice& lat, float level, std::vector<std::int8_t>& code) {
    const std::int32_t nx = lat.cellsX(), ny = lat.cellsY();
    float px[3], py[3], pv[3];
    std::vector<float> top, bottom;
    for (std::int32_t j = 0; j < ny; ++j) {
        lat.rowNodes(j, top);
        lat.rowNodes(j + 1, bottom);
        for (std::int32_t i = 0; i < nx; ++i) {
            std::int8_t* cell = &code[(static_cast<std::size_t>(j) * nx + i) * 4];
            // A cell whose corners and centre all lie on one side of the level holds no piece of it:
            // most of the surface, settled without cutting the cell into triangles.
            const std::size_t c = static_cast<std::size_t>(i);
            const float tl = top[c], tr = top[c + 1], br = bottom[c + 1], bl = bottom[c];
            const bool above = tl >= level;
            if ((tr >= level) == above && (br >= level) == above && (bl >= level) == above &&
                (Lattice::cellCentre(tl, tr, br, bl) >= level) == above) {
                cell[0] = cell[1] = cell[2] = cell[3] = -1;
                continue;
            }
            for (int k = 0; k < 4; ++k) {
                lat.triangle(i, j, k, px, py, pv);
                cell[k] = static_cast<std::int8_t>(segmentCode(pv, level));
            }
        }
    }
}

// Joins the marked pieces of one level into lines, marking each piece used as it is taken.
class PieceJoiner {
public:
    PieceJoiner(const Lattice& lat, float level, std::vector<std::int8_t>& code)
        : lat_(lat), level_(level), code_(code), nx_(lat.cellsX()), ny_(lat.cellsY()) {}

    std::vector<ContourPoint> lines() {
        std::vector<ContourPoint> out;
        const std::int64_t total = static_cast<std::int64_t>(code_.size());
        for (std::int64_t t0 = 0; t0 < total; ++t0) {
            // Most of the lattice holds no piece: eight triangles at a time are passed over while they are all -1.
            if ((t0 & 7) == 0 && t0 + 8 <= total) {
                std::uint64_t eight;
                std::memcpy(&eight, &code_[static_cast<std::size_t>(t0)], sizeof eight);
                if (eight == ~std::uint64_t{0}) {
                    t0 += 7;
                    continue;
                }
            }
            if (code(t0) < 0 || (code(t0) & kUsedPiece) != 0) continue;
            const std::vector<ContourPoint> line = follow(lineStart(t0));
            if (line.size() < 2) continue;
            out.push_back(kLineStart);
            out.insert(out.end(), line.begin(), line.end());
            out.push_back(kLineEnd);
        }
        return out;
    }

private:
    std::int8_t& code(std::int64_t t) { return code_[static_cast<std::size_t>(t)]; }

    // The triangle across edge e of triangle t, or -1 at the lattice border.
    std::int64_t across(std::int64_t t, int e) const {
        const std::int64_t cell = t / 4;
        const int k = static_cast<int>(t % 4);
        const std::int64_t i = cell % nx_, j = cell / nx_;
        if (e == 1) return cell * 4 + (k + 1) % 4;
        if (e == 2) return cell * 4 + (k + 3) % 4;
        static constexpr int dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0};
        const std::int64_t ni = i + dx[k], nj = j + dy[k];
        if (ni < 0 || nj < 0 || ni >= nx_ || nj >= ny_) return -1;
        return (nj * nx_ + ni) * 4 + (k + 2) % 4;
    }
    // The edge of the neighbour that is the same as edge e of a triangle.
    static int sharedEdge(int e) { return e == 0 ? 0 : (e == 1 ? 2 : 1); }

    ContourPoint pointOf(std::int64_t t, int e) const {
        float px[3], py[3], pv[3];
        const std::int64_t cell = t / 4;
        lat_.triangle(static_cast<std::int32_t>(cell % nx_), static_cast<std::int32_t>(cell / nx_), static_cast<int>(t % 4), px, py, pv);
        return edgePoint(px, py, pv, e, level_);
    }

    // Back from t0 to the start of its line (or once round a closed one).
    std::int64_t lineStart(std::int64_t t0) {
        std::int64_t start = t0;
        for (;;) {
            const int from = code(start) / 3;
            const std::int64_t prev = across(start, from);
            if (prev < 0 || prev == t0) break;
            const int pc = code(prev);
            if (pc < 0 || (pc & kUsedPiece) != 0 || pc % 3 != sharedEdge(from)) break;
            start = prev;
        }
        return start;
    }

    // The points of the line from its first piece on, while the pieces join edge to edge.
    std::vector<ContourPoint> follow(std::int64_t start) {
        std::vector<ContourPoint> line;
        auto append = [&line](const ContourPoint& p) {
            if (line.empty() || !(line.back() == p)) line.push_back(p);
        };
        append(pointOf(start, code(start) / 3));
        std::int64_t t = start;
        while (t >= 0 && code(t) >= 0 && (code(t) & kUsedPiece) == 0) {
            const int to = code(t) % 3;
            code(t) = static_cast<std::int8_t>(code(t) | kUsedPiece);
            append(pointOf(t, to));
            const std::int64_t next = across(t, to);
            if (next < 0 || code(next) < 0 || (code(next) & kPieceEdges) / 3 != sharedEdge(to)) break;
            t = next;
        }
        return line;
    }

    const Lattice& lat_;
    float level_;
    std::vector<std::int8_t>& code_;
    std::int32_t nx_, ny_;
};

// The pieces of one level, joined into lines. code is scratch of one entry per triangle.
std::vector<ContourPoint> traceLevel(const Lattice& lat, float level, std::vector<std::int8_t>& code) {
    code.resize(static_cast<std::size_t>(lat.cellsX()) * static_cast<std::size_t>(lat.cellsY()) * 4);
    markPieces(lat, level, code);
    return PieceJoiner(lat, level, code).lines();
}

} // namespace

ContourSet buildContours(const IlluminanceGrid& grid, const std::vector<float>& levels, std::int32_t surfaceWidth,
                         std::int32_t surfaceHeight) {
    ContourSet set;
    const Lattice lat(grid, surfaceWidth, surfaceHeight);
    const std::size_t count = std::min(levels.size(), static_cast<std::size_t>(ContourSet::kMaxLevels));
    set.levels.assign(levels.begin(), levels.begin() + static_cast<std::ptrdiff_t>(count));
    set.points.resize(count);
    // The levels are independent: each thread traces every n-th one with scratch of its own.
    const int n = std::max(1, std::min(resolveThreads(0), static_cast<int>(count)));
    runOnThreads(n, [&](int t, int threadCount) {
        std::vector<std::int8_t> code;
        for (std::size_t li = static_cast<std::size_t>(t); li < count; li += static_cast<std::size_t>(threadCount))
            set.points[li] = traceLevel(lat, set.levels[li], code);
    });
    return set;
}

} // namespace calc
