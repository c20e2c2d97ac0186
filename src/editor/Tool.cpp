// The two-click operation every rectangle and line tool shares, and the context's refusal and length dialog.
#include "editor/Tool.h"

namespace editor {

void ToolContext::stop(const std::string& text, const std::string& title) const {
    services.messageBox(text, title, ui::Icon::Stop, ui::Buttons::Ok);
}

LengthAnswer ToolContext::askLength(const LengthRequest& request) const {
    return hooks.askLength ? hooks.askLength(request) : LengthAnswer{};
}

ToolOutcome TwoClickTool::press(ui::Point p) {
    if (progress_ == Progress::Idle) {
        anchorAt(p);
        return ToolOutcome::Kept;
    }
    progress_ = Progress::Idle;
    return complete(start_, p);
}

RubberBand TwoClickTool::bandTo(ui::Point pointer) {
    RubberBand band;
    if (progress_ == Progress::Idle) return band;
    band.shape = band_;
    band.from = start_;
    band.to = pointer;
    return band;
}

std::optional<ui::Point> TwoClickTool::startPoint() const {
    if (progress_ == Progress::Idle) return std::nullopt;
    return start_;
}

void TwoClickTool::anchorAt(ui::Point start) {
    start_ = start;
    progress_ = Progress::FirstClickMade;
}

} // namespace editor
