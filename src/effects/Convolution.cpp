#include "effects/Convolution.h"

#include "core/KrtError.h"
#include "core/ThreadPool.h"
#include "effects/ConvolveKernels.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace krt {
namespace {

// What the kernels may read past a padded row's end.
constexpr int RowSlack = 64;

// The multiplier and shift that divide by d (2 <= d < 2^31) with a multiply:
// the "magic number" of signed division by a constant.
void MagicFor(std::uint32_t ad, conv::Divider& divider)
{
    const std::uint32_t two31 = 0x80000000u;
    const std::uint32_t anc = two31 - 1 - two31 % ad;
    int p = 31;
    std::uint32_t q1 = two31 / anc, r1 = two31 - q1 * anc;
    std::uint32_t q2 = two31 / ad, r2 = two31 - q2 * ad;
    std::uint32_t delta = 0;
    do {
        ++p;
        q1 *= 2;
        r1 *= 2;
        if (r1 >= anc) {
            ++q1;
            r1 -= anc;
        }
        q2 *= 2;
        r2 *= 2;
        if (r2 >= ad) {
            ++q2;
            r2 -= ad;
        }
        delta = ad - r2;
    } while (q1 < delta || (q1 == delta && r1 == 0));
    divider.magic = static_cast<std::int32_t>(q2 + 1);
    divider.shift = p - 32;
}

conv::Divider DividerFor(std::int32_t d)
{
    conv::Divider divider;
    if (d == 1)
        divider.mode = conv::Divider::Same;
    else if (d == -1)
        divider.mode = conv::Divider::Negate;
    else if (d == INT_MIN)
        divider.mode = conv::Divider::Zero; // no sum reaches 2^31
    else {
        divider.mode = conv::Divider::Magic;
        divider.negate = d < 0;
        MagicFor(static_cast<std::uint32_t>(std::abs(d)), divider);
    }
    return divider;
}

conv::RowKernel ChooseKernel(ConvolveOptions::Isa isa)
{
    static const bool avx2 = __builtin_cpu_supports("avx2") && !std::getenv("KRT_NO_AVX2");
    switch (isa) {
    case ConvolveOptions::Isa::Sse2: return conv::RowKernelSse2();
    case ConvolveOptions::Isa::Avx2: return conv::RowKernelAvx2();
    case ConvolveOptions::Isa::Auto: break;
    }
    return avx2 ? conv::RowKernelAvx2() : conv::RowKernelSse2();
}

// The source rows a slice of output rows reads, padded with the edge pixel
// at both ends; kept three at a time.
class PaddedRows {
public:
    PaddedRows(const TFastBMP& s) : source(s), stride(3 * (s.Width + 2) + RowSlack)
    {
        for (std::vector<std::uint8_t>& row : rows)
            row.assign(static_cast<std::size_t>(stride), 0);
    }
    // The padded row y (clamped to the picture), filled on first use.
    const std::uint8_t* Row(int y)
    {
        y = std::clamp(y, 0, source.Height - 1);
        std::vector<std::uint8_t>& row = rows[static_cast<std::size_t>(y % 3)];
        if (filled[static_cast<std::size_t>(y % 3)] != y) {
            const std::uint8_t* src = source.RowTable[static_cast<std::size_t>(y)];
            const int w = source.Width;
            std::memcpy(row.data(), src, 3);
            std::memcpy(row.data() + 3, src, static_cast<std::size_t>(3 * w));
            std::memcpy(row.data() + 3 + 3 * w, src + 3 * (w - 1), 3);
            filled[static_cast<std::size_t>(y % 3)] = y;
        }
        return row.data();
    }

private:
    const TFastBMP& source;
    int stride;
    std::vector<std::uint8_t> rows[3];
    int filled[3] = {-1, -1, -1};
};

// The bytes the vector kernel leaves at the row's end, one by one.
void ScalarTail(const conv::RowJob& job, const FilterKernel& kernel, int from)
{
    for (int i = from; i < job.bytes; ++i) {
        std::int32_t sum = 0;
        for (int k = 0; k < 9; ++k)
            sum += kernel.weights[static_cast<std::size_t>(k)] * job.rows[k % 3][i + 3 * (k / 3)];
        const std::int32_t value = kernel.divisor == INT_MIN ? 0 : sum / kernel.divisor;
        job.out[i] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    }
}

} // namespace

FilterKernel ParseFilterNumbers(const std::string& numbers)
{
    auto integer = [](std::string_view text) {
        std::int32_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc() || end != text.data() + text.size())
            throw KrtError("'" + std::string(text) + "' is not a valid integer value");
        return value;
    };
    FilterKernel kernel;
    std::string_view rest = numbers;
    for (std::int16_t& weight : kernel.weights) {
        const std::size_t comma = rest.find(',');
        if (comma == std::string_view::npos)
            throw KrtError("'" + std::string(rest) + "' is not a valid integer value");
        // The low 16 bits of the 32-bit value.
        weight = static_cast<std::int16_t>(static_cast<std::uint16_t>(integer(rest.substr(0, comma)) & 0xFFFF));
        rest.remove_prefix(comma + 1);
    }
    kernel.divisor = integer(rest);
    if (kernel.divisor == 0)
        throw KrtError("Division by zero");
    return kernel;
}

void Convolve3x3(TFastBMP& destination, const TFastBMP& source, const FilterKernel& kernel,
                 const ConvolveOptions& options)
{
    if (&destination == &source || destination.Width != source.Width || destination.Height != source.Height)
        throw KrtError("A filter needs a separate source of the destination's size.");
    if (source.Empty())
        return;
    conv::RowJob model{};
    for (int k = 0; k < 9; ++k)
        model.pairs[k] = kernel.weights[static_cast<std::size_t>(k)];
    model.pairs[9] = 0;
    model.divider = DividerFor(kernel.divisor);
    model.bytes = 3 * source.Width;
    const conv::RowKernel row = ChooseKernel(options.isa);
    ParallelRows(source.Height, ThreadPool::Count(options.threads), [&](int from, int to) {
        PaddedRows padded(source);
        conv::RowJob job = model;
        for (int y = from; y < to; ++y) {
            for (int r = 0; r < 3; ++r)
                job.rows[r] = padded.Row(y - 1 + r);
            job.out = destination.RowTable[static_cast<std::size_t>(y)];
            ScalarTail(job, kernel, row(job));
        }
    });
}

void ApplyFilterString(TFastBMP& destination, const TFastBMP& source, const std::string& numbers,
                       const ConvolveOptions& options)
{
    Convolve3x3(destination, source, ParseFilterNumbers(numbers), options);
}

const char* ConvolutionBackendName()
{
    return ChooseKernel(ConvolveOptions::Isa::Auto) == conv::RowKernelAvx2() ? "AVX2" : "SSE2";
}

} // namespace krt
