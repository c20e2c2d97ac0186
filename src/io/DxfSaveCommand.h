// The menu command that exports the result as DXF: the output-type dialog, the save dialog, the writer.
#pragma once
#include "io/DxfWriter.h"
#include "ui/Services.h"

#include <string>

namespace io {

// The file dialog's filter and default extension of the DXF export.
inline constexpr const char* kDxfSaveFilter = "DXFﾌｧｲﾙ (*.DXF) | *.DXF";
inline constexpr const char* kDxfDefaultExtension = "DXF";

// The rules of the output-type dialog, kept apart from its widgets: the texts the user edits live
// as long as the program, and the colour button answers by the check box.
struct DxfOutTypeState {
    bool textColor = false;  // cboxTextColor, initially unchecked
    int rememberedColorResult = static_cast<int>(DxfOutType::ColorOut);
    DxfNoteTexts texts;

    // btnColorOut: 12 with the label colours changed too, otherwise 10; remembered for the next time.
    int colorButtonResult() {
        rememberedColorResult = static_cast<int>(textColor ? DxfOutType::ColorTextOut : DxfOutType::ColorOut);
        return rememberedColorResult;
    }
    static int blackButtonResult() { return static_cast<int>(DxfOutType::BlackOut); }
    static int cancelResult() { return static_cast<int>(DxfOutType::Cancel); }
};

// The dialog as the command sees it (the Qt form implements it; tests script it).
class DxfOutTypeDialog {
public:
    virtual ~DxfOutTypeDialog() = default;
    // Shows the dialog modally: 10, 11 or 12 to write, 2 (or anything up to 9) to cancel.
    virtual int showModal() = 0;
    // The heading, the notes and whether to write them, as they stand after the dialog closed.
    virtual DxfNoteTexts noteTexts() const = 0;
    // Whether the contour lines are to be joined end to end (the dialog's option, off unless ticked).
    virtual bool joinContours() const { return false; }
};

// mnuDxfSaveClick: dialog, then the save dialog with the DXF filter, then the writer. Cancelling either
// dialog, or an empty name, writes nothing and says nothing. True when a file was written.
bool mnuDxfSaveClick(DxfOutTypeDialog& dialog, const DxfExportInput& input, const DxfTemplates& templates,
                     ui::Services& services);

} // namespace io
