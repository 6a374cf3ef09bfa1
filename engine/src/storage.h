// File access for the engine. Every read, write, sync and lock of a table,
// memo or tag file goes through File, so that tests can make the Nth
// operation fail (an I/O error) or end the process in the middle of it (a
// crash), and prove that the files still open and hold every unlocked change.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <sys/types.h>

namespace c4 {

enum class IoOp { Read = 1, Write = 2, Sync = 3 };

enum class FaultAction {
    None = 0,
    Fail = 1,       // the operation reports EIO and does nothing
    CrashTorn = 2,  // a write puts half its bytes down, then the process ends
    CrashBefore = 3 // the process ends before the operation
};

// Arms a fault for the nth operation of kind op from now (1 = the next one).
void faultSet(IoOp op, long nth, FaultAction action);
// Number of operations of that kind done since the process started.
long faultCount(IoOp op);

class File {
public:
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens path; errno-style code in err on failure.
    static std::unique_ptr<File> open(const std::string& path, bool writable, bool create, int& err);

    const std::string& path() const { return path_; }
    bool writable() const { return writable_; }

    // Reads exactly n bytes at off; false on error or short read.
    bool readAt(int64_t off, void* buf, size_t n);
    // Reads up to n bytes; returns bytes read or -1.
    long readSome(int64_t off, void* buf, size_t n);
    bool writeAt(int64_t off, const void* buf, size_t n);
    bool sync();
    bool truncate(int64_t size);
    int64_t size();
    // Identity of the open file, to notice that the path now names another file.
    bool identity(dev_t& dev, ino_t& ino);

    // POSIX record locks (fcntl). wait: block until granted.
    bool lock(int64_t off, int64_t len, bool exclusive, bool wait);
    void unlock(int64_t off, int64_t len);

private:
    File(int fd, std::string path, bool writable) : fd_(fd), path_(std::move(path)), writable_(writable) {}
    int fd_;
    std::string path_;
    bool writable_;
};

// Small helpers over the file system.
bool fileExists(const std::string& path);
// What a name in a directory is: nothing, a regular file, or something a
// table can never be (a directory, a FIFO, a device, a dangling link).
enum class EntryKind { None, Regular, Other };
// Like findCaseInsensitive, but finds an entry of any kind; kind tells which.
std::string findEntryCaseInsensitive(const std::string& path, EntryKind& kind);
// A few words naming what the entry at path is ("a directory", "a FIFO").
std::string describeEntry(const std::string& path);
// Moves path to path + suffix, or path + suffix + ".2", ".3" ... when that
// name is taken, so no earlier copy is ever overwritten. The new name, or ""
// when the move failed.
std::string moveAsideUnique(const std::string& path, const std::string& suffix);
// Finds an existing file whose name matches the last component of path
// without regard to case; returns the path on disk or "".
std::string findCaseInsensitive(const std::string& path);
bool renameFile(const std::string& from, const std::string& to);
bool removeFile(const std::string& path);
bool syncDirectoryOf(const std::string& path);

} // namespace c4
