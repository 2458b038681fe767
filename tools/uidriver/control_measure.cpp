#include "control_measure.h"

#include "hook_protocol.h"

#include <string>

namespace uidriver::hook {

namespace {

// Releases a window's display context and puts its font back.
class FontContext {
public:
    FontContext(HWND window, HFONT font) : window_(window), dc_(GetDC(window))
    {
        if (dc_)
            previous_ = SelectObject(dc_, font);
    }
    ~FontContext()
    {
        if (!dc_)
            return;
        SelectObject(dc_, previous_);
        ReleaseDC(window_, dc_);
    }
    FontContext(const FontContext&) = delete;
    FontContext& operator=(const FontContext&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace

LRESULT TextExtent(HWND control)
{
    if (!control)
        return kNotMeasured;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!font)
        return kNotMeasured;
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    const FontContext context(control, font);
    if (!context.Get())
        return kNotMeasured;
    // As a static control draws it: prefix characters are not shown.
    RECT extent{};
    DrawTextW(context.Get(), text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
    return MeasuredSize(extent.right - extent.left, extent.bottom - extent.top);
}

LRESULT ImageSize(HWND control)
{
    const auto image = reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP header{};
    if (!image || !GetObjectW(image, sizeof(header), &header))
        return kNotMeasured;
    return MeasuredSize(header.bmWidth, header.bmHeight);
}

}  // namespace uidriver::hook
