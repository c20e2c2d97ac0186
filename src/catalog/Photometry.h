// Reading standard photometric files (IES LM-63 and EULUMDAT) into a fixture type selection.
#pragma once
#include "catalog/FixtureType.h"

#include <string>

namespace catalog {

inline constexpr const char* kMsgPhotometryUnreadable = "配光データを読み込めません";

// Reads an .ies or .ldt file (chosen by its content, not its name) into a selection ready for
// registration: intensities in cd per 1000 lm of lamp flux on the C0, C90 and C180 planes at 1°.
// Returns false with `error` set when the file is not a type C photometry we can read.
bool readPhotometryFile(const std::string& path, HaikouMdb& out, std::string& error);

// The same from the file's bytes (for tests and fuzzing).
bool parsePhotometry(const std::string& bytes, const std::string& name, HaikouMdb& out, std::string& error);

} // namespace catalog
