// Light distribution curve: layout and scale rules, the polar diagram, half-illuminance angles and the printed sheet.
#include "print/CurveSheet.h"

#include "base/Cp932.h"
#include "base/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace print {
namespace {

constexpr double kPi = 3.14159265358979323846;
double rad(double deg) { return deg * kPi / 180.0; }

int trunc(double v) {
    if (!std::isfinite(v)) return 0;
    if (v > 1e9) return 1000000000;
    if (v < -1e9) return -1000000000;
    return static_cast<int>(v);
}

std::string cut(const std::string& text, std::size_t field) { return base::truncateCp932(text, field - 1); }

// Centre height of each layout in diagram units below the top edge.
constexpr std::array<float, 4> kCentreHeight = {18.5f, 4.5f, 7.257f, 9.991f};

void polylineOf(ui::Surface& s, const CurveSheet& sheet, const DiagramGeometry& g, int plane, bool leftHalf,
                int scaleMax) {
    std::vector<ui::Point> pts;
    pts.reserve(catalog::kGammaCount);
    // A radius far outside the picture is clamped so that hostile tables cannot overflow the device.
    const double limit = 4.0 * g.R;
    for (int gamma = 0; gamma < catalog::kGammaCount; ++gamma) {
        double r = static_cast<double>(trunc(sheet.value(plane, gamma) / scaleMax * g.R));
        r = std::clamp(r, -limit, limit);
        pts.push_back(g.at(gamma, r, leftHalf));
    }
    s.polyline(pts);
}

void ring(ui::Surface& s, const DiagramGeometry& g, int r) { s.ellipse(g.cx - r, g.cy - r, g.cx + r, g.cy + r); }

// A curve's pen is as wide on paper as on the screen: two dots of a 600-dpi page are a hair line that
// the print preview's reduction drops altogether, leaving the diagram without its curve.
ui::Pen curvePen(const ui::Surface& s, const ui::Color& colour, int screenWidth) {
    const int width = s.isPrinter() ? std::max(screenWidth, screenWidth * s.dpiX() / 96) : screenWidth;
    return ui::Pen{colour, width};
}

} // namespace

Zoom zoomIn(Zoom z) { return z == Zoom::Smaller ? Zoom::Normal : Zoom::Larger; }
Zoom zoomOut(Zoom z) { return z == Zoom::Larger ? Zoom::Normal : Zoom::Smaller; }

CurveSheet CurveSheet::from(const catalog::BunpuHinban& t) {
    CurveSheet s;
    s.hinban = cut(t.hinban, kHinbanField);
    s.option = cut(t.option, kOptionField);
    s.haikouCode = cut(t.haikouCode, kHaikouCodeField);
    s.lampNameA = cut(t.lampNameA, kLampNameAField);
    s.lampName = cut(t.lampName, kLampNameField);
    s.tosu = t.tosu;
    s.efficiency = t.efficiency;
    s.maintClass = t.maintClass;
    s.planeCount = t.planeCount;
    s.sizeX = t.sizeX;
    s.sizeY = t.sizeY;
    s.intensity = t.intensity;
    s.kou = t.kou;
    s.kouCatalog = t.kouCatalog;
    s.colorTemp = t.colorTemp;
    s.lampReserved = t.lampReserved;
    s.lampFactor = t.lampFactor;
    return s;
}

int CurveSheet::planesInUse() const { return std::clamp<int>(planeCount, 1, 3); }

double CurveSheet::value(int plane, int gamma) const {
    if (plane < 0 || plane >= catalog::kPlaneCount || gamma < 0 || gamma >= catalog::kGammaCount) return 0;
    const double v = intensity[static_cast<std::size_t>(plane)][static_cast<std::size_t>(gamma)];
    return std::isfinite(v) ? v : 0.0;
}

std::string CurveSheet::lampText() const {
    if (tosu == 1) return lampNameA;
    return lampNameA + " x" + base::formatInt(tosu);
}

CurveMaxima curveMaxima(const CurveSheet& sheet) {
    CurveMaxima m;
    for (int p = 0; p < sheet.planesInUse(); ++p) {
        for (int g = 0; g <= 180; ++g) {
            const double v = sheet.value(p, g);
            m.M = std::max(m.M, v);
            if (g <= 90) m.D = std::max(m.D, v * std::cos(rad(g)));
            else m.U = std::max(m.U, v * std::cos(rad(180 - g)));
        }
    }
    return m;
}

int autoCurveMode(const CurveMaxima& m) {
    if (trunc(m.U) <= 0) return 1;
    if (0.3 * m.D > m.U) return 2;
    if (m.U < 0.6 * m.D) return 3;
    if (trunc(m.D) <= 0) return 0;
    return 3;
}

float stepFactor(int curveMode) { return curveMode == 3 ? 0.8f : 1.0f; }

std::optional<int> chooseScaleMax(double M, int curveMode, Zoom zoom) {
    const float factor = stepFactor(curveMode);
    for (std::size_t i = 0; i < kScaleSteps.size(); ++i) {
        if (static_cast<double>(kScaleSteps[i] * factor) > M) {
            std::size_t j = i;
            if (zoom == Zoom::Larger && i > 0) j = i - 1;
            if (zoom == Zoom::Smaller && i + 1 < kScaleSteps.size()) j = i + 1;
            return kScaleSteps[j];
        }
    }
    return std::nullopt;
}

DiagramGeometry DiagramGeometry::of(int a, int curveMode, int left, int top) {
    DiagramGeometry g;
    g.u = static_cast<float>(a) / 18.5f;
    g.W = trunc(18.5f * g.u);
    g.R = trunc(9.983925f * g.u);
    g.left = left;
    g.top = top;
    g.cx = left + trunc(9.25f * g.u);
    g.cy = top + trunc(kCentreHeight[static_cast<std::size_t>(std::clamp(curveMode, 0, 3))] * g.u);
    g.band = trunc(4.5f * g.u);
    return g;
}

ui::Point DiagramGeometry::at(double gammaDeg, double r, bool leftHalf) const {
    const double dx = std::sin(rad(gammaDeg)) * r;
    const double dy = std::cos(rad(gammaDeg)) * r;
    return {cx + trunc(leftHalf ? -dx : dx), cy + trunc(dy)};
}

namespace {

// The polar grid in its frame: radial lines, rings, the title band, everything outside the square covered.
void drawDiagramGrid(ui::Surface& s, int mode, const DiagramGeometry& g) {
    const int x0 = g.left, y0 = g.top, x1 = g.left + g.W, y1 = g.top + g.W;
    const ui::Pen black{ui::colors::black};
    const ui::Pen grey{kGridGrey};
    auto frame = [&] {
        s.setPen(black);
        s.setBrush(ui::Brush{ui::colors::white, true});
        s.rectangle(x0, y0, x1, y1);
    };
    frame();

    // Radial lines, grey every 10°, then black every 30° over them.
    const int L = trunc(1.7 * g.R);
    for (int pass = 0; pass < 2; ++pass) {
        s.setPen(pass == 0 ? grey : black);
        for (int theta = 0; theta < 360; theta += pass == 0 ? 10 : 30) {
            s.moveTo(g.cx, g.cy);
            s.lineTo(g.cx + trunc(std::sin(rad(theta)) * L), g.cy + trunc(std::cos(rad(theta)) * L));
        }
    }
    s.setBrush(ui::Brush{ui::colors::white, true});
    s.setPen(grey);
    for (int i = 1; i <= 16; ++i) ring(s, g, i * g.R / 10);
    s.setPen(black);
    ring(s, g, g.R / 2);
    ring(s, g, g.R);
    ring(s, g, trunc(1.5 * g.R));
    s.setBrush(ui::Brush{ui::colors::white});
    ring(s, g, g.R / 10);

    // The title band hides the grid behind the heading.
    s.rectangle(x0, y0, x1, y0 + trunc(4.5f * g.u + 1));
    if (mode == 0 || mode == 1) {
        s.moveTo(x0, g.cy);
        s.lineTo(x1, g.cy);
    }
    // Everything of the grid outside the square is covered, then the frame drawn again.
    const int reach = L + 2;
    s.fillRect(ui::Rect{g.cx - reach, g.cy - reach, g.cx + reach, y0}, ui::colors::white);
    s.fillRect(ui::Rect{g.cx - reach, y1, g.cx + reach, g.cy + reach + 1}, ui::colors::white);
    s.fillRect(ui::Rect{g.cx - reach, y0, x0, y1}, ui::colors::white);
    s.fillRect(ui::Rect{x1, y0, g.cx + reach + 1, y1}, ui::colors::white);
    frame();
}

// The unit, the 0° and 90° marks, the angle labels of the layout and the two scale values on their rings.
void drawDiagramLabels(ui::Surface& s, int mode, int scaleMax, const DiagramGeometry& g, double f,
                       const PlaceTextFn& placeText) {
    const int x0 = g.left, y0 = g.top, x1 = g.left + g.W, y1 = g.top + g.W;
    auto size = [&](int sz) { return trunc(sz * f); };
    ui::Font font = s.font();
    font.color = ui::colors::black;
    s.setFont(font);
    placeText(s, x1 - 5, y0 + 5, 9, size(3), "1000lmあたり", false);
    if (mode >= 1) placeText(s, g.cx, y1, 2, size(4), "0ﾟ", true);
    placeText(s, g.cx, y0 + g.band, 2, size(4), "cd", false);
    const std::array<std::array<int, 2>, 4> sideCodes = {{{1, 3}, {7, 9}, {4, 6}, {4, 6}}};
    const auto& sc = sideCodes[static_cast<std::size_t>(std::clamp(mode, 0, 3))];
    placeText(s, x0, g.cy, sc[0], size(4), "90ﾟ", true);
    placeText(s, x1, g.cy, sc[1], size(4), "90ﾟ", true);

    struct AngleLabel {
        int gamma;
        double radius;  // in R
    };
    std::vector<AngleLabel> labels;
    switch (mode) {
    case 0: labels = {{120, 0.9}, {150, 1.5}}; break;
    case 1: labels = {{30, 1.5}, {60, 0.9}}; break;
    case 2: labels = {{30, 1.2}, {60, 0.95}}; break;
    default: labels = {{30, 0.9}, {60, 0.95}, {120, 0.9}}; break;
    }
    for (const AngleLabel& l : labels) {
        const std::string text = base::formatInt(l.gamma) + "ﾟ";
        for (bool leftHalf : {true, false}) {
            const ui::Point p = g.at(l.gamma, l.radius * g.R, leftHalf);
            placeText(s, p.x, p.y, 5, size(4), text, true);
        }
    }

    font.color = kRingValue;
    s.setFont(font);
    const ui::Point half = g.at(mode == 0 ? 165.0 : 15.0, g.R / 2, false);
    placeText(s, half.x, half.y, 5, size(4), base::formatInt(scaleMax / 2), true);
    // The centre of layout "C1" lies on the bottom edge, so its full-scale value sits on the upper ring.
    const ui::Point full = mode == 3 ? g.at(45.0, 0.9 * g.R, false) : g.at(mode == 0 ? 180.0 : 0.0, g.R, false);
    placeText(s, full.x, full.y, 8, size(4), base::formatInt(scaleMax), true);
    font.color = ui::colors::black;
    s.setFont(font);
}

} // namespace

void drawCurveDiagram(ui::Surface& s, const CurveSheet& sheet, int mode, int scaleMax, const DiagramGeometry& g,
                      double f, const PlaceTextFn& placeText) {
    if (scaleMax <= 0) scaleMax = 1;
    drawDiagramGrid(s, mode, g);

    // Curves: the primary style first, then the secondary over it.
    const int planes = sheet.planesInUse();
    s.setPen(curvePen(s, kPrimaryCurve, 2));
    polylineOf(s, sheet, g, planes == 3 ? 2 : 0, true, scaleMax);
    polylineOf(s, sheet, g, 0, false, scaleMax);
    if (planes >= 2) {
        s.setPen(curvePen(s, kSecondaryCurve, 1));
        polylineOf(s, sheet, g, 1, true, scaleMax);
        polylineOf(s, sheet, g, 1, false, scaleMax);
    }
    s.setPen(ui::Pen{ui::colors::black});

    drawDiagramLabels(s, mode, scaleMax, g, f, placeText);
}

void drawCurveKey(ui::Surface& s, const ui::Rect& box, int planes) {
    if (planes < 2 || box.width() <= 0 || box.height() <= 0) return;
    s.setPen(ui::Pen{ui::colors::black});
    s.setBrush(ui::Brush{ui::colors::white});
    s.rectangle(box.left, box.top, box.right, box.bottom);
    const int h = box.height();
    const int lineLeft = box.left + box.width() / 12;
    const int lineRight = box.left + box.width() * 5 / 12;
    ui::Font font = s.font();
    font.color = ui::colors::black;
    font.sizePt = std::max(1, h * 72 / std::max(1, s.dpiY()) / 4);
    s.setFont(font);
    s.setTextBackground(ui::colors::white, false);
    const std::array<std::string, 2> names = {"C0-180", "C90-270"};
    for (int row = 0; row < 2; ++row) {
        const int y = box.top + h * (1 + 2 * row) / 4;
        s.setPen(row == 0 ? curvePen(s, kPrimaryCurve, 2) : curvePen(s, kSecondaryCurve, 1));
        s.moveTo(lineLeft, y);
        s.lineTo(lineRight, y);
        const ui::Size e = s.textExtent(names[static_cast<std::size_t>(row)]);
        s.textOut(lineRight + box.width() / 24, y - e.height / 2, names[static_cast<std::size_t>(row)]);
    }
    s.setPen(ui::Pen{ui::colors::black});
    s.setBrush(ui::Brush{ui::colors::white, true});
}

std::optional<double> halfIlluminanceHalfAngle(const CurveSheet& sheet, int plane) {
    const double e0 = sheet.value(plane, 0);
    if (!(e0 > 0)) return std::nullopt;
    const double half = 0.5 * e0;
    double previous = e0;
    for (int g = 1; g <= 90; ++g) {
        const double c = std::cos(rad(g));
        const double e = sheet.value(plane, g) * c * c * c;
        if (e < half) {
            // Linear between the whole degrees on either side of the crossing.
            return (g - 1) + (previous - half) / (previous - e);
        }
        previous = e;
    }
    return 90.0;
}

HalfIlluminanceAngles halfIlluminanceAngles(const CurveSheet& sheet) {
    HalfIlluminanceAngles a;
    const int planes = sheet.planesInUse();
    auto both = [](std::optional<double> x, std::optional<double> y) -> std::optional<double> {
        if (!x || !y) return std::nullopt;
        return *x + *y;
    };
    const auto c0 = halfIlluminanceHalfAngle(sheet, 0);
    a.first = both(c0, planes == 3 ? halfIlluminanceHalfAngle(sheet, 2) : c0);
    if (planes >= 2) {
        const auto c90 = halfIlluminanceHalfAngle(sheet, 1);
        a.second = both(c90, c90);
    }
    return a;
}

std::string halfIlluminanceText(const CurveSheet& sheet) {
    const HalfIlluminanceAngles a = halfIlluminanceAngles(sheet);
    auto deg = [](std::optional<double> v) { return v ? base::formatInt(trunc(*v + 0.5)) + "ﾟ" : std::string("-"); };
    std::string text = "1/2照度角 : " + deg(a.first);
    if (sheet.planesInUse() >= 2) text += " x" + deg(a.second);
    return text;
}

void CurveView::fill(const catalog::BunpuHinban& type) {
    sheet_ = CurveSheet::from(type);
    maxima_ = curveMaxima(sheet_);
    if (!modePicked_) curveMode_ = autoCurveMode(maxima_);
    filled_ = true;
    rescale();
}

void CurveView::pickLayout(int curveMode) {
    curveMode_ = std::clamp(curveMode, 0, 3);
    modePicked_ = true;
    rescale();
}

void CurveView::enlarge() {
    zoom_ = zoomIn(zoom_);
    rescale();
}

void CurveView::reduce() {
    zoom_ = zoomOut(zoom_);
    rescale();
}

void CurveView::rescale() {
    if (auto s = chooseScaleMax(maxima_.M, curveMode_, zoom_)) scaleMax_ = *s;
}

void CurveView::drawPicture(ui::Surface& picture, const PlaceTextFn& placeText) const {
    picture.fillRect(ui::Rect{0, 0, picture.width(), picture.height()}, ui::colors::white);
    if (!filled_) return;
    const DiagramGeometry g = DiagramGeometry::of(kPictureWidth, curveMode_, 0, kDiagramTop);
    drawCurveDiagram(picture, sheet_, curveMode_, scaleMax_, g, kPictureWidth * 0.012, placeText);
    drawCurveKey(picture, ui::Rect{8, 32, 8 + kKeyWidth, 32 + kKeyHeight}, sheet_.planesInUse());
}

void CurveView::drawExportPicture(ui::Surface& picture, const PlaceTextFn& placeText) const {
    drawPicture(picture, placeText);
    if (!filled_) return;
    placeText(picture, 0, 0, 0, trunc(4 * kPictureWidth * 0.012), sheet_.lampNameA, true);
}

double printedTextFactor(ui::Surface& page, int a, int screenTextHeight) {
    ui::Font font = page.font();
    font.sizePt = 9;
    page.setFont(font);
    const int printerHeight = page.textExtent("W").height;
    double r = 0;
    if (screenTextHeight > 0 && printerHeight > 0) r = static_cast<double>(screenTextHeight) / printerHeight;
    else r = page.dpiY() > 0 ? 96.0 / page.dpiY() : 1.0;
    return a * 0.012 * r;
}

namespace {

// Where the printed value table sits and how its cells are sized.
struct ValueTable {
    int x, y;
    int rows, rowH;
    int firstW, colW;  // the angle column, each plane's column
    int planes;
    int textSize;
};

// The candela values of each plane in 5° steps, one row per angle.
void printValueTable(ui::Surface& page, const CurveSheet& sheet, const ValueTable& t, const PlaceTextFn& placeText) {
    const int tableRight = t.x + t.firstW + t.planes * t.colW;
    const int tableBottom = t.y + (t.rows + 1) * t.rowH;
    page.setPen(ui::Pen{ui::colors::black});
    page.setBrush(ui::Brush{ui::colors::white, true});
    page.rectangle(t.x, t.y, tableRight, tableBottom);
    for (int p = 0; p < t.planes; ++p) {
        const int x = t.x + t.firstW + p * t.colW;
        page.moveTo(x, t.y);
        page.lineTo(x, tableBottom);
    }
    for (int r = 1; r <= t.rows; ++r) {
        page.moveTo(t.x, t.y + r * t.rowH);
        page.lineTo(tableRight, t.y + r * t.rowH);
    }
    const std::array<const char*, 3> planeNames = {"0ﾟ", "90ﾟ", "180ﾟ"};
    for (int p = 0; p < t.planes; ++p)
        placeText(page, t.x + t.firstW + p * t.colW + t.colW / 2, t.y + t.rowH / 2, 5, t.textSize,
                  planeNames[static_cast<std::size_t>(p)], false);
    for (int r = 0; r < t.rows; ++r) {
        const int ym = t.y + (r + 1) * t.rowH + t.rowH / 2;
        placeText(page, t.x + t.firstW / 2, ym, 5, t.textSize, base::formatInt(5 * r) + "ﾟ", false);
        for (int p = 0; p < t.planes; ++p) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%10.2f", sheet.value(p, 5 * r));
            placeText(page, t.x + t.firstW + p * t.colW + trunc(0.1 * t.colW), ym, 4, t.textSize, buf, false);
        }
    }
}

// The heading, the type's particulars, the half-illuminance line and the footer, on the page's grid of units.
void printSheetTexts(ui::Surface& page, const CurveSheet& sheet, const CurveSheetPrintOptions& options, ui::Font font,
                     int uX, int uY, int xoff, const PlaceTextFn& placeText) {
    auto gridText = [&](int col, int row, int pt, const std::string& text) {
        font.sizePt = pt;
        page.setFont(font);
        page.textOut(col * uX, row * uY, text);
    };
    gridText(10, 6, 14, "配光曲線");
    gridText(10, 8, 10, "品番");
    gridText(18, 8, 10, ":");
    gridText(20, 8, 10, sheet.hinban);
    gridText(10, 9, 10, "配光コード");
    gridText(18, 9, 10, ":");
    gridText(20, 9, 10, sheet.haikouCode);
    gridText(10, 11, 10, "適用ランプ");
    gridText(18, 11, 10, ":");

    placeText(page, 14 * uX, 12 * uY, 4, 9, sheet.lampName, false);
    placeText(page, 16 * uX, trunc(12.3 * uY), 7, 6, "(" + sheet.lampNameA + ")", false);
    placeText(page, 55 * uX, 12 * uY, 4, 9, base::formatInt(sheet.kou) + "Lm", false);
    placeText(page, 70 * uX, 12 * uY, 4, 9, base::formatInt(sheet.colorTemp) + "K", false);

    gridText(uX > 0 ? xoff / uX : 0, 42, 10, halfIlluminanceText(sheet));
    gridText(65, 48, 9, "ZOLT Lighting CORP    " + options.date);
    gridText(65, 49, 9, options.version);
}

} // namespace

void printCurveSheet(ui::Surface& page, const CurveView& view, const CurveSheetPrintOptions& options,
                     const PlaceTextFn& placeText) {
    const CurveSheet& sheet = view.sheet();
    const int mode = view.curveMode();
    const int planes = sheet.planesInUse();
    const int uX = page.width() / 100;
    const int uY = page.height() / 50;
    const int a = 44 * uX;
    const double f = printedTextFactor(page, a, options.screenTextHeight);
    auto size = [&](int sz) { return trunc(sz * f); };
    ui::Font font = page.font();
    font.color = ui::colors::black;
    page.setTextBackground(ui::colors::white, false);

    if (options.logo && options.logo->width() > 0) {
        const int k = std::max(1, 12 * uX / options.logo->width());
        page.stretchSurface(ui::Rect{5 * uX, 2 * uY, 5 * uX + k * options.logo->width(), 2 * uY + k * options.logo->height()},
                            *options.logo, ui::Rect{0, 0, options.logo->width(), options.logo->height()});
    }

    // The value table's width decides where the diagram and the table sit side by side.
    const bool upperOnly = mode == 1;
    const int tableSize = size(upperOnly ? 3 : 2);
    font.sizePt = std::max(1, tableSize);
    page.setFont(font);
    const int colW = page.textExtent("12345678.12 ").width;
    const int angleTextW = page.textExtent("180ﾟ").width;
    const int tw = planes * colW + angleTextW;
    const int xoff = (54 * uX - tw) / 2;

    const DiagramGeometry g = DiagramGeometry::of(a, mode, xoff, 26 * uY);
    drawCurveDiagram(page, sheet, mode, view.scaleMax(), g, f, placeText);
    placeText(page, g.left, g.top, 1, size(5), sheet.lampText(), false);
    if (planes >= 2) {
        const int kh = trunc(0.7 * 4.5 * g.u);
        const int kw = kh * CurveView::kKeyWidth / CurveView::kKeyHeight;
        const int kx = g.left + trunc(0.03 * g.W);
        const int ky = g.top + trunc(0.15 * 4.5 * g.u);
        drawCurveKey(page, ui::Rect{kx, ky, kx + kw, ky + kh}, planes);
    }

    const ValueTable table{46 * uX + xoff, 26 * uY, upperOnly ? 19 : 37, upperOnly ? a / 20 : trunc(a * 1.4 / 38),
                           trunc(1.2 * angleTextW), colW, planes, tableSize};
    printValueTable(page, sheet, table, placeText);
    printSheetTexts(page, sheet, options, font, uX, uY, xoff, placeText);
}

void drawMakerLogo(ui::Surface& picture) {
    picture.fillRect(ui::Rect{0, 0, picture.width(), picture.height()}, ui::colors::white);
    ui::Font font;
    font.bold = true;
    font.color = ui::Color{0, 60, 150};
    font.sizePt = std::max(1, picture.height() * 72 / std::max(1, picture.dpiY()) * 2 / 3);
    picture.setFont(font);
    picture.setTextBackground(ui::colors::white, false);
    const ui::Size e = picture.textExtent("ZOLT");
    picture.textOut((picture.width() - e.width) / 2, (picture.height() - e.height) / 2, "ZOLT");
    picture.setPen(ui::Pen{font.color, std::max(1, picture.height() / 12)});
    picture.moveTo(0, picture.height() - 2);
    picture.lineTo(picture.width(), picture.height() - 2);
}

} // namespace print
