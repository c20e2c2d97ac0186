// The properties box of one selected item: its fields in mm, and the checks the drawing dialogs make on them.
#pragma once
#include "catalog/FixtureType.h"
#include "editor/Seams.h"
#include "editor/Selection.h"
#include "model/Document.h"
#include "ui/Services.h"

#include <string>
#include <vector>

namespace editor {

// A fixture: slot, x, y, mounting height, rotation; a line: its two ends; an arc: its centre; a pillar: its
// centre and size; a task area: name, corners, required illuminance and uniformity. Positions in mm.
PropertySheet propertySheetOf(const model::Document& doc, ItemRef item);

// Writes the typed texts into the item's record in `plan`. A refusal shows the message the drawing dialog
// shows for it (a text that is no number throws base::ConversionError) and leaves the record as it was.
bool applyPropertyTexts(model::Plan& plan, const model::Document& doc, const catalog::TourokuTable& touroku, ItemRef item,
                        const std::vector<std::string>& texts, ui::Services& services);

inline constexpr const char* kMsgRotation = "回転は 0 か 90 (直管器具のみ) で入力して下さい";
inline constexpr const char* kMsgNoLength = "長さのない壁は作れません";
inline constexpr const char* kMsgEnterValue = "値を入力してください";

} // namespace editor
