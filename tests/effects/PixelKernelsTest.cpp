#include "effects/PixelKernels.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace krt {
namespace {

bool HaveVbmi()
{
    return __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vl");
}

// The AVX-512 kernels give the plain kernels' bytes on random rows of every
// length, tables and saturations.
TEST(PixelKernels, TheVectorKernelsAgreeWithThePlainOnes)
{
    if (!HaveVbmi())
        GTEST_SKIP() << "this processor has no AVX-512 VBMI";
    std::mt19937 random(99);
    const pixels::Kernels& plain = pixels::PlainKernels();
    const pixels::Kernels& vector = pixels::Avx512Kernels();
    for (int trial = 0; trial < 200; ++trial) {
        const int pixels = trial < 70 ? trial : 1 + static_cast<int>(random() % 500);
        std::vector<std::uint8_t> row(static_cast<std::size_t>(3 * pixels) + 64);
        for (std::uint8_t& b : row)
            b = static_cast<std::uint8_t>(random());
        std::uint8_t tables[3][256];
        for (auto& table : tables)
            for (std::uint8_t& v : table)
                v = static_cast<std::uint8_t>(random());
        std::vector<std::uint8_t> a(row.size(), 7), b(row.size(), 7);
        plain.channelTables(row.data(), a.data(), 3 * pixels, tables[0], tables[1], tables[2]);
        vector.channelTables(row.data(), b.data(), 3 * pixels, tables[0], tables[1], tables[2]);
        ASSERT_EQ(a, b) << "tables, " << pixels << " pixels";

        const int s = static_cast<int>(random() % 256);
        a = row;
        b = row;
        plain.saturation(a.data(), pixels, s, tables[1]);
        vector.saturation(b.data(), pixels, s, tables[1]);
        ASSERT_EQ(a, b) << "saturation " << s << ", " << pixels << " pixels";
    }
}

} // namespace
} // namespace krt
