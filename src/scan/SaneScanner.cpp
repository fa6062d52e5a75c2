#include "scan/SaneScanner.h"

#include "core/KrtError.h"
#include "scan/Acquisition.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <cmath>
#include <cstring>

namespace krt {
namespace {

// SANE's own words for a status ("Device busy", "Document feeder jammed").
std::string Status(SANE_Status status) { return sane_strstatus(status); }

// An option descriptor as the scan dialog reads it: its type and unit, whether
// it is active and settable now, and the range, numbers or texts it allows.
// Fixed-point values (SANE_FIX: 16.16) become plain numbers here, so nothing
// above this file knows the encoding.
ScanOptionInfo Describe(const SANE_Option_Descriptor& d)
{
    ScanOptionInfo o;
    o.name = d.name ? d.name : "";
    o.title = d.title ? d.title : "";
    switch (d.type) {
    case SANE_TYPE_BOOL: o.type = ScanOptionInfo::Type::Bool; break;
    case SANE_TYPE_INT: o.type = ScanOptionInfo::Type::Int; break;
    case SANE_TYPE_FIXED: o.type = ScanOptionInfo::Type::Fixed; break;
    case SANE_TYPE_STRING: o.type = ScanOptionInfo::Type::String; break;
    default: o.type = ScanOptionInfo::Type::Other;
    }
    switch (d.unit) {
    case SANE_UNIT_PIXEL: o.unit = "pel"; break;
    case SANE_UNIT_BIT: o.unit = "bit"; break;
    case SANE_UNIT_MM: o.unit = "mm"; break;
    case SANE_UNIT_DPI: o.unit = "dpi"; break;
    case SANE_UNIT_PERCENT: o.unit = "%"; break;
    case SANE_UNIT_MICROSECOND: o.unit = "µs"; break;
    default: break;
    }
    o.active = SANE_OPTION_IS_ACTIVE(d.cap);
    o.settable = SANE_OPTION_IS_SETTABLE(d.cap);
    const bool fixed = d.type == SANE_TYPE_FIXED;
    auto number = [fixed](SANE_Word w) { return fixed ? SANE_UNFIX(w) : static_cast<double>(w); };
    if (d.constraint_type == SANE_CONSTRAINT_RANGE && d.constraint.range) {
        o.minimum = number(d.constraint.range->min);
        o.maximum = number(d.constraint.range->max);
        o.step = number(d.constraint.range->quant);
    } else if (d.constraint_type == SANE_CONSTRAINT_WORD_LIST && d.constraint.word_list) {
        for (SANE_Int i = 1; i <= d.constraint.word_list[0]; ++i)
            o.numbers.push_back(number(d.constraint.word_list[i]));
    } else if (d.constraint_type == SANE_CONSTRAINT_STRING_LIST && d.constraint.string_list) {
        for (const SANE_String_Const* s = d.constraint.string_list; *s; ++s)
            o.texts.emplace_back(*s);
    }
    return o;
}

// One open device. Options are found by name each time (their numbers can
// change when another option, such as the mode, changes). A session always
// ends idle: closing cancels a scan that is still running.
class SaneSession : public ScannerSession {
public:
    explicit SaneSession(SANE_Handle h) : handle(h) {}
    ~SaneSession() override
    {
        sane_cancel(handle);
        sane_close(handle);
    }

    std::vector<ScanOptionInfo> Options() override
    {
        std::vector<ScanOptionInfo> options;
        for (SANE_Int i = 1; const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle, i); ++i)
            if (d->name && *d->name)
                options.push_back(Describe(*d));
        return options;
    }

    // A value travels in a buffer of the option's own size (at least a word,
    // plus a terminating zero for texts); booleans and integers are words.
    OptionValue Get(const std::string& name) override
    {
        const auto [index, d] = Find(name);
        std::vector<char> buffer(static_cast<std::size_t>(std::max<SANE_Int>(d->size, sizeof(SANE_Word))) + 1, 0);
        const SANE_Status status = sane_control_option(handle, index, SANE_ACTION_GET_VALUE, buffer.data(), nullptr);
        if (status != SANE_STATUS_GOOD)
            throw ScanError(name + ": " + Status(status));
        SANE_Word word;
        std::memcpy(&word, buffer.data(), sizeof word);
        switch (d->type) {
        case SANE_TYPE_BOOL: return word != SANE_FALSE;
        case SANE_TYPE_INT: return static_cast<double>(word);
        case SANE_TYPE_FIXED: return SANE_UNFIX(word);
        default: return std::string(buffer.data());
        }
    }

    void Set(const std::string& name, const OptionValue& value) override
    {
        const auto [index, d] = Find(name);
        std::vector<char> buffer(static_cast<std::size_t>(std::max<SANE_Int>(d->size, sizeof(SANE_Word))) + 1, 0);
        SANE_Word word = 0;
        if (d->type == SANE_TYPE_STRING) {
            const std::string* text = std::get_if<std::string>(&value);
            if (!text || text->size() >= buffer.size())
                throw ScanError(name + ": " + Status(SANE_STATUS_INVAL));
            std::memcpy(buffer.data(), text->c_str(), text->size() + 1);
        } else {
            const double number = std::holds_alternative<bool>(value)     ? (std::get<bool>(value) ? 1 : 0)
                                  : std::holds_alternative<double>(value) ? std::get<double>(value)
                                                                          : NAN;
            if (std::isnan(number))
                throw ScanError(name + ": " + Status(SANE_STATUS_INVAL));
            word = d->type == SANE_TYPE_FIXED  ? SANE_FIX(number)
                   : d->type == SANE_TYPE_BOOL ? (number != 0 ? SANE_TRUE : SANE_FALSE)
                                               : static_cast<SANE_Word>(std::lround(number));
            std::memcpy(buffer.data(), &word, sizeof word);
        }
        SANE_Int info = 0;
        const SANE_Status status = sane_control_option(handle, index, SANE_ACTION_SET_VALUE, buffer.data(), &info);
        if (status != SANE_STATUS_GOOD)
            throw ScanError(name + ": " + Status(status));
    }

    void Start() override { Check(sane_start(handle)); }

    FrameParameters Parameters() override
    {
        SANE_Parameters p;
        Check(sane_get_parameters(handle, &p));
        FrameParameters f;
        switch (p.format) {
        case SANE_FRAME_GRAY: f.format = FrameFormat::Gray; break;
        case SANE_FRAME_RGB: f.format = FrameFormat::Rgb; break;
        case SANE_FRAME_RED: f.format = FrameFormat::Red; break;
        case SANE_FRAME_GREEN: f.format = FrameFormat::Green; break;
        case SANE_FRAME_BLUE: f.format = FrameFormat::Blue; break;
        default: throw ScanError("frame format " + std::to_string(static_cast<int>(p.format)));
        }
        f.lastFrame = p.last_frame;
        f.bytesPerLine = p.bytes_per_line;
        f.pixelsPerLine = p.pixels_per_line;
        f.lines = p.lines;
        f.depth = p.depth;
        return f;
    }

    // sane_read may return no bytes while the device is still working (a
    // blocking backend waits instead); that is not the end of the frame, so
    // it asks again until bytes come or the frame ends (EOF).
    std::size_t Read(std::uint8_t* data, std::size_t size) override
    {
        for (;;) {
            SANE_Int length = 0;
            const auto wanted = static_cast<SANE_Int>(std::min<std::size_t>(size, 1 << 30));
            const SANE_Status status = sane_read(handle, data, wanted, &length);
            if (status == SANE_STATUS_EOF)
                return 0;
            Check(status);
            if (length > 0)
                return static_cast<std::size_t>(length);
        }
    }

    void Cancel() override { sane_cancel(handle); }

private:
    std::pair<SANE_Int, const SANE_Option_Descriptor*> Find(const std::string& name)
    {
        for (SANE_Int i = 1; const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle, i); ++i)
            if (d->name && name == d->name)
                return {i, d};
        throw ScanError(name + ": " + Status(SANE_STATUS_UNSUPPORTED));
    }

    static void Check(SANE_Status status)
    {
        if (status == SANE_STATUS_CANCELLED)
            throw ScanCancelled();
        if (status != SANE_STATUS_GOOD)
            throw ScanError(Status(status));
    }

    SANE_Handle handle;
};

// The SANE library for the length of one command: initialised when a scan or
// the source list starts and shut down after it, so no backend stays loaded
// (and no device stays claimed) while the editor runs. Only local devices are
// listed: asking the network is slow and not what a desktop scan needs.
class SaneService : public ScannerService {
public:
    SaneService()
    {
        SANE_Int version = 0;
        if (const SANE_Status status = sane_init(&version, nullptr); status != SANE_STATUS_GOOD)
            throw KrtError(ServiceMessage(Status(status)));
    }
    ~SaneService() override { sane_exit(); }
    SaneService(const SaneService&) = delete;
    SaneService& operator=(const SaneService&) = delete;

    std::vector<ScannerInfo> Devices() override
    {
        const SANE_Device** list = nullptr;
        std::vector<ScannerInfo> devices;
        if (sane_get_devices(&list, SANE_TRUE) != SANE_STATUS_GOOD || !list)
            return devices;
        for (; *list; ++list) {
            const SANE_Device& d = **list;
            devices.push_back(
                {d.name ? d.name : "", d.vendor ? d.vendor : "", d.model ? d.model : "", d.type ? d.type : ""});
        }
        return devices;
    }

    std::unique_ptr<ScannerSession> Open(const std::string& name) override
    {
        SANE_Handle handle = nullptr;
        if (const SANE_Status status = sane_open(name.c_str(), &handle); status != SANE_STATUS_GOOD)
            throw ScanError(Status(status));
        return std::make_unique<SaneSession>(handle);
    }
};

} // namespace

std::unique_ptr<ScannerService> StartSane() { return std::make_unique<SaneService>(); }

} // namespace krt
