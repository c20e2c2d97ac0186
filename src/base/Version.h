// The program's version, defined once by the build and shown by the title, the About box, the sheets and --version.
#pragma once
#include <string>

namespace base {

// "2.0": the version number alone.
const char* programVersion();

// "ORDIVAN Ver 2.0": the product title of the window, the version window and the printed sheets.
std::string productTitle();

} // namespace base
