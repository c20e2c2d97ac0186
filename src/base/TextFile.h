// Bounded line reading of CP932 text files and safe replacement of files we write.
#pragma once
#include <cstdio>
#include <memory>
#include <string>

namespace base {

// Reads a text file line by line. A line holds at most 299 bytes before its line feed, as the
// program's fixed 300-byte line buffer always allowed; a longer line is reported, never cut into two.
class LineReader {
public:
    static constexpr std::size_t kMaxLineBytes = 299;
    enum class Status { Line, End, TooLong };

    explicit LineReader(const std::string& path, std::size_t maxLineBytes = kMaxLineBytes);
    bool isOpen() const { return file_ != nullptr; }
    // Next line as raw bytes without its CR LF or LF.
    Status next(std::string& rawLine);
    // Next line decoded from CP932 to UTF-8.
    Status nextText(std::string& utf8Line);

private:
    struct Closer {
        void operator()(std::FILE* f) const { if (f) std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::size_t maxLineBytes_;
};

// Writes a file next to its destination and renames it over the destination only when every byte
// has reached the disk, so a failure half way never destroys the user's old file.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    void write(const std::string& bytes);
    // Writes the UTF-8 text as CP932 followed by CR LF.
    void writeLine(const std::string& utf8);
    // Flushes, closes and renames; false (and nothing replaced) when anything failed.
    bool commit();

private:
    std::string path_;
    std::string tempPath_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

} // namespace base
