// Reading a DXF floor plan into memory and mapping it onto the plan drawing surface.
#include "io/DxfReader.h"

#include "base/Cp932.h"
#include "base/Text.h"
#include "base/TextFile.h"
#include "calc/Luminaire.h"

#include <algorithm>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

namespace io {
namespace {

// Thrown inside the reader when a group the reader has to interpret is not what it must be.
struct MalformedDxf {};

struct Group {
    int code = 0;
    std::string_view value;
};

// Groups of two lines each over the whole file; a line ends at LF, a CR before it is dropped.
class GroupReader {
public:
    explicit GroupReader(std::string_view bytes) : bytes_(bytes) {}

    // False at the end of the file (also when the code line has no value line after it).
    bool next(Group& g) {
        std::string_view codeLine, valueLine;
        if (!line(codeLine) || !line(valueLine)) return false;
        g.code = parseCode(codeLine);
        g.value = valueLine;
        return true;
    }

private:
    bool line(std::string_view& out) {
        if (pos_ >= bytes_.size()) return false;
        std::size_t end = bytes_.find('\n', pos_);
        if (end == std::string_view::npos) end = bytes_.size();
        out = bytes_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (!out.empty() && out.back() == '\r') out.remove_suffix(1);
        return true;
    }

    static int parseCode(std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
        if (!s.empty() && s.front() == '+') s.remove_prefix(1);
        int code = 0;
        auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), code);
        if (s.empty() || ec != std::errc() || p != s.data() + s.size()) throw MalformedDxf{};
        return code;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// A coordinate, radius or angle: a decimal number that a single-precision float can hold.
float number(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || p != s.data() + s.size()) throw MalformedDxf{};
    if (!std::isfinite(v) || std::fabs(v) > FLT_MAX) throw MalformedDxf{};
    return static_cast<float>(v);
}

float checkedFloat(double v) {
    if (!std::isfinite(v) || std::fabs(v) > FLT_MAX) throw MalformedDxf{};
    return static_cast<float>(v);
}

void widen(DxfExtents& e, float x, float y) {
    if (x < e.minX) e.minX = x;
    if (x > e.maxX) e.maxX = x;
    if (y < e.minY) e.minY = y;
    if (y > e.maxY) e.maxY = y;
}


class Loader {
public:
    Loader(std::string_view bytes, DxfDrawing& d, const DxfProgress& progress)
        : r_(bytes), d_(d), progress_(progress) {}
    int steps = 0;

    // Header up to ENTITIES: the two extent variables.
    bool header() {
        Group g;
        while (r_.next(g)) {
            if (g.value == "ENTITIES") return true;
            if (g.value == "$LINEMAX" || g.value == "$LINEMIN") {
                const bool isMax = g.value == "$LINEMAX";
                Group gx, gy;
                if (!r_.next(gx)) return false;
                const float x = number(gx.value);
                if (!r_.next(gy)) return false;
                const float y = number(gy.value);
                if (isMax) {
                    d_.extents.maxX = x;
                    d_.extents.maxY = y;
                } else {
                    d_.extents.minX = x;
                    d_.extents.minY = y;
                }
            }
        }
        return false;
    }

    void entities() {
        Group g;
        while (r_.next(g)) {
            bool done = true;
            if (g.value == "LINE") done = line();
            else if (g.value == "POLYLINE") done = polyline();
            else if (g.value == "ARC") done = arc();
            else if (g.value == "CIRCLE") done = circle();
            else continue;
            if (progress_) progress_(++steps, d_.countedEntities);
            if (!done) return;  // the file ended inside the entity
        }
    }

private:
    bool line() {
        DxfLine l;
        Group g;
        while (r_.next(g)) {
            switch (g.code) {
                case 10: l.x1 = number(g.value); break;
                case 20: l.y1 = number(g.value); break;
                case 11: l.x2 = number(g.value); break;
                case 21:
                    l.y2 = number(g.value);
                    widen(d_.extents, l.x1, l.y1);
                    widen(d_.extents, l.x2, l.y2);
                    d_.lines.push_back(l);
                    return true;
                default: break;
            }
        }
        return false;
    }

    bool polyline() {
        Group g;
        bool closed = false;
        // The polyline's own groups: only its flags matter (bit 1: closed).
        for (;;) {
            if (!r_.next(g)) return false;
            if (g.value == "VERTEX") break;
            if (g.code == 70) closed = (calc::truncInt(number(g.value)) & 1) != 0;
        }
        d_.vertices.push_back(DxfVertex{-1.0f, -1.0f, 0.0f});
        const std::size_t first = d_.vertices.size();
        auto store = [&](const DxfVertex& v) {
            widen(d_.extents, v.x, v.y);
            d_.vertices.push_back(v);
        };
        // The first vertex runs to the next VERTEX value.
        DxfVertex v;
        bool ended = false;
        for (;;) {
            if (!r_.next(g)) return false;
            if (g.value == "VERTEX") break;
            if (g.value == "SEQEND" && g.code == 0) {  // a polyline of one vertex
                ended = true;
                break;
            }
            if (g.code == 10) v.x = number(g.value);
            else if (g.code == 20) v.y = number(g.value);
            else if (g.code == 42) v.bulge = number(g.value);
        }
        store(v);
        if (!ended) {
            // Further vertices: code 10 starts one, every code 0 stores the one being read.
            bool reading = false;
            v = DxfVertex{};
            for (;;) {
                if (!r_.next(g)) return false;
                if (g.code == 0 && reading) {
                    store(v);
                    reading = false;
                }
                if (g.value == "SEQEND") break;
                if (g.code == 10) {
                    v = DxfVertex{number(g.value), 0.0f, 0.0f};
                    reading = true;
                } else if (g.code == 20) {
                    v.y = number(g.value);
                } else if (g.code == 42) {
                    v.bulge = number(g.value);
                }
            }
        }
        if (closed && d_.vertices.size() - first >= 2) d_.vertices.push_back(d_.vertices[first]);
        return true;
    }

    bool arc() {
        float cx = 0, cy = 0, r = 0, a1 = 0;
        DxfArc a;
        Group g;
        while (r_.next(g)) {
            switch (g.code) {
                case 10: cx = number(g.value); break;
                case 20: cy = number(g.value); break;
                case 40:
                    r = number(g.value);
                    a.left = checkedFloat(double(cx) - r);
                    a.bottom = checkedFloat(double(cy) - r);
                    a.right = checkedFloat(double(cx) + r);
                    a.top = checkedFloat(double(cy) + r);
                    break;
                case 50: a1 = number(g.value); break;
                case 51: {
                    const float a2 = number(g.value);
                    constexpr double kRad = 0.005555555555555556 * 3.141592;
                    const double t1 = a1 * kRad, t2 = a2 * kRad;
                    a.cx = cx;
                    a.cy = cy;
                    a.startAngle = a1;
                    a.endAngle = a2;
                    a.startDirX = checkedFloat(cx + 5.0 * r * std::cos(t1));
                    a.startDirY = checkedFloat(cy + 5.0 * r * std::sin(t1));
                    a.endDirX = checkedFloat(cx + 5.0 * r * std::cos(t2));
                    a.endDirY = checkedFloat(cy + 5.0 * r * std::sin(t2));
                    widen(d_.extents, checkedFloat(cx + r * std::cos(t1)), checkedFloat(cy + r * std::sin(t1)));
                    widen(d_.extents, checkedFloat(cx + r * std::cos(t2)), checkedFloat(cy + r * std::sin(t2)));
                    d_.arcs.push_back(a);
                    return true;
                }
                default: break;
            }
        }
        return false;
    }

    bool circle() {
        float cx = 0, cy = 0;
        Group g;
        while (r_.next(g)) {
            switch (g.code) {
                case 10: cx = number(g.value); break;
                case 20: cy = number(g.value); break;
                case 40: {
                    const float r = number(g.value);
                    DxfCircle c{checkedFloat(double(cx) - r), checkedFloat(double(cy) - r), checkedFloat(double(cx) + r),
                                checkedFloat(double(cy) + r)};
                    widen(d_.extents, c.left, c.bottom);
                    widen(d_.extents, c.right, c.top);
                    d_.circles.push_back(c);
                    return true;
                }
                default: break;
            }
        }
        return false;
    }

    GroupReader r_;
    DxfDrawing& d_;
    const DxfProgress& progress_;
};

} // namespace

DxfParseResult parseDxf(std::string_view bytes, const DxfProgress& progress) {
    DxfParseResult result;
    DxfDrawing& d = result.drawing;
    try {
        // First pass: the counts that fix the capacities and the progress maximum.
        {
            GroupReader r(bytes);
            Group g;
            bool inEntities = false;
            std::size_t lines = 0, vertices = 0, arcs = 0, circles = 0;
            while (r.next(g)) {
                if (!inEntities) {
                    inEntities = g.value == "ENTITIES";
                    continue;
                }
                if (g.value == "LINE") ++lines;
                else if (g.value == "POLYLINE" || g.value == "VERTEX") ++vertices;
                else if (g.value == "ARC") ++arcs;
                else if (g.value == "CIRCLE") ++circles;
            }
            d.lineCapacity = lines + 5;
            d.vertexCapacity = vertices + 10;
            d.arcCapacity = arcs + 5;
            d.circleCapacity = circles + 5;
            d.countedEntities = static_cast<int>(std::min<std::size_t>(lines + vertices + arcs + circles, INT32_MAX));
            // Reserve what the counts promise; a closing vertex per polyline may come on top.
            d.lines.reserve(lines);
            d.vertices.reserve(vertices);
            d.arcs.reserve(arcs);
            d.circles.reserve(circles);
        }
        // Second pass: the geometry.
        Loader loader(bytes, d, progress);
        if (loader.header()) loader.entities();
    } catch (const MalformedDxf&) {
        result.error = DxfLoadError::Malformed;
        result.drawing = DxfDrawing{};
    }
    return result;
}

namespace {

// An entity's groups up to the next code 0: what the layered pass reads of it.
struct EntityGroups {
    std::string_view type;
    std::vector<Group> groups;
};

void addBulgeSegment(DxfLayerDrawing& out, const std::string& layer, float x1, float y1, float x2, float y2, float bulge) {
    DxfLayerSegment s;
    s.layer = layer;
    const double chord = std::hypot(double(x2) - x1, double(y2) - y1);
    if (bulge == 0.0f || chord == 0.0) {
        s.x1 = x1, s.y1 = y1, s.x2 = x2, s.y2 = y2;
        out.segments.push_back(s);
        return;
    }
    // The bulge is the tangent of a quarter of the included angle, positive counter-clockwise.
    const double theta = 4.0 * std::atan(double(bulge));
    const double h = (chord / 2.0) / std::tan(theta / 2.0);  // from the chord's middle to the centre, to its left
    const double mx = (double(x1) + x2) / 2.0, my = (double(y1) + y2) / 2.0;
    const double nx = -(double(y2) - y1) / chord, ny = (double(x2) - x1) / chord;
    const double cx = mx + h * nx, cy = my + h * ny;
    double a1 = std::atan2(double(y1) - cy, double(x1) - cx) * 180.0 / 3.14159265358979323846;
    double a2 = std::atan2(double(y2) - cy, double(x2) - cx) * 180.0 / 3.14159265358979323846;
    if (bulge < 0) std::swap(a1, a2);
    s.arc = true;
    s.cx = checkedFloat(cx);
    s.cy = checkedFloat(cy);
    s.r = checkedFloat(std::hypot(double(x1) - cx, double(y1) - cy));
    s.a1 = static_cast<float>(a1);
    s.a2 = static_cast<float>(a2);
    out.segments.push_back(s);
}

bool isUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 0x2) return false;
        i += n;
    }
    return true;
}

// A layer's name as the user reads it: drawings from 2007 on write UTF-8, older Japanese ones Shift-JIS.
std::string layerName(std::string_view raw) { return isUtf8(raw) ? std::string(raw) : base::cp932ToUtf8(raw); }

struct PolyVertex {
    float x = 0, y = 0, bulge = 0;
};

void addPolyline(DxfLayerDrawing& out, const std::string& layer, const std::vector<PolyVertex>& v, bool closed) {
    for (std::size_t i = 0; i + 1 < v.size(); ++i) addBulgeSegment(out, layer, v[i].x, v[i].y, v[i + 1].x, v[i + 1].y, v[i].bulge);
    if (closed && v.size() >= 2) addBulgeSegment(out, layer, v.back().x, v.back().y, v.front().x, v.front().y, v.back().bulge);
}

} // namespace

DxfLayerDrawing parseDxfLayers(std::string_view bytes) {
    DxfLayerDrawing out;
    try {
        GroupReader r(bytes);
        Group g;
        bool inEntities = false;
        while (!inEntities && r.next(g)) inEntities = g.code == 2 && g.value == "ENTITIES";
        if (!inEntities) return out;
        // Each entity runs from its code 0 to the next; every group is read once, so the work is linear.
        EntityGroups e;
        bool haveEntity = false;
        std::string polyLayer;
        std::vector<PolyVertex> polyVertices;
        bool inPolyline = false, polyClosed = false;
        std::map<std::string_view, std::string> names;  // each layer's name decoded once
        auto layerOf = [&names](const EntityGroups& en) -> const std::string& {
            std::string_view raw = "0";
            for (const Group& gr : en.groups)
                if (gr.code == 8) raw = gr.value;
            auto it = names.find(raw);
            if (it == names.end()) it = names.emplace(raw, layerName(raw)).first;
            return it->second;
        };
        auto finish = [&](const EntityGroups& en) {
            const std::string& layer = layerOf(en);
            if (en.type == "LINE") {
                DxfLayerSegment s;
                s.layer = layer;
                for (const Group& gr : en.groups) {
                    if (gr.code == 10) s.x1 = number(gr.value);
                    else if (gr.code == 20) s.y1 = number(gr.value);
                    else if (gr.code == 11) s.x2 = number(gr.value);
                    else if (gr.code == 21) s.y2 = number(gr.value);
                }
                out.segments.push_back(s);
            } else if (en.type == "ARC") {
                DxfLayerSegment s;
                s.layer = layer;
                s.arc = true;
                for (const Group& gr : en.groups) {
                    if (gr.code == 10) s.cx = number(gr.value);
                    else if (gr.code == 20) s.cy = number(gr.value);
                    else if (gr.code == 40) s.r = number(gr.value);
                    else if (gr.code == 50) s.a1 = number(gr.value);
                    else if (gr.code == 51) s.a2 = number(gr.value);
                }
                out.segments.push_back(s);
            } else if (en.type == "LWPOLYLINE") {
                std::vector<PolyVertex> v;
                bool closed = false;
                for (const Group& gr : en.groups) {
                    if (gr.code == 70) closed = (calc::truncInt(number(gr.value)) & 1) != 0;
                    else if (gr.code == 10) v.push_back(PolyVertex{number(gr.value), 0, 0});
                    else if (gr.code == 20 && !v.empty()) v.back().y = number(gr.value);
                    else if (gr.code == 42 && !v.empty()) v.back().bulge = number(gr.value);
                }
                addPolyline(out, layer, v, closed);
            } else if (en.type == "POLYLINE") {
                inPolyline = true;
                polyLayer = layer;
                polyVertices.clear();
                polyClosed = false;
                for (const Group& gr : en.groups)
                    if (gr.code == 70) polyClosed = (calc::truncInt(number(gr.value)) & 1) != 0;
            } else if (en.type == "VERTEX" && inPolyline) {
                PolyVertex v;
                for (const Group& gr : en.groups) {
                    if (gr.code == 10) v.x = number(gr.value);
                    else if (gr.code == 20) v.y = number(gr.value);
                    else if (gr.code == 42) v.bulge = number(gr.value);
                }
                polyVertices.push_back(v);
            } else if (en.type == "SEQEND" && inPolyline) {
                addPolyline(out, polyLayer, polyVertices, polyClosed);
                inPolyline = false;
            }
        };
        while (r.next(g)) {
            if (g.code == 0) {
                if (haveEntity) finish(e);
                if (g.value == "ENDSEC" || g.value == "EOF") {
                    haveEntity = false;
                    break;
                }
                e.type = g.value;
                e.groups.clear();
                haveEntity = true;
            } else if (haveEntity) {
                e.groups.push_back(g);
            }
        }
        if (haveEntity) finish(e);
        out.readable = true;
    } catch (const MalformedDxf&) {
        out = DxfLayerDrawing{};
    }
    return out;
}

bool TfrmDXF::LoadDxf(const std::string& path, ui::Services& services) {
    std::string bytes;
    switch (base::readWholeFile(path, kMaxDxfBytes, bytes)) {
    case base::WholeRead::Ok: break;
    case base::WholeRead::CannotOpen:
        services.messageBox(ui::aboutFile("ファイルがオープン出来ません。", path), "エラー", ui::Icon::Stop, ui::Buttons::Ok);
        return false;
    case base::WholeRead::TooLarge:
        services.messageBox(ui::aboutFile("DXFファイルが大きすぎて読み込めません。", path), "読み込みエラー", ui::Icon::Stop,
                            ui::Buttons::Ok);
        return false;
    }
    return loadFromBytes(bytes, services, path);
}

bool TfrmDXF::loadFromBytes(std::string_view bytes, ui::Services& services, const std::string& path) {
    // Counting first gives the progress maximum; the same bytes serve both passes, so the counts
    // always hold for the geometry read after them.
    DxfParseResult parsed = parseDxf(bytes, [&](int step, int maximum) {
        if (step == 1) services.progressShow("DXFﾌｧｲﾙの読み込み", "DXFﾌｧｲﾙを読み込み中", maximum);
        services.progressSet(step);
        services.processEvents();
    });
    services.progressHide();
    if (parsed.error != DxfLoadError::None) {
        const std::string text = "DXFファイルの内容が正しくありません。";
        services.messageBox(path.empty() ? text : ui::aboutFile(text, path), "読み込みエラー", ui::Icon::Stop, ui::Buttons::Ok);
        return false;
    }
    drawing_ = std::move(parsed.drawing);
    layers_ = parseDxfLayers(bytes);
    full_ = drawing_.extents;
    loaded_ = true;
    return true;
}

void TfrmDXF::FitDxfToView(model::Document& doc, int imageWidth, int imageHeight) {
    const DxfExtents& e = drawing_.extents;
    const int w = std::max(imageWidth, 1), h = std::max(imageHeight, 1);
    const float sx = static_cast<float>((e.maxX - e.minX) / (0.8 * w));
    const float sy = static_cast<float>((e.maxY - e.minY) / (0.8 * h));
    float s = std::max(sx, sy);
    // A drawing without extent (nothing in it, or a single point) would give no scale or a mirrored one.
    if (!(s > 0.0f) || !std::isfinite(s)) s = 1.0f;
    s_ = s;
    ox_ = oy_ = calc::truncInt(0.1 * imageHeight);
    baseY_ = calc::truncInt((e.maxY - e.minY) / s_ + oy_);
    doc.plan.mmPerPixel = s_;
    doc.plan.scaleDenominator = calc::truncInt(s_ / doc.screenMmPerPixel + 0.5);
}

bool TfrmDXF::ZoomDxf(model::Document& doc, int x1, int y1, int x2, int y2, int imageWidth, int imageHeight) {
    if (x1 == x2 && y1 == y2) return false;  // a click, not a rectangle
    DxfExtents& e = drawing_.extents;
    const float minX = e.minX, minY = e.minY;
    DxfExtents z;
    z.minX = static_cast<float>(minX + s_ * (double(std::min(x1, x2)) - ox_));
    z.maxX = static_cast<float>(minX + s_ * (double(std::max(x1, x2)) - ox_));
    z.minY = static_cast<float>(minY + s_ * (double(baseY_) - std::max(y1, y2)));
    z.maxY = static_cast<float>(minY + s_ * (double(baseY_) - std::min(y1, y2)));
    e = z;
    FitDxfToView(doc, imageWidth, imageHeight);
    return true;
}

void TfrmDXF::ResetDxfView(model::Document& doc, int imageWidth, int imageHeight) {
    drawing_.extents = full_;
    FitDxfToView(doc, imageWidth, imageHeight);
}

void TfrmDXF::SetDxfScale(float s) {
    if (!(s > 0.0f) || !std::isfinite(s)) return;
    s_ = s;
    const DxfExtents& e = drawing_.extents;
    baseY_ = calc::truncInt((e.maxY - e.minY) / s_ + oy_);
}

double TfrmDXF::planX(float x) const { return (double(x) - drawing_.extents.minX) / s_ + ox_; }
double TfrmDXF::planY(float y) const { return baseY_ - (double(y) - drawing_.extents.minY) / s_; }
int TfrmDXF::planXi(float x) const {
    return calc::truncInt(double(calc::truncInt((double(x) - drawing_.extents.minX) / s_)) + ox_);
}
int TfrmDXF::planYi(float y) const {
    return calc::truncInt(double(baseY_) - calc::truncInt((double(y) - drawing_.extents.minY) / s_));
}

void TfrmDXF::DrawDxf(ui::Surface& surface) const {
    if (!loaded_) return;
    ui::Pen pen = surface.pen();
    pen.color = ui::Color{136, 136, 255};
    pen.mode = ui::PenMode::Copy;
    surface.setPen(pen);
    for (const DxfLine& l : drawing_.lines) {
        surface.moveTo(planXi(l.x1), planYi(l.y1));
        surface.lineTo(planXi(l.x2), planYi(l.y2));
    }
    bool moveNext = true;
    for (const DxfVertex& v : drawing_.vertices) {
        if (v.isMarker()) {
            moveNext = true;
            continue;
        }
        if (moveNext) surface.moveTo(planXi(v.x), planYi(v.y));
        else surface.lineTo(planXi(v.x), planYi(v.y));
        moveNext = false;
    }
    for (const DxfArc& a : drawing_.arcs) {
        surface.arc(planXi(a.left), planYi(a.bottom), planXi(a.right), planYi(a.top), planXi(a.startDirX),
                    planYi(a.startDirY), planXi(a.endDirX), planYi(a.endDirY));
    }
    const ui::Brush old = surface.brush();
    surface.setBrush(ui::Brush{ui::colors::white, true});
    for (const DxfCircle& c : drawing_.circles) {
        surface.ellipse(planXi(c.left), planYi(c.top), planXi(c.right), planYi(c.bottom));
    }
    surface.setBrush(old);
}

double TfrmDXF::NearestDxfEndPoint(double best, int px, int py) {
    if (!loaded_) return best;
    auto visit = [&](float x, float y) {
        const double qx = planX(x), qy = planY(y);
        const double d = (px - qx) * (px - qx) + (py - qy) * (py - qy);
        if (d < best) {
            best = d;
            snap_ = ui::Point{calc::truncInt(qx), calc::truncInt(qy)};
        }
    };
    for (const DxfLine& l : drawing_.lines) {
        visit(l.x1, l.y1);
        visit(l.x2, l.y2);
    }
    for (const DxfVertex& v : drawing_.vertices) {
        if (!v.isMarker()) visit(v.x, v.y);
    }
    for (const DxfArc& a : drawing_.arcs) {
        visit(static_cast<float>(a.cx + 0.2 * (double(a.startDirX) - a.cx)), static_cast<float>(a.cy + 0.2 * (double(a.startDirY) - a.cy)));
        visit(static_cast<float>(a.cx + 0.2 * (double(a.endDirX) - a.cx)), static_cast<float>(a.cy + 0.2 * (double(a.endDirY) - a.cy)));
    }
    return best;
}

} // namespace io
