#pragma once

// The "{}" form of the catalogue, derived from kCatalogueRows at compile time: every placeholder
// "%<number>" becomes "{}" and a line feed becomes backslash + 'n'; every other byte is kept. The
// result is one static block of NUL-terminated texts, so errorCode2Str hands out pointers into
// read-only storage without allocating.

#include <cstddef>
#include <cstdint>
#include "catalogue_rows.h"
#include "robot_proxy/error_code.h"

namespace temla::error_stack::detail
{

constexpr bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of the placeholder starting at `p` ("%" and its digits), 0 when `p` holds none.
constexpr std::size_t placeholderLength(const char *p)
{
    if (p[0] != '%' || !isDigit(p[1])) {
        return 0;
    }
    std::size_t n = 1;
    while (isDigit(p[n])) {
        ++n;
    }
    return n;
}

constexpr std::size_t plainLength(const char *text)
{
    std::size_t n = 0;
    for (const char *p = text; *p != '\0';) {
        const std::size_t placeholder = placeholderLength(p);
        if (placeholder > 0) {
            n += 2;
            p += placeholder;
        } else {
            n += (*p == '\n') ? 2 : 1;
            ++p;
        }
    }
    return n;
}

constexpr std::size_t plainTableBytes()
{
    std::size_t n = 0;
    for (const CatalogueRow &row : kCatalogueRows) {
        n += plainLength(row.text) + 1;
    }
    return n;
}

struct PlainTable {
    char bytes[plainTableBytes()];
    std::uint16_t offsets[kCatalogueRowCount];
};
static_assert(plainTableBytes() <= UINT16_MAX, "offsets must fit the offset type");

constexpr PlainTable makePlainTable()
{
    PlainTable table{};
    std::size_t at = 0;
    for (int i = 0; i < kCatalogueRowCount; ++i) {
        table.offsets[i] = static_cast<std::uint16_t>(at);
        for (const char *p = kCatalogueRows[i].text; *p != '\0';) {
            const std::size_t placeholder = placeholderLength(p);
            if (placeholder > 0) {
                table.bytes[at++] = '{';
                table.bytes[at++] = '}';
                p += placeholder;
            } else if (*p == '\n') {
                table.bytes[at++] = '\\';
                table.bytes[at++] = 'n';
                ++p;
            } else {
                table.bytes[at++] = *p++;
            }
        }
        table.bytes[at++] = '\0';
    }
    return table;
}

inline constexpr PlainTable kPlainTable = makePlainTable();

// Index of `code` in kCatalogueRows; the sentinel's index (the last) for -1 and every unlisted code.
// The rows before the sentinel are sorted, so a binary search finds the code.
constexpr int rowIndex(int code)
{
    constexpr int sentinel = kCatalogueRowCount - 1;
    int lo = 0;
    int hi = sentinel;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (kCatalogueRows[mid].code < code) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return (lo < sentinel && kCatalogueRows[lo].code == code) ? lo : sentinel;
}

// Compile-time checks of the table's shape, so a bad edit fails the build rather than a lookup.

constexpr bool rowsAscendingWithSentinelLast()
{
    constexpr int sentinel = kCatalogueRowCount - 1;
    for (int i = 1; i < sentinel; ++i) {
        if (kCatalogueRows[i - 1].code >= kCatalogueRows[i].code) {
            return false;
        }
    }
    return kCatalogueRows[0].code >= 0 && kCatalogueRows[sentinel].code == -1;
}

constexpr bool textsEqual(const char *a, const char *b)
{
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// The n-th placeholder of a template is "%n": this is what lets "{}" stand for it by position.
constexpr bool placeholdersNumberedInOrder(const char *text)
{
    int expected = 1;
    for (const char *p = text; *p != '\0';) {
        const std::size_t placeholder = placeholderLength(p);
        if (placeholder == 0) {
            ++p;
            continue;
        }
        int number = 0;
        for (std::size_t i = 1; i < placeholder; ++i) {
            number = number * 10 + (p[i] - '0');
        }
        if (number != expected) {
            return false;
        }
        ++expected;
        p += placeholder;
    }
    return true;
}

constexpr bool allPlaceholdersNumberedInOrder()
{
    for (const CatalogueRow &row : kCatalogueRows) {
        if (!placeholdersNumberedInOrder(row.text)) {
            return false;
        }
    }
    return true;
}

static_assert(kCatalogueRowCount == 527, "526 codes and the sentinel");
static_assert(rowsAscendingWithSentinelLast(), "rows ascend by code, sentinel -1 last");
static_assert(textsEqual(kCatalogueRows[kCatalogueRowCount - 1].text, kMaxErrorCode), "sentinel text");
static_assert(allPlaceholdersNumberedInOrder(), "placeholders run %1, %2, ... in order of appearance");

}  // namespace temla::error_stack::detail
