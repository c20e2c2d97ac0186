// Bounded readers of regular files and the exclusive-temporary-then-rename writer.
#include "base/TextFile.h"

#include "base/Cp932.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

// Whether a link may be followed: in a folder anyone may write to whose sticky bit keeps others'
// files apart (/tmp), only a link of our own or of the folder's owner, as the kernel's own rule for
// protected links has it; a link planted there by another user would send our file where they chose.
bool mayFollow(const std::string& link, const struct stat& linkStat) {
    struct stat folder {};
    if (::stat(directoryOf(link).c_str(), &folder) != 0) return false;
    const bool sharedSticky = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !sharedSticky || linkStat.st_uid == ::geteuid() || linkStat.st_uid == folder.st_uid;
}

// Follows a chain of symbolic links to the file they name (which need not exist yet). Empty for a
// loop, an unreadable link or one that may not be followed.
std::string resolveLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        if (!mayFollow(path, st)) return {};
        std::string link(4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return {};
        link.resize(static_cast<std::size_t>(n));
        path = link.front() == '/' ? link : directoryOf(path) + "/" + link;
    }
    return {};
}

// The descriptor a name such as /dev/stdout or /dev/fd/N stands for (the shell's process
// substitution hands out the latter); -1 for any other name. Such an output is written to the open
// descriptor itself, so what the shell wrote before it stays and what follows comes after.
int descriptorNamed(const std::string& path) {
    if (path == "/dev/stdout") return 1;
    if (path == "/dev/stderr") return 2;
    for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        const std::string p(prefix);
        if (path.size() <= p.size() || path.size() > p.size() + 6 || path.compare(0, p.size(), p) != 0) continue;
        int n = 0;
        for (std::size_t i = p.size(); i < path.size(); ++i) {
            if (path[i] < '0' || path[i] > '9') return -1;
            n = n * 10 + (path[i] - '0');
        }
        return n;
    }
    return -1;
}

bool descriptorWritable(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_ACCMODE) != O_RDONLY;
}

bool isNullDevice(const struct stat& st) { return S_ISCHR(st.st_mode) && st.st_rdev == makedev(1, 3); }

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

AtomicFileWriter::AtomicFileWriter(const std::string& path)
    : target_(resolveLinks(path)), holdBytes_(OutputBatch::current() != nullptr) {
    if (const int named = descriptorNamed(path); named >= 0) {
        target_ = path;
        if (descriptorWritable(named)) fd_ = ::fcntl(named, F_DUPFD_CLOEXEC, 0);
        direct_ = fd_ >= 0;
        return;
    }
    if (target_.empty()) return;
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) {
            // Nothing to replace: /dev/null, a terminal and pipes take the bytes as they come.
            fd_ = ::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
            if (fd_ >= 0) {
                const int flags = ::fcntl(fd_, F_GETFL);
                if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
                direct_ = true;
            }
            return;
        }
        // A file the user may not write is refused, as a copy onto it would be, even where the
        // folder would let us replace it.
        if (!S_ISREG(st.st_mode) || ::access(target_.c_str(), W_OK) != 0) return;
        mode_ = static_cast<int>(st.st_mode & 07777);
    } else {
        if (errno != ENOENT) return;
        mode_ = static_cast<int>(permissionsForNewFile());
    }
    holdBytes_ = false;
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
    if (buffer_.size() >= 65536 && !holdBytes_) flushBuffer();
}

void AtomicFileWriter::writeLine(const std::string& utf8) { write(utf8ToCp932(utf8) + "\r\n"); }

namespace {

thread_local OutputBatch* openBatch = nullptr;

// Names an unnamed temporary (or copies it into a named one) and renames it over its destination;
// a device takes its bytes. The descriptor is closed and no temporary is left, whatever happens.
bool putFileInPlace(OutputBatch::Pending& p) {
    if (p.direct) {
        const bool ok = writeAll(p.fd, p.bytes.data(), p.bytes.size());
        const bool closed = ::close(p.fd) == 0;
        p.fd = -1;
        return ok && closed;
    }
    bool ok = true;
#ifdef O_TMPFILE
    if (p.anonymous) {
        const std::string self = "/proc/self/fd/" + std::to_string(p.fd);
        bool linked = false;
        for (int attempt = 0; attempt < 100 && !linked; ++attempt) {
            const std::string name = temporaryName(p.target);
            linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
            if (linked) p.tempPath = name;
            else if (errno != EEXIST) break;
        }
        if (!linked) {
            // A file system that makes unnamed files but cannot link them: the bytes go to a named one.
            struct stat st {};
            const mode_t mode = ::fstat(p.fd, &st) == 0 ? st.st_mode & 07777 : 0600;
            const int named = createNamedTemporary(p.target, p.tempPath);
            ok = named >= 0 && copyInto(p.fd, named);
            if (named >= 0) ::fchmod(named, mode);
            ::close(p.fd);
            p.fd = named;
        }
    }
#endif
    if (p.fd >= 0) ok = ::close(p.fd) == 0 && ok;
    p.fd = -1;
    if (!ok || p.tempPath.empty() || ::rename(p.tempPath.c_str(), p.target.c_str()) != 0) {
        if (!p.tempPath.empty()) ::unlink(p.tempPath.c_str());
        p.tempPath.clear();
        return false;
    }
    p.tempPath.clear();
    syncDirectory(directoryOf(p.target));
    return true;
}

void dropPending(OutputBatch::Pending& p) {
    if (p.fd >= 0) ::close(p.fd);
    p.fd = -1;
    if (!p.tempPath.empty()) ::unlink(p.tempPath.c_str());
    p.tempPath.clear();
}

} // namespace

bool AtomicFileWriter::commit() {
    if (fd_ < 0) return false;
    OutputBatch* batch = OutputBatch::current();
    if (direct_ && holdBytes_ && batch && !failed_) {
        batch->keep(OutputBatch::Pending{target_, {}, fd_, false, true, std::move(buffer_)});
        fd_ = -1;
        return true;
    }
    flushBuffer();
    if (direct_) {
        const bool ok = !failed_ && ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }
    const bool ok = !failed_ && ::fsync(fd_) == 0;
    if (!ok) {
        discard();
        return false;
    }
    // A file system without permissions (a memory card) refuses this; the file is still whole.
    ::fchmod(fd_, static_cast<mode_t>(mode_));
    OutputBatch::Pending pending{target_, tempPath_, fd_, anonymous_, false, {}};
    fd_ = -1;
    tempPath_.clear();
    if (batch) {
        batch->keep(std::move(pending));
        return true;
    }
    return putFileInPlace(pending);
}

OutputBatch::OutputBatch() : outer_(openBatch) { openBatch = this; }

OutputBatch::~OutputBatch() {
    for (Pending& p : pending_) dropPending(p);
    openBatch = outer_;
}

OutputBatch* OutputBatch::current() { return openBatch; }

std::string OutputBatch::putInPlace() {
    std::string failed;
    for (Pending& p : pending_) {
        if (!putFileInPlace(p) && failed.empty()) failed = p.target;
    }
    pending_.clear();
    return failed;
}

bool outputWritable(const std::string& path) {
    if (path.empty()) return false;
    if (const int named = descriptorNamed(path); named >= 0) return descriptorWritable(named);
    const std::string target = resolveLinks(path);
    if (target.empty()) return false;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return false;
        if (!S_ISREG(st.st_mode) && !S_ISCHR(st.st_mode) && !S_ISFIFO(st.st_mode)) return false;
        if (::access(target.c_str(), W_OK) != 0) return false;
        return !S_ISREG(st.st_mode) || ::access(directoryOf(target).c_str(), W_OK | X_OK) == 0;
    }
    if (errno != ENOENT) return false;
    struct stat folder {};
    return ::stat(directoryOf(target).c_str(), &folder) == 0 && S_ISDIR(folder.st_mode) &&
           ::access(directoryOf(target).c_str(), W_OK | X_OK) == 0;
}

std::string fileIdentity(const std::string& path) {
    struct stat st {};
    const int named = descriptorNamed(path);
    const std::string target = named >= 0 ? path : resolveLinks(path);
    const bool found = named >= 0 ? ::fstat(named, &st) == 0 : !target.empty() && ::stat(target.c_str(), &st) == 0;
    if (found) {
        if (isNullDevice(st)) return {};
        return "inode " + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    }
    if (target.empty()) return "path " + path;
    char* folder = ::realpath(directoryOf(target).c_str(), nullptr);
    std::string identity = "path " + (folder ? std::string(folder) : directoryOf(target)) + "/" + nameOf(target);
    std::free(folder);
    return identity;
}

bool writeWholeFile(const std::string& path, const std::string& bytes) {
    AtomicFileWriter file(path);
    if (!file.isOpen()) return false;
    file.write(bytes);
    return file.commit();
}

} // namespace base
