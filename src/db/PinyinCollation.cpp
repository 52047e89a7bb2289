#include "db/PinyinCollation.h"

#include "db/DbError.h"
#include "db/SqlDialect.h"

#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>
#include <unicode/ucol.h>
#include <unicode/uset.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// The CJK Unified Ideographs, where nearly every character of a Chinese name
// lies; their primary weights are looked up in a table of our own.
constexpr char32_t kFirstHan = 0x4E00;
constexpr char32_t kLastHan = 0x9FFF;
constexpr char32_t kNoCharacter = 0;

// Decodes the three-byte UTF-8 sequence at `p` when it is one; kNoCharacter for
// anything else (ASCII, other lengths, malformed bytes).
inline char32_t threeByteCharacter(const unsigned char* p, const unsigned char* end)
{
    if (end - p < 3 || (p[0] & 0xF0) != 0xE0 || (p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80)
        return kNoCharacter;
    return (char32_t(p[0] & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | char32_t(p[2] & 0x3F);
}

int byteOrder(std::string_view a, std::string_view b)
{
    const int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (c != 0)
        return c;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// ICU's collator for Chinese in pinyin order, with a shortcut.
//
// Through ICU alone a list of names sorts in about twice the time it takes by
// code point. Most comparisons of names are decided at the first Chinese
// character in which they differ, and there ICU compares the characters'
// primary weights. The table holds those weights for the common ideographs, so
// that such a comparison is decided here; everything else (other characters,
// characters that ICU reads together with their neighbours, such as 沈 in 沈阳)
// goes to ICU. The tests hold the shortcut to ICU's answer.
class PinyinCollator
{
public:
    PinyinCollator()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_collator = ucol_open("zh@collation=pinyin", &status);
        if (U_FAILURE(status)) {
            ucol_close(m_collator);
            m_collator = nullptr;
        }
    }
    ~PinyinCollator() { ucol_close(m_collator); }
    PinyinCollator(const PinyinCollator&) = delete;
    PinyinCollator& operator=(const PinyinCollator&) = delete;

    bool isValid() const { return m_collator != nullptr; }

    int compare(std::string_view a, std::string_view b) const
    {
        // The table takes ICU a moment to make: a connection that never sorts
        // by name (a command that bills) never waits for it.
        std::call_once(m_tableMade, [this] { buildTable(); });
        if (const int decided = shortcut(a, b); decided != kUndecided)
            return decided;
        if (m_collator && a.size() <= INT32_MAX && b.size() <= INT32_MAX) {
            UErrorCode status = U_ZERO_ERROR;
            const UCollationResult r = ucol_strcollUTF8(m_collator, a.data(), int32_t(a.size()), b.data(),
                                                        int32_t(b.size()), &status);
            if (U_SUCCESS(status) && r != UCOL_EQUAL)
                return r == UCOL_LESS ? -1 : 1;
        }
        // Texts that ICU takes for equal ("a" and "a" with a character it
        // ignores) still have one order.
        return byteOrder(a, b);
    }

private:
    // A primary weight of up to three bytes, big-endian in the upper 24 bits,
    // its length in the lowest 8; 0 where ICU must decide.
    using Packed = std::uint32_t;

    // What shortcut() returns when ICU must decide.
    static constexpr int kUndecided = 2;

    void buildTable() const
    {
        if (!m_collator)
            return;
        UErrorCode status = U_ZERO_ERROR;
        UCollator* primary = ucol_open("zh@collation=pinyin", &status);
        USet* contractions = uset_openEmpty();
        USet* expansions = uset_openEmpty();
        ucol_setStrength(primary, UCOL_PRIMARY);
        ucol_getContractionsAndExpansions(m_collator, contractions, expansions, true, &status);
        if (U_FAILURE(status)) {
            uset_close(expansions);
            uset_close(contractions);
            ucol_close(primary);
            return; // every comparison goes to ICU
        }

        // Characters that ICU may read together with a neighbour.
        std::vector<bool> joined(kLastHan - kFirstHan + 1, false);
        for (int32_t i = 0; i < uset_getItemCount(contractions); ++i) {
            UChar32 start = 0;
            UChar32 end = 0;
            UChar text[64];
            UErrorCode itemStatus = U_ZERO_ERROR;
            const int32_t length = uset_getItem(contractions, i, &start, &end, text, 64, &itemStatus);
            if (U_FAILURE(itemStatus) || length <= 0)
                continue;
            for (int32_t at = 0; at < length;) {
                UChar32 c = 0;
                U16_NEXT(text, at, length, c);
                if (c >= UChar32(kFirstHan) && c <= UChar32(kLastHan))
                    joined[std::size_t(c) - kFirstHan] = true;
            }
        }

        m_han.assign(kLastHan - kFirstHan + 1, 0);
        for (char32_t c = kFirstHan; c <= kLastHan; ++c) {
            const std::size_t index = c - kFirstHan;
            if (joined[index] || uset_contains(expansions, UChar32(c)))
                continue;
            const UChar unit = UChar(c);
            std::uint8_t key[16];
            const int32_t size = ucol_getSortKey(primary, &unit, 1, key, sizeof key);
            // The primary weight ends at the first byte below 2 (the level
            // separator or the terminator).
            int length = 0;
            while (length < size && length < int(sizeof key) && key[length] > 1)
                ++length;
            if (length == 0 || length > 3)
                continue;
            Packed packed = 0;
            for (int i = 0; i < 3; ++i)
                packed = (packed << 8) | (i < length ? key[i] : 0);
            m_han[index] = (packed << 8) | Packed(length);
        }
        uset_close(expansions);
        uset_close(contractions);
        ucol_close(primary);
    }

    Packed weight(char32_t c) const
    {
        if (c < kFirstHan || c > kLastHan || m_han.empty())
            return 0;
        return m_han[c - kFirstHan];
    }

    // ICU's answer where an ideograph decides it, as it does for most names: the
    // first character in which the texts differ, or the first one that one text
    // has beyond the other (the shorter text first); 0 for the same text;
    // kUndecided when ICU must decide. (A plain int: an optional one, returned
    // through memory, stalled every comparison of a sort.)
    //
    // What the texts have in common gives both the same collation elements,
    // unless ICU reads its end together with the next character: an ideograph
    // that it ever reads with a neighbour has no weight in the table.
    int shortcut(std::string_view a, std::string_view b) const
    {
        const auto* p = reinterpret_cast<const unsigned char*>(a.data());
        const auto* q = reinterpret_cast<const unsigned char*>(b.data());
        const auto* pEnd = p + a.size();
        const auto* qEnd = q + b.size();
        std::size_t at = 0;
        const std::size_t common = std::min(a.size(), b.size());
        // Names often share their beginning (a surname, a city): eight bytes at a time.
        if constexpr (std::endian::native == std::endian::little) {
            for (; at + 8 <= common; at += 8) {
                std::uint64_t u = 0;
                std::uint64_t v = 0;
                std::memcpy(&u, p + at, 8);
                std::memcpy(&v, q + at, 8);
                if (u != v) {
                    at += std::size_t(std::countr_zero(u ^ v) / 8);
                    break;
                }
            }
        }
        while (at < common && p[at] == q[at])
            ++at;
        if (at == a.size() && at == b.size())
            return 0;
        // Back to the first byte of the character in which they differ (where
        // one text ends, a character begins).
        if (at < common) {
            while (at > 0 && (p[at] & 0xC0) == 0x80)
                --at;
        }
        if (at == a.size())
            return weight(threeByteCharacter(q + at, qEnd)) != 0 ? -1 : kUndecided;
        if (at == b.size())
            return weight(threeByteCharacter(p + at, pEnd)) != 0 ? 1 : kUndecided;
        const Packed x = weight(threeByteCharacter(p + at, pEnd));
        const Packed y = weight(threeByteCharacter(q + at, qEnd));
        if (x == 0 || y == 0)
            return kUndecided;
        const Packed differing = (x >> 8) ^ (y >> 8);
        if (differing == 0)
            return kUndecided;
        // Bytes of the weights from the first: the first that differs must lie
        // within both weights.
        const int byte = (std::countl_zero(differing) - 8) / 8;
        if (byte >= int(std::min(x & 0xFF, y & 0xFF)))
            return kUndecided;
        return (x >> 8) < (y >> 8) ? -1 : 1;
    }

    UCollator* m_collator = nullptr;
    mutable std::once_flag m_tableMade;
    mutable std::vector<Packed> m_han;
};

// Made on first use and shared by every connection (an ICU collator compares on
// several threads at once).
const PinyinCollator& collator()
{
    static const PinyinCollator instance;
    return instance;
}

int compareCallback(void* context, int aSize, const void* a, int bSize, const void* b)
{
    const auto* c = static_cast<const PinyinCollator*>(context);
    return c->compare(std::string_view(static_cast<const char*>(a), std::size_t(aSize)),
                      std::string_view(static_cast<const char*>(b), std::size_t(bSize)));
}

sqlite3* handleOf(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

} // namespace

void registerPinyinCollation(const QSqlDatabase& db)
{
    // A server's schema holds the collation itself.
    if (SqlDialect::of(db).engine() == SqlDialect::Engine::Postgres)
        return;
    sqlite3* handle = handleOf(db);
    if (!handle)
        throw DbError(QStringLiteral("无法设置按拼音排序：数据库连接未打开。"));
    const PinyinCollator& c = collator();
    if (!c.isValid())
        throw DbError(QStringLiteral("无法设置按拼音排序：找不到中文排序规则（ICU）。"));
    const int result = sqlite3_create_collation_v2(handle, pinyin::kCollationName, SQLITE_UTF8,
                                                   const_cast<PinyinCollator*>(&c), compareCallback, nullptr);
    if (result != SQLITE_OK) {
        throw DbError(DbError::Kind::Engine, QStringLiteral("无法设置按拼音排序。"),
                      QString::fromUtf8(sqlite3_errmsg(handle)));
    }
}

namespace pinyin {

QString byName(const QString& column)
{
    return column + u" COLLATE " + QLatin1StringView(kCollationName);
}

int compare(std::string_view a, std::string_view b)
{
    return collator().compare(a, b);
}

} // namespace pinyin
