#pragma once

#include "afxwin.h"

// The dialog's banner (control 1000): as wide as the dialog's client area
// and as high as the template's banner band, whatever the display scale and
// dialog font, with a picture made for exactly that size.
class CBannerControl {
public:
    // Sizes the banner and gives it its picture; call when the dialog is laid
    // out and after its DPI changed. Returns FALSE when no picture could be
    // made for the new size (the banner is sized, and keeps its last one).
    // In high contrast the banner is drawn in the scheme's window colours.
    BOOL Layout(HWND dialog);

    // Asks whether high contrast is on; tests give a chosen answer (Wine
    // has none).
    BOOL(WINAPI* m_pfnSystemParametersInfo)(UINT, UINT, PVOID, UINT) = &::SystemParametersInfoW;

private:
    // The 100% bitmap of the resources, shown while the banner's size is
    // within a pixel of the bitmap's.
    CBitmap m_template;
    SIZE m_templateSize{};
    // The picture drawn for another size, while the control shows it.
    CBitmap m_drawn;
};
