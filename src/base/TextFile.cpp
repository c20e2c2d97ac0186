// Bounded readers of regular files and the exclusive-temporary-then-rename writer.
#include "base/TextFile.h"

#include "base/Cp932.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace base {
namespace {

// Opened without waiting for a writer (a FIFO would block the open), kept only when regular.
int openRegularDescriptor(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows a chain of symbolic links to the file they name (which need not exist yet).
std::string resolveLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string link(4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return path;
        link.resize(static_cast<std::size_t>(n));
        path = link.front() == '/' ? link : directoryOf(path) + "/" + link;
    }
    return path;
}

// The permissions a newly created file gets from the user's umask.
mode_t permissionsForNewFile() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) return 0666 & ~static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

// A name beside the destination that nobody is likely to hold; the exclusive creation checks it.
std::string temporaryName(const std::string& target) {
    static thread_local std::mt19937_64 random{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
    std::string name = nameOf(target).substr(0, 200);
    char suffix[20];
    std::snprintf(suffix, sizeof suffix, ".%012llx~", static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFULL));
    return directoryOf(target) + "/." + name + suffix;
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Creates the temporary under a fresh name, never following or taking over a file of that name.
int createNamedTemporary(const std::string& target, std::string& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = temporaryName(target);
        const int fd = ::open(tempPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    tempPath.clear();
    return -1;
}

// Copies an unnamed temporary that could not be given a name into a named one.
bool copyInto(int from, int to) {
    char chunk[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(from, chunk, sizeof chunk, at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return ::fsync(to) == 0;
        if (!writeAll(to, chunk, static_cast<std::size_t>(n))) return false;
        at += n;
    }
}

void syncDirectory(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

std::FILE* openRegularFile(const std::string& path) {
    const int fd = openRegularDescriptor(path);
    if (fd < 0) return nullptr;
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) ::close(fd);
    return f;
}

WholeRead readWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    bytes.clear();
    const int fd = openRegularDescriptor(path);
    if (fd < 0) return WholeRead::CannotOpen;
    char chunk[65536];
    WholeRead result = WholeRead::Ok;
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result = WholeRead::CannotOpen;
            break;
        }
        if (n == 0) break;
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
            result = WholeRead::TooLarge;
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (result != WholeRead::Ok) bytes.clear();
    return result;
}

LineReader::LineReader(const std::string& path, std::size_t maxLineBytes, std::uint64_t maxFileBytes)
    : file_(openRegularFile(path)), maxLineBytes_(maxLineBytes), bytesLeft_(maxFileBytes) {
    struct stat st {};
    if (file_ && ::fstat(fileno(file_.get()), &st) == 0 && static_cast<std::uint64_t>(st.st_size) > maxFileBytes) spent_ = true;
}

LineReader::LineReader(FromMemory, const std::string& bytes, std::size_t maxLineBytes)
    : file_(bytes.empty() ? nullptr : ::fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb")),
      maxLineBytes_(maxLineBytes) {}

int LineReader::take() {
    const int c = getc_unlocked(file_.get());
    if (c == EOF) return EOF;
    if (bytesLeft_ == 0) return kPastLimit;
    --bytesLeft_;
    return c;
}

LineReader::Status LineReader::next(std::string& rawLine) {
    rawLine.clear();
    if (spent_) return Status::TooLong;
    if (!file_) return Status::End;
    int c = take();
    if (c == EOF) return Status::End;
    bool tooLong = false;
    while (c != EOF && c != '\n' && c != kPastLimit) {
        if (rawLine.size() <= maxLineBytes_) {
            rawLine.push_back(static_cast<char>(c));
        } else {
            tooLong = true;
        }
        c = take();
    }
    if (c == kPastLimit) spent_ = true;
    if (!rawLine.empty() && rawLine.back() == '\r') rawLine.pop_back();
    if (spent_ || tooLong || rawLine.size() > maxLineBytes_) {
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

AtomicFileWriter::AtomicFileWriter(const std::string& path) : target_(resolveLinks(path)) {
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) {
            // Nothing to replace: /dev/null, /dev/stdout and pipes take the bytes as they come.
            fd_ = ::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
            if (fd_ >= 0) {
                const int flags = ::fcntl(fd_, F_GETFL);
                if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
                direct_ = true;
            }
            return;
        }
        if (!S_ISREG(st.st_mode)) return;
        mode_ = static_cast<int>(st.st_mode & 07777);
    } else {
        mode_ = static_cast<int>(permissionsForNewFile());
    }
    const std::string dir = directoryOf(target_);
#ifdef O_TMPFILE
    // An unnamed file vanishes by itself when the program is killed before commit.
    if (::access("/proc/self/fd", X_OK) == 0) {
        fd_ = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd_ >= 0) {
            anonymous_ = true;
            return;
        }
    }
#endif
    fd_ = createNamedTemporary(target_, tempPath_);
}

AtomicFileWriter::~AtomicFileWriter() { discard(); }

void AtomicFileWriter::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
    tempPath_.clear();
}

void AtomicFileWriter::flushBuffer() {
    if (!failed_ && !buffer_.empty() && !writeAll(fd_, buffer_.data(), buffer_.size())) failed_ = true;
    buffer_.clear();
}

void AtomicFileWriter::write(const std::string& bytes) {
    if (fd_ < 0 || failed_) return;
    buffer_ += bytes;
    if (buffer_.size() >= 65536) flushBuffer();
}

void AtomicFileWriter::writeLine(const std::string& utf8) { write(utf8ToCp932(utf8) + "\r\n"); }

bool AtomicFileWriter::commit() {
    if (fd_ < 0) return false;
    flushBuffer();
    if (direct_) {
        const bool ok = !failed_ && ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }
    bool ok = !failed_ && ::fsync(fd_) == 0;
    // A file system without permissions (a memory card) refuses this; the file is still whole.
    if (ok) ::fchmod(fd_, static_cast<mode_t>(mode_));
#ifdef O_TMPFILE
    if (ok && anonymous_) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        bool linked = false;
        for (int attempt = 0; attempt < 100 && !linked; ++attempt) {
            const std::string name = temporaryName(target_);
            linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
            if (linked) tempPath_ = name;
            else if (errno != EEXIST) break;
        }
        if (!linked) {
            // A file system that makes unnamed files but cannot link them: the bytes go to a named one.
            const int named = createNamedTemporary(target_, tempPath_);
            ok = named >= 0 && copyInto(fd_, named);
            if (named >= 0) ::fchmod(named, static_cast<mode_t>(mode_));
            ::close(fd_);
            fd_ = named;
        }
    }
#endif
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    if (!ok || ::rename(tempPath_.c_str(), target_.c_str()) != 0) {
        discard();
        return false;
    }
    tempPath_.clear();
    syncDirectory(directoryOf(target_));
    return true;
}

bool writeWholeFile(const std::string& path, const std::string& bytes) {
    AtomicFileWriter file(path);
    if (!file.isOpen()) return false;
    file.write(bytes);
    return file.commit();
}

} // namespace base
