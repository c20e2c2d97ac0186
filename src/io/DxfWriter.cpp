// Assembling the DXF drawing of the plan and its contour lines, and writing it without ever leaving half a file.
#include "io/DxfWriter.h"

#include "base/Cp932.h"
#include "base/Text.h"
#include "calc/ContourJoin.h"
#include "calc/Luminaire.h"
#include "calc/SettingsDialogs.h"
#include "base/TextFile.h"
#include "io/DxfReader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace io {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Templates are a few hundred lines; anything much larger is not one of ours.
constexpr std::size_t kMaxTemplateBytes = 1u << 20;

// Group records: the code line (a blank, then the code) and the value line, each ending in CR LF.
class Records {
public:
    void group(int code, const std::string& value) {
        out_ += ' ';
        out_ += base::formatInt(code);
        out_ += "\r\n";
        out_ += base::utf8ToCp932(value);
        out_ += "\r\n";
    }
    void head(const char* entity, const std::string& layer, int colour) {
        group(0, entity);
        group(8, layer);
        group(6, "CONTINUOUS");
        group(62, base::formatInt(colour));
    }
    void seqend(const std::string& layer) {
        group(0, "SEQEND");
        group(8, layer);
    }
    void raw(const std::string& bytes) { out_ += bytes; }
    std::string& bytes() { return out_; }

private:
    std::string out_;
};

std::string f2(double v) { return base::formatFixed(v, 2); }
std::string f6(double v) { return base::formatFixed(v, 6); }

// A template copied line by line with CR LF; text after the last line end is not part of it.
std::optional<std::string> readTemplate(const std::string& path) {
    std::string bytes;
    if (base::readWholeFile(path, kMaxTemplateBytes, bytes) != base::WholeRead::Ok) return std::nullopt;
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t end = bytes.find('\n', pos);
        if (end == std::string::npos) break;
        std::size_t len = end - pos;
        if (len > 0 && bytes[pos + len - 1] == '\r') --len;
        out.append(bytes, pos, len);
        out += "\r\n";
        pos = end + 1;
    }
    return out;
}

// Angle of a plan point seen from the arc's centre, counter-clockwise on the screen, in 0..360 degrees.
float arcAngle(std::int32_t xi, std::int32_t yi, std::int32_t cx, std::int32_t cy) {
    const double dx = double(xi) - cx;
    const double dy = double(cy) - yi;
    double a;
    if (dx == 0) {
        a = dy > 0 ? 90.0 : (dy < 0 ? 270.0 : 0.0);
    } else {
        a = std::atan(dy / dx) * 180.0 / kPi;
        if (xi < cx) a += 180.0;
        if (a < 0) a += 360.0;
    }
    return static_cast<float>(a);
}

class DxfBody {
public:
    DxfBody(Records& r, DxfOutType type, const DxfExportInput& in)
        : r_(r), type_(type), in_(in), s_(in.doc.plan.mmPerPixel),
          Ht_(calc::truncInt(static_cast<float>(in.doc.surfaceHeight) * s_)) {}

    void extents() {
        const float W = static_cast<float>(in_.doc.surfaceWidth), H = static_cast<float>(in_.doc.surfaceHeight);
        r_.group(9, "$EXTMIN");
        r_.group(10, "0.0");
        r_.group(20, "0.0");
        r_.group(30, "0.0");
        r_.group(9, "$EXTMAX");
        r_.group(10, f2(W * s_));
        r_.group(20, f2(H * s_));
        r_.group(30, "0.0");
    }

    void walls() {
        const std::int32_t H = in_.doc.surfaceHeight;
        in_.doc.plan.lines.forEach([&](const model::LineRecord& l) {
            const int kind = l.kind & 0xFF;
            if (kind == 'L') {
                r_.head("LINE", "E_KABE", 7);
                r_.group(10, f2(X(l.x1)));
                r_.group(20, f2(Y(l.y1)));
                r_.group(30, "0.0");
                r_.group(11, f2(X(l.x2)));
                r_.group(21, f2(Y(l.y2)));
                r_.group(31, "0");
            } else if (kind == 'A') {
                const std::int32_t cx = static_cast<std::int32_t>((std::int64_t(l.x3) + l.x4) / 2);
                const std::int32_t cy = static_cast<std::int32_t>((std::int64_t(l.y3) + l.y4) / 2);
                const float a1 = arcAngle(l.x1, l.y1, cx, cy);
                const float a2 = arcAngle(l.x2, l.y2, cx, cy);
                const float radius = static_cast<float>(std::abs(std::int64_t(l.x3) - cx)) * s_;
                const float centreX = static_cast<float>(cx) * s_;
                const float centreY = static_cast<float>(std::int64_t(H) - cy) * s_;
                auto arc = [&](const std::string& from, const std::string& to) {
                    r_.head("ARC", "E_KABE", 7);
                    r_.group(10, f2(centreX));
                    r_.group(20, f2(centreY));
                    r_.group(40, f2(radius));
                    r_.group(50, from);
                    r_.group(51, to);
                };
                if (a2 > a1) {
                    arc(f2(a1), f2(a2));
                } else {
                    // The arc passes 0°: one piece up to the full turn, one from zero.
                    arc(f2(a1), "360.0");
                    arc("0.0", f2(a2));
                }
            }
        });
    }

    void pillarsAndFixtures() {
        in_.doc.plan.hasira.forEach([&](const model::HasiraRecord& h) {
            const std::int32_t f = calc::truncInt(static_cast<float>(h.halfSize) * s_);
            const float x = X(h.x), y = Y(h.y);
            if (h.pillarKind == model::kCylindricalPillar) {
                r_.head("CIRCLE", "E_HASIRA", 7);
                r_.group(10, f6(x));
                r_.group(20, f6(y));
                r_.group(30, "0.0");
                r_.group(40, f6(f));
            } else if (h.pillarKind == model::kSquarePillar) {
                r_.head("POLYLINE", "E_HASIRA", 7);
                r_.group(66, "1");
                r_.group(10, "0.0");
                r_.group(20, "0.0");
                r_.group(30, "0.0");
                r_.group(70, "  1");
                const float corners[4][2] = {{x - f, y - f}, {x - f, y + f}, {x + f, y + f}, {x + f, y - f}};
                for (const auto& c : corners) {
                    r_.head("VERTEX", "E_HASIRA", 7);
                    r_.group(10, f6(c[0]));
                    r_.group(20, f6(c[1]));
                    r_.group(30, "0.0");
                }
                r_.seqend("0");
            }
        });
        in_.doc.plan.kigu.forEach([&](const model::KiguRecord& k) {
            for (const char* radius : {"50", "4"}) {
                r_.head("CIRCLE", "E_KIGUC", 7);
                r_.group(10, f2(X(k.x)));
                r_.group(20, f2(Y(k.y)));
                r_.group(30, "0.0");
                r_.group(40, radius);
            }
        });
    }

    void contours() {
        calc::ContourSet& set = in_.contours;
        const auto& luxLevel = in_.doc.tables.luxLevel;
        bool current = set.levels.size() >= 6 && set.points.size() >= set.levels.size();
        for (std::size_t i = 0; current && i < 6; ++i) current = set.levels[i] == static_cast<float>(luxLevel[i + 1]);
        if (!current && in_.buildContours) in_.buildContours();
        const calc::ContourSet joined = in_.joinContours ? calc::joinedContours(set) : calc::ContourSet{};
        const calc::ContourSet& lines = in_.joinContours ? joined : set;

        const bool black = type_ == DxfOutType::BlackOut;
        const float threshold = 3.0f * s_ * s_;
        std::int32_t qx = -1, qy = -1, rx = 0, ry = 0;
        std::vector<std::pair<std::int32_t, std::int32_t>> buffer;
        buffer.reserve(80);
        bool newLine = false;
        // An explicit flag rather than "qx > 0": a line starting at x 0 must still be ended.
        bool open = false;
        std::string layer;      // of the level being walked
        int colour = 7;
        std::string openLayer;  // of the polyline being written, which may belong to the level before
        int openColour = 7;
        auto vertex = [&](std::int32_t x, std::int32_t y) {
            r_.head("VERTEX", openLayer, openColour);
            r_.group(10, f2(x));
            r_.group(20, f2(y));
            r_.group(30, "0.0");
        };
        auto polylineHead = [&] {
            openLayer = layer;
            openColour = colour;
            r_.head("POLYLINE", layer, colour);
            r_.group(66, "1");
            r_.group(10, "0.0");
            r_.group(20, "0.0");
            r_.group(30, "0.0");
        };
        const std::size_t levelCount = std::min<std::size_t>({set.levels.size(), set.points.size(), 6});
        for (std::size_t k = 0; k < levelCount && set.levels[k] >= static_cast<float>(k); ++k) {
            const float level = set.levels[k];
            layer = "LX" + base::formatInt(static_cast<long long>(k) + 1);
            colour = black ? 7 : kDxfLevelColours[k];
            const int labelColour = type_ == DxfOutType::ColorTextOut ? colour : 7;
            for (const calc::ContourPoint& p : lines.points[k]) {
                if (p.x == -1.0f) {
                    newLine = true;
                    continue;
                }
                if (p.x == -2.0f) continue;
                const std::int32_t x = calc::truncInt(p.x * s_);
                const std::int32_t y = calc::truncInt(static_cast<float>(Ht_) - p.y * s_);
                if (newLine) {
                    if (open) {
                        vertex(qx, qy);
                        r_.seqend(openLayer);
                    }
                    qx = x;
                    qy = y;
                    polylineHead();
                    vertex(qx, qy);
                    open = true;
                    rx = qx;
                    ry = qy;
                    newLine = false;
                    continue;
                }
                if (!open) continue;  // points before any line start belong to no line
                qx = x;
                qy = y;
                const std::int64_t dx = std::int64_t(qx) - rx, dy = std::int64_t(qy) - ry;
                if (static_cast<double>(dx * dx + dy * dy) > threshold) {
                    vertex(qx, qy);
                    rx = qx;
                    ry = qy;
                    buffer.emplace_back(qx, qy);
                    if (buffer.size() == 80) {
                        r_.seqend(openLayer);
                        r_.head("TEXT", "MEMORI", labelColour);
                        r_.group(10, f2(buffer[40].first));
                        r_.group(20, f2(buffer[40].second));
                        r_.group(30, "0.0");
                        r_.group(40, f2(8.0f * s_));
                        r_.group(1, base::formatInt(calc::truncInt(level)));
                        polylineHead();
                        vertex(qx, qy);
                        buffer.clear();
                    }
                }
            }
        }
        if (open) r_.seqend(openLayer);
    }

    void texts(const DxfNoteTexts& t) {
        const float height = 8.0f * s_;
        const std::int32_t Hb = calc::truncInt(20.0f * s_ + static_cast<float>(Ht_));
        auto text = [&](float x, float y, const std::string& value) {
            r_.head("TEXT", "MEMORI", 7);
            r_.group(10, f2(calc::truncInt(x)));
            r_.group(20, f2(calc::truncInt(y)));
            r_.group(30, "0.0");
            r_.group(40, f2(height));
            r_.group(1, value);
        };
        auto below = [&](float lines) { return static_cast<float>(Hb) - lines * s_; };
        if (t.hosoku) text(5.0f * s_, below(15), t.midasi);
        text(50.0f * s_, below(30), "平均照度：" + base::formatInt(in_.stats.averageLux) + " Lx");
        text(50.0f * s_, below(45), "最高照度：" + base::formatInt(in_.stats.maxLux) + " Lx");
        if (t.hosoku) {
            const float rows[5] = {15, 30, 45, 55, 70};
            for (int i = 0; i < 5; ++i) text(150.0f * s_, below(rows[i]), t.hosokuLines[static_cast<std::size_t>(i)]);
        }
    }

private:
    float X(std::int32_t x) const { return static_cast<float>(x) * s_; }
    float Y(std::int32_t y) const { return static_cast<float>(Ht_) - static_cast<float>(y) * s_; }

    Records& r_;
    DxfOutType type_;
    const DxfExportInput& in_;
    float s_;
    std::int32_t Ht_;
};

// The notes as written: with reflected light in the result, the two lines saying that reflectances are not
// considered give way to the reflectances and heights it was calculated with, unless the user wrote their
// own lines there.
DxfNoteTexts notesFor(const DxfNoteTexts& texts, const std::optional<calc::RoomGeometry>& reflections) {
    static const DxfNoteTexts described;
    if (!reflections || texts.hosokuLines[2] != described.hosokuLines[2] || texts.hosokuLines[3] != described.hosokuLines[3])
        return texts;
    const std::array<std::string, 3> note = calc::reflectionNoteParts(*reflections);
    DxfNoteTexts t = texts;
    t.hosokuLines[2] = note[0];
    t.hosokuLines[3] = "  " + note[1] + note[2];
    return t;
}

} // namespace

DxfTemplates dxfTemplatesIn(const std::string& dataDirectory) {
    std::string dir = dataDirectory;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return DxfTemplates{dir + "bunpudf", dir + "bunpudb"};
}

DxfBuildResult buildDxf(DxfOutType type, const DxfNoteTexts& texts, const DxfExportInput& input, const DxfTemplates& templates) {
    DxfBuildResult result;
    // Without a scale every millimetre value would be negative and the drawing mirrored.
    const float s = input.doc.plan.mmPerPixel;
    if (!(s > 0.0f) || !std::isfinite(s)) {
        result.message = "縮尺が設定されていないため、DXFファイルを作成できません。";
        return result;
    }
    const auto head = readTemplate(templates.headPath);
    if (!head) {
        result.message = "DXFのテンプレートファイルが読み込めません。\n" + templates.headPath;
        return result;
    }
    const auto tail = readTemplate(templates.tailPath);
    if (!tail) {
        result.message = "DXFのテンプレートファイルが読み込めません。\n" + templates.tailPath;
        return result;
    }
    Records r;
    DxfBody body(r, type, input);
    r.raw(*head);
    body.extents();
    r.raw(*tail);
    body.walls();
    if (type == DxfOutType::BlackOut) body.pillarsAndFixtures();
    body.contours();
    body.texts(notesFor(texts, input.reflections));
    r.group(0, "ENDSEC");
    r.group(0, "EOF");
    result.bytes = std::move(r.bytes());
    return result;
}

bool WriteDxf(const std::string& path, DxfOutType type, const DxfNoteTexts& texts, const DxfExportInput& input,
              const DxfTemplates& templates, ui::Services& services) {
    DxfBuildResult built = buildDxf(type, texts, input, templates);
    if (!built.bytes) {
        services.messageBox(built.message, "エラー", ui::Icon::Stop, ui::Buttons::Ok);
        return false;
    }
    base::AtomicFileWriter out(path);
    if (out.isOpen()) {
        out.write(*built.bytes);
        if (out.commit()) return true;
    }
    services.messageBox(ui::aboutFile("ファイルが作成出来ません。", path), "エラー", ui::Icon::Stop, ui::Buttons::Ok);
    return false;
}

std::optional<DxfOutType> dxfOutTypeFromName(const std::string& name) {
    if (name == "color") return DxfOutType::ColorOut;
    if (name == "black") return DxfOutType::BlackOut;
    if (name == "colortext") return DxfOutType::ColorTextOut;
    return std::nullopt;
}

bool exportDxf(const std::string& path, DxfOutType type, const DxfExportInput& input, const std::string& dataDirectory,
               ui::Services& services) {
    return WriteDxf(path, type, DxfNoteTexts{}, input, dxfTemplatesIn(dataDirectory), services);
}

} // namespace io
