// The palette's button pictures (OFF raised, ON pressed, NO greyed), drawn in code for every picture button.
#pragma once
#include "editor/WindowView.h"

#include <QPixmap>
#include <string>

namespace app::forms {

using editor::Picture;

inline constexpr int kPaletteButtonSize = 30;

// The picture of button `name` (imgLine, imgKigu1, ...) in the given state.
QPixmap palettePicture(const std::string& name, Picture state);

} // namespace app::forms
