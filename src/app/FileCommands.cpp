#include "app/FileCommands.h"

#include "core/Integer.h"
#include "core/KrtError.h"
#include "core/OwnMessages.h"
#include "core/Text.h"
#include "document/DocumentState.h"
#include "imageio/ImageFiles.h"

#include <algorithm>
#include <cctype>

namespace krt {
namespace {

constexpr OwnMessage ImpossibleSize{
    "An image of {1} x {2} pixels is not possible: each side must lie between 1 and {3} pixels.",
    "Изображение {1} x {2} точек невозможно: каждая сторона должна быть от 1 до {3} точек."};
constexpr OwnMessage QualityRange{"The JPEG quality must lie between 1 and 100.",
                                  "Качество JPEG должно быть от 1 до 100."};
constexpr OwnMessage WebpQualityTitle{"Quality of WebP", "Качество WebP"};
constexpr OwnMessage WebpQualityRange{"The WebP quality must lie between 1 and 100 (100: without losses).",
                                      "Качество WebP должно быть от 1 до 100 (100: без потерь)."};

} // namespace
namespace {

std::string UpperTail(const std::string& name, std::size_t n)
{
    std::string tail = name.size() >= n ? name.substr(name.size() - n) : name;
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::toupper(c); });
    return tail;
}

} // namespace

const char* SaveDialogFilter()
{
    return "JPEG. Quality - 32%  (*.jpg)|*.jpg|JPEG. Quality - 80%  (*.jpg)|*.jpg|JPEG. Quality - 100%(*.jpg)|*.jpg|"
           "Bitmaps (*.bmp)|*.bmp|PNG (*.png)|*.png|WebP (*.webp)|*.webp|TIFF (*.tif)|*.tif";
}

const char* OpenDialogFilter()
{
    return "All (*.jpg;*.jpeg;*.gif;*.bmp;*.png;*.webp;*.tif;*.tiff;*.heic;*.heif;*.avif)|*.jpg;*.jpeg;*.gif;*.bmp;"
           "*.png;*.webp;*.tif;*.tiff;*.heic;*.heif;*.avif|JPEG Image File (*.jpg)|*.jpg;*.jpeg|Graphics Interchange "
           "Format (*.gif)|*.gif|Bitmaps (*.bmp)|*.bmp|PNG (*.png)|*.png|WebP (*.webp)|*.webp|TIFF "
           "(*.tif)|*.tif;*.tiff|"
           "HEIF (*.heic)|*.heic;*.heif|AVIF (*.avif)|*.avif";
}

int ParseSizeText(const std::string& text) { return ParseInteger(TrimBlanks(text)); }

void CheckImageSize(int width, int height)
{
    if (width < 1 || height < 1 || width > MaxImageSide || height > MaxImageSide)
        throw KrtError(
            Say(ImpossibleSize, {std::to_string(width), std::to_string(height), std::to_string(MaxImageSide)}));
}

bool FileCommands::SaveEnabled() const
{
    const std::string& name = editor.Document.DocFileName;
    const std::string tail = UpperTail(name, 4);
    const std::string tail5 = UpperTail(name, 5);
    return name.size() > 3 &&
           (tail == ".JPG" || tail == ".BMP" || tail == ".PNG" || tail == ".TIF" || tail5 == ".WEBP" ||
            tail5 == ".TIFF") &&
           editor.Document.ModifiedCount != 0;
}

void FileCommands::LeaveMoveTool()
{
    if (editor.Settings.CurrentTool == Tool::Move)
        palette.SelectTool(Tool::Pencil);
}

bool FileCommands::AskToSaveChanges()
{
    if (editor.Document.ModifiedCount == 0)
        return true;
    const Answer answer = prompts.AskYesNoCancel(editor.Messages.MsgSaveFile);
    if (answer == Answer::Cancel)
        return false;
    // A save that is cancelled stops the command that asked, as does one that
    // fails (its error goes on to the caller): the changes are still there.
    if (answer == Answer::Yes)
        return SaveEnabled() ? Save() : SaveAs();
    host.UnsavedChangesGone();
    return true;
}

void FileCommands::ReplaceDocument(TFastBMP&& image)
{
    TFastBMP previous = std::move(editor.Image);
    editor.ReleaseDocumentBuffers();
    editor.Image = std::move(image);
    try {
        editor.BuildDocumentBuffers();
    } catch (const KrtError&) {
        editor.Image = std::move(previous);
        editor.BuildDocumentBuffers();
        throw;
    }
    host.DocumentReplaced();
}

void FileCommands::Open()
{
    LeaveMoveTool();
    if (!AskToSaveChanges())
        return;
    const auto path = prompts.ChooseFileToOpen(editor.Document.LastPath);
    if (!path)
        return;
    editor.Document.LastPath = *path;
    host.CancelStroke();
    OpenFile(*path);
}

void FileCommands::OpenFile(const std::string& path)
{
    // Read first: a file that fails leaves the document, its buffers and its name alone.
    TFastBMP image;
    ExifBlock exif;
    ReadImageFile(path, image, {}, &exif);
    ReplaceDocument(std::move(image));
    editor.Document.ModifiedCount = 0;
    editor.Document.DocFileName = path;
    editor.Document.JpegQuality = 0;
    editor.Document.WebpQuality = 0;
    editor.Document.Exif = std::move(exif);
    host.SetTitle(TitleForFile(path));
}

std::optional<int> FileCommands::AskQuality(const std::string& title, const OwnMessage& range)
{
    const auto answer = prompts.AskText(title, editor.Messages.MsgJpegQualityPrompt, "80");
    if (!answer)
        return std::nullopt;
    const int quality = ParseInteger(TrimBlanks(*answer));
    if (quality < 1 || quality > 100)
        throw KrtError(Say(range));
    return quality;
}

bool FileCommands::Save()
{
    LeaveMoveTool();
    DocumentState& doc = editor.Document;
    WriteOptions options;
    options.exif = doc.Exif;
    const ImageFormat format = FormatForWriting(doc.DocFileName);
    if (format == ImageFormat::Jpeg && doc.JpegQuality == 0) {
        const auto quality = AskQuality(editor.Messages.MsgJpegQualityTitle, QualityRange);
        if (!quality)
            return false;
        doc.JpegQuality = *quality;
    }
    if (format == ImageFormat::Webp && doc.WebpQuality == 0) {
        const auto quality = AskQuality(Say(WebpQualityTitle), WebpQualityRange);
        if (!quality)
            return false;
        doc.WebpQuality = *quality;
    }
    options.jpegQuality = doc.JpegQuality == 0 ? 80 : doc.JpegQuality;
    options.webpQuality = doc.WebpQuality == 0 ? 80 : doc.WebpQuality;
    WriteImageFile(doc.DocFileName, editor.Image, options);
    // Only a save that succeeded marks the document unchanged.
    doc.ModifiedCount = 0;
    host.UnsavedChangesGone();
    return true;
}

bool FileCommands::SaveAs()
{
    LeaveMoveTool();
    int filter = saveFilter;
    const auto chosen = prompts.ChooseFileToSave(editor.Document.LastPath, filter);
    if (!chosen)
        return false;
    saveFilter = filter;
    std::string path = *chosen;
    editor.Document.LastPath = path;
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // A name has an extension when its fourth character from the end is a full
    // stop (".jpeg" too, which this editor also writes).
    const std::string tail5 = UpperTail(name, 5);
    const bool needsExtension =
        !(name.size() > 3 && name[name.size() - 4] == '.') && tail5 != ".JPEG" && tail5 != ".WEBP" && tail5 != ".TIFF";
    // A save that does not happen leaves the document's name and quality as they were.
    const DocumentState previous = editor.Document;
    auto restore = [&] {
        editor.Document.DocFileName = previous.DocFileName;
        editor.Document.JpegQuality = previous.JpegQuality;
        editor.Document.WebpQuality = previous.WebpQuality;
    };
    if (filter >= 1 && filter <= 3)
        editor.Document.JpegQuality = filter == 1 ? 32 : filter == 2 ? 80 : 100;
    if (needsExtension)
        path += filter == SaveFilterBmp    ? ".bmp"
                : filter == SaveFilterPng  ? ".png"
                : filter == SaveFilterWebp ? ".webp"
                : filter == SaveFilterTiff ? ".tif"
                                           : ".jpg";
    editor.Document.DocFileName = path;
    try {
        if (!Save()) {
            restore();
            return false;
        }
    } catch (...) {
        restore();
        throw;
    }
    host.SetTitle(TitleForFile(path));
    return true;
}

void FileCommands::New()
{
    const auto size = prompts.AskNewImageSize();
    if (!size)
        return;
    CheckImageSize(size->width, size->height);
    LeaveMoveTool();
    if (!AskToSaveChanges())
        return;
    TFastBMP image(size->width, size->height);
    image.Fill(White);
    // The old name goes only with the old picture: a new one that cannot be
    // had leaves the document, its name and its changes as they were.
    ReplaceDocument(std::move(image));
    editor.Document.DocFileName.clear();
    editor.Document.JpegQuality = 0;
    editor.Document.WebpQuality = 0;
    editor.Document.Exif.clear();
    // A new image counts as changed: the next replacing command asks to save it.
    editor.Document.ModifiedCount = 1;
    host.SetTitle(TitleForNewImage());
}

void FileCommands::RestoreDocument(TFastBMP&& picture, const std::string& fileName, int jpegQuality,
                                   const std::string& title, std::vector<std::uint8_t> exif)
{
    ReplaceDocument(std::move(picture));
    editor.Document.DocFileName = fileName;
    editor.Document.LastPath = fileName;
    editor.Document.JpegQuality = jpegQuality;
    editor.Document.WebpQuality = 0;
    editor.Document.Exif = std::move(exif);
    editor.Document.ModifiedCount = 1;
    host.SetTitle(title.empty() ? (fileName.empty() ? TitleForNewImage() : TitleForFile(fileName)) : title);
}

void FileCommands::Scan(const std::function<std::optional<TFastBMP>()>& acquire)
{
    LeaveMoveTool();
    if (!AskToSaveChanges())
        return;
    std::optional<TFastBMP> image = acquire();
    if (!image)
        return;
    palette.SelectTool(Tool::Pencil);
    host.CancelStroke();
    ReplaceDocument(std::move(*image));
    editor.Document.DocFileName.clear();
    editor.Document.JpegQuality = 0;
    editor.Document.WebpQuality = 0;
    editor.Document.Exif.clear();
    editor.Document.ModifiedCount = 1;
}

} // namespace krt
