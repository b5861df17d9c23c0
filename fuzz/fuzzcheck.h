#pragma once

// Shared by the fuzz targets: the input as Qt sees it, and checks that turn a
// broken invariant into a finding.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

/**
 * A broken invariant is a finding just like a crash: say which one, then abort
 * so that libFuzzer keeps the input (and the replayer fails its test).
 */
#define WORDLUMEN_FUZZ_CHECK(condition)                                                            \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace wordlumen::fuzz {

/**
 * A copy of the input. Files and replies reach the parsers as owned,
 * terminated QByteArrays; a copy keeps that, and ASan still sees every read
 * past the end of the data.
 */
inline QByteArray inputBytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

} // namespace wordlumen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);
