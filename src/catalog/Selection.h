// The product selection rules behind the selection dialog: search by prefix, lamp choices, light cone, confirmation.
#pragma once
#include "catalog/Catalog.h"
#include "catalog/FixtureType.h"
#include "ui/Services.h"
#include "ui/Surface.h"

#include <string>
#include <vector>

namespace catalog {

inline constexpr const char* kMsgNoProduct = "該当する品番がありません";
inline constexpr const char* kMsgAsymmetric = "非対称の配光を持つ器具は\n   このバージョンでは登録できません。";
inline constexpr int kConePictureSize = 30;

// The four light cone angles of a product line after the catalogue's rules.
struct ConeAngles {
    int a = 0, b = 0, c = 0, d = 0;
    bool operator==(const ConeAngles&) const = default;
};

// Fields 19 to 22: without field 11 the left angle is disregarded; equal sides mean one angle; and a
// parenthesised angle equal to the one angle adds nothing.
ConeAngles normaliseAngles(ConeAngles raw, bool field11Empty);

// What the picture's labels show and whether the choice may be registered.
struct ConeLabels {
    std::string kaku;
    std::string kaku2;
    std::string message;
    bool okEnabled = true;
};

// Draws the light cone on the 30 × 30 picture in the light's colour and gives the labels under it.
ConeLabels drawLightCone(ui::Surface& picture, ConeAngles angles, ui::Color lightColour);

// One product line that offers a lamp.
struct CandidateLine {
    int lamp = 0;           // position in the lamp table
    int indexPosition = 0;  // position in productIndex
    ConeAngles angles;
    float efficiency = 0;
};

// The selection dialog's state and rules; the dialog mirrors the public fields after every call.
class Selection {
public:
    Selection(const Catalog& catalog, ui::Services& services) : catalog_(catalog), services_(services) {}

    // Controls.
    std::string txtHinban;
    std::vector<std::string> listHinban;
    int listHinbanIndex = -1;
    std::vector<std::string> listLampName;   // Japanese names, one per lamp choice
    std::vector<std::string> listLampNameA;  // alphanumeric names, same order
    int lampIndex = -1;
    std::string labKaku, labKaku2, labLamp, labHinban, labMessage, labOption;
    bool button1Enabled = false;
    bool cmdOKEnabled = false;
    bool lampNameJVisible = false;  // listLampName shown ('J'), else listLampNameA
    bool confirmed = false;

    // Working state of the product shown.
    std::vector<std::string> lampCodes;    // distinct, ascending
    std::vector<int> lampPositions;        // lamp table entry of each code
    std::vector<CandidateLine> candidates;
    int chosen = -1;                       // candidate line of the lamp shown

    // Showing the dialog with the slot's product number (empty for a free slot).
    void show(const std::string& hinban, char lampNameMode, ui::Surface& picture);
    // Any change of the product number text.
    void textChanged(const std::string& text);
    // "検索" or Enter; false when nothing matched (the message is shown).
    bool search(ui::Surface& picture);
    // A click on an item of the product list.
    void selectProduct(int index, ui::Surface& picture);
    // A click on either lamp list.
    void selectLamp(int index, ui::Surface& picture);
    // "登録": fills the buffer; false (error shown, nothing changed) when the catalogue line is unreadable.
    bool confirm(HaikouMdb& selectionBuffer);

private:
    void clearLists();
    bool loadProduct(const std::string& hinban);
    void showLampChoice(int n, ui::Surface& picture);
    void clearPicture(ui::Surface& picture);

    const Catalog& catalog_;
    ui::Services& services_;
};

} // namespace catalog
