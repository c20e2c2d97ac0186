// Selection rules: product search, lamp choices per product, the light cone picture and the confirmation.
#include "catalog/Selection.h"

#include "base/Cp932.h"
#include "base/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace catalog {
namespace {

constexpr ui::Color kFaceColour{240, 240, 240};
const std::string kDegree = "ﾟ";

std::string degrees(int v) { return base::formatInt(v) + kDegree; }

// The two lines of a cone of angle θ from the top centre of the picture.
void coneLine(ui::Surface& s, int theta, bool left, bool right) {
    const double half = theta / 2.0 * M_PI / 180.0;
    const int x = static_cast<int>(36.0 * std::sin(half));
    const int y = static_cast<int>(36.0 * std::cos(half));
    const int mid = kConePictureSize / 2;
    if (left) {
        s.moveTo(mid, 0);
        s.lineTo(mid - x, y);
    }
    if (right) {
        s.moveTo(mid, 0);
        s.lineTo(mid + x, y);
    }
}

void fill(ui::Surface& s) {
    s.floodFill(kConePictureSize / 2, kConePictureSize / 2, ui::colors::black, ui::FillKind::ToBorder);
}

} // namespace

ConeAngles normaliseAngles(ConeAngles r, bool field11Empty) {
    if (field11Empty) r.d = 0;
    if (r.b == r.d) r.d = 0;
    if (r.d == 0 && r.b == r.c) {
        r.b = 0;
        r.c = 0;
    }
    return r;
}

ConeLabels drawLightCone(ui::Surface& s, ConeAngles an, ui::Color lightColour) {
    ConeLabels out;
    s.setPen(ui::Pen{});
    s.setBrush(ui::Brush{ui::colors::white, false});
    s.rectangle(0, 0, kConePictureSize, kConePictureSize);
    fill(s);
    if (an.d == 0) an.d = an.b;
    s.setPen(ui::Pen{});
    s.setBrush(ui::Brush{lightColour, false});
    if (an.b > 0) {
        coneLine(s, an.c, true, true);
        fill(s);
        out.kaku2 = "(" + degrees(an.c) + ")";
        // Dotted lines show their gaps in white, as the platform's dotted pen always painted them.
        s.setPen(ui::Pen{ui::colors::white});
        coneLine(s, an.c, true, true);
        s.setPen(ui::Pen{ui::colors::black, 1, ui::PenStyle::Dot});
        coneLine(s, an.c, true, true);
        s.setPen(ui::Pen{});
        coneLine(s, an.b, false, true);
        coneLine(s, an.d, true, false);
        out.kaku = an.b == an.d ? " " + degrees(an.b) : " " + degrees(an.d) + "-" + degrees(an.b);
        if (an.b != an.d) {
            out.message = kMsgAsymmetric;
            out.okEnabled = false;
        } else {
            out.message = " ";
            out.okEnabled = true;
        }
    } else {
        out.message = " ";
        out.okEnabled = true;
        coneLine(s, an.a, true, true);
        out.kaku = " " + degrees(an.a);
        out.kaku2.clear();
    }
    fill(s);
    return out;
}

void Selection::clearPicture(ui::Surface& picture) {
    picture.fillRect(ui::Rect{0, 0, picture.width(), picture.height()}, kFaceColour);
}

void Selection::clearLists() {
    listLampName.clear();
    listLampNameA.clear();
    lampIndex = -1;
    listHinban.clear();
    listHinbanIndex = -1;
    lampCodes.clear();
    lampPositions.clear();
    candidates.clear();
    chosen = -1;
}

void Selection::show(const std::string& hinban, char lampNameMode, ui::Surface& picture) {
    clearPicture(picture);
    labHinban.clear();
    labLamp.clear();
    labKaku.clear();
    labKaku2.clear();
    labMessage.clear();
    clearLists();
    button1Enabled = false;
    lampNameJVisible = lampNameMode == 'J';
    confirmed = false;
    cmdOKEnabled = false;
    txtHinban = hinban;
    if (!txtHinban.empty()) {
        search(picture);
        button1Enabled = true;
    }
}

void Selection::textChanged(const std::string& text) {
    txtHinban = text;
    button1Enabled = !text.empty();
    if (listHinbanIndex >= 0 && listHinban[static_cast<std::size_t>(listHinbanIndex)] != text) {
        cmdOKEnabled = false;
        listLampName.clear();
        listLampNameA.clear();
        lampIndex = -1;
        listHinban.clear();
        listHinbanIndex = -1;
        chosen = -1;
    }
}

bool Selection::search(ui::Surface& picture) {
    listHinban.clear();
    listHinbanIndex = -1;
    if (txtHinban.empty()) return false;
    listHinban = catalog_.searchProducts(txtHinban);
    if (listHinban.empty()) {
        listLampName.clear();
        listLampNameA.clear();
        lampIndex = -1;
        chosen = -1;
        services_.messageBox(kMsgNoProduct, "", ui::Icon::Stop, ui::Buttons::Ok);
        return false;
    }
    selectProduct(0, picture);
    return true;
}

void Selection::selectProduct(int index, ui::Surface& picture) {
    if (index < 0 || static_cast<std::size_t>(index) >= listHinban.size()) return;
    listHinbanIndex = index;
    txtHinban = listHinban[static_cast<std::size_t>(index)];
    button1Enabled = true;
    if (!loadProduct(txtHinban)) return;
    showLampChoice(0, picture);
}

bool Selection::loadProduct(const std::string& hinban) {
    lampCodes.clear();
    lampPositions.clear();
    candidates.clear();
    listLampName.clear();
    listLampNameA.clear();
    lampIndex = -1;
    chosen = -1;
    cmdOKEnabled = false;
    const int lampCount = static_cast<int>(catalog_.lampTable().size());
    try {
        for (int pos : catalog_.productLines(hinban)) {
            base::Fields f(catalog_.productLine(pos));
            const std::string& code = f[8];
            if (code.empty() || code == "0") continue;
            const int lamp = catalog_.lampByCode(code);
            // A lamp the lamp table does not know cannot be shown or registered; offering it would
            // set the lamp lists and the choices apart.
            if (lamp >= lampCount) continue;
            CandidateLine c;
            c.lamp = lamp;
            c.indexPosition = pos;
            c.efficiency = static_cast<float>(base::toFloat(f[31]));
            ConeAngles raw{base::toInt(f[19]), base::toInt(f[20]), base::toInt(f[21]), base::toInt(f[22])};
            c.angles = normaliseAngles(raw, f[11].empty());
            candidates.push_back(c);
            lampCodes.push_back(catalog_.lampTable()[static_cast<std::size_t>(lamp)].code);
        }
    } catch (const base::ConversionError& e) {
        candidates.clear();
        lampCodes.clear();
        services_.showError(e.what());
        return false;
    }
    std::sort(lampCodes.begin(), lampCodes.end(),
              [](const std::string& a, const std::string& b) { return base::utf8ToCp932(a) < base::utf8ToCp932(b); });
    lampCodes.erase(std::unique(lampCodes.begin(), lampCodes.end()), lampCodes.end());
    for (const auto& code : lampCodes) {
        // One name per choice, from the first entry of the code, so both lists stay in step with the choices.
        const int lamp = catalog_.lampByCode(code);
        const LampEntry& e = catalog_.lampTable()[static_cast<std::size_t>(lamp)];
        lampPositions.push_back(lamp);
        listLampName.push_back(e.nameJ);
        listLampNameA.push_back(e.nameA);
    }
    if (!lampCodes.empty()) lampIndex = 0;
    return true;
}

void Selection::selectLamp(int index, ui::Surface& picture) {
    if (index < 0 || static_cast<std::size_t>(index) >= lampPositions.size()) return;
    showLampChoice(index, picture);
}

void Selection::showLampChoice(int n, ui::Surface& picture) {
    labOption.clear();
    chosen = -1;
    if (n < 0 || static_cast<std::size_t>(n) >= lampPositions.size()) {
        // A product without any lamp line has nothing to show or register.
        clearPicture(picture);
        labKaku.clear();
        labKaku2.clear();
        labLamp.clear();
        labHinban.clear();
        labMessage = " ";
        cmdOKEnabled = false;
        return;
    }
    lampIndex = n;
    const int lamp = lampPositions[static_cast<std::size_t>(n)];
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i].lamp == lamp) {
            chosen = static_cast<int>(i);
            break;
        }
    }
    const CandidateLine& c = candidates[static_cast<std::size_t>(chosen)];
    const LampEntry& e = catalog_.lampTable()[static_cast<std::size_t>(lamp)];
    const auto colour = catalog_.lightColors().colourOf(e.colorTemp);
    ConeLabels labels = drawLightCone(picture, c.angles, colour ? ui::Color::fromColorRef(*colour) : ui::colors::white);
    labKaku = labels.kaku;
    labKaku2 = labels.kaku2;
    labMessage = labels.message;
    cmdOKEnabled = labels.okEnabled;
    try {
        base::Fields f(catalog_.productLine(c.indexPosition));
        labLamp = base::formatInt(e.kou) + " Lm (" + base::formatInt(e.colorTemp) + "K) x" + base::formatInt(base::toInt(f[7]));
    } catch (const base::ConversionError& err) {
        labLamp.clear();
        cmdOKEnabled = false;
        services_.showError(err.what());
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%4.2f", static_cast<double>(c.efficiency));
    labHinban = std::string("器具効率: ") + buf;
}

bool Selection::confirm(HaikouMdb& out) {
    if (!cmdOKEnabled || chosen < 0 || static_cast<std::size_t>(chosen) >= candidates.size()) return false;
    const CandidateLine& c = candidates[static_cast<std::size_t>(chosen)];
    HaikouMdb b;
    try {
        base::Fields f(catalog_.productLine(c.indexPosition));
        const LampEntry& e = catalog_.lampTable()[static_cast<std::size_t>(c.lamp)];
        b.hinban = catalog_.productIndex()[static_cast<std::size_t>(c.indexPosition)].key;
        b.option.clear();
        b.haikouCode = base::truncateCp932(f[9], kKeyBytes);
        b.lampName = e.nameJ;
        b.lampNameA = e.nameA;
        b.tosu = base::toInt(f[7]);
        b.efficiency = static_cast<float>(base::toFloat(f[31]));
        b.catalogNote = f[12];
        b.maintClass = base::toInt(f[10]);
        b.maintFactor = maintFactorsOf(b.maintClass).value_or(std::array<float, 3>{0, 0, 0});
        b.kou = b.kouCatalog = e.kou;
        b.colorTemp = e.colorTemp;
        b.lampReserved = e.reserved;
        b.lampFactor = e.factor;
        b.sizeX = b.sizeY = 0;
        for (int n = 19; n <= 22; ++n) (void)base::toInt(f[n]);
        for (int n = 23; n <= 26; ++n) (void)base::toFloat(f[n]);
        Distribution d = catalog_.distribution(b.haikouCode);
        b.planeCount = d.planeCount;
        b.intensity = d.intensity;
    } catch (const base::ConversionError& err) {
        services_.showError(err.what());
        return false;
    }
    confirmed = true;
    out = b;
    return true;
}

} // namespace catalog
