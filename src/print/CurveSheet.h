// The light distribution curve: the type copy it shows, layout and scale choice, the polar diagram,
// the half-illuminance angles and the printed curve sheet.
#pragma once
#include "catalog/FixtureType.h"
#include "print/SheetText.h"
#include "ui/Surface.h"

#include <array>
#include <optional>
#include <string>

namespace print {

// Intensities (cd per 1000 lm) a diagram's reference ring can stand for, smallest first.
inline constexpr std::array<int, 29> kScaleSteps = {20,    30,    40,    60,    100,   150,   200,   250,
                                                    300,   400,   500,   600,   1000,  1500,  2000,  2500,
                                                    3000,  4000,  5000,  6000,  10000, 15000, 20000, 25000,
                                                    30000, 40000, 50000, 60000, 100000};

// The user's zoom: one scale step larger curves ("拡大"), normal, or one step smaller ("縮小").
enum class Zoom { Smaller = -1, Normal = 0, Larger = 1 };
Zoom zoomIn(Zoom z);   // 拡大
Zoom zoomOut(Zoom z);  // 縮小

// The copy of a fixture type the curve window works on; texts are cut to their fields' sizes.
struct CurveSheet {
    // Field sizes in CP932 bytes, the terminating zero included.
    static constexpr std::size_t kHinbanField = 50, kOptionField = 50, kHaikouCodeField = 60, kLampNameAField = 80,
                                 kLampNameField = 82;
    std::string hinban, option, haikouCode, lampNameA, lampName;
    std::int32_t tosu = 0;
    float efficiency = 0;
    std::int32_t maintClass = 0;
    std::int32_t planeCount = 0;
    std::int32_t sizeX = 0, sizeY = 0;
    catalog::IntensityTable intensity{};
    std::int32_t kou = 0, kouCatalog = 0, colorTemp = 0, lampReserved = 0;
    float lampFactor = 0;

    static CurveSheet from(const catalog::BunpuHinban& type);
    // Planes drawn: 1, 2 or 3 (a count outside that is read as the nearest).
    int planesInUse() const;
    // The intensity at a whole degree, a value that is not a finite number read as 0.
    double value(int plane, int gamma) const;
    // lampNameA, followed by " x" and tosu when tosu is not 1.
    std::string lampText() const;
};

// M: the largest value; D: the largest downward component I·cos γ (0°..90°); U: the largest upward
// component I·cos(180° − γ) (91°..180°); over the planes in use.
struct CurveMaxima {
    double M = 0, D = 0, U = 0;
};
CurveMaxima curveMaxima(const CurveSheet& sheet);

// Layout 0..3 ("C1".."C4") for the light's share upwards and downwards.
int autoCurveMode(const CurveMaxima& maxima);
float stepFactor(int curveMode);
// The reference-ring intensity for a maximum: the first step whose layout-scaled value exceeds M,
// moved one step by the zoom where there is one; nullopt when no step reaches M.
std::optional<int> chooseScaleMax(double M, int curveMode, Zoom zoom);

// A diagram of size a placed with its top-left corner at (left, top), in device dots.
struct DiagramGeometry {
    float u = 0;
    int W = 0, R = 0;
    int left = 0, top = 0;
    int cx = 0, cy = 0;
    int band = 0;  // height of the title band
    static DiagramGeometry of(int a, int curveMode, int left, int top);
    // The point at gamma degrees and radius r, on the right half (or left when `left` is set).
    ui::Point at(double gammaDeg, double r, bool leftHalf) const;
};

inline constexpr ui::Color kPrimaryCurve{174, 21, 36};
inline constexpr ui::Color kSecondaryCurve{0, 81, 181};
inline constexpr ui::Color kGridGrey{144, 144, 144};
inline constexpr ui::Color kRingValue{36, 21, 174};

// The polar diagram: frame, grid, rings, curves and texts; text sizes are multiplied by textFactor.
void drawCurveDiagram(ui::Surface& surface, const CurveSheet& sheet, int curveMode, int scaleMax,
                      const DiagramGeometry& g, double textFactor, const PlaceTextFn& placeText);

// The small key that tells the two curve styles apart (two or more planes), drawn into `box`.
void drawCurveKey(ui::Surface& surface, const ui::Rect& box, int planes);

// Half-illuminance angle of one plane half: the angle from the vertical at which the illuminance on a
// plane square to the light's axis, I(γ)·cos³γ, has fallen to half its value straight below (linear
// between whole degrees). The full cone is the pool of light a luminaire throws on the floor or work
// plane: inside it the illuminance is at least half the value under the luminaire, so its width at the
// working distance (2·h·tan(cone/2)) tells the designer how far apart to set luminaires for even light.
// nullopt when nothing shines straight down.
std::optional<double> halfIlluminanceHalfAngle(const CurveSheet& sheet, int plane);
// The full angles across the drawn planes: the primary curve's (C0–C180) first, the secondary (C90)'s second.
struct HalfIlluminanceAngles {
    std::optional<double> first, second;
};
HalfIlluminanceAngles halfIlluminanceAngles(const CurveSheet& sheet);
// "1/2照度角 : 62ﾟ" or, for two or more planes, "1/2照度角 : 62ﾟ x48ﾟ"; "-" for an angle that has none.
std::string halfIlluminanceText(const CurveSheet& sheet);

// The curve window's state without its widgets: the sheet, the layout, the zoom and the scale.
class CurveView {
public:
    static constexpr int kPictureWidth = 250, kPictureHeight = 272, kDiagramTop = 22;
    static constexpr int kKeyWidth = 59, kKeyHeight = 43;

    // Takes a copy of the type, computes the maxima, chooses the layout unless one was picked by hand
    // and the scale.
    void fill(const catalog::BunpuHinban& type);
    void pickLayout(int curveMode);  // C11Click .. C41Click
    void enlarge();                  // N2Click
    void reduce();                   // N3Click

    // The diagram picture of the window (kPictureWidth × kPictureHeight).
    void drawPicture(ui::Surface& picture, const PlaceTextFn& placeText) const;
    // The picture for the clipboard and bitmap files: the window's picture with the key and the lamp name.
    void drawExportPicture(ui::Surface& picture, const PlaceTextFn& placeText) const;

    const CurveSheet& sheet() const { return sheet_; }
    const CurveMaxima& maxima() const { return maxima_; }
    int curveMode() const { return curveMode_; }
    bool modePicked() const { return modePicked_; }
    Zoom zoom() const { return zoom_; }
    int scaleMax() const { return scaleMax_; }
    bool filled() const { return filled_; }

private:
    void rescale();

    CurveSheet sheet_;
    CurveMaxima maxima_;
    int curveMode_ = 0;
    bool modePicked_ = false;
    Zoom zoom_ = Zoom::Normal;
    int scaleMax_ = 1000;
    bool filled_ = false;
};

// What the printed sheet takes besides the curve.
struct CurveSheetPrintOptions {
    const ui::Surface* logo = nullptr;  // the maker's logo picture, if any
    int screenTextHeight = 0;           // height of "W" in 9 pt on the screen; 0: from the dpi ratio
    std::string date;                   // today's date as the sheet prints it
    std::string version;                // the program's version text
};

// The text factor of the printed diagram of size a: a × 0.012 × (screen / printer height of "W" in 9 pt).
double printedTextFactor(ui::Surface& page, int a, int screenTextHeight);

// Lays out the curve sheet on one printer page.
void printCurveSheet(ui::Surface& page, const CurveView& view, const CurveSheetPrintOptions& options,
                     const PlaceTextFn& placeText);

// The maker's logo as a small picture drawn through the surface (white ground, blue lettering).
void drawMakerLogo(ui::Surface& picture);

} // namespace print
