#include "memo.h"

#include <algorithm>
#include <cstring>

namespace c4 {

namespace {

uint32_t be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
uint32_t le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}
void putBe32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}
void putLe32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

// The first bytes of a FoxPro memo file are its header, never a memo.
constexpr int64_t kFptHeaderSize = 512;

// Memos larger than this are taken as damage rather than allocated.
constexpr uint64_t kMaxMemo = 256u * 1024 * 1024;

// Reads a memo through a "read bytes at offset" function, so the same rules
// serve the open file and an in-memory image.
template <typename ReadFn>
std::string readMemo(ReadFn readAt, int64_t fileSize, MemoKind kind, unsigned bs, uint32_t block,
                     std::vector<uint8_t>& out) {
    out.clear();
    int64_t off = static_cast<int64_t>(block) * bs;
    if (block == 0 || off >= fileSize)
        return "memo block " + std::to_string(block) + " is beyond the end of the memo file";
    if (kind == MemoKind::Fpt && off < kFptHeaderSize)
        return "memo block " + std::to_string(block) + " points into the memo file's header";
    if (kind == MemoKind::Fpt) {
        uint8_t h[8];
        if (off + 8 > fileSize || !readAt(off, h, 8))
            return "memo block " + std::to_string(block) + " header is truncated";
        uint32_t len = be32(h + 4);
        if (static_cast<int64_t>(len) > fileSize - off - 8)
            return "memo at block " + std::to_string(block) + " (" + std::to_string(len) +
                   " bytes) runs past the end of the memo file";
        out.resize(len);
        if (len && !readAt(off + 8, out.data(), len))
            return "memo at block " + std::to_string(block) + " could not be read";
        return "";
    }
    if (kind == MemoKind::Dbt4) {
        uint8_t h[8];
        if (off + 8 <= fileSize && readAt(off, h, 8) && h[0] == 0xFF && h[1] == 0xFF && h[2] == 0x08 &&
            h[3] == 0x00) {
            uint32_t len = le32(h + 4);
            if (len < 8 || static_cast<int64_t>(len) > fileSize - off)
                return "memo at block " + std::to_string(block) + " has a bad length " + std::to_string(len);
            out.resize(len - 8);
            if (len > 8 && !readAt(off + 8, out.data(), len - 8))
                return "memo at block " + std::to_string(block) + " could not be read";
            return "";
        }
    }
    // dBASE III: text up to the 0x1A terminator (or the end of the file).
    uint8_t chunk[512];
    while (off < fileSize) {
        size_t n = static_cast<size_t>(std::min<int64_t>(sizeof chunk, fileSize - off));
        if (!readAt(off, chunk, n))
            return "memo at block " + std::to_string(block) + " could not be read";
        const uint8_t* end = static_cast<const uint8_t*>(std::memchr(chunk, 0x1A, n));
        if (end) {
            out.insert(out.end(), static_cast<const uint8_t*>(chunk), end);
            return "";
        }
        out.insert(out.end(), chunk, chunk + n);
        if (out.size() > kMaxMemo)
            return "memo at block " + std::to_string(block) + " has no end marker";
        off += static_cast<int64_t>(n);
    }
    return "";
}

} // namespace

std::string MemoFile::open(const std::string& path, MemoKind kind, bool writable,
                           std::unique_ptr<MemoFile>& out) {
    int err = 0;
    auto f = File::open(path, writable, false, err);
    if (!f)
        return "memo file cannot be opened: " + std::string(std::strerror(err));
    int64_t size = f->size();
    uint8_t h[32] = {};
    if (size < 8 || !f->readAt(0, h, static_cast<size_t>(std::min<int64_t>(size, 32))))
        return "memo file header is truncated";
    unsigned bs = 512;
    if (kind == MemoKind::Fpt) {
        bs = (h[6] << 8) | h[7];
        if (bs == 0)
            return "memo file block size is 0";
    } else if (kind == MemoKind::Dbt4) {
        unsigned b = size >= 22 ? (h[20] | (h[21] << 8)) : 0;
        if (b != 0)
            bs = b;
        if (bs < 8)
            return "memo file block size " + std::to_string(bs) + " is too small";
    }
    out.reset(new MemoFile(std::move(f), kind, bs));
    return "";
}

std::string MemoFile::createFpt(const std::string& path, std::unique_ptr<MemoFile>& out) {
    int err = 0;
    auto f = File::open(path, true, true, err);
    if (!f)
        return "memo file cannot be created: " + std::string(std::strerror(err));
    std::vector<uint8_t> h(512, 0);
    putBe32(&h[0], 512 / kFptBlockSize);
    h[6] = 0;
    h[7] = kFptBlockSize;
    if (!f->writeAt(0, h.data(), h.size()))
        return "memo file header cannot be written: " + std::string(std::strerror(errno));
    out.reset(new MemoFile(std::move(f), MemoKind::Fpt, kFptBlockSize));
    return "";
}

std::string MemoFile::read(uint32_t block, std::vector<uint8_t>& out) {
    if (kind_ == MemoKind::Fpt && block != 0) {
        // One read serves the usual memo: the block header and the text.
        int64_t off = static_cast<int64_t>(block) * blockSize_;
        if (off < kFptHeaderSize)
            return "memo block " + std::to_string(block) + " points into the memo file's header";
        uint8_t first[1024];
        long got = file_->readSome(off, first, sizeof first);
        if (got < 0)
            return "memo at block " + std::to_string(block) + " could not be read";
        if (got < 8)
            return got == 0 ? "memo block " + std::to_string(block) + " is beyond the end of the memo file"
                            : "memo block " + std::to_string(block) + " header is truncated";
        uint32_t len = be32(first + 4);
        size_t have = static_cast<size_t>(got) - 8;
        if (len <= have) {
            out.assign(first + 8, first + 8 + len);
            return "";
        }
        if (len > kMaxMemo || static_cast<int64_t>(len) > file_->size() - off - 8)
            return "memo at block " + std::to_string(block) + " (" + std::to_string(len) +
                   " bytes) runs past the end of the memo file";
        out.resize(len);
        std::memcpy(out.data(), first + 8, have);
        if (!file_->readAt(off + 8 + static_cast<int64_t>(have), out.data() + have, len - have))
            return "memo at block " + std::to_string(block) + " could not be read";
        return "";
    }
    int64_t size = file_->size();
    return readMemo([this](int64_t off, uint8_t* p, size_t n) { return file_->readAt(off, p, n); }, size,
                    kind_, blockSize_, block, out);
}

std::string MemoFile::readFromImage(const std::vector<uint8_t>& image, MemoKind kind, unsigned blockSize,
                                    uint32_t block, std::vector<uint8_t>& out) {
    if (blockSize == 0)
        return "memo file block size is 0";
    return readMemo(
        [&image](int64_t off, uint8_t* p, size_t n) {
            if (off < 0 || static_cast<uint64_t>(off) + n > image.size())
                return false;
            std::memcpy(p, image.data() + off, n);
            return true;
        },
        static_cast<int64_t>(image.size()), kind, blockSize, block, out);
}

namespace {

// The bytes of one memo as it sits in the file, padded to whole blocks.
std::vector<uint8_t> memoBlocks(MemoKind kind, unsigned bs, const uint8_t* data, size_t len) {
    std::vector<uint8_t> buf;
    if (kind == MemoKind::Fpt) {
        buf.resize(8 + len);
        putBe32(&buf[0], 1); // text/binary memo
        putBe32(&buf[4], static_cast<uint32_t>(len));
        if (len)
            std::memcpy(&buf[8], data, len);
    } else if (kind == MemoKind::Dbt4) {
        buf.resize(8 + len);
        buf[0] = 0xFF, buf[1] = 0xFF, buf[2] = 0x08, buf[3] = 0x00;
        putLe32(&buf[4], static_cast<uint32_t>(len + 8));
        if (len)
            std::memcpy(&buf[8], data, len);
    } else {
        buf.assign(data, data + len);
        buf.push_back(0x1A);
        buf.push_back(0x1A);
    }
    size_t blocks = (buf.size() + bs - 1) / bs;
    buf.resize(blocks * bs, 0);
    return buf;
}

void putNextFree(std::vector<uint8_t>& img, MemoKind kind, uint32_t next) {
    if (kind == MemoKind::Fpt)
        putBe32(&img[0], next);
    else
        putLe32(&img[0], next);
}

} // namespace

std::vector<uint8_t> MemoFile::emptyImage(MemoKind kind, unsigned bs) {
    std::vector<uint8_t> img(std::max(512u, bs), 0);
    img.resize((img.size() + bs - 1) / bs * bs, 0);
    if (kind == MemoKind::Fpt) {
        img[6] = static_cast<uint8_t>(bs >> 8);
        img[7] = static_cast<uint8_t>(bs);
    } else if (kind == MemoKind::Dbt4) {
        img[20] = static_cast<uint8_t>(bs);
        img[21] = static_cast<uint8_t>(bs >> 8);
    }
    putNextFree(img, kind, static_cast<uint32_t>(img.size() / bs));
    return img;
}

uint32_t MemoFile::appendToImage(std::vector<uint8_t>& img, MemoKind kind, unsigned bs, const uint8_t* data,
                                 size_t len) {
    auto blocks = memoBlocks(kind, bs, data, len);
    uint32_t block = static_cast<uint32_t>(img.size() / bs);
    img.insert(img.end(), blocks.begin(), blocks.end());
    putNextFree(img, kind, static_cast<uint32_t>(img.size() / bs));
    return block;
}

std::string MemoFile::nextFree(uint32_t& block) {
    uint8_t h[4];
    if (!file_->readAt(0, h, 4))
        return "memo file header cannot be read";
    block = kind_ == MemoKind::Fpt ? be32(h) : le32(h);
    return "";
}

std::string MemoFile::write(const uint8_t* data, size_t len, uint32_t& block) {
    if (!file_->writable())
        return "memo file is read-only";
    if (len > kMaxMemo)
        return "memo too large";
    std::string fault;
    do {
        uint32_t next = cachedNext_;
        if (!cacheValid_) {
            if (!(fault = nextFree(next)).empty())
                break;
            // Never hand out a block below the header or inside the file's
            // tail, whatever a header written elsewhere says.
            int64_t size = file_->size();
            uint64_t minBlock =
                (static_cast<uint64_t>(std::max<int64_t>(size, 512)) + blockSize_ - 1) / blockSize_;
            if (next < minBlock)
                next = static_cast<uint32_t>(minBlock);
        }
        cacheValid_ = false;
        std::vector<uint8_t> buf = memoBlocks(kind_, blockSize_, data, len);
        size_t blocks = buf.size() / blockSize_;
        uint64_t newNext = static_cast<uint64_t>(next) + blocks;
        if (newNext > 0xFFFFFFFFull || newNext * blockSize_ > (1ull << 40)) {
            fault = "memo file is full";
            break;
        }
        if (!file_->writeAt(static_cast<int64_t>(next) * blockSize_, buf.data(), buf.size())) {
            fault = "memo write failed: " + std::string(std::strerror(errno));
            break;
        }
        uint8_t h[4];
        if (kind_ == MemoKind::Fpt)
            putBe32(h, static_cast<uint32_t>(newNext));
        else
            putLe32(h, static_cast<uint32_t>(newNext));
        if (!file_->writeAt(0, h, 4)) {
            fault = "memo header write failed: " + std::string(std::strerror(errno));
            break;
        }
        block = next;
        cachedNext_ = static_cast<uint32_t>(newNext);
        cacheValid_ = true;
    } while (false);
    return fault;
}

} // namespace c4
