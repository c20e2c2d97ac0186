// Project file reading and writing; a file is parsed completely before the open plan is replaced.
#include "model/ProjectFile.h"

#include "base/Cp932.h"
#include "base/Text.h"
#include "base/TextFile.h"
#include "catalog/Photometry.h"
#include "model/TaskPresets.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace model {
namespace {

// Reads lines and fails the parse on anything the format does not allow.
class Parser {
public:
    explicit Parser(base::LineReader& reader) : reader_(reader) {}
    bool isOpen() const { return reader_.isOpen(); }

    // Next raw line; false at the end of the file. An over-long line makes the file malformed.
    bool next(std::string& line) {
        auto s = reader_.next(line);
        if (s == base::LineReader::Status::TooLong) throw Malformed{};
        return s == base::LineReader::Status::Line;
    }
    std::string require() {
        std::string line;
        if (!next(line)) throw Malformed{};
        return line;
    }
    struct Malformed {};

private:
    base::LineReader& reader_;
};

std::int32_t intField(const std::string& text) {
    std::int32_t v = 0;
    if (!base::isInt(text)) throw Parser::Malformed{};
    v = base::toInt(text);
    return v;
}

// Lamps and lumens past what any luminaire has would only saturate the calculated illuminance.
std::int32_t boundedInt(const std::string& text, std::int32_t bound) {
    const std::int32_t v = intField(text);
    if (v < -bound || v > bound) throw Parser::Malformed{};
    return v;
}

// A stored real: a decimal number that a 32-bit float holds, within the bound that keeps the line
// the writer makes of it inside the 299-byte line buffer. The bound holds for the float that is
// kept, so what is written back is read again.
float realField(const std::string& text, double bound = 3.0e38) {
    if (!base::isFloat(text)) throw Parser::Malformed{};
    const double v = base::toFloat(text);
    if (!(std::fabs(v) <= bound)) throw Parser::Malformed{};
    const float kept = static_cast<float>(v);
    if (!(std::fabs(static_cast<double>(kept)) <= bound)) throw Parser::Malformed{};
    return kept;
}

// A text of the file as it reads; bytes that would not come back the same when written are kept.
std::string decodedText(const std::string& raw, ProjectContent& out) {
    std::string text = base::cp932ToUtf8(raw);
    if (base::utf8ToCp932(text) != raw) out.spellings.emplace(text, raw);
    return text;
}

// An intensity: never negative (that would be negative light) and within the bound.
float intensityField(const std::string& text) {
    const float v = realField(text, catalog::kMaxIntensityPerKilolumen);
    if (v < 0) throw Parser::Malformed{};
    return v;
}

void readPlane(Parser& p, catalog::IntensityPlane& plane) {
    base::Fields fine(p.require());
    for (int i = 0; i <= 20; ++i) plane[static_cast<std::size_t>(i)] = intensityField(fine[i + 1]);
    base::Fields low(p.require());
    for (int i = 0; i <= 18; ++i) plane[static_cast<std::size_t>(i * 5)] = intensityField(low[i + 1]);
    base::Fields high(p.require());
    for (int i = 0; i <= 18; ++i) plane[static_cast<std::size_t>(90 + i * 5)] = intensityField(high[i + 1]);
    catalog::expandStoredPlane(plane);
}

// A section that meets the end of the file before its "END" was cut short: the file is damaged.
void readTouroku(Parser& p, ProjectContent& out) {
    std::string line;
    while (p.next(line)) {
        if (line == "END") return;
        const std::int32_t slot = intField(line);
        if (!catalog::isValidSlot(slot)) throw Parser::Malformed{};
        // The writer gives each slot one block; a second one for a slot has no meaning.
        for (const auto& [taken, type] : out.types) {
            if (taken == slot) throw Parser::Malformed{};
        }
        catalog::BunpuHinban t;
        t.hinban = decodedText(p.require(), out);
        t.option = decodedText(p.require(), out);
        t.haikouCode = decodedText(p.require(), out);
        t.lampName = decodedText(p.require(), out);
        t.lampNameA = decodedText(p.require(), out);
        t.catalogNote = decodedText(p.require(), out);
        t.tosu = boundedInt(p.require(), catalog::kMaxLampsPerFixture);
        if (t.tosu < 0) throw Parser::Malformed{};  // negative lamps would give negative light
        t.efficiency = realField(p.require());
        t.planeCount = intField(p.require());
        base::Fields lamp(p.require());
        t.kou = boundedInt(lamp[1], catalog::kMaxLampLumens);
        t.kouCatalog = intField(lamp[2]);
        t.colorTemp = intField(lamp[3]);
        t.maintClass = intField(lamp[4]);
        t.lampReserved = intField(lamp[5]);
        if (auto f = catalog::maintFactorsOf(t.maintClass)) t.maintFactor = *f;
        base::Fields counts(p.require());
        t.lampFactor = realField(counts[1]);
        intField(counts[2]);  // placedCount is recounted from the fixtures
        t.placedCount = 0;
        t.sizeX = intField(counts[3]);
        t.sizeY = intField(counts[4]);
        for (auto& plane : t.intensity) readPlane(p, plane);
        if (static_cast<int>(out.types.size()) >= kMaxRecordsPerSection) throw Parser::Malformed{};
        out.types.emplace_back(slot, std::move(t));
    }
    throw Parser::Malformed{};
}

template <class F>
void readRecords(Parser& p, std::size_t currentCount, F&& take) {
    std::string line;
    while (p.next(line)) {
        base::Fields f(line);
        if (f[1] == "END") return;
        if (currentCount++ >= static_cast<std::size_t>(kMaxRecordsPerSection)) throw Parser::Malformed{};
        take(f);
    }
    throw Parser::Malformed{};
}

// One task area: "x1,y1,x2,y2,requiredLux,requiredUniformity,name", the name taking the rest of the
// line (it may hold commas). The line starts with a number, so a reader that does not know the section
// skips every line of it, "AREA" and "END" included.
AreaRecord areaOf(const std::string& line, ProjectContent& out) {
    base::Fields f(line);
    AreaRecord a;
    a.x1 = intField(f[1]);
    a.y1 = intField(f[2]);
    a.x2 = intField(f[3]);
    a.y2 = intField(f[4]);
    if (a.x1 > a.x2 || a.y1 > a.y2) throw Parser::Malformed{};
    a.requiredLux = boundedInt(f[5], kMaxRequiredLux);
    if (a.requiredLux < 0) throw Parser::Malformed{};
    a.requiredUniformity = realField(f[6], 1.0);
    if (a.requiredUniformity < 0) throw Parser::Malformed{};
    std::size_t at = 0;
    for (int comma = 0; comma < 6; ++comma) {
        at = line.find(',', at);
        if (at == std::string::npos) throw Parser::Malformed{};
        ++at;
    }
    const std::string name = line.substr(at);
    if (name.size() > kMaxAreaNameBytes) throw Parser::Malformed{};
    a.name = decodedText(name, out);
    return a;
}

void readAreas(Parser& p, ProjectContent& out) {
    std::string line;
    while (p.next(line)) {
        if (line == "END") return;
        if (out.areas.size() >= static_cast<std::size_t>(kMaxRecordsPerSection)) throw Parser::Malformed{};
        out.areas.push_back(areaOf(line, out));
    }
    throw Parser::Malformed{};
}

// The room of the reflections: one line "roomHeight,workPlaneHeight,ceiling,walls,floor,on" and "END".
// Like the task areas' lines it starts with a number, so a reader that does not know the section skips it.
void readRoom(Parser& p, ProjectContent& out) {
    const base::Fields f(p.require());
    if (f.count() != 6) throw Parser::Malformed{};
    RoomRecord r;
    r.stored = true;
    r.roomHeight = intField(f[1]);
    r.workPlaneHeight = intField(f[2]);
    r.ceiling = realField(f[3], 1.0);
    r.walls = realField(f[4], 1.0);
    r.floor = realField(f[5], 1.0);
    const std::int32_t on = intField(f[6]);
    if (on != 0 && on != 1) throw Parser::Malformed{};
    r.on = on == 1;
    if (roomFault(r) != RoomFault::None) throw Parser::Malformed{};
    if (p.require() != "END") throw Parser::Malformed{};
    out.room = r;
}

// The rated powers: one line "slot,watts" per registered type that has one, and "END". The lines start
// with a number, so a reader that does not know the section skips it. A power belongs to a type the
// file registered before it; one for any other slot, or a second one for a slot, has no meaning.
void readPower(Parser& p, ProjectContent& out) {
    std::string line;
    std::vector<int> seen;
    while (p.next(line)) {
        if (line == "END") return;
        const base::Fields f(line);
        if (f.count() != 2) throw Parser::Malformed{};
        const std::int32_t slot = intField(f[1]);
        const auto type = std::find_if(out.types.begin(), out.types.end(), [slot](const auto& t) { return t.first == slot; });
        if (type == out.types.end() || std::find(seen.begin(), seen.end(), slot) != seen.end()) throw Parser::Malformed{};
        seen.push_back(slot);
        const float watts = realField(f[2], catalog::kMaxWatts);
        if (!(watts > 0)) throw Parser::Malformed{};
        type->second.watts = watts;
    }
    throw Parser::Malformed{};
}

// The kinds of task the task areas' requirements came from: one line "area number,preset name" per area
// that has one, and "END". The lines start with a number, so a reader that does not know the section
// skips it and keeps the areas with their requirements. The number counts the areas read before it from 1.
void readAreaKinds(Parser& p, ProjectContent& out) {
    std::string line;
    std::vector<std::size_t> seen;
    while (p.next(line)) {
        if (line == "END") return;
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos) throw Parser::Malformed{};
        const std::int32_t number = intField(line.substr(0, comma));
        if (number < 1 || static_cast<std::size_t>(number) > out.areas.size()) throw Parser::Malformed{};
        const auto index = static_cast<std::size_t>(number - 1);
        if (std::find(seen.begin(), seen.end(), index) != seen.end()) throw Parser::Malformed{};
        seen.push_back(index);
        const std::string name = line.substr(comma + 1);
        if (name.empty() || name.size() > kMaxPresetNameBytes) throw Parser::Malformed{};
        out.areas[index].preset = base::cp932ToUtf8(name);
    }
    throw Parser::Malformed{};
}

ParseError parseLines(base::LineReader& reader, ProjectContent& out) {
    Parser p(reader);
    if (!p.isOpen()) return ParseError::CannotOpen;
    out = ProjectContent{};
    // The writer always writes all four sections; a file without one of them lost part of the plan.
    bool touroku = false, lines = false, kigu = false, hasira = false;
    try {
        out.tenDakaText = p.require();
        out.tenDaka = intField(out.tenDakaText);
        // A height the height dialog refuses (1 mm gives hundreds of millions of lux) was never saved by us.
        if (out.tenDaka <= 0) return ParseError::HeightNotPositive;
        if (out.tenDaka < kMinTenDaka) return ParseError::HeightNotMm;
        out.mmPerPixel = realField(p.require());
        out.scaleDenominator = intField(p.require());
        out.projectName = decodedText(p.require(), out);
        std::string line;
        while (p.next(line)) {
            if (line == "TOUROKU") {
                touroku = true;
                readTouroku(p, out);
            } else if (line == "LINE") {
                lines = true;
                readRecords(p, out.lines.size(), [&](const base::Fields& f) {
                    LineRecord l;
                    l.kind = static_cast<unsigned char>(f[1].empty() ? 0 : f[1][0]);
                    for (int i = 1; i <= 4; ++i) {
                        l.setX(i, intField(f[2 * i]));
                        l.setY(i, intField(f[2 * i + 1]));
                    }
                    out.lines.push_back(l);
                });
            } else if (line == "KIGU") {
                kigu = true;
                readRecords(p, out.kigu.size(), [&](const base::Fields& f) {
                    KiguRecord k;
                    k.typeIndex = intField(f[1]);
                    if (!catalog::isValidSlot(k.typeIndex)) throw Parser::Malformed{};
                    k.x = intField(f[2]);
                    k.y = intField(f[3]);
                    k.heightOffset = intField(f[4]);
                    k.anchorX = intField(f[5]);
                    k.anchorY = intField(f[6]);
                    k.reserved = intField(f[7]);
                    k.rotation = intField(f[8]);
                    out.kigu.push_back(k);
                });
            } else if (line == "HASIRA") {
                hasira = true;
                readRecords(p, out.hasira.size(), [&](const base::Fields& f) {
                    HasiraRecord h;
                    h.pillarKind = intField(f[1]);
                    h.x = intField(f[2]);
                    h.y = intField(f[3]);
                    h.halfSize = intField(f[4]);
                    out.hasira.push_back(h);
                });
            } else if (line == "AREA") {
                readAreas(p, out);
            } else if (line == "ROOM") {
                // One room a plan: a second section would leave it unclear which one the user set.
                if (out.room.stored) throw Parser::Malformed{};
                readRoom(p, out);
            } else if (line == "POWER") {
                readPower(p, out);
            } else if (line == "AREAKIND") {
                readAreaKinds(p, out);
            }
        }
    } catch (const Parser::Malformed&) {
        return ParseError::Malformed;
    } catch (const base::ConversionError&) {
        return ParseError::Malformed;
    } catch (const std::bad_alloc&) {
        // The machine said no, not the file.
        return ParseError::NoMemory;
    }
    return touroku && lines && kigu && hasira ? ParseError::None : ParseError::Malformed;
}

} // namespace

// The largest project file read: each section at its record limit with every number at its widest
// comes to under 400 MB, so nothing the writer makes is refused, and a larger file (a runaway or a
// sparse file of gigabytes) is refused before any of it is read.
constexpr std::uint64_t kMaxProjectBytes = 512ULL * 1024 * 1024;

ParseError parseProject(const std::string& path, ProjectContent& out) {
    base::LineReader reader(path, base::LineReader::kMaxLineBytes, kMaxProjectBytes);
    return parseLines(reader, out);
}

ParseError parseProjectBytes(const std::string& bytes, ProjectContent& out) {
    base::LineReader reader(base::LineReader::FromMemory{}, bytes);
    return parseLines(reader, out);
}

namespace {

std::string joinFixed(const catalog::IntensityPlane& plane, int from, int step, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        if (i > 0) s += ',';
        s += base::formatFixed(plane[static_cast<std::size_t>(from + i * step)], 4);
    }
    return s;
}

std::string fmt(std::int32_t v) { return base::formatInt(v); }

} // namespace

std::string projectBytes(const Document& doc, const catalog::TourokuTable& touroku) {
    std::string out;
    // A text is one line of at most 299 bytes: a line break in it would split the record, and a
    // longer line is refused by the reader.
    // A text as the opened file spelt it keeps the file's bytes; any other is encoded.
    auto encoded = [&doc](const std::string& utf8, std::size_t maxBytes) {
        const auto kept = doc.fileSpellings.find(utf8);
        if (kept != doc.fileSpellings.end() && kept->second.size() <= maxBytes) return kept->second;
        return base::utf8ToCp932(base::truncateCp932(utf8, maxBytes));
    };
    auto text = [&out, &encoded](std::string utf8) {
        std::replace(utf8.begin(), utf8.end(), '\r', ' ');
        std::replace(utf8.begin(), utf8.end(), '\n', ' ');
        out += encoded(utf8, base::LineReader::kMaxLineBytes) + "\r\n";
    };
    auto ascii = [&out](const std::string& line) { out += line + "\r\n"; };
    ascii(fmt(doc.tenDaka));
    ascii(base::formatFixed(doc.plan.mmPerPixel, 2));
    ascii(fmt(doc.plan.scaleDenominator));
    text(doc.projectName);
    ascii("TOUROKU");
    for (int s = 1; s <= catalog::kSlotCount; ++s) {
        const catalog::BunpuHinban& t = touroku[s];
        if (!t.isRegistered()) continue;
        ascii(fmt(s));
        text(t.hinban);
        text(t.option);
        text(t.haikouCode);
        text(t.lampName);
        text(t.lampNameA);
        text(t.catalogNote);
        ascii(fmt(t.tosu));
        ascii(base::formatFixed(t.efficiency, 4));
        ascii(fmt(t.planeCount));
        ascii(fmt(t.kou) + "," + fmt(t.kouCatalog) + "," + fmt(t.colorTemp) + "," + fmt(t.maintClass) + "," +
              fmt(t.lampReserved));
        ascii(base::formatFixed(t.lampFactor, 2) + "," + fmt(t.placedCount) + "," + fmt(t.sizeX) + "," + fmt(t.sizeY));
        for (const auto& plane : t.intensity) {
            ascii(joinFixed(plane, 0, 1, 21));
            ascii(joinFixed(plane, 0, 5, 19));
            ascii(joinFixed(plane, 90, 5, 19));
        }
    }
    ascii("END");
    ascii("LINE");
    // The kind is the byte the reader took from the file, written back as that byte.
    doc.plan.lines.forEach([&](const LineRecord& l) {
        std::string s(1, static_cast<char>(l.kind & 0xFF));
        for (int i = 1; i <= 4; ++i) s += "," + fmt(l.x(i)) + "," + fmt(l.y(i));
        ascii(s);
    });
    ascii("END");
    ascii("KIGU");
    doc.plan.kigu.forEach([&](const KiguRecord& k) {
        ascii(fmt(k.typeIndex) + "," + fmt(k.x) + "," + fmt(k.y) + "," + fmt(k.heightOffset) + "," + fmt(k.anchorX) + "," +
              fmt(k.anchorY) + "," + fmt(k.reserved) + "," + fmt(k.rotation));
    });
    ascii("END");
    ascii("HASIRA");
    doc.plan.hasira.forEach([&](const HasiraRecord& h) {
        ascii(fmt(h.pillarKind) + "," + fmt(h.x) + "," + fmt(h.y) + "," + fmt(h.halfSize));
    });
    ascii("END");
    // Only a plan with task areas has the section, so every other project keeps its bytes.
    if (!doc.plan.areas.empty()) {
        ascii("AREA");
        for (const AreaRecord& a : doc.plan.areas) {
            std::string name = a.name;
            std::replace(name.begin(), name.end(), '\r', ' ');
            std::replace(name.begin(), name.end(), '\n', ' ');
            out += fmt(a.x1) + "," + fmt(a.y1) + "," + fmt(a.x2) + "," + fmt(a.y2) + "," + fmt(a.requiredLux) + "," +
                   base::formatFixed(a.requiredUniformity, 2) + "," +
                   encoded(name, kMaxAreaNameBytes) + "\r\n";
        }
        ascii("END");
    }
    // Only a plan whose room the user set has the section, so every other project keeps its bytes.
    if (doc.plan.room.stored) {
        const RoomRecord& r = doc.plan.room;
        ascii("ROOM");
        ascii(fmt(r.roomHeight) + "," + fmt(r.workPlaneHeight) + "," + base::formatFixed(r.ceiling, 2) + "," +
              base::formatFixed(r.walls, 2) + "," + base::formatFixed(r.floor, 2) + "," + (r.on ? "1" : "0"));
        ascii("END");
    }
    // Only a plan where some type has a rated power has the section, so every other project keeps its bytes.
    std::string power;
    for (int s = 1; s <= catalog::kSlotCount; ++s) {
        const catalog::BunpuHinban& t = touroku[s];
        if (t.isRegistered() && t.watts > 0) power += fmt(s) + "," + base::formatFixed(t.watts, 2) + "\r\n";
    }
    if (!power.empty()) out += "POWER\r\n" + power + "END\r\n";
    // Likewise only a plan with an area whose requirement came from a preset has the kinds.
    std::string kinds;
    for (std::size_t i = 0; i < doc.plan.areas.size(); ++i) {
        std::string preset = doc.plan.areas[i].preset;
        if (preset.empty()) continue;
        std::replace(preset.begin(), preset.end(), '\r', ' ');
        std::replace(preset.begin(), preset.end(), '\n', ' ');
        kinds += fmt(static_cast<std::int32_t>(i + 1)) + "," + base::utf8ToCp932(base::truncateCp932(preset, kMaxPresetNameBytes)) + "\r\n";
    }
    if (!kinds.empty()) out += "AREAKIND\r\n" + kinds + "END\r\n";
    return out;
}

bool writeProject(const std::string& path, Document& doc, const catalog::TourokuTable& touroku, ui::Services& services) {
    const std::string bytes = projectBytes(doc, touroku);
    // A plan holding what the reader would refuse (a value no float holds, an intensity past a
    // line's room) is not written: the user's file is never replaced by one we cannot open.
    ProjectContent check;
    if (parseProjectBytes(bytes, check) == ParseError::None && base::writeWholeFile(path, bytes)) {
        doc.currentFileName = path;
        return true;
    }
    services.messageBox(ui::aboutFile(kMsgCannotWrite, path), kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
    return false;
}

bool reportParseError(ParseError error, const std::string& path, ui::Services& services) {
    const auto refuse = [&](const char* text, const char* title) {
        services.messageBox(ui::aboutFile(text, path), title, ui::Icon::Stop, ui::Buttons::Ok);
    };
    switch (error) {
    case ParseError::None: return true;
    case ParseError::CannotOpen: refuse(kMsgCannotRead, kTitleError); break;
    case ParseError::Malformed: refuse(kMsgMalformed, kTitleReadError); break;
    // Memory is the machine's, not the file's: the message does not point at the file.
    case ParseError::NoMemory: services.messageBox(base::kMsgNoMemory, kTitleError, ui::Icon::Stop, ui::Buttons::Ok); break;
    case ParseError::HeightNotPositive: refuse(kTenDakaNotPositive, kTitleReadError); break;
    case ParseError::HeightNotMm: refuse(kTenDakaNotMm, kTitleReadError); break;
    }
    return false;
}

bool validateProject(const std::string& path, ui::Services& services) {
    ProjectContent content;
    if (!reportParseError(parseProject(path, content), path, services)) return false;
    // Readable, but a plan no window could draw is refused as opening it would be.
    const std::string refusal = surfaceRefusal(content, Document{});
    if (!refusal.empty()) services.showError(ui::aboutFile(refusal, path));
    return refusal.empty();
}

namespace {

// The walls, fixtures, pillars and areas of a project as the plan holds them.
void fillPlan(const ProjectContent& c, Plan& plan) {
    for (const LineRecord& l : c.lines) {
        LineRecord r = l;
        normaliseLine(r);
        plan.lines.add(r);
    }
    for (const KiguRecord& k : c.kigu) plan.kigu.add(k);
    for (const HasiraRecord& h : c.hasira) plan.hasira.add(h);
    plan.areas = c.areas;
    plan.room = c.room;
}

// The drawing surface a document needs for its plan: the one it has, grown to the plan's extent. A
// plan reaching the end of the coordinates asks for a surface nobody can make; the size stays at the
// largest integer and the reader refuses it.
void growSurface(const Extent& extent, std::int32_t& width, std::int32_t& height) {
    auto grown = [](std::int32_t edge) { return static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{edge} + 100, INT32_MAX)); };
    if (extent.Xe > width) width = grown(extent.Xe);
    if (extent.Ye > height) height = grown(extent.Ye);
}

} // namespace

bool surfaceTooLarge(std::int32_t width, std::int32_t height) {
    return width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxSurfacePixels;
}

std::string surfaceRefusal(std::int32_t width, std::int32_t height) {
    return "描画面が大きすぎます (" + base::formatInt(width) + "×" + base::formatInt(height) + ")";
}

std::string surfaceRefusal(const ProjectContent& c, const Document& doc) {
    Plan plan;
    plan.mmPerPixel = c.mmPerPixel;
    fillPlan(c, plan);
    std::int32_t width = doc.surfaceWidth, height = doc.surfaceHeight;
    growSurface(computeExtent(plan, doc.screenWidth, doc.screenHeight), width, height);
    return surfaceTooLarge(width, height) ? surfaceRefusal(width, height) : std::string();
}

void applyProject(const std::string& path, const ProjectContent& c, Document& doc, catalog::TourokuTable& touroku) {
    doc.currentFileName = path;
    doc.plan.clearItems();
    doc.tenDakaLabel = c.tenDakaText;
    doc.tenDaka = c.tenDaka;
    doc.plan.mmPerPixel = c.mmPerPixel;
    doc.plan.scaleDenominator = c.scaleDenominator;
    doc.projectName = c.projectName;
    doc.projectNameCopy = c.projectName;
    doc.fileSpellings = c.spellings;
    for (const auto& [slot, type] : c.types) {
        catalog::BunpuHinban& t = touroku[slot];
        // The copies and the list flag are not stored; the slot keeps what it had of them.
        const bool listEdited = t.listEdited;
        catalog::BunpuHinban fresh = type;
        fresh.listEdited = listEdited;
        fresh.hinbanCopy = t.hinbanCopy;
        fresh.optionCopy = t.optionCopy;
        fresh.lampNameCopy = t.lampNameCopy;
        fresh.lampNameACopy = t.lampNameACopy;
        fresh.tosuCopy = t.tosuCopy;
        if (!catalog::maintFactorsOf(fresh.maintClass)) fresh.maintFactor = t.maintFactor;
        t = fresh;
    }
    fillPlan(c, doc.plan);
    for (const KiguRecord& k : c.kigu) touroku.changePlacedCount(k.typeIndex, +1);
    doc.extent = computeExtent(doc.plan, doc.screenWidth, doc.screenHeight);
    growSurface(doc.extent, doc.surfaceWidth, doc.surfaceHeight);
}

bool readProject(const std::string& path, Document& doc, catalog::TourokuTable& touroku, ui::Services& services) {
    ProjectContent content;
    if (!reportParseError(parseProject(path, content), path, services)) return false;
    if (const std::string refusal = surfaceRefusal(content, doc); !refusal.empty()) {
        services.showError(ui::aboutFile(refusal, path));
        return false;
    }
    applyProject(path, content, doc, touroku);
    return true;
}

} // namespace model
