// Bounded reading of files from outside (CP932 text lines or whole files) and the one safe way we write files.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace base {

// Opens a file for reading only when it is a regular file: a FIFO, a device or a directory would
// block the program or never end. Null when the file cannot be opened or is not regular.
std::FILE* openRegularFile(const std::string& path);

enum class WholeRead { Ok, CannotOpen, TooLarge };
// Reads a regular file of at most maxBytes bytes into `bytes` (emptied on failure).
WholeRead readWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

// Reads a text file line by line. A line holds at most 299 bytes before its line feed, as the
// program's fixed 300-byte line buffer always allowed; a longer line is reported, never cut into two.
// A file may also be given a byte limit: the reader stops at the first byte past it and from then on
// reports TooLong, and a file whose size already passes it is refused before a byte of it is read, so
// a hostile file costs no more than the limit however large it is.
class LineReader {
public:
    static constexpr std::size_t kMaxLineBytes = 299;
    static constexpr std::uint64_t kNoByteLimit = UINT64_MAX;
    enum class Status { Line, End, TooLong };

    explicit LineReader(const std::string& path, std::size_t maxLineBytes = kMaxLineBytes,
                        std::uint64_t maxFileBytes = kNoByteLimit);
    // Reads the lines of bytes in memory, which must outlive the reader.
    struct FromMemory {};
    LineReader(FromMemory, const std::string& bytes, std::size_t maxLineBytes = kMaxLineBytes);
    bool isOpen() const { return file_ != nullptr; }
    // Next line as raw bytes without its CR LF or LF.
    Status next(std::string& rawLine);
    // Next line decoded from CP932 to UTF-8.
    Status nextText(std::string& utf8Line);

private:
    static constexpr int kPastLimit = EOF - 1;
    int take();  // the next byte, EOF at the end, kPastLimit past the file's byte limit

    struct Closer {
        void operator()(std::FILE* f) const { if (f) std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::size_t maxLineBytes_;
    std::uint64_t bytesLeft_ = kNoByteLimit;
    bool spent_ = false;  // the byte limit was passed: nothing more is read
};

// Every file the program writes goes through this writer. The bytes go to a temporary of a unique
// name beside the destination, created exclusively (a planted file or link of that name is never
// followed or consumed); commit() flushes and syncs it, gives it the destination's permissions and
// renames it over the destination. A destination that is a symbolic link is replaced where the link
// points, so the link stays. Until commit() succeeds the old file is untouched, and a failed or
// abandoned write leaves no temporary behind. A device (such as /dev/null) is written directly.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    void write(const std::string& bytes);
    // Writes the UTF-8 text as CP932 followed by CR LF.
    void writeLine(const std::string& utf8);
    // Flushes, syncs and renames; false (and nothing replaced) when anything failed.
    bool commit();

private:
    void flushBuffer();
    void discard();

    std::string target_;     // the destination with its links resolved
    std::string tempPath_;   // the named temporary; empty while the temporary has no name yet
    int fd_ = -1;
    int mode_ = 0;           // permissions the finished file gets
    bool direct_ = false;    // a device written in place
    bool anonymous_ = false; // created unnamed in the directory, named only at commit
    bool failed_ = false;
    bool holdBytes_ = false; // a device's bytes kept until the batch puts every output in place
    std::string buffer_;
};

// The outputs of one command put in place together. While a batch is open on this thread, each
// AtomicFileWriter::commit() leaves its finished, synced temporary (for a device or a pipe, its bytes)
// with the batch and nothing reaches a destination; putInPlace() then renames them all. A batch closed
// without putInPlace() removes every temporary, so a refused run leaves no new file behind.
class OutputBatch {
public:
    OutputBatch();
    ~OutputBatch();
    OutputBatch(const OutputBatch&) = delete;
    OutputBatch& operator=(const OutputBatch&) = delete;

    // Puts the outputs in place in the order they were finished; the destination of the first that
    // could not be put in place, empty when every one was.
    std::string putInPlace();

    struct Pending {
        std::string target;
        std::string tempPath;    // a named temporary; empty for an unnamed one or a device
        int fd = -1;             // the unnamed temporary or the device, still open
        bool anonymous = false;
        bool direct = false;
        std::string bytes;       // what a device takes
    };
    static OutputBatch* current();
    void keep(Pending pending) { pending_.push_back(std::move(pending)); }

private:
    std::vector<Pending> pending_;
    OutputBatch* outer_;
};

// Whether `path` can take an output, asked before any work is done: a missing folder, a directory,
// a file or device the user may not write, a closed descriptor are refused. Nothing is created.
bool outputWritable(const std::string& path);

// The file an output or input path stands for, to tell when two of them are one: the device and inode
// of an existing file (what /dev/stdout or /dev/fd/N is open on included), else the would-be file's
// absolute path. Empty for the null device, which any number of outputs may share.
std::string fileIdentity(const std::string& path);

// Writes `bytes` as the whole file through AtomicFileWriter.
bool writeWholeFile(const std::string& path, const std::string& bytes);

} // namespace base
