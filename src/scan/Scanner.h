#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace krt {

// A scanner (or camera) the scanner service knows.
struct ScannerInfo {
    std::string name; // what opens it, e.g. "test:0" or "genesys:libusb:001:004"
    std::string vendor;
    std::string model;
    std::string type;
    // "Vendor Model (name)", for lists.
    std::string Label() const;
};

// A setting of a scanner: a switch, a number (whole or not) or a text.
using OptionValue = std::variant<bool, double, std::string>;

// What a scanner says about one of its settings.
struct ScanOptionInfo {
    enum class Type { Bool, Int, Fixed, String, Other };
    std::string name; // the standard names: "mode", "resolution", "tl-x", "tl-y", "br-x", "br-y"
    std::string title;
    Type type = Type::Other;
    std::string unit; // "dpi", "mm", "pel", "%", "bit", "µs" or ""
    bool active = true;
    bool settable = true;
    // The values it may take: a range, a list of numbers or a list of texts.
    std::optional<double> minimum, maximum, step;
    std::vector<double> numbers;
    std::vector<std::string> texts;
};

// One frame of a scan, as the scanner describes it before sending it.
enum class FrameFormat { Gray, Rgb, Red, Green, Blue };
struct FrameParameters {
    FrameFormat format = FrameFormat::Gray;
    bool lastFrame = true;
    int bytesPerLine = 0;
    int pixelsPerLine = 0;
    int lines = 0; // -1 when the scanner does not know in advance (hand scanners)
    int depth = 8; // bits per sample: 1, 8 or 16
};

// A failure the scanner reported, with its reason.
class ScanError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// The scan was cancelled (by the user, or at the scanner).
class ScanCancelled : public std::runtime_error {
public:
    ScanCancelled() : std::runtime_error("cancelled") {}
};

// An open scanner. Everything but Cancel runs on one thread; Cancel may come
// from another while a frame is being read.
class ScannerSession {
public:
    virtual ~ScannerSession() = default;
    virtual std::vector<ScanOptionInfo> Options() = 0;
    virtual OptionValue Get(const std::string& name) = 0;
    // Throws ScanError when the scanner refuses the value.
    virtual void Set(const std::string& name, const OptionValue& value) = 0;
    // Starts the next frame. Throws ScanError or ScanCancelled.
    virtual void Start() = 0;
    virtual FrameParameters Parameters() = 0;
    // Reads up to `size` bytes of the frame; 0 at its end. Throws ScanError or ScanCancelled.
    virtual std::size_t Read(std::uint8_t* data, std::size_t size) = 0;
    virtual void Cancel() = 0;
};

// The scanner service: which scanners there are, and opening one.
class ScannerService {
public:
    virtual ~ScannerService() = default;
    virtual std::vector<ScannerInfo> Devices() = 0;
    // Throws ScanError (busy, access denied, gone …).
    virtual std::unique_ptr<ScannerSession> Open(const std::string& name) = 0;
};

} // namespace krt
