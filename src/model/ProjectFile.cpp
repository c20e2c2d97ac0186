// Project file reading and writing; a file is parsed completely before the open plan is replaced.
#include "model/ProjectFile.h"

#include "base/Cp932.h"
#include "base/Text.h"
#include "base/TextFile.h"

#include <cmath>

namespace model {
namespace {

// Reads lines and fails the parse on anything the format does not allow.
class Parser {
public:
    explicit Parser(const std::string& path) : reader_(path) {}
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
    base::LineReader reader_;
};

std::int32_t intField(const std::string& text) {
    std::int32_t v = 0;
    if (!base::isInt(text)) throw Parser::Malformed{};
    v = base::toInt(text);
    return v;
}

// A stored real: a decimal number that a 32-bit float holds, within the bound that keeps the line
// the writer makes of it inside the 299-byte line buffer.
float realField(const std::string& text, double bound = 3.0e38) {
    if (!base::isFloat(text)) throw Parser::Malformed{};
    const double v = base::toFloat(text);
    if (!(std::fabs(v) <= bound)) throw Parser::Malformed{};
    return static_cast<float>(v);
}

// 21 intensities written "%.4f," must fit one line: each below ten million candela per 1000 lm.
constexpr double kMaxIntensity = 9999999.0;

void readPlane(Parser& p, catalog::IntensityPlane& plane) {
    base::Fields fine(p.require());
    for (int i = 0; i <= 20; ++i) plane[static_cast<std::size_t>(i)] = realField(fine[i + 1], kMaxIntensity);
    base::Fields low(p.require());
    for (int i = 0; i <= 18; ++i) plane[static_cast<std::size_t>(i * 5)] = realField(low[i + 1], kMaxIntensity);
    base::Fields high(p.require());
    for (int i = 0; i <= 18; ++i) plane[static_cast<std::size_t>(90 + i * 5)] = realField(high[i + 1], kMaxIntensity);
    catalog::expandStoredPlane(plane);
}

void readTouroku(Parser& p, ProjectContent& out) {
    std::string line;
    while (p.next(line)) {
        if (line == "END") return;
        const std::int32_t slot = intField(line);
        if (!catalog::isValidSlot(slot)) throw Parser::Malformed{};
        catalog::BunpuHinban t;
        t.hinban = base::cp932ToUtf8(p.require());
        t.option = base::cp932ToUtf8(p.require());
        t.haikouCode = base::cp932ToUtf8(p.require());
        t.lampName = base::cp932ToUtf8(p.require());
        t.lampNameA = base::cp932ToUtf8(p.require());
        t.catalogNote = base::cp932ToUtf8(p.require());
        t.tosu = intField(p.require());
        t.efficiency = realField(p.require());
        t.planeCount = intField(p.require());
        base::Fields lamp(p.require());
        t.kou = intField(lamp[1]);
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
}

} // namespace

ParseError parseProject(const std::string& path, ProjectContent& out) {
    Parser p(path);
    if (!p.isOpen()) return ParseError::CannotOpen;
    out = ProjectContent{};
    try {
        out.tenDakaText = p.require();
        out.tenDaka = intField(out.tenDakaText);
        out.mmPerPixel = realField(p.require());
        out.scaleDenominator = intField(p.require());
        out.projectName = base::cp932ToUtf8(p.require());
        std::string line;
        while (p.next(line)) {
            if (line == "TOUROKU") {
                readTouroku(p, out);
            } else if (line == "LINE") {
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
                readRecords(p, out.hasira.size(), [&](const base::Fields& f) {
                    HasiraRecord h;
                    h.pillarKind = intField(f[1]);
                    h.x = intField(f[2]);
                    h.y = intField(f[3]);
                    h.halfSize = intField(f[4]);
                    out.hasira.push_back(h);
                });
            }
        }
    } catch (const Parser::Malformed&) {
        return ParseError::Malformed;
    } catch (const base::ConversionError&) {
        return ParseError::Malformed;
    } catch (const std::bad_alloc&) {
        return ParseError::Malformed;
    }
    return ParseError::None;
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

std::vector<std::string> projectLines(const Document& doc, const catalog::TourokuTable& touroku) {
    std::vector<std::string> out;
    out.push_back(fmt(doc.tenDaka));
    out.push_back(base::formatFixed(doc.plan.mmPerPixel, 2));
    out.push_back(fmt(doc.plan.scaleDenominator));
    out.push_back(doc.projectName);
    out.push_back("TOUROKU");
    for (int s = 1; s <= catalog::kSlotCount; ++s) {
        const catalog::BunpuHinban& t = touroku[s];
        if (!t.isRegistered()) continue;
        out.push_back(fmt(s));
        out.push_back(t.hinban);
        out.push_back(t.option);
        out.push_back(t.haikouCode);
        out.push_back(t.lampName);
        out.push_back(t.lampNameA);
        out.push_back(t.catalogNote);
        out.push_back(fmt(t.tosu));
        out.push_back(base::formatFixed(t.efficiency, 4));
        out.push_back(fmt(t.planeCount));
        out.push_back(fmt(t.kou) + "," + fmt(t.kouCatalog) + "," + fmt(t.colorTemp) + "," + fmt(t.maintClass) + "," +
                      fmt(t.lampReserved));
        out.push_back(base::formatFixed(t.lampFactor, 2) + "," + fmt(t.placedCount) + "," + fmt(t.sizeX) + "," + fmt(t.sizeY));
        for (const auto& plane : t.intensity) {
            out.push_back(joinFixed(plane, 0, 1, 21));
            out.push_back(joinFixed(plane, 0, 5, 19));
            out.push_back(joinFixed(plane, 90, 5, 19));
        }
    }
    out.push_back("END");
    out.push_back("LINE");
    doc.plan.lines.forEach([&](const LineRecord& l) {
        std::string s(1, static_cast<char>(l.kind & 0xFF));
        for (int i = 1; i <= 4; ++i) s += "," + fmt(l.x(i)) + "," + fmt(l.y(i));
        out.push_back(s);
    });
    out.push_back("END");
    out.push_back("KIGU");
    doc.plan.kigu.forEach([&](const KiguRecord& k) {
        out.push_back(fmt(k.typeIndex) + "," + fmt(k.x) + "," + fmt(k.y) + "," + fmt(k.heightOffset) + "," + fmt(k.anchorX) +
                      "," + fmt(k.anchorY) + "," + fmt(k.reserved) + "," + fmt(k.rotation));
    });
    out.push_back("END");
    out.push_back("HASIRA");
    doc.plan.hasira.forEach([&](const HasiraRecord& h) {
        out.push_back(fmt(h.pillarKind) + "," + fmt(h.x) + "," + fmt(h.y) + "," + fmt(h.halfSize));
    });
    out.push_back("END");
    return out;
}

bool writeProject(const std::string& path, Document& doc, const catalog::TourokuTable& touroku, ui::Services& services) {
    base::AtomicFileWriter file(path);
    if (file.isOpen()) {
        for (const std::string& line : projectLines(doc, touroku)) file.writeLine(line);
        if (file.commit()) {
            doc.currentFileName = path;
            return true;
        }
    }
    services.messageBox(kMsgCannotWrite, kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
    return false;
}

bool reportParseError(ParseError error, ui::Services& services) {
    switch (error) {
    case ParseError::None: return true;
    case ParseError::CannotOpen: services.messageBox(kMsgCannotRead, kTitleError, ui::Icon::Stop, ui::Buttons::Ok); break;
    case ParseError::Malformed: services.messageBox(kMsgMalformed, kTitleReadError, ui::Icon::Stop, ui::Buttons::Ok); break;
    }
    return false;
}

bool validateProject(const std::string& path, ui::Services& services) {
    ProjectContent content;
    return reportParseError(parseProject(path, content), services);
}

void applyProject(const std::string& path, const ProjectContent& c, Document& doc, catalog::TourokuTable& touroku) {
    doc.currentFileName = path;
    doc.plan.clearItems();
    doc.tenDakaLabel = c.tenDakaText;
    doc.tenDaka = c.tenDaka;
    doc.plan.mmPerPixel = c.mmPerPixel;
    doc.plan.scaleDenominator = c.scaleDenominator;
    doc.scaleLabel = "縮尺：1/" + std::to_string(c.scaleDenominator);
    doc.projectName = c.projectName;
    doc.projectNameCopy = c.projectName;
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
    for (const LineRecord& l : c.lines) {
        LineRecord r = l;
        normaliseLine(r);
        doc.plan.lines.add(r);
    }
    for (const KiguRecord& k : c.kigu) {
        doc.plan.kigu.add(k);
        touroku.changePlacedCount(k.typeIndex, +1);
    }
    for (const HasiraRecord& h : c.hasira) doc.plan.hasira.add(h);
    doc.menus.save1 = true;
    doc.extent = computeExtent(doc.plan, doc.screenWidth, doc.screenHeight);
    if (doc.extent.Xe > doc.surfaceWidth) doc.surfaceWidth = doc.extent.Xe + 100;
    if (doc.extent.Ye > doc.surfaceHeight) doc.surfaceHeight = doc.extent.Ye + 100;
    doc.windowTitle = windowTitleFor(doc, path);
}

bool readProject(const std::string& path, Document& doc, catalog::TourokuTable& touroku, ui::Services& services) {
    ProjectContent content;
    if (!reportParseError(parseProject(path, content), services)) return false;
    applyProject(path, content, doc, touroku);
    return true;
}

} // namespace model
