#include "arj_headers.h"

#include "store/gbk.h"

#include <zlib.h>

#include <cstdint>
#include <string>

namespace xb::exchange {
namespace {

constexpr unsigned char kFirstId = 0x60, kSecondId = 0xEA;
constexpr uint32_t kMaxBasicHeader = 2600; // the archiver's own bound

uint32_t le(const QByteArray& bytes, qsizetype at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// One header at `at`: the basic header's size (0 marks the end of the archive), or -1 when no
// sound header is there.
int64_t headerAt(const QByteArray& bytes, qsizetype at) {
    if (at + 4 > bytes.size() || static_cast<unsigned char>(bytes[at]) != kFirstId ||
        static_cast<unsigned char>(bytes[at + 1]) != kSecondId)
        return -1;
    const uint32_t size = le(bytes, at + 2, 2);
    if (size == 0) return 0;
    if (size > kMaxBasicHeader || at + 4 + size + 4 > bytes.size()) return -1;
    const auto* basic = reinterpret_cast<const Bytef*>(bytes.constData() + at + 4);
    if (crc32(crc32(0, nullptr, 0), basic, size) != le(bytes, at + 4 + size, 4)) return -1;
    return size;
}

// Past the extended headers that follow a basic header; -1 when they run past the end.
qsizetype pastExtendedHeaders(const QByteArray& bytes, qsizetype at) {
    for (;;) {
        if (at + 2 > bytes.size()) return -1;
        const uint32_t size = le(bytes, at, 2);
        at += 2;
        if (size == 0) return at;
        at += size + 4;
    }
}

} // namespace

store::Result<QStringList> arjMemberNames(const QByteArray& bytes) {
    // The archive starts at its first sound header, as the archiver looks for it (a
    // self-extracting program may stand before it).
    qsizetype at = 0;
    while (at < bytes.size() && headerAt(bytes, at) <= 0) {
        at = bytes.indexOf(static_cast<char>(kFirstId), at + 1);
        if (at < 0) return store::fail("文件不是 ARJ 压缩包");
    }
    if (at >= bytes.size()) return store::fail("文件不是 ARJ 压缩包");
    QStringList names;
    bool archiveHeader = true;
    for (;;) {
        const int64_t size = headerAt(bytes, at);
        if (size < 0) return store::fail("压缩包已损坏（文件头不完整或校验不符）");
        if (size == 0) return names;
        const qsizetype basic = at + 4;
        const auto firstSize = static_cast<unsigned char>(bytes[basic]);
        if (firstSize < 30 || firstSize >= size) return store::fail("压缩包已损坏（文件头不正确）");
        const uint32_t compressed = le(bytes, basic + 12, 4);
        const QByteArray header = bytes.mid(basic, size);
        const std::string name = header.constData() + firstSize; // ends at its zero byte
        at = pastExtendedHeaders(bytes, basic + size + 4);
        if (at < 0) return store::fail("压缩包已损坏（文件头不完整）");
        if (archiveHeader) { // the archive's own header, without data
            archiveHeader = false;
            continue;
        }
        if (compressed > static_cast<uint64_t>(bytes.size() - at))
            return store::fail("压缩包已损坏（文件“" + store::fromGbk(name) + "”的数据不完整）");
        names << QString::fromStdString(store::fromGbk(name));
        at += compressed;
    }
}

} // namespace xb::exchange
