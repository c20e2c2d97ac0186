// Open, save and close flows; a save clears the changed flag only once the file is safely written.
#include "model/ProjectCommands.h"

#include "model/ProjectFile.h"

namespace model {

ProjectCommands::ProjectCommands(Document& doc, WindowShown& shown, catalog::TourokuTable& touroku, ui::Services& services, ProjectHooks hooks)
    : doc_(doc), shown_(shown), touroku_(touroku), services_(services), hooks_(std::move(hooks)) {}

bool ProjectCommands::readValidated(const std::string& path, bool clearFirst) {
    ProjectContent content;
    if (!reportParseError(parseProject(path, content), path, services_)) return false;
    // A plan this window could not draw is refused with the reader's message; the open plan stays.
    if (const std::string refusal = surfaceRefusal(content, doc_); !refusal.empty()) {
        services_.showError(ui::aboutFile(refusal, path));
        return false;
    }
    const int oldWidth = doc_.surfaceWidth, oldHeight = doc_.surfaceHeight;
    if (clearFirst) {
        if (hooks_.clearPlan) {
            hooks_.clearPlan();
        } else {
            clearPlan(doc_, shown_, touroku_);
        }
        call(hooks_.refreshRegistration);
    }
    applyProject(path, content, doc_, touroku_);
    showOpened(path);
    doc_.dataChanged = false;
    doc_.resultValid = false;
    if (doc_.surfaceWidth != oldWidth || doc_.surfaceHeight != oldHeight) call(hooks_.surfaceResized);
    call(hooks_.redrawPlan);
    call(hooks_.refreshRegistration);
    shown_.menus.save1 = true;
    if (doc_.plan.scaleDenominator <= 0) shown_.scaleLabel = "縮尺未設定";
    if (hooks_.fileUsed) hooks_.fileUsed(path);
    return true;
}

// What the window shows of a project just read: its scale, 上書き保存 and its name in the title.
void ProjectCommands::showOpened(const std::string& path) {
    shown_.scaleLabel = denominatorLabel(doc_.plan.scaleDenominator);
    shown_.menus.save1 = true;
    shown_.windowTitle = windowTitleFor(doc_, path);
}

bool ProjectCommands::openFromMenu() {
    if (!closeQuery()) return false;
    auto name = services_.openFileDialog({kOpenFilter, "", "", ""});
    if (!name || name->empty()) return false;
    return readValidated(*name, true);
}

bool ProjectCommands::openFromStartDialog() {
    auto name = services_.openFileDialog({kOpenFilter, "", "", ""});
    if (!name || name->empty()) return false;
    return readValidated(*name, false);
}

bool ProjectCommands::openPath(const std::string& path) { return readValidated(path, true); }

bool ProjectCommands::writeTo(const std::string& path) {
    if (!writeProject(path, doc_, touroku_, services_)) return false;
    doc_.dataChanged = false;
    // Saved under a new name, the title names the file the plan now belongs to, and 上書き保存 writes
    // there from now on.
    shown_.windowTitle = windowTitleFor(doc_, path);
    shown_.menus.save1 = true;
    if (hooks_.fileUsed) hooks_.fileUsed(path);
    return true;
}

bool ProjectCommands::save() {
    if (doc_.currentFileName.empty()) return saveAs();
    return writeTo(doc_.currentFileName);
}

bool ProjectCommands::saveAs() {
    auto name = services_.saveFileDialog({kSaveFilter, "OLE", doc_.currentFileName, ""});
    if (!name || name->empty()) return false;
    return writeTo(*name);
}

bool ProjectCommands::closeQuery() {
    if (!hasUnsavedChanges(doc_)) return true;
    switch (services_.messageBox(kAskSave, "", ui::Icon::Question, ui::Buttons::YesNoCancel)) {
    case ui::Answer::Cancel: return false;
    case ui::Answer::No: return true;
    default: break;
    }
    // A failed write keeps the window open, so the changes are not lost with it.
    if (doc_.currentFileName.empty()) return saveAs();
    return writeTo(doc_.currentFileName);
}

void ProjectCommands::registerFileType() {
    const char* title = "ﾌｧｲﾙの関連づけ";
    switch (services_.associateProjectFiles()) {
    case ui::AssociationResult::Changed:
        services_.messageBox(".OLEの関連づけをこのﾌﾟﾛｸﾞﾗﾑに変更しました。", title, ui::Icon::Information, ui::Buttons::Ok);
        break;
    case ui::AssociationResult::Created:
        services_.messageBox(".OLEをこのﾌﾟﾛｸﾞﾗﾑに関連づけしました。", title, ui::Icon::Information, ui::Buttons::Ok);
        break;
    case ui::AssociationResult::CannotCreateKey: services_.showError(".ole2 ファイルの関連付けができません"); break;
    case ui::AssociationResult::CannotSetValue: services_.showError("ファイルの関連付けができません"); break;
    }
}

std::string joinArguments(int argc, const char* const* argv) {
    std::string path;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) path += ' ';
        path += argv[i];
    }
    return path;
}

} // namespace model
