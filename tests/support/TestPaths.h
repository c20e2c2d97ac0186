// Where a test program finds the sources, the build and ordivan-cli: the folders CMake compiled in,
// unless ORDIVAN_SOURCE_DIR, ORDIVAN_BINARY_DIR or ORDIVAN_CLI say otherwise.
#pragma once
#include <cstdlib>
#include <string>

#ifndef ORDIVAN_TEST_SOURCE_DIR
#error "the build defines ORDIVAN_TEST_SOURCE_DIR, ORDIVAN_TEST_BINARY_DIR and ORDIVAN_TEST_CLI for tests"
#endif

namespace testsupport {

inline std::string fromEnvironment(const char* variable, const char* built) {
    const char* value = std::getenv(variable);
    return value && *value ? value : built;
}

inline std::string sourceDir() { return fromEnvironment("ORDIVAN_SOURCE_DIR", ORDIVAN_TEST_SOURCE_DIR); }
inline std::string binaryDir() { return fromEnvironment("ORDIVAN_BINARY_DIR", ORDIVAN_TEST_BINARY_DIR); }
inline std::string cliPath() { return fromEnvironment("ORDIVAN_CLI", ORDIVAN_TEST_CLI); }

} // namespace testsupport
