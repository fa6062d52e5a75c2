#include "scan/Acquisition.h"

#include "core/KrtError.h"
#include "core/OwnMessages.h"
#include "scan/FrameImage.h"

namespace krt {
namespace {

constexpr OwnMessage NoScanner{
    "No scanner was found. Check that it is connected and switched on, and that the scanner service "
    "(SANE) knows it: \"scanimage -L\" lists the scanners it finds.",
    "Сканер не найден. Проверьте, что он подключён и включён и что служба сканеров (SANE) его знает: "
    "\"scanimage -L\" показывает найденные сканеры."};
constexpr OwnMessage CannotOpen{"The scanner \"{1}\" cannot be opened: {2}.",
                                "Не удаётся открыть сканер \"{1}\": {2}."};
constexpr OwnMessage ScanFailed{"The scan failed: {1}.", "Сканирование не удалось: {1}."};
constexpr OwnMessage NoService{"The scanner service (SANE) cannot be started: {1}.",
                               "Не удаётся запустить службу сканеров (SANE): {1}."};

// Frames go in pieces of this size; the cancel flag is looked at between them.
constexpr std::size_t Piece = 64 * 1024;

// Ends the scan at the scanner however the acquisition ends.
class IdleAtEnd {
public:
    explicit IdleAtEnd(ScannerSession& s) : scanner(s) {}
    ~IdleAtEnd() { scanner.Cancel(); }
    IdleAtEnd(const IdleAtEnd&) = delete;
    IdleAtEnd& operator=(const IdleAtEnd&) = delete;

private:
    ScannerSession& scanner;
};

} // namespace

std::string NoScannerMessage() { return Say(NoScanner); }
std::string CannotOpenMessage(const std::string& scanner, const std::string& reason)
{
    return Say(CannotOpen, {scanner, reason});
}
std::string ServiceMessage(const std::string& reason) { return Say(NoService, {reason}); }

std::optional<TFastBMP> AcquireImage(ScannerSession& scanner, const std::atomic<bool>& cancel,
                                     const std::function<void(double)>& progress)
{
    IdleAtEnd idle(scanner);
    FrameImage image;
    try {
        for (int frame = 0;; ++frame) {
            if (cancel)
                return std::nullopt;
            scanner.Start();
            const FrameParameters p = scanner.Parameters();
            FrameImage::CheckReadable(p);
            // A three-pass scanner sends three frames; a hand scanner does not know its height.
            const int frames = p.format == FrameFormat::Gray || p.format == FrameFormat::Rgb ? 1 : 3;
            const double expected = p.lines > 0 ? static_cast<double>(p.bytesPerLine) * p.lines : 0;
            std::vector<std::uint8_t> bytes;
            if (expected > 0)
                bytes.reserve(static_cast<std::size_t>(expected));
            const std::size_t limit = static_cast<std::size_t>(p.bytesPerLine) * (MaxImageSide + 1);
            for (;;) {
                if (cancel) {
                    scanner.Cancel();
                    return std::nullopt;
                }
                const std::size_t before = bytes.size();
                bytes.resize(before + Piece);
                const std::size_t got = scanner.Read(bytes.data() + before, Piece);
                bytes.resize(before + got);
                if (got == 0)
                    break;
                if (bytes.size() > limit) // a hand scan longer than a picture may be
                    break;
                if (progress && expected > 0)
                    progress((frame + std::min(1.0, static_cast<double>(bytes.size()) / expected)) / frames);
            }
            image.AddFrame(p, bytes);
            if (p.lastFrame || frame >= 2)
                break;
        }
        return image.Picture();
    } catch (const ScanCancelled&) {
        return std::nullopt;
    } catch (const ScanError& e) {
        // A scanner stopped while it was sending may answer with an I/O
        // error instead of "cancelled"; the user asked for the stop, so it is
        // not reported as a failed scan.
        if (cancel)
            return std::nullopt;
        throw KrtError(Say(ScanFailed, {e.what()}));
    }
}

} // namespace krt
