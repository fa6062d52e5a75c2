#include "paint/ToolTraits.h"

namespace krt {

const std::array<ToolTraits, ToolCount>& AllTools()
{
    using enum Tool;
    constexpr ToolCursor P = ToolCursor::Paint;
    // clang-format off
    static const std::array<ToolTraits, ToolCount> tools = {{
        //  tool                button           options             cursor               modifiers image  redraws
        {Pencil,             "SpeedButton1",  OptionsAll,         P,                   true,  true,  false},
        {Brush,              "SpeedButton2",  OptionsAll,         P,                   true,  true,  false},
        {Eraser,             "SpeedButton3",  OptionsAll,         P,                   true,  true,  false},
        {Picker,             "SpeedButton4",  OptionsNone,        P,                   false, false, false},
        {FillSameColor,      "SpeedButton5",  OptionsNone,        P,                   true,  true,  true},
        {FillToBackground,   "SpeedButton6",  OptionsNone,        P,                   true,  true,  true},
        {ReplaceColor,       "SpeedButton7",  OptionsNone,        P,                   false, true,  true},
        {ReplaceOtherColors, "SpeedButton8",  OptionsNone,        P,                   false, true,  true},
        {RectangleSelect,    "SpeedButton9",  OptionsNone,        P,                   false, true,  false},
        {SameColorSelect,    "SpeedButton10", OptionsNone,        P,                   false, true,  true},
        {FreeHandSelect,     "SpeedButton15", OptionsNone,        P,                   true,  true,  false},
        {Move,               "SpeedButton16", OptionsNone,        ToolCursor::Move,    false, false, false},
        {Text,               "SpeedButton17", OptionTransparency, ToolCursor::TextBeam, false, true, true},
        {Gradient,           "SpeedButton18", OptionTransparency, P,                   true,  true,  false},
    }};
    // clang-format on
    return tools;
}

const ToolTraits& Traits(Tool tool) { return AllTools()[static_cast<std::size_t>(ToolNumber(tool) - 1)]; }

} // namespace krt
