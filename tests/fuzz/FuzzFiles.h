// Shared by the fuzz targets that read files: writes the fuzzer's bytes as a named file of a private directory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fuzzing {

inline std::string scratchDir() {
    static const std::string dir = [] {
        std::string d = "/tmp/ordivan_fuzz_" + std::to_string(getpid());
        mkdir(d.c_str(), 0700);
        return d;
    }();
    return dir;
}

// The file's full path.
inline std::string writeFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    const std::string path = scratchDir() + "/" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

inline std::string writeText(const std::string& name, const std::string& text) {
    return writeFile(name, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

} // namespace fuzzing
