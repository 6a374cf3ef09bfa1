// The memo file beside a table: .fpt (FoxPro, big-endian block headers, any
// block size) written and read; .dbt read and written in the dBASE III style
// (text ending at 0x1A) and the dBASE IV style (length header).
#pragma once

#include "dbf_format.h"
#include "storage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace c4 {

class MemoFile {
public:
    static constexpr unsigned kFptBlockSize = 64;

    // Opens an existing memo file; "" on success, else the fault.
    static std::string open(const std::string& path, MemoKind kind, bool writable,
                            std::unique_ptr<MemoFile>& out);
    // Creates an empty .fpt with block size 64.
    static std::string createFpt(const std::string& path, std::unique_ptr<MemoFile>& out);

    MemoKind kind() const { return kind_; }
    unsigned blockSize() const { return blockSize_; }
    const std::string& path() const { return file_->path(); }
    File& file() { return *file_; }

    // Reads the memo starting at block; "" on success.
    std::string read(uint32_t block, std::vector<uint8_t>& out);
    // Parses a memo from an in-memory image of the whole file (used by the
    // fuzz target and by check); same rules as read.
    static std::string readFromImage(const std::vector<uint8_t>& image, MemoKind kind, unsigned blockSize,
                                     uint32_t block, std::vector<uint8_t>& out);
    // Allocates fresh blocks after the last one in use and writes the memo
    // there; returns the first block in block, "" on success. The caller
    // holds the table's header lock, which guards memo allocation.
    std::string write(const uint8_t* data, size_t len, uint32_t& block);
    // Builds memo files in memory (compression writes a new file whole).
    static std::vector<uint8_t> emptyImage(MemoKind kind, unsigned blockSize);
    static uint32_t appendToImage(std::vector<uint8_t>& image, MemoKind kind, unsigned blockSize,
                                  const uint8_t* data, size_t len);
    // While a table's header lock is held, the next free block this process
    // wrote last is still right when the table's change counter shows that
    // no one wrote since; that saves reading the memo header.
    void beginAllocation(uint32_t counter) {
        if (!cacheValid_ || cachedAt_ != counter)
            cacheValid_ = false;
    }
    void endAllocation(uint32_t counter) {
        if (cacheValid_)
            cachedAt_ = counter;
    }
    void dropCache() { cacheValid_ = false; }
    // Next free block as the header states it.
    std::string nextFree(uint32_t& block);

private:
    MemoFile(std::unique_ptr<File> f, MemoKind k, unsigned bs)
        : file_(std::move(f)), kind_(k), blockSize_(bs) {}
    std::unique_ptr<File> file_;
    MemoKind kind_;
    unsigned blockSize_;
    bool cacheValid_ = false;
    uint32_t cachedNext_ = 0;
    uint32_t cachedAt_ = 0;
};

} // namespace c4
