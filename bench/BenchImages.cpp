#include "BenchImages.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace krt::bench {

const TFastBMP& Photo24()
{
    static const TFastBMP picture = PhotoLikeImage(6000, 4000);
    return picture;
}

TFastBMP PhotoLikeImage(int width, int height)
{
    TFastBMP image(width, height);
    unsigned noise = 12345;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = image.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x, p += 3) {
            noise = noise * 1103515245u + 12345u;
            const int n = static_cast<int>((noise >> 16) & 15) - 8;
            const double fx = static_cast<double>(x) / width, fy = static_cast<double>(y) / height;
            const int r = static_cast<int>(128 + 100 * std::sin(6.0 * fx + 2.0 * fy)) + n;
            const int g = static_cast<int>(128 + 90 * std::cos(4.0 * fy - 3.0 * fx)) + n;
            const int b = static_cast<int>(128 + 80 * std::sin(9.0 * fx * fy)) + n;
            p[0] = static_cast<std::uint8_t>(std::clamp(b, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(g, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(r, 0, 255));
        }
    }
    return image;
}

std::string ScratchFolder()
{
    const char* env = std::getenv("KRT_BENCH_DIR");
    const std::filesystem::path folder = env ? env : (std::filesystem::temp_directory_path() / "krt-bench");
    std::filesystem::create_directories(folder);
    return folder.string();
}

} // namespace krt::bench
