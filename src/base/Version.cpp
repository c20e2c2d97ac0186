// The version text the build passes in as ORDIVAN_VERSION.
#include "base/Version.h"

#ifndef ORDIVAN_VERSION
#error "the build defines ORDIVAN_VERSION for this file"
#endif

namespace base {

const char* programVersion() { return ORDIVAN_VERSION; }

std::string productTitle() { return std::string("ORDIVAN Ver ") + programVersion(); }

} // namespace base
