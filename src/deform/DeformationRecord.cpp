#include "deform/DeformationRecord.h"

#include "core/Integer.h"
#include "core/KrtError.h"
#include "core/OwnMessages.h"
#include "core/Text.h"
#include "lang/TextEncoding.h"

#include <algorithm>

namespace krt {
namespace {

constexpr OwnMessage ConstantMissing{"The deformation \"{1}\" is damaged: constant {2} is missing.",
                                     "Деформация \"{1}\" испорчена: нет константы {2}."};
constexpr OwnMessage DefaultNotANumber{
    "The deformation \"{1}\" is damaged: \"{2}\" is not a whole number (the default of constant {3}).",
    "Деформация \"{1}\" испорчена: \"{2}\" не целое число (значение константы {3} по умолчанию)."};

// Everything before the first `separator`, which is removed from `rest` with
// it; nothing when the separator is missing.
bool TakeUntil(std::string& rest, char separator, std::string& part)
{
    const std::size_t at = rest.find(separator);
    if (at == std::string::npos)
        return false;
    part = rest.substr(0, at);
    rest.erase(0, at + 1);
    return true;
}

} // namespace

DeformationParams DeformationRecord::Params() const
{
    DeformationParams p;
    p.formulaPair = FormulaPair();
    p.cartesian = cartesian;
    p.source = source;
    for (std::size_t k = 0; k < constants.size(); ++k)
        p.constants[k] = constants[k].defaultValue;
    return p;
}

DeformationRecord ParseRecord(const std::string& text)
{
    DeformationRecord record;
    std::string rest = text;
    if (!TakeUntil(rest, '|', record.name))
        record.name.clear(); // no name: the whole line is the rest
    for (std::size_t k = 0; k < record.constants.size(); ++k) {
        DeformationConstant& c = record.constants[k];
        std::string labelAndFlag, value;
        if (!TakeUntil(rest, '^', labelAndFlag) || !TakeUntil(rest, '^', value))
            throw KrtError(Say(ConstantMissing, {record.name, std::string(1, static_cast<char>('a' + k))}));
        if (!labelAndFlag.empty()) {
            c.used = labelAndFlag.back() == '1';
            c.label = labelAndFlag.substr(0, labelAndFlag.size() - 1);
        }
        // Blanks around the number are ignored; a plus sign is allowed.
        const std::string digits = TrimBlanks(value);
        const std::optional<int> number = ToInteger(
            !digits.empty() && digits[0] == '+' ? std::string_view(digits).substr(1) : std::string_view(digits));
        if (!number)
            throw KrtError(Say(DefaultNotANumber, {record.name, value, std::string(1, static_cast<char>('a' + k))}));
        c.defaultValue = std::clamp(*number, 0, 100);
    }
    record.cartesian = !rest.empty() && rest[0] == '1';
    if (!rest.empty())
        rest.erase(0, 1);
    record.source = !rest.empty() && rest[0] == '1';
    if (!rest.empty())
        rest.erase(0, 1);
    const std::size_t bar = rest.find('|');
    record.firstFormula = rest.substr(0, bar);
    record.secondFormula = bar == std::string::npos ? std::string() : rest.substr(bar + 1);
    return record;
}

std::string BuildDeformationRecord(const DeformationEditorFields& fields)
{
    std::string text = fields.name + "|";
    for (const DeformationEditorFields::Constant& c : fields.constants) {
        const std::string value = c.defaultText == "  " ? "0" : TrimBlanks(c.defaultText);
        text += c.label + (c.used ? "1" : "0") + "^" + value + "^";
    }
    text += fields.cartesian ? "1" : "0";
    text += fields.source ? "1" : "0";
    const std::string& first = fields.cartesian ? fields.x : fields.t;
    const std::string& second = fields.cartesian ? fields.y : fields.r;
    return text + FoldCase(TrimBlanks(first)) + "|" + FoldCase(TrimBlanks(second));
}

std::string BuildRecord(const DeformationRecord& record)
{
    std::string text = record.name + "|";
    for (const DeformationConstant& c : record.constants)
        text += c.label + (c.used ? "1" : "0") + "^" + std::to_string(c.defaultValue) + "^";
    text += record.cartesian ? "1" : "0";
    text += record.source ? "1" : "0";
    return text + record.firstFormula + "|" + record.secondFormula;
}

} // namespace krt
