// The registration window's rules over the 36 slots: tab refresh, current slot, cancel, flux edits, key filter.
#pragma once
#include "catalog/FixtureType.h"
#include "ui/Services.h"

#include <array>
#include <string>

namespace catalog {

inline constexpr const char* kMsgNotRegistered = "品番が登録されていません";
inline constexpr const char* kAskDeletePlaced = "プロットした器具を消去しますか？";
inline constexpr const char* kMidText = "Lm X";
inline constexpr const char* kPhotometryFilter = "配光データ (*.ies;*.ldt)|*.ies;*.IES;*.ldt;*.LDT";
inline constexpr const char* kMsgWattsRange = "消費電力は 0～100000 W の数値で入力して下さい";
inline constexpr const char* kMsgNoFreeSlot = "このタブに空きの登録欄がありません";

// What the registration rules need of the main window.
class RegistrationHost {
public:
    virtual ~RegistrationHost() = default;
    // The illuminance result no longer matches the types.
    virtual void invalidateResult() = 0;
    // The type the plan editor places next; -1 for none.
    virtual void setSelectedType(int slot) = 0;
    // Deletes every plan fixture of the slot.
    virtual void deleteFixturesOfSlot(int slot) = 0;
    // The light distribution curve window shows this slot when it is visible.
    virtual void showCurveOf(int slot) {}
    // What the project file keeps of the types changed (a registration, a cleared slot, a flux): the plan
    // now differs from its file and closing offers to save it.
    virtual void typesChanged() {}
    // A type's rated power changed: the project differs from its file, the illuminance stays as it is.
    virtual void powerChanged() {}
};

enum class SlotPicture { Free, Registered, Current };

// One row of the shown tab as the window paints it.
struct SlotRow {
    std::string hin, lamp, kou, mid, tosu, kosuu;
    bool registered = false;  // flux box in the window colour with a border, else scroll-bar colour
    bool highlighted = false; // row panel in the 3-D light colour (the current slot)
    bool kouChanged = false;  // flux text red
    std::string kouHint;      // "<catalogue flux>を変更" while the flux differs
    std::string watts;        // the rated power as stored, empty when none is given
    SlotPicture picture = SlotPicture::Free;
};

class Registration {
public:
    Registration(TourokuTable& touroku, RegistrationHost& host, ui::Services& services)
        : touroku_(touroku), host_(host), services_(services) {}

    int tab() const { return tab_; }
    int currentSlot() const { return currentSlot_; }
    char lampNameMode() const { return lampNameMode_; }
    const std::array<SlotRow, 6>& rows() const { return rows_; }
    int slotAt(int position) const { return slotOf(tab_, position); }

    void refresh(int tab);
    void reset();
    void updateCounts();
    void setLampNameMode(char mode);

    // The product number the selection dialog opens with for the row's register button.
    std::string hinbanForDialog(int position) const;
    // After a confirmed selection for the row.
    void registerSelection(int position, const HaikouMdb& selection);
    // A click on a row's picture; true when the right click's menu may open.
    bool choose(int position, bool rightClick);
    // "登録の取り消し" for the position last clicked.
    void cancelRegistration();
    // Any change of a flux box's text.
    void kouChanged(int position, const std::string& text);
    // The watt box of a row was left (or Enter pressed): a power of 0..kMaxWatts, empty for none, is
    // kept; anything else is refused with the system's message and the box shows the stored power again.
    void wattsEntered(int position, const std::string& text);

    // The row a photometric file goes to: the current slot when it is on the shown tab, else the
    // first free row of the tab; 0 when there is none.
    int importPosition() const;
    // "配光ファイル": asks for an IES or EULUMDAT file and registers it into importPosition(); a file
    // that is refused gives its reason and changes nothing.
    bool importPhotometry();
    bool importPhotometryFile(const std::string& path, int position);

    // The flux boxes take digits, Backspace, Enter, '-' and the characters 0x25 to 0x28 only.
    static bool kouKeyPasses(int key);

private:
    void rebuildRows();
    void markCurrent();

    TourokuTable& touroku_;
    RegistrationHost& host_;
    ui::Services& services_;
    int tab_ = 0;
    int currentSlot_ = -1;
    int lastPosition_ = 1;
    char lampNameMode_ = 'A';
    std::array<SlotRow, 6> rows_{};
};

} // namespace catalog
