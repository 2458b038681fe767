#include "banner_control.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "banner_art.h"
#include "inflate.h"
#include "resource.h"

namespace {

// Bitmaps are 24 bpp: a 32 bpp bitmap would be copied by version 6 of the
// static control, which then hands back a copy we do not own.
CBitmap DibOf(const BITMAPINFOHEADER& header, const void* pixels, std::size_t size)
{
    BITMAPINFO info{};
    info.bmiHeader = header;
    void* bits = nullptr;
    CBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap.m_hObject)
        std::memcpy(bits, pixels, size);
    return bitmap;
}

CBitmap BitmapOf(const BannerPicture& picture)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = picture.width;
    header.biHeight = -picture.height;  // top-down, as the picture's rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    return DibOf(header, picture.bgr.data(), picture.bgr.size());
}

// The 100% bitmap: a 24 bpp bitmap file, compressed in the resources.
CBitmap TemplateBitmap()
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(IDB_BANNER), RT_RCDATA);
    const HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const auto* data = static_cast<const std::uint8_t*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!data)
        return CBitmap();
    constexpr std::size_t kLimit = 1 << 20;
    const auto file = Inflate(data, ::SizeofResource(module, resource), kLimit);
    BITMAPFILEHEADER fileHeader{};
    BITMAPINFOHEADER header{};
    if (!file || file->size() < sizeof(fileHeader) + sizeof(header))
        return CBitmap();
    std::memcpy(&fileHeader, file->data(), sizeof(fileHeader));
    std::memcpy(&header, file->data() + sizeof(fileHeader), sizeof(header));
    const std::size_t stride = (static_cast<std::size_t>(header.biWidth) * 3 + 3) / 4 * 4;
    const std::size_t size = stride * static_cast<std::size_t>(std::abs(header.biHeight));
    if (header.biBitCount != 24 || header.biCompression != BI_RGB || header.biWidth <= 0 ||
        fileHeader.bfOffBits > file->size() || file->size() - fileHeader.bfOffBits < size)
        return CBitmap();
    return DibOf(header, file->data() + fileHeader.bfOffBits, size);
}

SIZE SizeOf(HBITMAP bitmap)
{
    BITMAP header{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(header), &header))
        return {};
    return {header.bmWidth, header.bmHeight};
}

BannerRgb RgbOf(COLORREF colour)
{
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

}  // namespace

BOOL CBannerControl::Layout(HWND dialog)
{
    const HWND banner = ::GetDlgItem(dialog, IDC_BANNER);
    if (!m_template.m_hObject) {
        m_template = TemplateBitmap();
        m_templateSize = SizeOf(m_template.m_hObject);
    }
    RECT client{};
    ::GetClientRect(dialog, &client);
    RECT band{0, 0, 0, BANNER_TEMPLATE_HEIGHT};
    ::MapDialogRect(dialog, &band);
    const int width = client.right;
    const int height = band.bottom;

    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    const bool highContrast = m_pfnSystemParametersInfo(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
                              (contrast.dwFlags & HCF_HIGHCONTRASTON);
    const BannerSchemeColours scheme{RgbOf(::GetSysColor(COLOR_WINDOW)), RgbOf(::GetSysColor(COLOR_WINDOWTEXT))};

    BOOL pictured = TRUE;
    // The static control sizes itself to its picture, so the picture goes first.
    if (!highContrast && std::abs(width - m_templateSize.cx) <= 1 && std::abs(height - m_templateSize.cy) <= 1) {
        ::SendMessageW(banner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_template.m_hObject));
        m_drawn.DeleteObject();
    } else if (CBitmap drawn = BitmapOf(DrawBanner(TheBannerDesign(), width, height, highContrast ? &scheme : nullptr));
               drawn.m_hObject) {
        ::SendMessageW(banner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(drawn.m_hObject));
        m_drawn = std::move(drawn);
    } else {
        pictured = FALSE;
    }
    ::SetWindowPos(banner, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return pictured;
}
