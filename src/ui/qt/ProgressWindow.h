// The shared progress window as the Qt services see it; the calculation's progress form implements it.
#pragma once
#include <string>

namespace ui::qt {

class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    // Shows the window; showing it resets the position and clears the cancel flag.
    virtual void showProgress(const std::string& caption, const std::string& text, int maximum, bool barVisible,
                              bool cancelVisible) = 0;
    virtual void setPosition(int position) = 0;
    virtual void hideProgress() = 0;
    virtual bool cancelRequested() const = 0;
};

} // namespace ui::qt
