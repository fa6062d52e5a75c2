#include "BatchCommands.h"
#include "BatchFiles.h"

#include "effects/Buttonize.h"
#include "effects/ColorParams.h"
#include "effects/Emboss.h"
#include "effects/Gamma.h"
#include "effects/Plasma.h"
#include "imageio/ImageFiles.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <functional>

namespace krt::batch {
namespace {

// A gamma point "X,Y": where the graph was clicked, in its box pixels.
GammaCurve ParseGammaPoint(const std::string& option, const std::string& text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        throw UsageError(option + " needs a point X,Y of the 64 x 64 graph, not \"" + text + "\"");
    const int x = ParseInteger(option, text.substr(0, comma));
    const int y = ParseInteger(option, text.substr(comma + 1));
    const auto curve = CurveFromGraph(x, y, true);
    if (!curve)
        throw UsageError(option + " needs a point inside the graph, 0 < X < 64 and 0 < Y < 64, not \"" + text + "\"");
    return *curve;
}

std::uint32_t ParseSeed(const std::string& value)
{
    char* end = nullptr;
    errno = 0;
    const unsigned long long n = std::strtoull(value.c_str(), &end, 10);
    if (value.empty() || value[0] == '-' || *end != '\0' || errno != 0 || n > 0xFFFFFFFFull)
        throw UsageError("--seed needs a whole number from 0 to 4294967295, not \"" + value + "\"");
    return static_cast<std::uint32_t>(n);
}

// What an effect's options set, and what it then does to the picture.
struct EffectSettings {
    std::array<GammaCurve, 3> gamma{OpeningCurve(), OpeningCurve(), OpeningCurve()};
    int saturation = 255;
    int brightness = 0;
    int contrast = 0;
    int depth = -1;
    std::optional<bool> pressed;
    int roughness = -1;
    int transparency = -1;
    std::uint32_t seed = static_cast<std::uint32_t>(std::time(nullptr));
    PackedColor foreground = Black;
    PackedColor background = White;
};

struct EffectKind {
    const char* name;
    // The options it takes; false for one it does not know.
    bool (*option)(ArgumentCursor& cursor, EffectSettings& settings);
    // Checks what must be given, then applies the effect to the picture.
    void (*apply)(TFastBMP& picture, const TFastBMP& source, const EffectSettings& settings);
};

bool NoOptions(ArgumentCursor&, EffectSettings&) { return false; }

const EffectKind Kinds[] = {
    {"gamma",
     [](ArgumentCursor& cursor, EffectSettings& s) {
         const std::string& a = cursor.Current();
         const char* channels[] = {"--red", "--green", "--blue"};
         for (std::size_t c = 0; c < 3; ++c)
             if (a == channels[c]) {
                 s.gamma[c] = ParseGammaPoint(a, cursor.Value());
                 return true;
             }
         return false;
     },
     [](TFastBMP& picture, const TFastBMP& source, const EffectSettings& s) {
         GammaCurves gamma;
         gamma.curves = s.gamma;
         gamma.Recompute();
         ApplyGamma(picture, source, gamma);
     }},
    {"params",
     [](ArgumentCursor& cursor, EffectSettings& s) {
         const std::string& a = cursor.Current();
         int* target = a == "--saturation"   ? &s.saturation
                       : a == "--brightness" ? &s.brightness
                       : a == "--contrast"   ? &s.contrast
                                             : nullptr;
         if (target)
             *target = ParseInRange(a, cursor.Value(), 0, 255);
         return target != nullptr;
     },
     [](TFastBMP& picture, const TFastBMP&, const EffectSettings& s) {
         ApplyColorParams(picture, s.saturation, s.brightness, s.contrast);
     }},
    {"button",
     [](ArgumentCursor& cursor, EffectSettings& s) {
         const std::string& a = cursor.Current();
         if (a == "--depth")
             s.depth = ParseInRange(a, cursor.Value(), 0, 100);
         else if (a == "--pressed" || a == "--raised")
             s.pressed = a == "--pressed";
         else
             return false;
         return true;
     },
     [](TFastBMP& picture, const TFastBMP&, const EffectSettings& s) {
         if (s.depth < 0 || !s.pressed)
             throw UsageError("button needs --depth N and --pressed or --raised");
         const BevelColors colors = ButtonColors(*s.pressed);
         Bevel(picture, s.depth, colors.topLeft, colors.bottomRight);
     }},
    {"clouds",
     [](ArgumentCursor& cursor, EffectSettings& s) {
         const std::string& a = cursor.Current();
         if (a == "--roughness")
             s.roughness = ParseInRange(a, cursor.Value(), 0, 50);
         else if (a == "--transparency")
             s.transparency = ParseInRange(a, cursor.Value(), 0, 100);
         else if (a == "--seed")
             s.seed = ParseSeed(cursor.Value());
         else if (a == "--foreground")
             s.foreground = ParseColor(a, cursor.Value());
         else if (a == "--background")
             s.background = ParseColor(a, cursor.Value());
         else
             return false;
         return true;
     },
     [](TFastBMP& picture, const TFastBMP& source, const EffectSettings& s) {
         if (s.roughness < 0 || s.transparency < 0)
             throw UsageError("clouds needs --roughness R and --transparency T");
         GeneratePlasma(picture, s.roughness, s.seed, s.background, s.foreground);
         MixClouds(picture, source, s.transparency);
     }},
    {"emboss", NoOptions, [](TFastBMP& picture, const TFastBMP&, const EffectSettings&) { Emboss(picture); }},
};

int ApplyEffect(const Arguments& args)
{
    if (args.empty())
        throw UsageError("effect needs an effect: gamma, params, button, clouds or emboss");
    const auto* kind =
        std::find_if(std::begin(Kinds), std::end(Kinds), [&](const EffectKind& k) { return args[0] == k.name; });
    if (kind == std::end(Kinds))
        throw UsageError("no effect is called \"" + args[0] + "\" (gamma, params, button, clouds or emboss)");
    const Arguments rest(args.begin() + 1, args.end());
    EffectSettings settings;
    OutputPlan plan;
    std::vector<std::string> files;
    for (ArgumentCursor cursor(rest); cursor.Next();)
        if (!ParseOutputOption(cursor, plan) && !kind->option(cursor, settings))
            cursor.Plain(files);
    return RunOverFiles(kind->name, files, plan, [&](TFastBMP&& source, int) {
        TFastBMP picture;
        picture.CopyFrom(source);
        kind->apply(picture, source, settings);
        return picture;
    });
}

} // namespace

const BatchCommand EffectCommand{
    "effect",
    "effect (gamma|params|button|clouds|emboss) [options] IN OUT",
    "Usage: krtphoto-batch effect gamma [--red X,Y] [--green X,Y] [--blue X,Y] IN OUT\n"
    "       krtphoto-batch effect params [--saturation S] [--brightness L]\n"
    "                                    [--contrast K] IN OUT\n"
    "       krtphoto-batch effect button --depth N (--pressed | --raised) IN OUT\n"
    "       krtphoto-batch effect clouds --roughness R --transparency T [--seed N]\n"
    "                                    [--foreground RRGGBB] [--background RRGGBB] IN OUT\n"
    "       krtphoto-batch effect emboss IN OUT\n"
    "   (each also --out-dir DIR [--format EXT] [--overwrite] [--jobs N] IN...)\n"
    "\n"
    "Applies a colour or stylize effect to the whole picture IN, as OK in its\n"
    "dialog would, and writes OUT (named as for convert).\n"
    "\n"
    "  gamma   bends each channel's tone curve through the point X,Y where its\n"
    "          64 x 64 graph is clicked (box pixels, Y from the top, both between\n"
    "          0 and 64): above the diagonal brightens, below darkens. A channel\n"
    "          left out keeps the nearly straight curve the dialog opens with.\n"
    "  params  saturation S (default 255), then brightness L (default 0), then\n"
    "          contrast K (default 0), each 0 to 255, as the three sliders.\n"
    "  button  a bevel N pixels deep (0 to 100): --pressed is dark on the top and\n"
    "          left, --raised light there.\n"
    "  clouds  plasma clouds of roughness R (0 to 50) from the background colour\n"
    "          (default white) to the foreground colour (default black), with T\n"
    "          percent (0 to 100) of the picture showing through; --seed N repeats\n"
    "          the same clouds (default: the clock).\n"
    "  emboss  a grey relief: each pixel with the inverse of its upper-right\n"
    "          neighbour.\n"
    "\n",
    ApplyEffect,
    true,
};

} // namespace krt::batch
