#include "dialog_dump.h"

#include "json_text.h"

#include <commctrl.h>

#include <sstream>

namespace uidriver {

namespace {

const char* JsonBool(bool value)
{
    return value ? "true" : "false";
}

// Bitmap and icon statics hold a resource ordinal, 0xFFFF and the id, as their text.
std::wstring Readable(const std::wstring& text)
{
    if (text.size() == 2 && text[0] == 0xFFFF)
        return L"#" + std::to_wstring(text[1]);
    return text;
}

std::string JsonSize(SIZE size)
{
    return "[" + std::to_string(size.cx) + ", " + std::to_string(size.cy) + "]";
}

void WriteControl(std::ostringstream& json, const DialogDriver& dialog, int id)
{
    const std::wstring className = dialog.ClassName(id);
    json << "{\"id\": " << id << ", \"class\": " << JsonString(className)
         << ", \"text\": " << JsonString(Readable(dialog.Text(id)))
         << ", \"visible\": " << JsonBool(dialog.IsVisible(id)) << ", \"enabled\": " << JsonBool(dialog.IsEnabled(id));
    const RECT rect = dialog.ClientRect(id);
    json << ", \"rect\": [" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << "]";
    if (className == L"Static") {
        if (const auto image = dialog.ImageSize(id))
            json << ", \"image\": " << JsonSize(*image);
        else if (const auto extent = dialog.TextExtent(id))
            json << ", \"text_extent\": " << JsonSize(*extent);
    }
    if (dialog.IsCheckable(id))
        json << ", \"check\": " << dialog.CheckState(id);
    if (className == PROGRESS_CLASSW) {
        const ProgressRange range = dialog.ProgressLimits(id);
        json << ", \"progress\": {\"pos\": " << dialog.ProgressPosition(id) << ", \"low\": " << range.low
             << ", \"high\": " << range.high << "}";
    }
    json << "}";
}

}  // namespace

std::string DumpJson(const DialogDriver& dialog)
{
    std::ostringstream json;
    json << "{\n  \"caption\": " << JsonString(dialog.Caption()) << ",\n  \"close_item\": \""
         << ToString(dialog.CloseItem()) << "\",\n  \"client\": " << JsonSize(dialog.ClientSize())
         << ",\n  \"controls\": [";
    const char* separator = "\n    ";
    for (const int id : dialog.ControlIds()) {
        json << separator;
        WriteControl(json, dialog, id);
        separator = ",\n    ";
    }
    json << "\n  ]\n}\n";
    return json.str();
}

}  // namespace uidriver
