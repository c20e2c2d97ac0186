// Photometric files (IES LM-63 1995/2002 and EULUMDAT) read into a fixture type for a registration slot.
#pragma once
#include "catalog/FixtureType.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace catalog {

inline constexpr const char* kMsgPhotometryRefused = "配光データファイルとして読み込めません";
// Bigger than any real photometric file; a bigger one is refused before it is read.
inline constexpr std::size_t kMaxPhotometryBytes = 4 * 1024 * 1024;
inline constexpr std::size_t kMaxPhotometryAngles = 1441;
// A lamp of unknown colour is taken as neutral white.
inline constexpr int kDefaultColourTemperature = 4000;
// Beyond these no luminaire is meant: a fixture type's stored intensity (cd per 1000 lm, whose 21
// "%.4f" values must fit one project-file line), its lumens per lamp and its lamps per fixture.
inline constexpr double kMaxIntensityPerKilolumen = 9999999.0;
inline constexpr std::int32_t kMaxLampLumens = 99999999;
inline constexpr std::int32_t kMaxLampsPerFixture = 1000;

// A luminous intensity distribution as the file gives it, in type C photometry.
struct PhotometricData {
    std::vector<double> gamma;               // vertical angles, ascending, within 0..180
    std::vector<double> cPlanes;             // horizontal angles of the given planes, ascending
    std::vector<std::vector<double>> values; // [plane][gamma]
    bool perKilolumen = false;               // values are cd per 1000 lm (EULUMDAT) or absolute cd (IES)
    // Which planes the given ones stand for: the angle range they cover by the file's symmetry.
    enum class Symmetry { Rotational, Quadrant, C0C180, C90C270, None } symmetry = Symmetry::None;
    int lampCount = 1;
    double lumensPerLamp = -1;               // -1: absolute photometry without lamp flux
    double lampFactor = 1;                   // ballast factors
    double lightOutputRatio = -1;            // 0..1 when the file gives it
    double lengthMm = 0, widthMm = 0;        // luminous area
    int colourTemperature = 0;
    std::string catalogNumber;
    std::string lampName;
    std::string lampNameA;

    // Intensity in the file's unit at the C angle and gamma, by the symmetry and linear interpolation.
    double valueAt(double cAngle, double gammaDeg) const;
};

// Readers of the file's text (any line ends); nullopt and a Japanese reason when they refuse it.
std::optional<PhotometricData> readIes(std::string_view text, std::string& reason);
std::optional<PhotometricData> readLdt(std::string_view text, std::string& reason);
// Reads a file by its extension (.ldt EULUMDAT, otherwise IES), bounded in size.
std::optional<PhotometricData> readPhotometricFile(const std::string& path, std::string& reason);

// The fixture type of the file: C0, C90 and C180 at every degree per 1000 lm, planeCount from the
// symmetry, lamps and flux from the lamp data, size from the luminous area, hinban from the file.
HaikouMdb toFixtureType(const PhotometricData& data, const std::string& fallbackName);

// Emitted flux in lm of the distribution in the file's unit (numerically over the whole sphere).
double distributionFlux(const PhotometricData& data);

} // namespace catalog
