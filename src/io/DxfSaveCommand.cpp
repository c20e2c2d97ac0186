// The DXF export command flow: output type, file name, writer.
#include "io/DxfSaveCommand.h"

namespace io {

bool mnuDxfSaveClick(DxfOutTypeDialog& dialog, const DxfExportInput& input, const DxfTemplates& templates,
                     ui::Services& services) {
    const int result = dialog.showModal();
    if (result <= 9) return false;
    if (result != 10 && result != 11 && result != 12) return false;
    ui::FileDialogRequest request;
    request.filter = kDxfSaveFilter;
    request.defaultExtension = kDxfDefaultExtension;
    const auto name = services.saveFileDialog(request);
    if (!name || name->empty()) return false;
    DxfExportInput chosen = input;
    chosen.joinContours = dialog.joinContours();
    return WriteDxf(*name, static_cast<DxfOutType>(result), dialog.noteTexts(), chosen, templates, services);
}

} // namespace io
