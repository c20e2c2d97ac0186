// ordivan-cli calc: one headless calculation of a project and its outputs (picture, CSV, DXF, printed sheet, grid, summary).
#include "app/Cli.h"
#include "app/CliCatalog.h"
#include "base/Text.h"
#include "base/TextFile.h"
#include "calc/Calculation.h"
#include "catalog/Catalog.h"
#include "catalog/Registration.h"
#include "io/DxfWriter.h"
#include "io/ExportPicture.h"
#include "model/ProjectFile.h"
#include "print/DistributionSheet.h"
#include "print/ViewPainters.h"
#include "view/IlluminanceCsv.h"
#include "view/PlanRender.h"
#include "view/ResultPresenter.h"

#include <cstring>

#include <chrono>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

namespace app {
namespace {

constexpr const char* kMsgNoFixtures = "器具が配置されていません。";
constexpr const char* kMsgLevelOrder = "数値の順序を正しくありません";
constexpr const char* kMsgLevelMin = "１以上値を設定して下さい";
constexpr const char* kMsgHeightInvalid = "計算天高を正しく入力して下さい";
constexpr const char* kMsgHeightUnit = "計算天高は mm で入力して下さい";
constexpr const char* kTitleSettingError = "設定エラー";
// Beyond this many pixels the grid alone would outgrow any sensible memory budget.
constexpr long long kMaxSurfacePixels = 64LL * 1024 * 1024;

struct CalcOptions {
    int step = 3;
    bool maintenanceOn = true;
    int maintenanceClass = 1;
    char kind = 'B';
    bool autoLevels = true;
    std::array<std::int32_t, 7> levels{};
    bool fixtures = false;
    bool heightGiven = false;
    std::int32_t height = 0;
    int threads = 0;
    ScreenInfo screen;
    std::string gridPath, jsonPath;
    std::string picturePath;  // --png or --bmp
    io::PictureFormat pictureFormat = io::PictureFormat::Png;
    std::string csvPath, dxfPath, pdfPath;
    io::DxfOutType dxfType = io::DxfOutType::ColorOut;
    bool dateGiven = false;
    std::string objectName, date;
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

CalcOptions parseOptions(const std::vector<std::string>& args) {
    static const std::set<std::string> withValue = {
        "--step", "--maintenance", "--kind", "--levels", "--height", "--threads",     "--screen", "--dpi",  "--grid", "--json",
        "--png",  "--bmp",         "--csv",  "--dxf",    "--dxf-type", "--pdf", "--object-name", "--date", "--data"};
    CalcOptions o;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--fixtures") {
            o.fixtures = true;
            continue;
        }
        if (!withValue.count(a)) throw UsageError("unknown option " + a);
        if (i + 1 >= args.size()) throw UsageError(a + ": value missing");
        const std::string v = args[++i];
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
        }
    }
    for (const std::string* path : {&o.gridPath, &o.picturePath, &o.csvPath, &o.dxfPath, &o.pdfPath}) {
        if (*path == "-") throw UsageError("only --json writes to the standard output");
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

std::string summaryJson(const model::Document& doc, const calc::IlluminanceGrid& g, const calc::ResultStats& st, int step,
                        double seconds) {
    using base::formatInt;
    std::string levels;
    for (int i = 1; i <= 6; ++i) levels += (i > 1 ? "," : "") + formatInt(doc.tables.luxLevel[static_cast<std::size_t>(i)]);
    return "{\"maxLux\":" + formatInt(st.maxLux) + ",\"averageLux\":" + formatInt(st.averageLux) +
           ",\"litMinCol\":" + formatInt(st.litMinCol) + ",\"litMaxCol\":" + formatInt(st.litMaxCol) +
           ",\"litMinRow\":" + formatInt(st.litMinRow) + ",\"litMaxRow\":" + formatInt(st.litMaxRow) + ",\"levels\":[" + levels +
           "],\"gridWidth\":" + formatInt(g.gridWidth) + ",\"gridHeight\":" + formatInt(g.gridHeight) +
           ",\"calcStep\":" + formatInt(step) + ",\"fixtures\":" + formatInt(doc.plan.kigu.count()) +
           ",\"walls\":" + formatInt(doc.plan.lines.count()) + ",\"pillars\":" + formatInt(doc.plan.hasira.count()) +
           ",\"seconds\":" + base::formatFixed(seconds, 3) + "}\n";
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
    if (!catalog::Catalog::loadColours(path, colours, run.services) || colours.loaded <= 0) return !needed;
    fillCtColour(run.doc.tables, colours);
    return true;
}

// A plan the calculation cannot give a meaningful result for is refused before it starts, with
// the message the program shows for the same want elsewhere, once.
bool planCalculable(CliRun& run) {
    const model::Document& doc = run.doc;
    if (!(doc.plan.mmPerPixel > 0)) {
        refuse(run, view::kNoScaleMessage, "");
        return false;
    }
    if (doc.tenDaka <= 0) {
        refuse(run, kMsgHeightInvalid, kTitleSettingError);
        return false;
    }
    bool unregistered = false;
    doc.plan.kigu.forEach([&](const model::KiguRecord& k) { unregistered = unregistered || !run.touroku[k.typeIndex].isRegistered(); });
    if (unregistered) {
        refuse(run, catalog::kMsgNotRegistered, "");
        return false;
    }
    return true;
}

} // namespace

int runCalcCommand(CliRun& run) {
    if (run.args.size() < 2) return kExitUsage;
    CalcOptions o;
    try {
        o = parseOptions(run.args);
    } catch (const UsageError& e) {
        run.err << "ordivan-cli calc: " << e.what() << "\n";
        return kExitUsage;
    }
    if (!o.autoLevels) {
        for (int i = 1; i <= 5; ++i) {
            if (o.levels[static_cast<std::size_t>(i)] >= o.levels[static_cast<std::size_t>(i + 1)]) {
                refuse(run, kMsgLevelOrder, kTitleSettingError);
                return kExitRefused;
            }
        }
        if (o.levels[1] <= 0) {
            refuse(run, kMsgLevelMin, kTitleSettingError);
            return kExitRefused;
        }
    }
    if (o.heightGiven && o.height <= 0) {
        refuse(run, kMsgHeightInvalid, kTitleSettingError);
        return kExitRefused;
    }
    if (o.heightGiven && o.height < 100) {
        refuse(run, kMsgHeightUnit, kTitleSettingError);
        return kExitRefused;
    }

    run.screen = o.screen;
    if (!run.loadProject(run.args[1])) return kExitRefused;
    if (!loadLightColours(run, o.kind == 'C')) return kExitRefused;
    model::Document& doc = run.doc;
    if (doc.plan.kigu.count() == 0) {
        refuse(run, kMsgNoFixtures, "");
        return kExitRefused;
    }
    if (o.heightGiven) {
        doc.tenDaka = o.height;
        doc.tenDakaLabel = base::formatInt(o.height);
    }
    if (!planCalculable(run)) return kExitRefused;
    if (static_cast<long long>(doc.surfaceWidth) * doc.surfaceHeight > kMaxSurfacePixels || doc.surfaceWidth <= 0 ||
        doc.surfaceHeight <= 0) {
        run.services.showError("描画面が大きすぎます (" + base::formatInt(doc.surfaceWidth) + "×" + base::formatInt(doc.surfaceHeight) + ")");
        return kExitRefused;
    }
    doc.displayKind = o.kind;
    if (!o.autoLevels) {
        doc.rangeMode = true;
        doc.tables.userLevel = o.levels;
        doc.tables.luxLevel = o.levels;
    }

    calc::IlluminanceGrid grid;
    calc::ResultStats stats;
    calc::CalcSettings settings;
    settings.calcStep = o.step;
    settings.maintenanceOn = o.maintenanceOn;
    settings.maintenanceClass = o.maintenanceClass;
    settings.showFixturesOnResult = o.fixtures;
    settings.calcConfirmed = true;
    calc::ContourSet contours;
    const std::unique_ptr<ui::Surface> surface = run.services.createSurface(doc.surfaceWidth, doc.surfaceHeight);
    if (!surface) {
        run.services.showError("描画面を作成できません (" + base::formatInt(doc.surfaceWidth) + "×" + base::formatInt(doc.surfaceHeight) + ")");
        return kExitRefused;
    }
    view::ResultPresenter presenter(doc, run.shown, grid, stats, settings, contours, *surface, run.services);

    const auto t0 = std::chrono::steady_clock::now();
    try {
        if (view::calculateAndPresent(presenter, run.touroku, o.threads) != calc::CalcOutcome::Done) return kExitRefused;
    } catch (const base::ConversionError& e) {
        run.services.showError(e.what());
        return kExitRefused;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();

    if (!o.picturePath.empty()) {
        const auto naming = run.about(o.picturePath);
        if (!io::savePlanPicture(o.picturePath, *surface, io::legendStampOf(presenter.legend(), presenter.mainWindow),
                                 run.services, o.pictureFormat))
            return kExitRefused;
    }
    if (!o.csvPath.empty()) {
        const auto naming = run.about(o.csvPath);
        if (!view::writeIlluminanceCsv(grid, stats, o.csvPath, run.services)) return kExitRefused;
    }
    if (!o.dxfPath.empty()) {
        const auto naming = run.about(o.dxfPath);
        const io::DxfExportInput input{doc, contours, stats, [&presenter] { presenter.rebuildContours(); }};
        if (!io::exportDxf(o.dxfPath, o.dxfType, input, cliCatalogDir(run), run.services)) return kExitRefused;
    }
    if (!o.pdfPath.empty()) {
        const auto naming = run.about(o.pdfPath);
        // The sheet draws the contour display as vectors: the set must belong to the current levels.
        if (doc.displayKind == 'T') presenter.ensureContours();
        const ui::Surface* scale = presenter.temperatureScale().picture.get();
        const print::SheetPainters painters = print::viewSheetPainters(doc, contours, run.services, scale);
        const std::string date = o.dateGiven ? o.date : run.services.today();
        if (!print::printDistributionMapPdf(o.pdfPath, doc, run.touroku, stats, settings, *surface, painters, o.objectName,
                                            date, run.services)) {
            run.services.messageBox(model::kMsgCannotWrite, model::kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
            return kExitRefused;
        }
    }
    if (!o.gridPath.empty() && !writeGrid(o.gridPath, grid)) {
        const auto naming = run.about(o.gridPath);
        run.services.messageBox(model::kMsgCannotWrite, model::kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
        return kExitRefused;
    }
    if (!o.jsonPath.empty()) {
        const std::string json = summaryJson(doc, grid, stats, o.step, seconds);
        if (o.jsonPath == "-") {
            run.out << json;
        } else {
            if (!base::writeWholeFile(o.jsonPath, json)) {
                const auto naming = run.about(o.jsonPath);
                run.services.messageBox(model::kMsgCannotWrite, model::kTitleError, ui::Icon::Stop, ui::Buttons::Ok);
                return kExitRefused;
            }
        }
    }
    return kExitOk;
}

} // namespace app
