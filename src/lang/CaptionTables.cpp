#include "lang/CaptionTables.h"

namespace krt {
namespace {

constexpr CaptionProperty Msg = CaptionProperty::Message;
constexpr CaptionProperty Cap = CaptionProperty::Caption;

// Russian interface texts.
const CaptionEntry RussianTable[] = {
    {"", "MsgSource", Msg, 0, "Источник: "},
    {"", "MsgDestination", Msg, 0, "Цель: "},
    {"", "MsgIncorrectFormula", Msg, 0, "Некорректная формула "},
    {"", "MsgDistortion", Msg, 0, "Деформация "},
    {"", "MsgSaveFile", Msg, 0, "Сохранить файл?"},
    {"", "MsgClipboardLarger", Msg, 0, "Размер буфера больше размера рисунка, изменить размер рисунка?"},
    {"", "MsgJpegQualityTitle", Msg, 0, "Качество JPG"},
    {"", "MsgJpegQualityPrompt", Msg, 0, "Введите кол-во процентов качества"},
    {"", "MsgNewByStringTitle", Msg, 0, "Новый фильтр"},
    {"", "MsgNewByStringPrompt", Msg, 0, "Введите строку фильтра"},
    {"", "MsgTextTooWide", Msg, 0, "Ширина текста больше, чем изображения"},
    {"", "MsgTextTooHigh", Msg, 0, "Высота текста больше, чем изображения"},
    {"", "MsgNameNoBar", Msg, 0, "Название фильтра не должно содержать знака |"},
    {"", "MsgNewByStringDefault", Msg, 0, "Новый фильтр|a0^0^b0^0^c0^0^d0^0^e0^0^f0^0^1x|y"},

    {"TForm1", "N1", Cap, 0, "&Файл"},
    {"TForm1", "N2", Cap, 0, "&Открыть"},
    {"TForm1", "N3", Cap, 0, "&Сохранить"},
    {"TForm1", "N4", Cap, 0, "Со&хранить, как..."},
    {"TForm1", "N5", Cap, 0, "&Выход"},
    {"TForm1", "N6", Cap, 0, "&Редактирование"},
    {"TForm1", "N7", Cap, 0, "&Вырезать"},
    {"TForm1", "N8", Cap, 0, "С&копировать"},
    {"TForm1", "N9", Cap, 0, "В&ставить"},
    {"TForm1", "N10", Cap, 0, "&Очистить"},
    {"TForm1", "N11", Cap, 0, "Вы&делить всё"},
    {"TForm1", "N12", Cap, 0, "&Главная страница"},
    {"TForm1", "N14", Cap, 0, "&Послать деформацию на сервер"},
    {"TForm1", "N15", Cap, 0, "И&зменение размеров изображения"},
    {"TForm1", "N16", Cap, 0, "&Кнопка"},
    {"TForm1", "N17", Cap, 0, "&Облака"},
    {"TForm1", "N18", Cap, 0, "&Инвертировать выделение"},
    {"TForm1", "N19", Cap, 0, "&Сканировать"},
    {"TForm1", "N20", Cap, 0, "Вы&брать источник"},
    {"TForm1", "N21", Cap, 0, "&?"},
    {"TForm1", "N22", Cap, 0, "&Новый"},
    {"TForm1", "N23", Cap, 0, "Вс&тавить, как новую картинку"},
    {"TForm1", "N24", Cap, 0, "&Цвет"},
    {"TForm1", "N25", Cap, 0, "&Гамма корреция"},
    {"TForm1", "N26", Cap, 0, "О&тмена"},
    {"TForm1", "N27", Cap, 0, "Э&ффекты"},
    {"TForm1", "N28", Cap, 0, "С&тилизация, освещение"},
    {"TForm1", "N29", Cap, 0, "Д&еформация"},
    {"TForm1", "N30", Cap, 0, "Три&линейные фильтры"},
    {"TForm1", "N31", Cap, 0, "&Новая"},
    {"TForm1", "N32", Cap, 0, "&Удалить"},
    {"TForm1", "N33", Cap, 0, "&Новый"},
    {"TForm1", "N34", Cap, 0, "&Удалить"},
    {"TForm1", "N35", Cap, 0, "&Барельеф"},
    {"TForm1", "N36", Cap, 0, "О &программе"},
    {"TForm1", "N37", Cap, 0, "П&омощь"},
    {"TForm1", "N38", Cap, 0, "&Яркость, цветность, контрастность"},
    {"TForm1", "N47", Cap, 0, "&Печать..."},
    {"TForm1", "Crop1", Cap, 0, "&Границы"},
};

// English interface texts.
const CaptionEntry EnglishTable[] = {
    {"", "MsgSource", Msg, 0, "Source: "},
    {"", "MsgDestination", Msg, 0, "Destination: "},
    {"", "MsgIncorrectFormula", Msg, 0, "Incorrect formula "},
    {"", "MsgDistortion", Msg, 0, "Distortion "},
    {"", "MsgSaveFile", Msg, 0, "Save?"},
    {"", "MsgClipboardLarger", Msg, 0, "Clipboard size is larger than size of image. Change image size?"},
    {"", "MsgJpegQualityTitle", Msg, 0, "Quality of JPG"},
    {"", "MsgJpegQualityPrompt", Msg, 0, "Enter quality in percents"},
    {"", "MsgNewByStringTitle", Msg, 0, "New filter"},
    {"", "MsgNewByStringPrompt", Msg, 0, "Enter filter string"},
    {"", "MsgTextTooWide", Msg, 0, "Text width is larger than image width"},
    {"", "MsgTextTooHigh", Msg, 0, "Text height is larger than image height"},
    {"", "MsgNameNoBar", Msg, 0, "The name of filter shouldn't contain '|'"},
    {"", "MsgNewByStringDefault", Msg, 0, "New filter|a0^0^b0^0^c0^0^d0^0^e0^0^f0^0^1x|y"},

    {"TForm1", "N1", Cap, 0, "&File"},
    {"TForm1", "N2", Cap, 0, "&Open"},
    {"TForm1", "N3", Cap, 0, "&Save"},
    {"TForm1", "N4", Cap, 0, "S&ave, as ..."},
    {"TForm1", "N5", Cap, 0, "E&xit"},
    {"TForm1", "N6", Cap, 0, "Edit"},
    {"TForm1", "N7", Cap, 0, "Cut"},
    {"TForm1", "N8", Cap, 0, "Copy"},
    {"TForm1", "N9", Cap, 0, "Paste"},
    {"TForm1", "N10", Cap, 0, "Clear"},
    {"TForm1", "N11", Cap, 0, "S&elect all"},
    {"TForm1", "N12", Cap, 0, "&Main page"},
    {"TForm1", "N14", Cap, 0, "&Send distortion to the server"},
    {"TForm1", "N15", Cap, 0, "&Resize"},
    {"TForm1", "N16", Cap, 0, "&Button"},
    {"TForm1", "N17", Cap, 0, "&Clouds"},
    {"TForm1", "N18", Cap, 0, "&Invert selection"},
    {"TForm1", "N19", Cap, 0, "S&can image"},
    {"TForm1", "N20", Cap, 0, "Se&lect scaner source"},
    {"TForm1", "N21", Cap, 0, "?"},
    {"TForm1", "N22", Cap, 0, "&New ..."},
    {"TForm1", "N23", Cap, 0, "P&aste as a new image"},
    {"TForm1", "N24", Cap, 0, "&Color"},
    {"TForm1", "N25", Cap, 0, "&Gamma correction"},
    {"TForm1", "N26", Cap, 0, "&Undo"},
    {"TForm1", "N27", Cap, 0, "E&ffects"},
    {"TForm1", "N28", Cap, 0, "&Stylize, render"},
    {"TForm1", "N29", Cap, 0, "&Distortion"},
    {"TForm1", "N30", Cap, 0, "&Trilinear filters"},
    {"TForm1", "N31", Cap, 0, "&New ..."},
    {"TForm1", "N32", Cap, 0, "&Delete"},
    {"TForm1", "N33", Cap, 0, "&New ..."},
    {"TForm1", "N34", Cap, 0, "&Delete"},
    {"TForm1", "N35", Cap, 0, "&Emboss"},
    {"TForm1", "N36", Cap, 0, "&About the program"},
    {"TForm1", "N37", Cap, 0, "&Help"},
    {"TForm1", "N38", Cap, 0, "&Saturation, brightness, contrast"},
    {"TForm1", "N47", Cap, 0, "&Print..."},
    {"TForm1", "Crop1", Cap, 0, "&Crop"},
};

} // namespace

std::span<const CaptionEntry> CaptionTable(Language language)
{
    if (language == Language::Russian)
        return RussianTable;
    return EnglishTable;
}

void ApplyMessageEntries(std::span<const CaptionEntry> table, Messages& messages)
{
    for (const CaptionEntry& entry : table)
        if (entry.property == CaptionProperty::Message)
            if (std::string* field = messages.Find(entry.control))
                *field = entry.text;
}

} // namespace krt
