#include "table_file.h"

#include "system_error.h"

#include "field_encoding.h"
#include "gbk.h"
#include "pack.h"
#include "sync_scope.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace xb::store {
namespace {

constexpr unsigned char kLanguageGbk = 0x7A;
constexpr uint32_t kMaxFields = 1024;
// Rows read at once for a single row asked for.
constexpr uint32_t kReadAhead = 128 * 1024;

uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

bool knownVersion(unsigned char v) {
    switch (v) {
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x30:
    case 0x31:
    case 0x32:
    case 0x43:
    case 0x63:
    case 0x83:
    case 0x8B:
    case 0xCB:
    case 0xE5:
    case 0xF5:
    case 0xFB:
        return true;
    default:
        return false;
    }
}
bool isFoxPro(unsigned char v) {
    return v == 0x30 || v == 0x31 || v == 0x32 || v == 0xF5 || v == 0xFB;
}

FieldType typeOf(char code, int decimals, int width) {
    switch (code) {
    case 'N':
    case 'F':
        if (decimals > 0) return FieldType::Number;
        return width <= 6    ? FieldType::SmallInt
               : width <= 11 ? FieldType::Integer
                             : FieldType::Number;
    case 'D':
        return FieldType::Date;
    case 'M':
    case 'G':
    case 'B':
    case 'P':
        return FieldType::Memo;
    case 'L':
        return FieldType::Logical;
    default:
        return FieldType::Character;
    }
}

char codeOf(FieldType t) {
    switch (t) {
    case FieldType::Character:
        return 'C';
    case FieldType::Number:
    case FieldType::SmallInt:
    case FieldType::Integer:
        return 'N';
    case FieldType::Date:
        return 'D';
    case FieldType::Memo:
        return 'M';
    case FieldType::Logical:
        return 'L';
    }
    return 'C';
}

std::string memoPathFor(const std::string& dbfPath, const char* ext) {
    std::filesystem::path p(dbfPath);
    const std::filesystem::path dir = p.parent_path();
    const std::string stem = p.stem().string();
    // The memo file is found regardless of letter case, as table files are.
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir.empty() ? "." : dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (sameName(name, stem + ext)) return entry.path().string();
    }
    return (dir / (stem + ext)).string();
}

void putHeaderDate(unsigned char* h) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    h[1] = static_cast<unsigned char>(local.tm_year); // years since 1900, as dBASE writes it
    h[2] = static_cast<unsigned char>(local.tm_mon + 1);
    h[3] = static_cast<unsigned char>(local.tm_mday);
}

} // namespace

std::string trimRight(std::string_view bytes) {
    size_t n = bytes.size();
    while (n > 0 && (bytes[n - 1] == ' ' || bytes[n - 1] == '\0'))
        --n;
    return std::string(bytes.substr(0, n));
}

TableFile::~TableFile() = default; // closing the file releases its lock

std::string TableFile::fileName() const {
    return std::filesystem::path(path_).filename().string();
}

std::string TableFile::readOnlyText() const {
    if (!damage_.empty()) return damage_ + "，只能读取，不能修改";
    return "表文件 " + fileName() + " 只能读取，不能修改";
}

Status TableFile::writable() const {
    if (readOnly_) return fail(readOnlyText());
    return {};
}

void TableFile::refuseWrites(const std::string& why) {
    readOnly_ = true;
    if (damage_.empty()) damage_ = why;
}

std::string TableFile::damagedText(const std::string& what) const {
    return "表文件 " + fileName() + " 已损坏：" + what;
}

Result<std::shared_ptr<TableFile>> TableFile::open(const std::string& path, OpenMode mode) {
    // A pack the writer is finishing, or that one left behind, is the writer's to settle.
    if (mode == OpenMode::Reading)
        waitForPackSwap(path);
    else if (Status s = recoverInterruptedPack(path); !s)
        return s.error();
    std::shared_ptr<TableFile> t(new TableFile());
    t->path_ = path;
    t->mode_ = mode;
    std::unique_ptr<File> file;
    int error = mode == OpenMode::Reading ? EACCES : openFile(path, OpenAs::ReadWrite, file);
    if (error == EACCES || error == EPERM || error == EROFS) {
        error = openFile(path, OpenAs::Read, file);
        // A reader never asks to write; a writer is told why it may not.
        if (mode == OpenMode::Reading)
            t->readOnly_ = true;
        else
            t->refuseWrites("表文件 " + t->fileName() + " 是只读文件");
    }
    t->file_ = std::move(file);
    if (error == ENOENT) return fail("表文件 " + path + " 不存在");
    if (error) return fail("无法打开表文件 " + path + "：" + systemErrorText(error));
    if (t->file_->tryLock(mode == OpenMode::Exclusive ? LockKind::Exclusive : LockKind::Shared))
        return fail("表文件 " + t->fileName() + " 正被其他程序使用，无法" +
                    (mode == OpenMode::Exclusive ? "独占打开" : "打开"));
    if (Status s = t->readHeader(); !s) return s.error();
    return t;
}

Status TableFile::readHeader() {
    uint64_t fileSize = 0;
    if (const int error = file_->size(fileSize))
        return fail("无法读取表文件 " + fileName() + "：" + systemErrorText(error));
    unsigned char h[32];
    if (fileSize < 33 || readExactly(*file_, h, 32, 0) != 0)
        return fail(damagedText("文件头不完整"));
    dbfVersion_ = h[0];
    std::memcpy(changed_, h + 1, 3);
    if (!knownVersion(dbfVersion_))
        return fail("表文件 " + fileName() + " 不是可识别的 dBASE 表（版本字节 " +
                    std::to_string(dbfVersion_) + "）");
    uint32_t count = le32(h + 4);
    headerLength_ = le16(h + 8);
    recordLength_ = le16(h + 10);
    if (headerLength_ < 33 || headerLength_ > fileSize)
        return fail(damagedText("文件头长度不正确"));
    std::string desc(headerLength_ - 32, '\0');
    if (readExactly(*file_, desc.data(), desc.size(), 32) != 0)
        return fail(damagedText("字段说明不完整"));
    uint32_t offset = 1;
    bool terminated = false;
    for (size_t at = 0; at < desc.size(); at += 32) {
        if (static_cast<unsigned char>(desc[at]) == 0x0D) {
            terminated = true;
            if (!headerEndsAt(desc, at)) return fail(damagedText("文件头长度与字段说明不符"));
            break;
        }
        if (at + 32 > desc.size() || fields_.size() >= kMaxFields) break;
        const auto* d = reinterpret_cast<const unsigned char*>(desc.data() + at);
        std::string name(reinterpret_cast<const char*>(d),
                         strnlen(reinterpret_cast<const char*>(d), 11));
        const char code = static_cast<char>(d[11]);
        int width = d[16];
        int decimals = d[17];
        if (code == 'C') { // widths over 255 keep their high byte in the decimals byte
            width = d[16] | (d[17] << 8);
            decimals = 0;
        }
        if (width <= 0) return fail(damagedText("字段 " + name + " 的宽度为 0"));
        FieldDef f{name, typeOf(code, decimals, width), width, decimals};
        if (code == 'I') f.type = FieldType::Integer;
        fields_.push_back(f);
        offsets_.push_back(offset);
        codes_.push_back(code);
        offset += static_cast<uint32_t>(width);
    }
    if (!terminated) return fail(damagedText("字段说明缺少结束标记"));
    for (size_t i = fields_.size(); i-- > 0;)
        fieldByName_[lowerName(fields_[i].name)] = static_cast<int>(i);
    if (fields_.empty()) return fail(damagedText("没有字段"));
    if (offset != recordLength_) return fail(damagedText("记录长度与字段说明不符"));
    const uint64_t available = (fileSize - headerLength_) / recordLength_;
    if (count > available) {
        // Rows announced but not in the file: read what is there and never write into it.
        count = static_cast<uint32_t>(available);
        readOnly_ = true;
        damage_ = damagedText("记录数超出文件长度，文件可能不完整");
    }
    count_ = count;
    // Rows read from a wrong place would be shown as garbage: the first and the last row's
    // deletion flags tell at once, the others are checked as they are read.
    if (count_ > 0) {
        std::string raw;
        if (Status s = readRecord(1, raw); !s) return s;
        if (Status s = readRecord(count_, raw); !s) return s;
    }
    const bool needsMemo = std::any_of(fields_.begin(), fields_.end(),
                                       [](const FieldDef& f) { return f.type == FieldType::Memo; });
    if (needsMemo) {
        MemoStyle style = isFoxPro(dbfVersion_)                          ? MemoStyle::FoxPro
                          : (dbfVersion_ == 0x8B || dbfVersion_ == 0xCB) ? MemoStyle::DBase4
                                                                         : MemoStyle::DBase3;
        const std::string memoPath =
            memoPathFor(path_, style == MemoStyle::FoxPro ? ".fpt" : ".dbt");
        if (!std::filesystem::exists(memoPath))
            return fail("表文件 " + fileName() + " 的备注文件 " +
                        std::filesystem::path(memoPath).filename().string() + " 不存在");
        auto memo = MemoFile::open(memoPath, style, !readOnly_ && style == MemoStyle::DBase3);
        if (!memo) return memo.error();
        memo_ = std::move(*memo);
    }
    // Files of other writers are read; writing is ours only in the layout we write ourselves.
    // The start-up pack turns the tables it packs into that layout.
    if (!ownLayout()) readOnly_ = true;
    if (dbfVersion_ == 0x83 && !memo_) readOnly_ = true;
    return {};
}

bool TableFile::headerEndsAt(std::string_view descriptors, size_t terminator) const {
    // After the terminator come nothing but zeros (some writers pad the header), or the 263
    // bytes Visual FoxPro keeps for the name of its database container.
    const std::string_view after = descriptors.substr(terminator + 1);
    if (dbfVersion_ >= 0x30 && dbfVersion_ <= 0x32 && after.size() == 263) return true;
    return std::all_of(after.begin(), after.end(), [](char c) { return c == 0; });
}

Status TableFile::checkFlags(const char* rows, uint32_t first, uint32_t count) const {
    for (uint32_t i = 0; i < count; ++i) {
        const char flag = rows[static_cast<size_t>(i) * recordLength_];
        if (flag != ' ' && flag != '*')
            return fail(damagedText("第 " + std::to_string(first + i) +
                                    " 条记录的删除标记既不是空格也不是“*”"));
    }
    return {};
}

bool TableFile::ownLayout() const {
    if (dbfVersion_ != 0x03 && dbfVersion_ != 0x83) return false;
    return std::none_of(fields_.begin(), fields_.end(), [](const FieldDef& f) {
        return f.type == FieldType::Memo && f.width != 10;
    });
}

int TableFile::fieldIndex(const std::string& name) const {
    // Asked for by name for every row read: a hashed short name, no allocation.
    const auto it = fieldByName_.find(lowerName(name));
    return it == fieldByName_.end() ? -1 : it->second;
}

Status TableFile::readRecord(uint32_t recno, std::string& raw) const {
    if (recno == 0 || recno > count_) return fail("记录号 " + std::to_string(recno) + " 超出范围");
    if (recno < cacheFirst_ || recno >= cacheFirst_ + cacheRows_) {
        // Read a block ahead: cursors mostly walk forward.
        const uint32_t ahead = std::max<uint32_t>(1, kReadAhead / recordLength_);
        // A reader walking backwards gets the rows before this one instead.
        const uint32_t start =
            cacheRows_ > 0 && recno + 1 == cacheFirst_ && recno > ahead ? recno - ahead + 1 : recno;
        const uint32_t rows = std::min(count_ - start + 1, ahead);
        cache_.resize(static_cast<size_t>(rows) * recordLength_);
        const uint64_t at = headerLength_ + static_cast<uint64_t>(start - 1) * recordLength_;
        if (readExactly(*file_, cache_.data(), cache_.size(), at) != 0) {
            cacheRows_ = 0;
            return fail("无法读取表文件 " + fileName() + " 的第 " + std::to_string(recno) +
                        " 条记录");
        }
        if (Status s = checkFlags(cache_.data(), start, rows); !s) {
            cacheRows_ = 0;
            return s;
        }
        cacheFirst_ = start;
        cacheRows_ = rows;
    }
    raw.assign(cache_, static_cast<size_t>(recno - cacheFirst_) * recordLength_, recordLength_);
    return {};
}

void TableFile::updateCache(uint32_t recno, size_t offset, std::string_view bytes) {
    // Rows read ahead stay valid: every write of this process passes through here.
    if (recno < cacheFirst_ || recno >= cacheFirst_ + cacheRows_) return;
    std::memcpy(cache_.data() + static_cast<size_t>(recno - cacheFirst_) * recordLength_ + offset,
                bytes.data(), bytes.size());
}

uint32_t TableFile::memoBlock(std::string_view raw, int field) const {
    const std::string_view full = raw.substr(offsets_[field], fields_[field].width);
    if (full.size() == 4) // FoxPro binary block number
        return le32(reinterpret_cast<const unsigned char*>(full.data()));
    uint32_t block = 0;
    for (char c : full) {
        if (c >= '0' && c <= '9')
            block = block * 10 + static_cast<uint32_t>(c - '0');
        else if (c != ' ' && c != '\0')
            return 0;
    }
    return block;
}

std::string TableFile::memoBytes(std::string_view raw, int field) const {
    if (!memo_) return {};
    const uint32_t block = memoBlock(raw, field);
    return block == 0 ? std::string() : memo_->read(block);
}

namespace {

// A stored field's bytes without its trailing blanks (and NULs of other writers).
std::string_view withoutTrailingBlanks(std::string_view bytes) {
    // Most stored fields are blank or short: trailing blanks are skipped a word at a time.
    size_t n = bytes.size();
    constexpr uint64_t kBlankWord = 0x2020202020202020ULL;
    for (uint64_t word; n >= 8; n -= 8) {
        std::memcpy(&word, bytes.data() + n - 8, 8);
        if (word != kBlankWord) break;
    }
    while (n > 0 && (bytes[n - 1] == ' ' || bytes[n - 1] == '\0'))
        --n;
    return bytes.substr(0, n);
}

} // namespace

std::string_view TableFile::fieldBytes(std::string_view raw, int field) const {
    return withoutTrailingBlanks(raw.substr(offsets_[field], fields_[field].width));
}

Value TableFile::decode(std::string_view raw, int field) const {
    if (field < 0 || field >= static_cast<int>(fields_.size())) return {};
    const FieldDef& f = fields_[field];
    const std::string_view bytes = fieldBytes(raw, field);
    switch (f.type) {
    case FieldType::Character:
        return fromGbk(bytes);
    case FieldType::Number:
    case FieldType::SmallInt:
    case FieldType::Integer: {
        if (bytes.empty()) return {};
        if (auto n = parseNumber(bytes)) {
            // Digits a double would round stay text, so that they are written back as given.
            if (!fitsDouble(bytes)) return withoutOuterBlanks(bytes);
            return *n;
        }
        return {};
    }
    case FieldType::Date: {
        if (bytes.size() != 8) return {};
        auto digits = [&](size_t from, size_t len) {
            int v = 0;
            for (size_t i = from; i < from + len; ++i) {
                if (bytes[i] < '0' || bytes[i] > '9') return -1;
                v = v * 10 + (bytes[i] - '0');
            }
            return v;
        };
        Date d{digits(0, 4), digits(4, 2), digits(6, 2)};
        if (!d.valid()) return {};
        return d;
    }
    case FieldType::Logical: {
        if (bytes.empty()) return {};
        const char c = bytes[0];
        if (c == 'T' || c == 't' || c == 'Y' || c == 'y') return Value::logical(true);
        if (c == 'F' || c == 'f' || c == 'N' || c == 'n') return Value::logical(false);
        return {};
    }
    case FieldType::Memo: {
        if (!memo_) return {};
        const uint32_t block = memoBlock(raw, field);
        if (block == 0) return {};
        const std::string text = memo_->read(block);
        if (text.empty()) return {};
        return fromGbk(text);
    }
    }
    return {};
}

bool TableFile::isNull(std::string_view raw, int field) const {
    const FieldType type = fields_[static_cast<size_t>(field)].type;
    if (type == FieldType::Character) {
        // A text is empty when it is only blanks and control characters; every byte of a GBK
        // character is above those, so the stored bytes tell without decoding them.
        const std::string_view bytes = fieldBytes(raw, field);
        return std::all_of(bytes.begin(), bytes.end(),
                           [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    }
    if (type != FieldType::Memo) return decode(raw, field).isNull();
    const uint32_t block = memo_ ? memoBlock(raw, field) : 0;
    return block == 0 || memo_->isBlank(block);
}

std::vector<Value> TableFile::decodeRow(std::string_view raw) const {
    std::vector<Value> row;
    row.reserve(fields_.size());
    for (size_t i = 0; i < fields_.size(); ++i)
        row.push_back(decode(raw, static_cast<int>(i)));
    return row;
}

// Goes through `recnos` in groups read with one read each (neighbours closer than a few rows, up
// to a megabyte): `read` gets the positions [from, to) and the span of rows from `first` on.
Status TableFile::forEachReadGroup(
    const std::vector<uint32_t>& recnos,
    const std::function<Status(size_t from, size_t to, uint32_t first, uint32_t rows)>& read)
    const {
    constexpr uint32_t kReadThrough = 16 * 1024;
    constexpr uint32_t kMaxRead = 1 << 20;
    const uint32_t gapRows = std::max<uint32_t>(1, kReadThrough / recordLength_);
    const uint32_t maxRows = std::max<uint32_t>(1, kMaxRead / recordLength_);
    for (size_t from = 0; from < recnos.size();) {
        if (recnos[from] == 0 || recnos[from] > count_)
            return fail("记录号 " + std::to_string(recnos[from]) + " 超出范围");
        size_t to = from + 1;
        while (to < recnos.size() && recnos[to] >= recnos[to - 1] && recnos[to] <= count_ &&
               recnos[to] - recnos[to - 1] <= gapRows && recnos[to] - recnos[from] < maxRows)
            ++to;
        if (Status s = read(from, to, recnos[from], recnos[to - 1] - recnos[from] + 1); !s)
            return s;
        from = to;
    }
    return {};
}

Status TableFile::readSpan(uint32_t first, uint32_t rows, char* out) const {
    const size_t bytes = static_cast<size_t>(rows) * recordLength_;
    if (first >= cacheFirst_ && first + rows <= cacheFirst_ + cacheRows_) {
        // Rows just read ahead for a lookup: copied, not read again.
        std::memcpy(out, cache_.data() + static_cast<size_t>(first - cacheFirst_) * recordLength_,
                    bytes);
        return {};
    }
    const uint64_t at = headerLength_ + static_cast<uint64_t>(first - 1) * recordLength_;
    if (const int error = readExactly(*file_, out, bytes, at))
        return fail("无法读取表文件 " + fileName() + "：" + systemErrorText(error));
    return checkFlags(out, first, rows);
}

Status TableFile::readRows(const std::vector<uint32_t>& recnos,
                           const std::function<void(size_t, std::string_view)>& visit) const {
    std::string buffer;
    return forEachReadGroup(recnos, [&](size_t from, size_t to, uint32_t first, uint32_t rows) {
        buffer.resize(static_cast<size_t>(rows) * recordLength_);
        if (Status s = readSpan(first, rows, buffer.data()); !s) return s;
        for (size_t i = from; i < to; ++i)
            visit(i, std::string_view(buffer).substr(
                         static_cast<size_t>(recnos[i] - first) * recordLength_, recordLength_));
        return Status();
    });
}

Status TableFile::scan(const std::function<bool(uint32_t, std::string_view)>& visit) const {
    constexpr size_t kBlock = 1 << 20;
    const uint32_t perBlock = std::max<uint32_t>(1, static_cast<uint32_t>(kBlock / recordLength_));
    std::string buffer;
    if (count_ > 0 && count_ <= kReadAhead / recordLength_) {
        // A small table (rules, dictionaries) scanned again and again is read once and then
        // taken from the rows read ahead, which every write of this process keeps current.
        if (cacheFirst_ != 1 || cacheRows_ < count_) {
            cacheRows_ = 0;
            if (Status s = readRecord(1, buffer); !s) return s;
        }
        const uint32_t rows = count_; // rows a visit appends are not visited
        buffer.assign(cache_, 0, static_cast<size_t>(rows) * recordLength_);
        for (uint32_t i = 0; i < rows; ++i) {
            std::string_view raw(buffer.data() + static_cast<size_t>(i) * recordLength_,
                                 recordLength_);
            if (isDeleted(raw)) continue;
            if (!visit(i + 1, raw)) return {};
        }
        return {};
    }
    for (uint32_t first = 1; first <= count_; first += perBlock) {
        const uint32_t n = std::min(perBlock, count_ - first + 1);
        buffer.resize(static_cast<size_t>(n) * recordLength_);
        if (Status s = readSpan(first, n, buffer.data()); !s) return s;
        for (uint32_t i = 0; i < n; ++i) {
            std::string_view raw(buffer.data() + static_cast<size_t>(i) * recordLength_,
                                 recordLength_);
            if (isDeleted(raw)) continue;
            if (!visit(first + i, raw)) return {};
        }
    }
    return {};
}

bool TableFile::unchanged(std::string_view old, int field, const Value& value) const {
    if (old.empty()) return false;
    const Value stored = decode(old, field);
    if (stored == value) return true;
    if (fields_[field].type == FieldType::Memo) return memoText(stored) == memoText(value);
    return stored.toText() == value.toText();
}

std::string TableFile::memoText(const Value& value) {
    // Blanks and line breaks alone are a memo's content too.
    if (const std::string* text = value.text()) return *text;
    return value.toText();
}

Status TableFile::pointAt(char* raw, int field, uint32_t block) const {
    const auto width = static_cast<size_t>(fields_[static_cast<size_t>(field)].width);
    const std::string number = std::to_string(block);
    // Pointer fields of other writers may be narrower than our ten digits; they keep their width.
    if (number.size() > width)
        return fail("表文件 " + fileName() + " 的备注字段 " + fields_[field].name +
                    " 太窄，放不下备注的位置");
    char* out = raw + offsets_[static_cast<size_t>(field)];
    std::memset(out, ' ', width);
    std::memcpy(out + width - number.size(), number.data(), number.size());
    return {};
}

Error TableFile::writeError(int error, const std::string& file) const {
    return fail("无法写入" + file + "：" + systemErrorText(error));
}

Status TableFile::encode(const std::vector<Value>& values, std::string_view old, char* out,
                         std::vector<PendingRows::Memo>& memos, uint32_t row) const {
    std::memset(out, ' ', recordLength_);
    for (size_t i = 0; i < fields_.size(); ++i) {
        const FieldDef& f = fields_[i];
        static const Value none;
        const Value& v = i < values.size() ? values[i] : none;
        char* field = out + offsets_[i];
        // A field the caller did not change keeps its stored bytes, whatever they are: bytes of
        // other writers and codes outside the code page stay as they were.
        if (unchanged(old, static_cast<int>(i), v)) {
            std::memcpy(field, old.data() + offsets_[i], static_cast<size_t>(f.width));
            continue;
        }
        std::string text;
        if (Status s = encodeField(f, v, field, text); !s) return s;
        if (f.type != FieldType::Memo || text.empty()) continue;
        if (!memo_) return fail("表文件 " + fileName() + " 缺少备注文件");
        // A changed memo gets new space at the end.
        memos.push_back({row, static_cast<int>(i), toGbk(text)});
    }
    return {};
}

Status TableFile::writeHeader(bool withCount) {
    unsigned char h[8];
    h[0] = dbfVersion_;
    putHeaderDate(h);
    h[4] = count_ & 0xFF;
    h[5] = (count_ >> 8) & 0xFF;
    h[6] = (count_ >> 16) & 0xFF;
    h[7] = (count_ >> 24) & 0xFF;
    // The date of the last change is written when it changes, not with every row.
    if (!withCount && std::memcmp(changed_, h + 1, 3) == 0) return {};
    if (const int error = file_->writeAt(h + 1, withCount ? 7 : 3, 1))
        return writeError(error, "表文件 " + fileName());
    std::memcpy(changed_, h + 1, 3);
    return {};
}

Status TableFile::write(uint32_t recno, const std::vector<Value>& values) {
    if (Status s = writable(); !s) return s;
    std::string old;
    if (Status s = readRecord(recno, old); !s) return s;
    std::string raw(recordLength_, ' ');
    std::vector<PendingRows::Memo> memos;
    if (Status s = encode(values, old, raw.data(), memos, 0); !s) return s;
    raw[0] = old[0];
    for (const PendingRows::Memo& memo : memos) {
        auto block = memo_->append(memo.bytes);
        if (!block) return block.error();
        if (Status s = pointAt(raw.data(), memo.field, *block); !s) return s;
    }
    // The row points at its new memos only once they are on the disk.
    if (!memos.empty())
        if (Status s = draft_ ? Status() : memo_->sync(); !s) return s;
    const uint64_t at = headerLength_ + static_cast<uint64_t>(recno - 1) * recordLength_;
    if (const int error = file_->writeAt(raw.data(), raw.size(), at))
        return writeError(error, "表文件 " + fileName());
    ++version_;
    updateCache(recno, 0, raw);
    if (!isDeleted(old)) {
        indexRemove(old, recno);
        indexAdd(raw, recno);
    }
    if (Status s = writeHeader(false); !s) return s;
    return syncWhenWritten();
}

Status TableFile::syncInOrder() {
    return draft_ ? Status() : syncNow(*file_, "表文件 " + fileName());
}

Status TableFile::syncWhenWritten() {
    return draft_ ? Status() : syncWhenDone(file_, "表文件 " + fileName());
}

Result<uint32_t> TableFile::append(const std::vector<Value>& values) {
    PendingRows rows;
    if (Status s = encodeNew(values, rows); !s) return s.error();
    return appendRows(rows);
}

Result<uint32_t> TableFile::appendFrom(const TableFile& source, std::string_view sourceRaw) {
    PendingRows rows;
    if (Status s = encodeCopy(source, sourceRaw, rows); !s) return s.error();
    return appendRows(rows);
}

Status TableFile::encodeNew(const std::vector<Value>& values, PendingRows& rows) const {
    if (Status s = writable(); !s) return s;
    const size_t at = rows.rows_.size();
    const size_t memosBefore = rows.memos_.size();
    rows.rows_.resize(at + recordLength_);
    if (Status s = encode(values, {}, rows.rows_.data() + at, rows.memos_, rows.count_); !s) {
        rows.rows_.resize(at);
        rows.memos_.resize(memosBefore);
        return s;
    }
    for (size_t i = memosBefore; i < rows.memos_.size(); ++i)
        rows.memoBytes_ += rows.memos_[i].bytes.size();
    ++rows.count_;
    return {};
}

Status TableFile::encodeCopy(const TableFile& source, std::string_view sourceRaw, PendingRows& rows,
                             const std::vector<std::pair<int, std::string>>& texts) const {
    if (Status s = writable(); !s) return s;
    if (source.fields().size() != fields_.size())
        return fail("表文件 " + source.fileName() + " 与 " + fileName() + " 的字段不同");
    for (const auto& [field, text] : texts)
        if (field < 0 || field >= static_cast<int>(fields_.size()) ||
            fields_[static_cast<size_t>(field)].type != FieldType::Character)
            return fail("表文件 " + fileName() + " 没有第 " + std::to_string(field + 1) +
                        " 个字符字段");
    const size_t at = rows.rows_.size();
    rows.rows_.append(recordLength_, ' ');
    char* out = rows.rows_.data() + at;
    for (size_t i = 0; i < fields_.size(); ++i) {
        const int field = static_cast<int>(i);
        const auto width = static_cast<size_t>(fields_[i].width);
        if (fields_[i].type != FieldType::Memo) {
            std::memcpy(out + offsets_[i], sourceRaw.data() + source.fieldOffset(field),
                        std::min(width, static_cast<size_t>(source.fields()[i].width)));
            continue;
        }
        std::string bytes = source.memoBytes(sourceRaw, field);
        if (bytes.empty()) continue;
        rows.memoBytes_ += bytes.size();
        rows.memos_.push_back({rows.count_, field, std::move(bytes)});
    }
    for (const auto& [field, text] : texts) {
        const auto width = fields_[static_cast<size_t>(field)].width;
        const std::string bytes = toGbk(text);
        const std::string_view cut = cutGbkBytes(bytes, width);
        char* place = out + offsets_[static_cast<size_t>(field)];
        std::memset(place, ' ', static_cast<size_t>(width));
        std::memcpy(place, cut.data(), cut.size());
    }
    ++rows.count_;
    return {};
}

Status TableFile::encodeWithBytes(const std::vector<Value>& values,
                                  const std::vector<std::pair<int, std::string_view>>& bytes,
                                  PendingRows& rows) const {
    if (Status s = writable(); !s) return s;
    const size_t at = rows.rows_.size();
    const size_t memosBefore = rows.memos_.size();
    const size_t memoBytesBefore = rows.memoBytes_;
    rows.rows_.append(recordLength_, ' ');
    const auto refuse = [&](Status s) {
        rows.rows_.resize(at);
        rows.memos_.resize(memosBefore);
        rows.memoBytes_ = memoBytesBefore;
        return s;
    };
    static const Value none;
    auto given = bytes.begin();
    for (size_t i = 0; i < fields_.size(); ++i) {
        const FieldDef& f = fields_[i];
        char* out = rows.rows_.data() + at + offsets_[i];
        std::string memo;
        if (given != bytes.end() && given->first == static_cast<int>(i)) {
            const std::string_view text = given->second;
            ++given;
            if (f.type == FieldType::Character) {
                const std::string_view cut = cutGbkBytes(text, f.width);
                std::memcpy(out, cut.data(), cut.size());
                continue;
            }
            if (f.type != FieldType::Memo)
                return refuse(
                    fail("表文件 " + fileName() + " 的字段 " + f.name + " 不是字符或备注字段"));
            memo.assign(text);
        } else {
            const Value& value = i < values.size() ? values[i] : none;
            std::string text;
            if (Status s = encodeField(f, value, out, text); !s) return refuse(s);
            if (f.type != FieldType::Memo) continue;
            memo = toGbk(text);
        }
        if (memo.empty()) continue;
        if (!memo_) return refuse(fail("表文件 " + fileName() + " 缺少备注文件"));
        rows.memoBytes_ += memo.size();
        rows.memos_.push_back({rows.count_, static_cast<int>(i), std::move(memo)});
    }
    if (given != bytes.end())
        return refuse(fail("表文件 " + fileName() + " 没有第 " + std::to_string(given->first + 1) +
                           " 个字段"));
    ++rows.count_;
    return {};
}

Result<uint32_t> TableFile::appendRows(PendingRows& rows) {
    if (Status s = writable(); !s) return s.error();
    const uint32_t first = count_ + 1;
    if (rows.count_ == 0) return first;
    PendingRows taken = std::move(rows);
    rows = PendingRows();
    std::string& raw = taken.rows_;
    if (!taken.memos_.empty()) {
        // The memos go in first, from the next free block, so that a row never points at a
        // memo that is not there.
        std::string staged;
        staged.reserve(taken.memoBytes_ + taken.memos_.size() * memo_->blockSize());
        for (const PendingRows::Memo& memo : taken.memos_)
            if (Status s = pointAt(raw.data() + static_cast<size_t>(memo.row) * recordLength_,
                                   memo.field, memo_->stage(memo.bytes, staged));
                !s)
                return s.error();
        if (Status s = memo_->writeStaged(staged); !s) return s.error();
        if (Status s = draft_ ? Status() : memo_->sync(); !s) return s.error();
    }
    for (uint32_t i = 0; i < taken.count_; ++i)
        raw[static_cast<size_t>(i) * recordLength_] = ' ';
    raw += '\x1A';
    const uint64_t at = headerLength_ + static_cast<uint64_t>(count_) * recordLength_;
    // The rows and the end marker go first and the count after, so a process killed in between
    // leaves a table whose header still describes only complete rows.
    if (const int error = file_->writeAt(raw.data(), raw.size(), at))
        return writeError(error, "表文件 " + fileName());
    raw.pop_back();
    // The count goes to the disk after the rows it counts, never before them.
    if (Status s = syncInOrder(); !s) return s.error();
    count_ += taken.count_;
    ++version_;
    Status counted = writeHeader(true);
    if (counted) counted = syncWhenWritten();
    if (!counted) {
        count_ -= taken.count_;
        return counted.error();
    }
    if (!indexes_.empty())
        for (uint32_t i = 0; i < taken.count_; ++i)
            indexAdd(
                std::string_view(raw).substr(static_cast<size_t>(i) * recordLength_, recordLength_),
                first + i);
    return first;
}

Status TableFile::markDeleted(uint32_t recno) {
    if (Status s = writable(); !s) return s;
    std::string old;
    if (Status s = readRecord(recno, old); !s) return s;
    if (isDeleted(old)) return {};
    const uint64_t at = headerLength_ + static_cast<uint64_t>(recno - 1) * recordLength_;
    if (const int error = file_->writeAt("*", 1, at))
        return writeError(error, "表文件 " + fileName());
    ++version_;
    updateCache(recno, 0, "*");
    indexRemove(old, recno);
    if (Status s = writeHeader(false); !s) return s;
    return syncWhenWritten();
}

Status TableFile::removeAllRows() {
    if (Status s = writable(); !s) return s;
    // The count goes first, so a stop at any point leaves a table whose header counts only rows
    // that are there; the memo space is dropped last, when no row points at it any more.
    const uint32_t count = count_;
    count_ = 0;
    Status counted = writeHeader(true);
    if (counted) counted = syncInOrder();
    if (!counted) {
        count_ = count;
        return counted;
    }
    ++version_;
    cacheRows_ = 0;
    indexes_.clear();
    // The end marker goes over the first row, within the file, so that even a full disk takes it.
    int error = file_->writeAt("\x1A", 1, headerLength_);
    if (!error) error = file_->truncate(headerLength_ + 1);
    if (error) return writeError(error, "表文件 " + fileName());
    if (Status s = syncWhenWritten(); !s) return s;
    return memo_ ? memo_->clear() : Status();
}

Result<const CharIndex*> TableFile::index(int field) {
    if (auto it = indexes_.find(field); it != indexes_.end()) return &it->second;
    // Keys in record order, then sorted: equal keys keep that order, as the index gives them.
    std::vector<std::pair<std::string, uint32_t>> keys;
    keys.reserve(count_);
    if (Status s = scan([&](uint32_t recno, std::string_view raw) {
            keys.emplace_back(fieldBytes(raw, field), recno);
            return true;
        });
        !s)
        return s.error();
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    CharIndex built;
    for (auto& [key, recno] : keys)
        built.emplace_hint(built.end(), std::move(key), recno);
    auto [it, inserted] = indexes_.emplace(field, std::move(built));
    return &it->second;
}

void TableFile::indexRemove(std::string_view raw, uint32_t recno) {
    for (auto& [field, idx] : indexes_) {
        auto [lo, hi] = idx.equal_range(fieldBytes(raw, field));
        for (auto it = lo; it != hi; ++it)
            if (it->second == recno) {
                idx.erase(it);
                break;
            }
    }
}

void TableFile::indexAdd(std::string_view raw, uint32_t recno) {
    for (auto& [field, idx] : indexes_)
        idx.emplace(std::string(fieldBytes(raw, field)), recno);
}

Result<std::vector<uint32_t>> indexedRows(TableFile& table, int field, const std::string& key,
                                          bool prefix) {
    auto idx = table.index(field);
    if (!idx) return idx.error();
    const CharIndex& index = **idx;
    std::vector<uint32_t> rows;
    if (prefix) {
        for (auto it = index.lower_bound(key); it != index.end() && it->first.starts_with(key);
             ++it)
            rows.push_back(it->second);
    } else {
        auto [lo, hi] = index.equal_range(key);
        for (auto it = lo; it != hi; ++it)
            rows.push_back(it->second);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

Result<std::vector<uint32_t>> allRows(const TableFile& table) {
    std::vector<uint32_t> rows;
    rows.reserve(table.recordCount());
    Status s = table.scan([&](uint32_t recno, std::string_view) {
        rows.push_back(recno);
        return true;
    });
    if (!s) return s.error();
    return rows;
}

Status TableFile::create(const std::string& path, const FieldList& fields) {
    if (fields.empty() || fields.size() > 255) return fail("表 " + path + " 的字段数不正确");
    const bool hasMemo = std::any_of(fields.begin(), fields.end(),
                                     [](const FieldDef& f) { return f.type == FieldType::Memo; });
    std::string header(32, '\0');
    uint32_t recordLength = 1;
    for (const FieldDef& f : fields) {
        std::string d(32, '\0');
        const std::string name = upperName(f.name).substr(0, 10);
        std::memcpy(d.data(), name.data(), name.size());
        d[11] = codeOf(f.type);
        d[16] = static_cast<char>(f.width & 0xFF);
        d[17] = static_cast<char>(f.type == FieldType::Character ? (f.width >> 8) : f.decimals);
        header += d;
        recordLength += static_cast<uint32_t>(f.width);
    }
    header += '\x0D';
    auto* h = reinterpret_cast<unsigned char*>(header.data());
    h[0] = hasMemo ? 0x83 : 0x03;
    putHeaderDate(h);
    h[8] = header.size() & 0xFF;
    h[9] = (header.size() >> 8) & 0xFF;
    h[10] = recordLength & 0xFF;
    h[11] = (recordLength >> 8) & 0xFF;
    h[29] = kLanguageGbk;
    header += '\x1A';
    if (hasMemo) {
        if (Status s = MemoFile::create(memoPathFor(path, ".dbt")); !s) return s;
    }
    std::unique_ptr<File> file;
    if (const int error = openFile(path, OpenAs::CreateNew, file))
        return fail("无法创建表文件 " + path + "：" + systemErrorText(error));
    int error = file->writeAt(header.data(), header.size(), 0);
    if (!error) error = file->sync();
    if (error) return fail("无法写入表文件 " + path + "：" + systemErrorText(error));
    return {};
}

} // namespace xb::store
