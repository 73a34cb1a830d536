// "Save font As image": the font sheet of the "Font View" window (image 90)
// as a PNG, JPEG or BMP file.
#include "formats/sheetimage.h"

#include "core/objects.h"
#include "platform/files.h"
#include "platform/image.h"
#include "platform/requesters.h"
#include "platform/text.h"

void SaveFontAsImage(State& s)
{
    const platform::Image* sheet = platform::GetImage(obj::SheetImage);
    if (sheet == nullptr) {
        return;  // no sheet drawn yet: nothing to save
    }
    std::string start = s.DataFolder;
    if (!start.empty() && start.back() != '/') {
        start += '/';
    }
    start += "*.*";
    std::string path = platform::Ask().SaveFile("Save font As image", start,
                                                "PNG| *.png|JPG|*.jpg|BMP|*.bmp", 0);
    if (path.empty()) {
        return;
    }
    std::string ext = platform::LCase(platform::GetExtensionPart(path));
    if (ext.empty()) {
        switch (platform::Ask().SelectedFilter()) {
        case 0: ext = "png"; break;
        case 1: ext = "jpg"; break;
        case 2: ext = "bmp"; break;
        default: break;
        }
    }
    bool saved;
    if (ext == "png") {
        saved = platform::SavePng(*sheet, path);
    } else if (ext == "jpg") {
        saved = platform::SaveJpeg(*sheet, path);
    } else if (ext == "bmp") {
        saved = platform::SaveBmp(*sheet, path);
    } else {
        path += ".png";
        saved = platform::SavePng(*sheet, path);
    }
    if (!saved) {
        platform::Ask().Message("Oops!", "Could not write the file " + path, platform::MessageButtons::Ok);
    }
}
