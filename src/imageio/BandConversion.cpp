#include "imageio/BandConversion.h"

#include <system_error>

namespace krt {

void BandConversion::RowsDecoded(const IccProfile& profile, int rows)
{
    if (!decided) {
        decided = true;
        converter = SrgbConverter::Make(profile);
        if (!converter)
            return;
        try {
            worker = std::thread([this] { Convert(); });
        } catch (const std::system_error&) {
            converter.reset(); // no thread to spare: the caller converts afterwards
        }
    }
    if (!worker.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        decoded = rows;
    }
    more.notify_one();
}

void BandConversion::Convert()
{
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        more.wait(lock, [this] { return done || decoded > converted; });
        if (decoded == converted)
            return; // done, and nothing left
        const int from = converted, to = decoded;
        lock.unlock();
        converter->Rows(picture, from, to);
        lock.lock();
        converted = to;
    }
}

bool BandConversion::Finish()
{
    if (!worker.joinable())
        return false;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    more.notify_one();
    worker.join();
    return true;
}

} // namespace krt
