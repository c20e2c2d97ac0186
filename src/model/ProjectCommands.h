// The file menu's flows over the project file: open, save, save as, the close query and the file association.
#pragma once
#include "catalog/FixtureType.h"
#include "model/Document.h"
#include "ui/Services.h"

#include <functional>
#include <string>

namespace model {

inline constexpr const char* kOpenFilter = "ORDIVANﾌｧｲﾙ(*.OLE)|*.OLE";
inline constexpr const char* kSaveFilter = "ORDIVANﾌｧｲﾙ (*.OLE) | *.OLE";
inline constexpr const char* kAskSave = "データを保存しますか？";

// What the windows do around a file operation; each may be left empty in headless use.
struct ProjectHooks {
    std::function<void()> clearPlan;             // the editor's whole clear (plan, grid, registration window)
    std::function<void()> refreshRegistration;   // the registration window's slot list
    std::function<void()> redrawPlan;            // redraw without a background
    std::function<void()> surfaceResized;        // the drawing surface grew to fit the plan
    std::function<void(const std::string&)> fileUsed;  // a project was read from or written to this path
};

class ProjectCommands {
public:
    ProjectCommands(Document& doc, WindowShown& shown, catalog::TourokuTable& touroku, ui::Services& services, ProjectHooks hooks = {});

    // 開く(&O): offers to save unsaved changes (as closing does), asks for a file, validates it,
    // clears the plan and reads it.
    bool openFromMenu();
    // The start dialog's "保存データの読み込み": the plan is empty, so it is not cleared first.
    bool openFromStartDialog();
    // A path named on the command line (the arguments joined by blanks), opened like 開く.
    bool openPath(const std::string& path);
    // 上書き保存(&S).
    bool save();
    // 名前をつけて保存(&A).
    bool saveAs();
    // Before the plan goes (closing the main window, 開く, 新規作成): asks whether to save unsaved
    // changes; true when the plan may go.
    bool closeQuery();
    // ﾌｧｲﾙの関連づけ.
    void registerFileType();

private:
    bool readValidated(const std::string& path, bool clearFirst);
    bool writeTo(const std::string& path);
    void showOpened(const std::string& path);
    void call(const std::function<void()>& f) {
        if (f) f();
    }

    Document& doc_;
    WindowShown& shown_;
    catalog::TourokuTable& touroku_;
    ui::Services& services_;
    ProjectHooks hooks_;
};

// The command-line arguments joined by single blanks into one path.
std::string joinArguments(int argc, const char* const* argv);

} // namespace model
