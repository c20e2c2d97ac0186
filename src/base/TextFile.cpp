// Line reader and temporary-file-then-rename writer.
#include "base/TextFile.h"

#include "base/Cp932.h"

#include <cstdio>
#include <unistd.h>

namespace base {

LineReader::LineReader(const std::string& path, std::size_t maxLineBytes)
    : file_(std::fopen(path.c_str(), "rb")), maxLineBytes_(maxLineBytes) {}

LineReader::Status LineReader::next(std::string& rawLine) {
    rawLine.clear();
    if (!file_) return Status::End;
    int c = std::fgetc(file_.get());
    if (c == EOF) return Status::End;
    bool tooLong = false;
    while (c != EOF && c != '\n') {
        if (rawLine.size() <= maxLineBytes_) {
            rawLine.push_back(static_cast<char>(c));
        } else {
            tooLong = true;
        }
        c = std::fgetc(file_.get());
    }
    if (!rawLine.empty() && rawLine.back() == '\r') rawLine.pop_back();
    if (tooLong || rawLine.size() > maxLineBytes_) {
        rawLine.clear();
        return Status::TooLong;
    }
    return Status::Line;
}

LineReader::Status LineReader::nextText(std::string& utf8Line) {
    std::string raw;
    Status s = next(raw);
    utf8Line = s == Status::Line ? cp932ToUtf8(raw) : std::string();
    return s;
}

AtomicFileWriter::AtomicFileWriter(const std::string& path) : path_(path), tempPath_(path + ".tmp~") {
    file_ = std::fopen(tempPath_.c_str(), "wb");
}

AtomicFileWriter::~AtomicFileWriter() {
    if (file_) {
        std::fclose(file_);
        std::remove(tempPath_.c_str());
    }
}

void AtomicFileWriter::write(const std::string& bytes) {
    if (!file_ || failed_) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
}

void AtomicFileWriter::writeLine(const std::string& utf8) { write(utf8ToCp932(utf8) + "\r\n"); }

bool AtomicFileWriter::commit() {
    if (!file_) return false;
    bool ok = !failed_ && std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    if (ok && std::rename(tempPath_.c_str(), path_.c_str()) == 0) return true;
    std::remove(tempPath_.c_str());
    return false;
}

} // namespace base
