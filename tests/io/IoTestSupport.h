// Helpers of the interchange tests: source paths, a scratch directory, and ezdxf as the independent DXF reader.
#pragma once
#include "support/TestPaths.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace iotest {

inline std::filesystem::path sourceDir() { return testsupport::sourceDir(); }

inline std::filesystem::path templateDir() { return sourceDir() / "data" / "zolt_data"; }

// The Debian interpreter, which has python3-ezdxf, even when another python3 comes first on PATH.
inline std::string python() {
    return std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
}

inline std::string quote(const std::string& s) { return "'" + s + "'"; }

// Runs a command and returns its standard output (standard error folded in).
inline std::string run(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int rc = pclose(p);
    if (status) *status = rc;
    return out;
}

// What ezdxf finds in a DXF file: one row per audit count, layer and entity, fields split at '|'.
struct Probe {
    int status = -1;
    std::string raw;
    std::vector<std::vector<std::string>> rows;

    std::vector<std::vector<std::string>> of(const std::string& kind) const {
        std::vector<std::vector<std::string>> r;
        for (const auto& row : rows)
            if (!row.empty() && row[0] == kind) r.push_back(row);
        return r;
    }
    std::vector<std::vector<std::string>> on(const std::string& kind, const std::string& layer) const {
        std::vector<std::vector<std::string>> r;
        for (const auto& row : of(kind))
            if (row.size() > 1 && row[1] == layer) r.push_back(row);
        return r;
    }
    int auditErrors() const {
        const auto a = of("AUDIT");
        return a.empty() ? -1 : std::atoi(a[0][1].c_str());
    }
};

inline Probe probeDxf(const std::filesystem::path& file) {
    Probe p;
    p.raw = run(python() + " " + quote((sourceDir() / "tests" / "io" / "dxf_probe.py").string()) + " " +
                    quote(file.string()),
                &p.status);
    std::istringstream in(p.raw);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (;;) {
            const std::size_t bar = line.find('|', start);
            fields.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
            if (bar == std::string::npos) break;
            start = bar + 1;
        }
        p.rows.push_back(std::move(fields));
    }
    return p;
}

// Writes a DXF drawing with ezdxf ("R12" or "R2000"); true on success.
inline bool makeDxfWithEzdxf(const std::filesystem::path& file, const std::string& version) {
    int status = -1;
    run(python() + " " + quote((sourceDir() / "tests" / "io" / "dxf_make.py").string()) + " " + quote(file.string()) +
            " " + version,
        &status);
    return status == 0;
}

inline std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

// A fresh directory under the system's temporary folder, removed with the object.
class ScratchDir {
public:
    ScratchDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "ordivan_io_XXXXXX").string();
        path_ = mkdtemp(tmpl.data()) ? std::filesystem::path(tmpl) : std::filesystem::temp_directory_path();
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

} // namespace iotest
