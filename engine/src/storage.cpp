#include "storage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace c4 {

namespace {

struct FaultState {
    long count[4] = {0, 0, 0, 0};
    long armedAt[4] = {0, 0, 0, 0}; // absolute operation number, 0 = none
    FaultAction action[4] = {FaultAction::None, FaultAction::None, FaultAction::None, FaultAction::None};
};

FaultState& faults() {
    static FaultState state;
    return state;
}

// Counts one operation and tells what the armed fault (if any) asks for.
FaultAction nextOp(IoOp op) {
    auto& f = faults();
    int i = static_cast<int>(op);
    ++f.count[i];
    if (f.armedAt[i] != 0 && f.count[i] == f.armedAt[i]) {
        FaultAction a = f.action[i];
        f.armedAt[i] = 0;
        f.action[i] = FaultAction::None;
        return a;
    }
    return FaultAction::None;
}

[[noreturn]] void crashNow() {
    _exit(137);
}

} // namespace

void faultSet(IoOp op, long nth, FaultAction action) {
    auto& f = faults();
    int i = static_cast<int>(op);
    f.armedAt[i] = nth > 0 ? f.count[i] + nth : 0;
    f.action[i] = nth > 0 ? action : FaultAction::None;
}

long faultCount(IoOp op) {
    return faults().count[static_cast<int>(op)];
}

File::~File() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::unique_ptr<File> File::open(const std::string& path, bool writable, bool create, int& err) {
    // O_NONBLOCK: a FIFO in a table's place must never block the open (it is
    // refused below); on regular files the flag changes nothing.
    int flags = (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK;
    if (create)
        flags |= O_CREAT | O_TRUNC;
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0 && writable && !create && (errno == EACCES || errno == EROFS)) {
        // A read-only table still opens for reading.
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        writable = false;
    }
    if (fd < 0) {
        err = errno;
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return nullptr;
    }
    err = 0;
    return std::unique_ptr<File>(new File(fd, path, writable));
}

bool File::readAt(int64_t off, void* buf, size_t n) {
    return readSome(off, buf, n) == static_cast<long>(n);
}

long File::readSome(int64_t off, void* buf, size_t n) {
    FaultAction a = nextOp(IoOp::Read);
    if (a == FaultAction::Fail) {
        errno = EIO;
        return -1;
    }
    if (a == FaultAction::CrashBefore || a == FaultAction::CrashTorn)
        crashNow();
    size_t done = 0;
    auto* p = static_cast<char*>(buf);
    while (done < n) {
        ssize_t r = ::pread(fd_, p + done, n - done, off + static_cast<int64_t>(done));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (r == 0)
            break;
        done += static_cast<size_t>(r);
    }
    return static_cast<long>(done);
}

bool File::writeAt(int64_t off, const void* buf, size_t n) {
    FaultAction a = nextOp(IoOp::Write);
    if (a == FaultAction::Fail) {
        errno = EIO;
        return false;
    }
    if (a == FaultAction::CrashBefore)
        crashNow();
    size_t limit = a == FaultAction::CrashTorn ? n / 2 : n;
    size_t done = 0;
    auto* p = static_cast<const char*>(buf);
    while (done < limit) {
        ssize_t r = ::pwrite(fd_, p + done, limit - done, off + static_cast<int64_t>(done));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(r);
    }
    if (a == FaultAction::CrashTorn)
        crashNow();
    return true;
}

bool File::sync() {
    FaultAction a = nextOp(IoOp::Sync);
    if (a == FaultAction::Fail) {
        errno = EIO;
        return false;
    }
    if (a != FaultAction::None)
        crashNow();
    return ::fdatasync(fd_) == 0;
}

bool File::truncate(int64_t size) {
    FaultAction a = nextOp(IoOp::Write);
    if (a == FaultAction::Fail) {
        errno = EIO;
        return false;
    }
    if (a != FaultAction::None)
        crashNow();
    return ::ftruncate(fd_, size) == 0;
}

int64_t File::size() {
    struct stat st;
    if (fstat(fd_, &st) != 0)
        return -1;
    return st.st_size;
}

bool File::identity(dev_t& dev, ino_t& ino) {
    struct stat st;
    if (fstat(fd_, &st) != 0)
        return false;
    dev = st.st_dev;
    ino = st.st_ino;
    return true;
}

bool File::lock(int64_t off, int64_t len, bool exclusive, bool wait) {
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = static_cast<short>(exclusive && writable_ ? F_WRLCK : F_RDLCK);
    fl.l_whence = SEEK_SET;
    fl.l_start = off;
    fl.l_len = len;
    for (;;) {
        if (fcntl(fd_, wait ? F_SETLKW : F_SETLK, &fl) == 0)
            return true;
        if (errno == EINTR)
            continue;
        return false;
    }
}

void File::unlock(int64_t off, int64_t len) {
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = off;
    fl.l_len = len;
    fcntl(fd_, F_SETLK, &fl);
}

bool fileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string findCaseInsensitive(const std::string& path) {
    if (fileExists(path))
        return path;
    auto slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    DIR* d = opendir(dir.c_str());
    if (!d)
        return "";
    std::string found;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, base.c_str()) == 0) {
            std::string candidate =
                slash == std::string::npos ? std::string(e->d_name) : path.substr(0, slash + 1) + e->d_name;
            if (fileExists(candidate)) {
                found = candidate;
                break;
            }
        }
    }
    closedir(d);
    return found;
}

std::string findEntryCaseInsensitive(const std::string& path, EntryKind& kind) {
    struct stat st;
    kind = EntryKind::None;
    auto kindOf = [&](const std::string& p) {
        if (::lstat(p.c_str(), &st) != 0)
            return EntryKind::None;
        return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? EntryKind::Regular : EntryKind::Other;
    };
    if ((kind = kindOf(path)) != EntryKind::None)
        return path;
    auto slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    DIR* d = opendir(dir.c_str());
    if (!d)
        return "";
    std::string found;
    // A regular file wins over another entry whose name differs only in case.
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, base.c_str()) != 0)
            continue;
        std::string candidate =
            slash == std::string::npos ? std::string(e->d_name) : path.substr(0, slash + 1) + e->d_name;
        EntryKind k = kindOf(candidate);
        if (k == EntryKind::Regular || (k == EntryKind::Other && found.empty())) {
            found = candidate;
            kind = k;
            if (k == EntryKind::Regular)
                break;
        }
    }
    closedir(d);
    return found;
}

std::string describeEntry(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return "missing";
    if (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) != 0)
        return "a link to nothing";
    if (S_ISDIR(st.st_mode))
        return "a directory";
    if (S_ISFIFO(st.st_mode))
        return "a FIFO";
    if (S_ISSOCK(st.st_mode))
        return "a socket";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return "a device";
    return S_ISREG(st.st_mode) ? "a file" : "not a file";
}

std::string moveAsideUnique(const std::string& path, const std::string& suffix) {
    for (int n = 1; n < 10000; ++n) {
        std::string to = path + suffix + (n == 1 ? std::string() : "." + std::to_string(n));
        // RENAME_NOREPLACE: a copy kept earlier is never overwritten, even
        // when two processes set files aside at once.
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return to;
        if (errno == EINVAL || errno == ENOSYS) {
            // A file system without the flag: look before moving.
            struct stat st;
            if (::lstat(to.c_str(), &st) == 0)
                continue;
            return ::rename(path.c_str(), to.c_str()) == 0 ? to : "";
        }
        if (errno != EEXIST)
            return "";
    }
    return "";
}

bool renameFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool syncDirectoryOf(const std::string& path) {
    auto slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace c4
