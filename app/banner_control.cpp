#include "banner_control.h"

#include <cstdlib>
#include <cstring>

#include "banner_art.h"
#include "resource.h"

namespace {

CBitmap BitmapOf(const BannerPicture& picture)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down, as the picture's rows
    info.bmiHeader.biPlanes = 1;
    // 24 bpp: a 32 bpp bitmap would be copied by version 6 of the static
    // control, which then hands back a copy we do not own.
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    CBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap.m_hObject)
        std::memcpy(bits, picture.bgr.data(), picture.bgr.size());
    return bitmap;
}

SIZE SizeOf(HBITMAP bitmap)
{
    BITMAP header{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(header), &header))
        return {};
    return {header.bmWidth, header.bmHeight};
}

}  // namespace

BOOL CBannerControl::Layout(HWND dialog)
{
    const HWND banner = ::GetDlgItem(dialog, IDC_BANNER);
    if (!m_hTemplateBitmap) {
        m_hTemplateBitmap = reinterpret_cast<HBITMAP>(::SendMessageW(banner, STM_GETIMAGE, IMAGE_BITMAP, 0));
        m_templateSize = SizeOf(m_hTemplateBitmap);
    }
    RECT client{};
    ::GetClientRect(dialog, &client);
    RECT band{0, 0, 0, BANNER_TEMPLATE_HEIGHT};
    ::MapDialogRect(dialog, &band);
    const int width = client.right;
    const int height = band.bottom;

    BOOL pictured = TRUE;
    // The static control sizes itself to its picture, so the picture goes first.
    if (std::abs(width - m_templateSize.cx) <= 1 && std::abs(height - m_templateSize.cy) <= 1) {
        ::SendMessageW(banner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_hTemplateBitmap));
        m_drawn.DeleteObject();
    } else if (CBitmap drawn = BitmapOf(DrawBanner(TheBannerDesign(), width, height)); drawn.m_hObject) {
        ::SendMessageW(banner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(drawn.m_hObject));
        m_drawn = std::move(drawn);
    } else {
        pictured = FALSE;
    }
    ::SetWindowPos(banner, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return pictured;
}
