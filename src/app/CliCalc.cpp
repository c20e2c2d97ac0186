// ordivan-cli calc: one headless calculation of a project and its outputs (picture, CSV, DXF, printed sheet, grid, summary).
#include "app/Cli.h"
#include "app/CliCatalog.h"
#include "base/Text.h"
#include "base/TextFile.h"
#include "base/Cp932.h"
#include "calc/AreaFigures.h"
#include "calc/Calculation.h"
#include "calc/PowerFigures.h"
#include "calc/SettingsDialogs.h"
#include "catalog/Catalog.h"
#include "io/DxfWriter.h"
#include "io/ExportPicture.h"
#include "model/ProjectFile.h"
#include "model/TaskPresets.h"
#include "print/DistributionSheet.h"
#include "print/ReportSheets.h"
#include "print/ViewPainters.h"
#include "view/IlluminanceCsv.h"
#include "view/PlanRender.h"
#include "view/ResultPresenter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace app {
namespace {

constexpr const char* kMsgNoFixtures = "器具が配置されていません。";
constexpr const char* kMsgLevelOrder = "数値の順序が正しくありません";
constexpr const char* kMsgLevelMin = "１以上値を設定して下さい";
constexpr const char* kMsgNoLightColours = "光色のデータがありません。";
constexpr const char* kTitleSettingError = calc::kSettingErrorTitle;

struct CalcOptions {
    int step = 3;
    bool maintenanceOn = true;
    int maintenanceClass = 1;
    char kind = 'B';
    bool autoLevels = true;
    std::array<std::int32_t, 7> levels{};
    bool fixtures = false;
    bool progress = ::isatty(STDERR_FILENO) == 1;  // the progress line on the error stream
    bool heightGiven = false;
    std::int32_t height = 0;
    int threads = 0;
    ScreenInfo screen;
    std::string gridPath, jsonPath;
    std::string picturePath;  // --png or --bmp
    io::PictureFormat pictureFormat = io::PictureFormat::Png;
    std::string csvPath, csvXyPath, dxfPath, pdfPath;
    io::DxfOutType dxfType = io::DxfOutType::ColorOut;
    bool dxfJoin = false;
    bool dateGiven = false;
    std::string objectName, date;
    bool report = false;  // the report command: --pdf names the designer's report, not the printed sheet
    // Task areas for this run only, corners in mm from the plan origin; the project file is not touched.
    struct AreaInMm {
        std::string name;
        std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        std::int32_t requiredLux = 0;
        float requiredUniformity = 0;
        std::string preset;  // a kind of task standing for LUX,U0, looked up once the data folder is known
    };
    std::vector<AreaInMm> areas;
    std::string areasCsvPath;
    // Reflections for this run: --indirect, or any of the room's own options, turns them on; what is not
    // given comes from the project's room (or its defaults).
    bool indirect = false;
    std::optional<std::int32_t> roomHeight, workPlane;
    std::optional<std::array<float, 3>> reflectances;  // ceiling, walls, floor
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> out;
    std::string cur;
    std::istringstream in(text);
    while (std::getline(in, cur, sep)) out.push_back(cur);
    return out;
}

int intOption(const std::string& name, const std::string& text, int lo, int hi) {
    if (!base::isInt(text)) throw UsageError(name + ": not a whole number: " + text);
    const int v = base::toInt(text);
    if (v < lo || v > hi) throw UsageError(name + ": out of range " + std::to_string(lo) + ".." + std::to_string(hi));
    return v;
}

// NAME,X1,Y1,X2,Y2[,LUX[,U0]] or NAME,X1,Y1,X2,Y2,PRESET: the name as the table shows it, the corners in
// mm, the required average illuminance and uniformity (both 0, no requirement, when left out) or the
// kind of task whose requirement the area takes.
CalcOptions::AreaInMm areaOption(const std::string& text) {
    const auto parts = split(text, ',');
    if (parts.size() < 5 || parts.size() > 7) throw UsageError("--area: NAME,X1,Y1,X2,Y2[,LUX[,U0]] or NAME,X1,Y1,X2,Y2,PRESET");
    CalcOptions::AreaInMm a;
    a.name = parts[0];
    constexpr int kMaxMm = 1000000000;  // a kilometre's thousand times over; a plan never reaches it
    a.x1 = intOption("--area X1", parts[1], -kMaxMm, kMaxMm);
    a.y1 = intOption("--area Y1", parts[2], -kMaxMm, kMaxMm);
    a.x2 = intOption("--area X2", parts[3], -kMaxMm, kMaxMm);
    a.y2 = intOption("--area Y2", parts[4], -kMaxMm, kMaxMm);
    if (parts.size() == 6 && !base::isInt(parts[5]) && !base::isFloat(parts[5])) {
        a.preset = parts[5];
    } else if (parts.size() > 5) {
        if (!base::isInt(parts[5])) throw UsageError("--area LUX: not a whole number: " + parts[5]);
        a.requiredLux = base::toInt(parts[5]);
    }
    if (parts.size() > 6) {
        if (!base::isFloat(parts[6])) throw UsageError("--area U0: not a number: " + parts[6]);
        a.requiredUniformity = static_cast<float>(base::toFloat(parts[6]));
    }
    switch (model::areaFault(model::AreaRecord{a.name, 0, 0, 0, 0, a.requiredLux, a.requiredUniformity})) {
    case model::AreaFault::Name:
        throw UsageError("--area: the name is empty, breaks its line, is not UTF-8 or is longer than " +
                         std::to_string(model::kMaxAreaNameBytes) + " bytes");
    case model::AreaFault::Lux: throw UsageError("--area LUX: out of range 0.." + std::to_string(model::kMaxRequiredLux));
    case model::AreaFault::Uniformity: throw UsageError("--area U0: out of range 0..1");
    case model::AreaFault::None: break;
    }
    return a;
}

// C,W,F: the reflectances of ceiling, walls and floor, each a number from 0 to 0.95.
std::array<float, 3> reflectancesOption(const std::string& text) {
    const auto parts = split(text, ',');
    const std::string form = "--reflectances: C,W,F, each from 0 to " + base::formatFixed(model::kMaxReflectance, 2);
    if (parts.size() != 3) throw UsageError(form);
    std::array<float, 3> rho{};
    for (std::size_t i = 0; i < 3; ++i) {
        if (!base::isFloat(parts[i])) throw UsageError(form);
        rho[i] = static_cast<float>(base::toFloat(parts[i]));
        if (!(rho[i] >= 0 && rho[i] <= model::kMaxReflectance)) throw UsageError(form);
    }
    return rho;
}

const std::set<std::string>& outputOptions() {
    static const std::set<std::string> names = {"--grid", "--json", "--png", "--bmp", "--csv", "--csv-xy", "--dxf", "--pdf", "--areas-csv"};
    return names;
}

// The files this run writes, in the order they are written.
std::vector<std::string> outputsOf(const CalcOptions& o) {
    std::vector<std::string> paths;
    for (const std::string* p : {&o.picturePath, &o.csvPath, &o.csvXyPath, &o.dxfPath, &o.pdfPath, &o.areasCsvPath, &o.gridPath, &o.jsonPath}) {
        if (!p->empty()) paths.push_back(*p);
    }
    return paths;
}

CalcOptions parseOptions(const std::vector<std::string>& args) {
    const std::vector<std::string>& withValue = cliValueOptions(args[0]);
    CalcOptions o;
    o.report = args[0] == "report";
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--fixtures") {
            o.fixtures = true;
            continue;
        }
        if (a == "--indirect") {
            o.indirect = true;
            continue;
        }
        if (a == "--dxf-join") {
            o.dxfJoin = true;
            continue;
        }
        if (a == "--progress" || a == "--quiet") {
            o.progress = a == "--progress";
            continue;
        }
        if (std::find(withValue.begin(), withValue.end(), a) == withValue.end()) throw UsageError("unknown option " + a);
        if (i + 1 >= args.size()) throw UsageError(a + ": value missing");
        std::string v = args[++i];
        if (outputOptions().count(a)) {
            if (v.empty()) throw UsageError(a + ": empty file name");
            v = cliOutputPath(v);
        }
        if (a == "--step") {
            o.step = intOption(a, v, 1, 7);
        } else if (a == "--maintenance") {
            static const std::map<std::string, int> classes = {{"good", 0}, {"normal", 1}, {"poor", 2}};
            if (v == "off") o.maintenanceOn = false;
            else if (classes.count(v)) o.maintenanceClass = classes.at(v);
            else throw UsageError("--maintenance: off, good, normal or poor");
        } else if (a == "--kind") {
            if (v != "B" && v != "T" && v != "C") throw UsageError("--kind: B, T or C");
            o.kind = v[0];
        } else if (a == "--levels") {
            if (v == "auto") continue;
            const auto parts = split(v, ',');
            if (parts.size() != 6) throw UsageError("--levels: auto or six levels L1,...,L6");
            for (int k = 0; k < 6; ++k) o.levels[static_cast<std::size_t>(k + 1)] = intOption(a, parts[static_cast<std::size_t>(k)], INT32_MIN, INT32_MAX);
            o.autoLevels = false;
        } else if (a == "--height") {
            o.height = intOption(a, v, INT32_MIN, INT32_MAX);
            o.heightGiven = true;
        } else if (a == "--threads") {
            o.threads = intOption(a, v, 0, 256);
        } else if (a == "--screen") {
            const auto wh = split(v, 'x');
            if (wh.size() != 2) throw UsageError("--screen: WxH");
            o.screen.width = intOption(a, wh[0], 200, 100000);
            o.screen.height = intOption(a, wh[1], 200, 100000);
        } else if (a == "--dpi") {
            o.screen.dpi = intOption(a, v, 1, 10000);
        } else if (a == "--grid") {
            o.gridPath = v;
        } else if (a == "--json") {
            o.jsonPath = v;
        } else if (a == "--png" || a == "--bmp") {
            if (!o.picturePath.empty()) throw UsageError("--png and --bmp: one picture at a time");
            o.picturePath = v;
            o.pictureFormat = a == "--png" ? io::PictureFormat::Png : io::PictureFormat::Bmp;
        } else if (a == "--csv") {
            o.csvPath = v;
        } else if (a == "--csv-xy") {
            o.csvXyPath = v;
        } else if (a == "--dxf") {
            o.dxfPath = v;
        } else if (a == "--dxf-type") {
            const auto type = io::dxfOutTypeFromName(v);
            if (!type) throw UsageError("--dxf-type: color, black or colortext");
            o.dxfType = *type;
        } else if (a == "--pdf") {
            o.pdfPath = v;
        } else if (a == "--object-name") {
            o.objectName = v;
        } else if (a == "--date") {
            o.date = v;
            o.dateGiven = true;
        } else if (a == "--area") {
            o.areas.push_back(areaOption(v));
        } else if (a == "--areas-csv") {
            o.areasCsvPath = v;
        } else if (a == "--room-height") {
            o.roomHeight = intOption(a, v, 0, model::kMaxRoomHeightMm);
            o.indirect = true;
        } else if (a == "--work-plane") {
            o.workPlane = intOption(a, v, 0, model::kMaxRoomHeightMm);
            o.indirect = true;
        } else if (a == "--reflectances") {
            o.reflectances = reflectancesOption(v);
            o.indirect = true;
        }
    }
    return o;
}

bool writeGrid(const std::string& path, const calc::IlluminanceGrid& g) {
    std::string bytes;
    bytes.reserve(8 + 4 * static_cast<std::size_t>(g.gridWidth) * static_cast<std::size_t>(g.gridHeight));
    auto put32 = [&bytes](std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((v >> shift) & 0xFF));
    };
    put32(static_cast<std::uint32_t>(g.gridWidth));
    put32(static_cast<std::uint32_t>(g.gridHeight));
    for (std::int32_t row = 0; row < g.gridHeight; ++row) {
        for (std::int32_t col = 0; col < g.gridWidth; ++col) {
            std::uint32_t bits;
            const float v = g.lux[g.index(col, row)];
            std::memcpy(&bits, &v, sizeof bits);
            put32(bits);
        }
    }
    return base::writeWholeFile(path, bytes);
}

// A plan pixel in millimetres from the plan origin.
std::string mmText(const model::Document& doc, std::int32_t pixels) {
    return base::formatFixed(static_cast<double>(pixels) * doc.plan.mmPerPixel, 1);
}

std::string luxText(double lux) { return calc::luxFigure(lux); }
std::string ratioText(double ratio) { return calc::ratioFigure(ratio); }

std::string jsonString(const std::string& utf8) {
    std::string s = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += ch;
        } else if (c < 0x20) {
            static const char* hex = "0123456789abcdef";
            s += "\\u00";
            s += hex[c >> 4];
            s += hex[c & 15];
        } else {
            s += ch;
        }
    }
    return s + "\"";
}

// A figure that may be missing: fixed decimals, or null.
std::string optionalText(const std::optional<double>& v, int decimals) {
    return v && std::isfinite(*v) ? base::formatFixed(*v, decimals) : "null";
}

std::string areasJson(const model::Document& doc, const catalog::TourokuTable& touroku, const calc::ResultStats& st,
                      bool reflections, bool power) {
    std::string s;
    for (const calc::AreaFigures& f : st.areas) {
        const std::string parts = reflections ? ",\"directAverageLux\":" + luxText(f.averageLux - f.indirectAverageLux) +
                                                    ",\"indirectAverageLux\":" + luxText(f.indirectAverageLux)
                                              : std::string();
        const model::AreaRecord& a = f.area;
        s += std::string(s.empty() ? "" : ",") + "{\"name\":" + jsonString(a.name) + ",\"x1\":" + mmText(doc, a.x1) +
             ",\"y1\":" + mmText(doc, a.y1) + ",\"x2\":" + mmText(doc, a.x2) + ",\"y2\":" + mmText(doc, a.y2) +
             ",\"points\":" + base::formatInt(f.points) + ",\"averageLux\":" + luxText(f.averageLux) + parts +
             ",\"minLux\":" + luxText(f.minLux) + ",\"maxLux\":" + luxText(f.maxLux) +
             ",\"uniformity\":" + ratioText(f.uniformity) + ",\"minToMax\":" + ratioText(f.minToMax) +
             ",\"requiredLux\":" + base::formatInt(a.requiredLux) +
             ",\"requiredUniformity\":" + base::formatFixed(a.requiredUniformity, 2) +
             ",\"pass\":" + (f.pass ? "true" : "false") +
             (power ? ",\"wattsPerSquareMetre\":" + optionalText(calc::areaWattsPerSquareMetre(doc.plan, touroku, a), 2)
                    : std::string()) +
             "}";
    }
    return "[" + s + "]";
}

// The task-area table for a spreadsheet: a header line, then one line per area; the name in CP932
// like every text file of the program, quoted.
std::string areasCsv(const model::Document& doc, const calc::ResultStats& st) {
    std::string out =
        "name,x1_mm,y1_mm,x2_mm,y2_mm,points,average_lux,min_lux,max_lux,uniformity,min_to_max,required_lux,"
        "required_uniformity,pass\r\n";
    for (const calc::AreaFigures& f : st.areas) {
        const model::AreaRecord& a = f.area;
        std::string name;
        for (const char ch : a.name) name += ch == '"' ? std::string("\"\"") : std::string(1, ch);
        out += "\"" + base::utf8ToCp932(name) + "\"," + mmText(doc, a.x1) + "," + mmText(doc, a.y1) + "," + mmText(doc, a.x2) +
               "," + mmText(doc, a.y2) + "," + base::formatInt(f.points) + "," + luxText(f.averageLux) + "," +
               luxText(f.minLux) + "," + luxText(f.maxLux) + "," + ratioText(f.uniformity) + "," + ratioText(f.minToMax) +
               "," + base::formatInt(a.requiredLux) + "," + base::formatFixed(a.requiredUniformity, 2) + "," +
               (f.pass ? "pass" : "fail") + "\r\n";
    }
    return out;
}

// A figure of the reflection solve: fixed decimals, or null where the solve gave no finite number.
std::string figureText(double v, int decimals) { return std::isfinite(v) ? base::formatFixed(v, decimals) : "null"; }

// The convergence measure, small numbers kept readable: 1.234e-05.
std::string residualText(double v) {
    if (!std::isfinite(v)) return "null";
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 3);
    return std::string(buf, end.ptr);
}

// What the reflections added: the room, the flux, each kind of surface and the work plane.
std::string indirectJson(const calc::IndirectFigures& r) {
    std::string surfaces;
    for (const calc::SurfaceFigures& f : r.surfaces) {
        surfaces += std::string(surfaces.empty() ? "" : ",") + "{\"kind\":" + jsonString(f.kind) +
                    ",\"area\":" + figureText(f.area, 4) + ",\"directLux\":" + figureText(f.directLux, 3) +
                    ",\"indirectLux\":" + figureText(f.indirectLux, 3) + ",\"litArea\":" + figureText(f.litArea, 4) +
                    ",\"litLux\":" + figureText(f.litLux, 3) + ",\"minLux\":" + figureText(f.minLux, 3) +
                    ",\"uniformity\":" + figureText(f.uniformity(), 3) + "}";
    }
    // Walls and ceiling against the least they should receive, the general and the offices' figure.
    std::string checks;
    for (const calc::SurfaceRequirement& q : calc::kSurfaceRequirements) {
        for (const calc::SurfaceFigures& f : r.surfaces) {
            if (f.kind != q.kind) continue;
            const calc::SurfaceCheck c = calc::checkSurface(f, q);
            checks += std::string(checks.empty() ? "" : ",") + "{\"kind\":" + jsonString(f.kind) +
                      ",\"averageLux\":" + figureText(c.averageLux, 2) + ",\"uniformity\":" + figureText(c.uniformity, 3) +
                      ",\"requiredLux\":" + base::formatFixed(q.lux, 0) + ",\"requiredLuxOffices\":" +
                      base::formatFixed(q.luxOffices, 0) + ",\"requiredUniformity\":" + base::formatFixed(q.uniformity, 2) +
                      ",\"pass\":" + (c.pass ? "true" : "false") +
                      ",\"passOffices\":" + (c.passOffices ? "true" : "false") + "}";
        }
    }
    return "{\"roomHeight\":" + figureText(r.room.roomHeight, 0) + ",\"workPlaneHeight\":" + figureText(r.room.workPlaneHeight, 0) +
           ",\"reflectances\":{\"ceiling\":" + figureText(r.room.ceiling, 3) + ",\"walls\":" + figureText(r.room.walls, 3) +
           ",\"floor\":" + figureText(r.room.floor, 3) + "},\"luminaireFlux\":" + figureText(r.luminaireFlux, 2) +
           ",\"surfaces\":[" + surfaces + "],\"surfaceChecks\":[" + checks + "],\"workPlane\":{\"directAverageLux\":" + figureText(r.directAverageLux, 3) +
           ",\"indirectAverageLux\":" + figureText(r.indirectAverageLux, 3) + "},\"elements\":" + base::formatInt(r.elements) +
           ",\"iterations\":" + base::formatInt(r.iterations) + ",\"residual\":" + residualText(r.residual) + "}";
}

// The room's floor and what it received; null for a plan without walls to bound a floor.
std::string roomJson(const calc::RoomFigures& room) {
    const calc::AreaFigures& f = room.figures;
    if (f.points == 0) return "null";
    return "{\"floorArea\":" + base::formatFixed(room.floorArea, 3) + ",\"points\":" + base::formatInt(f.points) +
           ",\"averageLux\":" + luxText(f.averageLux) + ",\"minLux\":" + luxText(f.minLux) +
           ",\"maxLux\":" + luxText(f.maxLux) + ",\"uniformity\":" + ratioText(f.uniformity) + "}";
}

// The luminaires per type with their rated power, and the totals over the room's floor.
std::string powerJson(const calc::PowerFigures& p, const calc::RoomFigures& room) {
    std::string slots;
    for (const calc::PowerSlot& r : p.types) {
        slots += std::string(slots.empty() ? "" : ",") + "{\"slot\":" + base::formatInt(r.slot) +
                 ",\"hinban\":" + jsonString(r.hinban) + ",\"count\":" + base::formatInt(r.count) +
                 ",\"watts\":" + (r.watts > 0 ? base::formatFixed(r.watts, 2) : "null") +
                 ",\"lumens\":" + base::formatFixed(r.lumens, 0) + "}";
    }
    const double floor = room.figures.points > 0 ? room.floorArea : 0;
    return "{\"slots\":[" + slots + "],\"totalWatts\":" + base::formatFixed(p.totalWatts, 2) +
           ",\"wattsPerSquareMetre\":" + optionalText(calc::wattsPerSquareMetre(p.totalWatts, floor), 2) +
           ",\"lumensPerWatt\":" + optionalText(p.lumensPerWatt, 2) + "}";
}

std::string summaryJson(const model::Document& doc, const catalog::TourokuTable& touroku, const calc::IlluminanceGrid& g,
                        const calc::ResultStats& st, const calc::IndirectFigures& indirect, int step, double seconds) {
    using base::formatInt;
    const calc::PowerFigures power = calc::powerFiguresOf(doc.plan, touroku);
    std::string levels;
    for (int i = 1; i <= 6; ++i) levels += (i > 1 ? "," : "") + formatInt(doc.tables.luxLevel[static_cast<std::size_t>(i)]);
    return "{\"maxLux\":" + formatInt(st.maxLux) + ",\"averageLux\":" + formatInt(st.averageLux) +
           ",\"minLux\":" + luxText(st.lit.minLux) + ",\"uniformity\":" + ratioText(st.lit.uniformity) +
           ",\"litMinCol\":" + formatInt(st.litMinCol) + ",\"litMaxCol\":" + formatInt(st.litMaxCol) +
           ",\"litMinRow\":" + formatInt(st.litMinRow) + ",\"litMaxRow\":" + formatInt(st.litMaxRow) + ",\"levels\":[" + levels +
           "],\"gridWidth\":" + formatInt(g.gridWidth) + ",\"gridHeight\":" + formatInt(g.gridHeight) +
           ",\"calcStep\":" + formatInt(step) + ",\"fixtures\":" + formatInt(doc.plan.kigu.count()) +
           ",\"walls\":" + formatInt(doc.plan.lines.count()) + ",\"pillars\":" + formatInt(doc.plan.hasira.count()) +
           ",\"seconds\":" + base::formatFixed(seconds, 3) + ",\"areas\":" + areasJson(doc, touroku, st, indirect.on, power.given) +
           (indirect.on ? ",\"indirect\":" + indirectJson(indirect) : std::string()) + ",\"room\":" + roomJson(st.room) +
           (power.given ? ",\"power\":" + powerJson(power, st.room) : std::string()) + "}\n";
}

void refuse(CliRun& run, const std::string& text, const std::string& title) {
    run.services.messageBox(text, title, ui::Icon::Stop, ui::Buttons::Ok);
}

// The light colours of the catalogue (T_RGB.LEC) as the colour-temperature map paints them. Only the
// colour-temperature display needs them; for the others a missing file is no reason to refuse.
bool loadLightColours(CliRun& run, bool needed) {
    const std::string path = cliCatalogDir(run) + "/T_RGB.LEC";
    catalog::LightColorTable colours;
    if (!needed) {
        std::ifstream probe(path, std::ios::binary);
        if (!probe) return true;
    }
    if (!catalog::Catalog::loadColours(path, colours, run.services)) return !needed;
    if (colours.loaded <= 0) {
        if (!needed) return true;
        const auto naming = run.about(path);
        refuse(run, kMsgNoLightColours, "");
        return false;
    }
    fillCtColour(run.doc.tables, colours);
    return true;
}

// The kinds of task the areas of this run name, from the catalogue folder's table and the user's own.
void resolveAreaPresets(CliRun& run, CalcOptions& o) {
    std::optional<std::vector<model::TaskPreset>> presets;
    for (CalcOptions::AreaInMm& a : o.areas) {
        if (a.preset.empty()) continue;
        if (!presets) presets = model::installedTaskPresets(cliCatalogDir(run));
        const auto p = model::findTaskPreset(*presets, a.preset);
        if (!p) throw UsageError("--area: no kind of task named " + a.preset + " in " + model::kTaskPresetsFile);
        a.requiredLux = p->lux;
        a.requiredUniformity = p->uniformity;
    }
}

// Levels out of order or below one, or a ceiling height the settings dialog would refuse.
bool optionsAccepted(CliRun& run, const CalcOptions& o) {
    if (!o.autoLevels) {
        for (int i = 1; i <= 5; ++i) {
            if (o.levels[static_cast<std::size_t>(i)] >= o.levels[static_cast<std::size_t>(i + 1)]) {
                refuse(run, kMsgLevelOrder, kTitleSettingError);
                return false;
            }
        }
        if (o.levels[1] <= 0) {
            refuse(run, kMsgLevelMin, kTitleSettingError);
            return false;
        }
    }
    if (o.heightGiven) {
        const std::string refusal = calc::tenDakaRefusal(o.height);
        if (!refusal.empty()) {
            refuse(run, refusal, kTitleSettingError);
            return false;
        }
    }
    return true;
}

// The areas of this run join the plan's own in memory; nothing is saved.
void addRunAreas(model::Document& doc, const std::vector<CalcOptions::AreaInMm>& areas) {
    for (const CalcOptions::AreaInMm& m : areas) {
        auto pixels = [&doc](std::int32_t mm) {
            const double p = std::trunc(static_cast<double>(mm) / doc.plan.mmPerPixel + (mm < 0 ? -0.5 : 0.5));
            return static_cast<std::int32_t>(std::clamp(p, -2147483648.0, 2147483647.0));
        };
        model::AreaRecord a{m.name, pixels(m.x1), pixels(m.y1), pixels(m.x2), pixels(m.y2), m.requiredLux, m.requiredUniformity,
                            m.preset};
        model::normaliseArea(a);
        doc.plan.areas.push_back(a);
    }
}

// Loads the project and gives it this run's ceiling height, areas, display kind and levels, in memory only.
bool prepareDocument(CliRun& run, const CalcOptions& o) {
    run.screen = o.screen;
    if (!run.loadProject(run.args[1])) return false;
    if (!loadLightColours(run, o.kind == 'C')) return false;
    model::Document& doc = run.doc;
    if (doc.plan.kigu.count() == 0) {
        refuse(run, kMsgNoFixtures, "");
        return false;
    }
    if (o.heightGiven) {
        doc.tenDaka = o.height;
        doc.tenDakaLabel = base::formatInt(o.height);
    }
    addRunAreas(doc, o.areas);
    // The screen asked for (--screen) may alone ask for a surface too large.
    if (model::surfaceTooLarge(doc.surfaceWidth, doc.surfaceHeight)) {
        run.services.showError(model::surfaceRefusal(doc.surfaceWidth, doc.surfaceHeight));
        return false;
    }
    doc.displayKind = o.kind;
    if (!o.autoLevels) {
        doc.rangeMode = true;
        doc.tables.userLevel = o.levels;
        doc.tables.luxLevel = o.levels;
    }
    return true;
}

// The run's reflections over the project's room, in memory only. Empty when the room they make can be
// calculated; otherwise what is wrong with the options (a work plane at or above the ceiling).
std::string applyRoomOptions(model::Document& doc, const CalcOptions& o) {
    if (!o.indirect) return {};
    model::RoomRecord& room = doc.plan.room;
    room.on = true;
    if (o.roomHeight) room.roomHeight = *o.roomHeight;
    if (o.workPlane) room.workPlaneHeight = *o.workPlane;
    if (o.reflectances) {
        room.ceiling = (*o.reflectances)[0];
        room.walls = (*o.reflectances)[1];
        room.floor = (*o.reflectances)[2];
    }
    if (model::roomFault(room) == model::RoomFault::None) return {};
    return "--work-plane " + base::formatInt(room.workPlaneHeight) + " is not below the room height " +
           base::formatInt(room.roomHeight);
}

calc::CalcSettings settingsOf(const CalcOptions& o) {
    calc::CalcSettings settings;
    settings.calcStep = o.step;
    settings.maintenanceOn = o.maintenanceOn;
    settings.maintenanceClass = o.maintenanceClass;
    settings.showFixturesOnResult = o.fixtures;
    settings.calcConfirmed = true;
    return settings;
}

// What one calculation leaves behind for the outputs to read.
struct CalcResult {
    calc::IlluminanceGrid grid;
    calc::ResultStats stats;
    calc::CalcSettings settings;
    calc::ContourSet contours;
    calc::IndirectFigures indirect;  // off unless the run calculated reflections
};

bool refuseWrite(CliRun& run) {
    run.services.messageBox(model::kMsgCannotWrite, model::kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
    return false;
}

// The designer's report of the presented result: the colour map painted afresh, the contour lines of
// the current levels, the kinds of task of the catalogue folder for the requirements' sources.
bool writeReport(CliRun& run, const CalcOptions& o, view::ResultPresenter& presenter, CalcResult& r) {
    model::Document& doc = run.doc;
    const auto naming = run.about(o.pdfPath);
    presenter.ensureContours();
    const print::ReportPictures pictures = print::reportPictures(doc, run.touroku, r.grid, r.stats, run.services);
    print::ReportContent content;
    content.doc = &doc;
    content.touroku = &run.touroku;
    content.stats = &r.stats;
    content.settings = r.settings;
    content.indirect = &r.indirect;
    content.presets = model::installedTaskPresets(cliCatalogDir(run));
    content.pictures = pictures.view();
    content.painters = print::viewSheetPainters(doc, r.contours, run.services, nullptr);
    content.objectName = o.objectName;
    content.date = o.dateGiven ? o.date : run.services.today();
    if (!print::printReportPdf(o.pdfPath, content, run.services)) return refuseWrite(run);
    return true;
}

// The picture, the CSV, the DXF and the printed sheet: the outputs drawn from the presented result.
bool writeDrawnOutputs(CliRun& run, const CalcOptions& o, view::ResultPresenter& presenter, CalcResult& r,
                       const ui::Surface& surface) {
    model::Document& doc = run.doc;
    if (!o.picturePath.empty()) {
        const auto naming = run.about(o.picturePath);
        if (!io::savePlanPicture(o.picturePath, surface, io::legendStampOf(presenter.legend(), presenter.mainWindow),
                                 run.services, o.pictureFormat))
            return false;
    }
    if (!o.csvPath.empty()) {
        const auto naming = run.about(o.csvPath);
        if (!view::writeIlluminanceCsv(r.grid, r.stats, o.csvPath, run.services)) return false;
    }
    if (!o.csvXyPath.empty()) {
        const auto naming = run.about(o.csvXyPath);
        if (!view::writeCsvBytes(view::illuminanceCsvXyText(r.grid, r.stats, doc.plan.mmPerPixel), o.csvXyPath, run.services))
            return false;
    }
    if (!o.dxfPath.empty()) {
        const auto naming = run.about(o.dxfPath);
        io::DxfExportInput input{doc, r.contours, r.stats, [&presenter] { presenter.rebuildContours(); }, o.dxfJoin};
        if (r.indirect.on) input.reflections = r.indirect.room;
        if (!io::exportDxf(o.dxfPath, o.dxfType, input, cliCatalogDir(run), run.services)) return false;
    }
    if (!o.pdfPath.empty() && o.report) return writeReport(run, o, presenter, r);
    if (!o.pdfPath.empty()) {
        const auto naming = run.about(o.pdfPath);
        // The sheet draws the contour display as vectors: the set must belong to the current levels.
        if (doc.displayKind == 'T') presenter.ensureContours();
        const ui::Surface* scale = presenter.temperatureScale().picture.get();
        const print::SheetPainters painters = print::viewSheetPainters(doc, r.contours, run.services, scale);
        const std::string date = o.dateGiven ? o.date : run.services.today();
        if (!print::printDistributionMapPdf(o.pdfPath, doc, run.touroku, r.stats, r.settings, surface, painters, o.objectName,
                                            date, run.services, {}, &r.indirect))
            return refuseWrite(run);
    }
    return true;
}

// The area table, the raw grid and the summary: the outputs written from the figures alone.
bool writeFigureOutputs(CliRun& run, const CalcOptions& o, const CalcResult& r, double seconds) {
    const model::Document& doc = run.doc;
    if (!o.areasCsvPath.empty() && !base::writeWholeFile(o.areasCsvPath, areasCsv(doc, r.stats))) {
        const auto naming = run.about(o.areasCsvPath);
        return refuseWrite(run);
    }
    if (!o.gridPath.empty() && !writeGrid(o.gridPath, r.grid)) {
        const auto naming = run.about(o.gridPath);
        return refuseWrite(run);
    }
    if (!o.jsonPath.empty()) {
        const std::string json = summaryJson(doc, run.touroku, r.grid, r.stats, r.indirect, o.step, seconds);
        if (!base::writeWholeFile(o.jsonPath, json)) {
            const auto naming = run.about(o.jsonPath);
            return refuseWrite(run);
        }
    }
    return true;
}

} // namespace

int runCalcCommand(CliRun& run) {
    if (run.args.size() < 2) return kExitUsage;
    CalcOptions o;
    try {
        o = parseOptions(run.args);
        resolveAreaPresets(run, o);
    } catch (const UsageError& e) {
        run.err << "ordivan-cli: " << run.args[0] << ": " << e.what() << "\n";
        return kExitUsage;
    }
    if (!outputsAccepted(run, outputsOf(o), run.args[1]) || !optionsAccepted(run, o)) return kExitRefused;
    const auto naming = run.about(run.args[1]);  // what goes wrong from here on is about the project
    if (!prepareDocument(run, o)) return kExitRefused;
    model::Document& doc = run.doc;
    if (const std::string wrong = applyRoomOptions(doc, o); !wrong.empty()) {
        run.err << "ordivan-cli: " << run.args[0] << ": " << wrong << "\n";
        return kExitUsage;
    }
    if (o.progress && run.fileMessages) run.fileMessages->showProgressOn(&run.err);

    CalcResult r;
    r.settings = settingsOf(o);
    const std::unique_ptr<ui::Surface> surface = run.services.createSurface(doc.surfaceWidth, doc.surfaceHeight);
    if (!surface) {
        run.services.showError("描画面を作成できません (" + base::formatInt(doc.surfaceWidth) + "×" + base::formatInt(doc.surfaceHeight) + ")");
        return kExitRefused;
    }
    view::ResultPresenter presenter(doc, run.shown, r.grid, r.stats, r.settings, r.contours, *surface, run.services);

    const auto t0 = std::chrono::steady_clock::now();
    try {
        if (view::calculateAndPresent(presenter, run.touroku, o.threads) != calc::CalcOutcome::Done) return kExitRefused;
    } catch (const base::ConversionError& e) {
        run.services.showError(e.what());
        return kExitRefused;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.indirect = presenter.indirect();

    if (!writeDrawnOutputs(run, o, presenter, r, *surface) || !writeFigureOutputs(run, o, r, seconds)) return kExitRefused;
    return kExitOk;
}

} // namespace app
