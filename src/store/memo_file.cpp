#include "memo_file.h"

#include "sync_scope.h"
#include "system_error.h"

#include <algorithm>
#include <memory>

namespace xb::store {
namespace {

uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint32_t be32(const unsigned char* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
void putLe32(unsigned char* p, uint32_t v) {
    p[0] = v & 0xFF;
    p[1] = (v >> 8) & 0xFF;
    p[2] = (v >> 16) & 0xFF;
    p[3] = (v >> 24) & 0xFF;
}

// Memo lengths are bounded so that a damaged length word cannot ask for gigabytes.
constexpr uint32_t kMaxMemo = 64u << 20;

// Reads up to `size` bytes at `at`; -1 on a read error.
int64_t readSome(File& file, void* data, size_t size, int64_t at) {
    size_t got = 0;
    if (file.readAt(data, size, static_cast<uint64_t>(at), got) != 0) return -1;
    return static_cast<int64_t>(got);
}

} // namespace

MemoFile::MemoFile(std::string path, std::unique_ptr<File> file, MemoStyle style, bool writable)
    : path_(std::move(path)), file_(std::move(file)), style_(style), writable_(writable) {}

MemoFile::~MemoFile() = default;

Result<std::unique_ptr<MemoFile>> MemoFile::open(const std::string& path, MemoStyle style,
                                                 bool writable) {
    std::unique_ptr<File> file;
    if (const int error = openFile(path, writable ? OpenAs::ReadWrite : OpenAs::Read, file))
        return fail("无法打开备注文件 " + path + "：" + systemErrorText(error));
    std::unique_ptr<MemoFile> memo(new MemoFile(path, std::move(file), style, writable));
    if (Status s = memo->readHeader(); !s) return s.error();
    return memo;
}

Status MemoFile::readHeader() {
    unsigned char h[512] = {};
    const int64_t n = readSome(*file_, h, sizeof h, 0);
    if (n < 8) return fail("备注文件 " + path_ + " 已损坏：文件头不完整");
    switch (style_) {
    case MemoStyle::DBase3:
        blockSize_ = 512;
        nextFree_ = le32(h);
        break;
    case MemoStyle::DBase4: {
        nextFree_ = le32(h);
        const uint32_t size = h[20] | (h[21] << 8);
        blockSize_ = size >= 64 ? size : 512;
        break;
    }
    case MemoStyle::FoxPro: {
        nextFree_ = be32(h);
        const uint32_t size = (h[6] << 8) | h[7];
        blockSize_ = size > 0 ? size : 64;
        break;
    }
    }
    if (uint64_t size = 0; file_->size(size) == 0) {
        fileSize_ = static_cast<int64_t>(size);
        // A next-free pointer behind the file's end would leave a hole (a damaged header can
        // claim hundreds of gigabytes); one before it would overwrite memos. Either way the
        // file's end is the truth.
        const uint32_t endBlock = static_cast<uint32_t>((fileSize_ + blockSize_ - 1) / blockSize_);
        nextFree_ = std::max<uint32_t>(endBlock, 1);
    }
    return {};
}

Status MemoFile::create(const std::string& path) {
    std::unique_ptr<File> file;
    if (const int error = openFile(path, OpenAs::CreateNew, file))
        return fail("无法创建备注文件 " + path + "：" + systemErrorText(error));
    unsigned char h[512] = {};
    putLe32(h, 1);
    h[16] = 0x03; // dBASE III memo
    int error = file->writeAt(h, sizeof h, 0);
    if (!error) error = file->sync();
    if (error) return fail("无法写入备注文件 " + path + "：" + systemErrorText(error));
    return {};
}

bool MemoFile::readAhead(int64_t at, bool continuing) const {
    if (aheadAt_ >= 0 && at >= aheadAt_ && at < aheadAt_ + static_cast<int64_t>(ahead_.size()))
        return true;
    // A reader going through the memos in file order gets many at once; one that jumps about
    // (rows in another order) reads little more than the memo. The memos of one row lie together
    // but are asked for in any order, so a little before `at` is read too.
    constexpr int64_t kFar = 64 * 1024, kNear = 4 * 1024, kBehind = 2 * 1024;
    const bool following = aheadAt_ >= 0 && at >= aheadAt_ &&
                           at < aheadAt_ + static_cast<int64_t>(ahead_.size()) + kFar;
    const int64_t from = continuing ? at : std::max<int64_t>(0, at - kBehind);
    ahead_.resize(static_cast<size_t>(at - from + (following || continuing ? kFar : kNear)));
    const int64_t n = readSome(*file_, ahead_.data(), ahead_.size(), from);
    if (n <= at - from) {
        aheadAt_ = -1;
        return false;
    }
    ahead_.resize(static_cast<size_t>(n));
    aheadAt_ = from;
    return true;
}

std::string MemoFile::read(uint32_t block) const {
    if (block == 0) return {};
    const int64_t offset = static_cast<int64_t>(block) * blockSize_;
    if (offset >= fileSize_) {
        // Another program may have added memos since the file was opened.
        if (uint64_t size = 0; file_->size(size) == 0) fileSize_ = static_cast<int64_t>(size);
        if (offset >= fileSize_) return {};
    }
    const int64_t available = fileSize_ - offset;
    if (style_ == MemoStyle::DBase3) {
        std::string out;
        int64_t at = offset;
        while (at < fileSize_ && out.size() < kMaxMemo) {
            if (!readAhead(at, at > offset)) break;
            const std::string_view rest =
                std::string_view(ahead_).substr(static_cast<size_t>(at - aheadAt_));
            const size_t end = rest.find('\x1A');
            if (end != std::string_view::npos) return out.append(rest.substr(0, end));
            out.append(rest);
            at += static_cast<int64_t>(rest.size());
        }
        return out;
    }
    unsigned char head[8];
    if (readSome(*file_, head, 8, offset) != 8) return {};
    uint32_t length = 0;
    if (style_ == MemoStyle::DBase4) {
        const uint32_t total = le32(head + 4); // includes the 8-byte block header
        length = total >= 8 ? total - 8 : 0;
    } else {
        length = be32(head + 4);
    }
    length = static_cast<uint32_t>(std::min<int64_t>(
        {static_cast<int64_t>(length), available - 8, static_cast<int64_t>(kMaxMemo)}));
    std::string out(length, '\0');
    const int64_t n = readSome(*file_, out.data(), length, offset + 8);
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

bool MemoFile::isBlank(uint32_t block) const {
    // Blank as a field value is: every byte a blank or a control character.
    const auto blanksOnly = [](std::string_view bytes) {
        return std::all_of(bytes.begin(), bytes.end(),
                           [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    };
    if (style_ == MemoStyle::DBase3 && block != 0) {
        const int64_t offset = static_cast<int64_t>(block) * blockSize_;
        std::string_view head;
        if (offset < fileSize_ && readAhead(offset, false))
            head = std::string_view(ahead_).substr(static_cast<size_t>(offset - aheadAt_));
        const size_t end = head.find('\x1A');
        if (!blanksOnly(head.substr(0, end))) return false;
        if (end != std::string_view::npos) return true;
    }
    return blanksOnly(read(block));
}

Result<uint32_t> MemoFile::append(const std::string& bytes) {
    if (!writable_ || style_ != MemoStyle::DBase3) return fail("备注文件 " + path_ + " 不能写入");
    std::string pending;
    const uint32_t block = stage(bytes, pending);
    if (Status s = writeStaged(pending); !s) return s.error();
    return block;
}

uint32_t MemoFile::stage(const std::string& bytes, std::string& pending) const {
    const uint32_t block = nextFree_ + static_cast<uint32_t>(pending.size() / blockSize_);
    pending += bytes;
    pending += "\x1A\x1A";
    const size_t blocks = (pending.size() + blockSize_ - 1) / blockSize_;
    pending.resize(blocks * blockSize_, '\0');
    return block;
}

Status MemoFile::writeStaged(const std::string& pending) {
    if (pending.empty()) return {};
    if (!writable_ || style_ != MemoStyle::DBase3) return fail("备注文件 " + path_ + " 不能写入");
    const uint32_t block = nextFree_;
    const auto blocks = static_cast<uint32_t>(pending.size() / blockSize_);
    if (const int error = file_->writeAt(pending.data(), pending.size(),
                                         static_cast<uint64_t>(block) * blockSize_))
        return fail("无法写入备注文件 " + path_ + "：" + systemErrorText(error));
    // The memos are in place before the header points past them, so a killed process leaves at
    // worst unused space, never a header that hands the same block out twice.
    unsigned char next[4];
    putLe32(next, block + blocks);
    if (const int error = file_->writeAt(next, 4, 0))
        return fail("无法写入备注文件 " + path_ + "：" + systemErrorText(error));
    nextFree_ = block + blocks;
    aheadAt_ = -1;
    fileSize_ = std::max<int64_t>(fileSize_, static_cast<int64_t>(nextFree_) * blockSize_);
    return {};
}

Status MemoFile::clear() {
    if (!writable_ || style_ != MemoStyle::DBase3) return fail("备注文件 " + path_ + " 不能写入");
    // The header first: a stop before the file shrinks leaves only unused space.
    unsigned char next[4];
    putLe32(next, 1);
    int error = file_->writeAt(next, 4, 0);
    if (!error) error = file_->truncate(blockSize_);
    if (error) return fail("无法写入备注文件 " + path_ + "：" + systemErrorText(error));
    nextFree_ = 1;
    fileSize_ = blockSize_;
    aheadAt_ = -1;
    return syncWhenDone(file_, "备注文件 " + path_);
}

Status MemoFile::sync() {
    return syncNow(*file_, "备注文件 " + path_);
}

} // namespace xb::store
