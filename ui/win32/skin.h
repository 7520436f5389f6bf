#pragma once
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "assets/assets.h"
#include "ui/controls.h"

// Drawing primitives of the window's skin: pictures, icons, fonts, label backgrounds and texts.
// Every handle returned here belongs to the caller (DeleteObject for bitmaps and fonts,
// DestroyIcon for icons). Colours are 0x00BBGGRR, as in ui/controls.h and COLORREF.
namespace xiuhe::win32 {

// Decodes a PNG into a 32-bit top-down DIB section of its natural size (BGRA).
// Needs COM on the calling thread. nullptr when the bytes are not a picture.
HBITMAP LoadPicture(ByteBlock png);
SIZE PictureSize(HBITMAP picture);  // {0,0} for nullptr

// Copies the whole picture, unscaled, with its top-left corner at (x, y).
void DrawPicture(HDC dc, HBITMAP picture, int x, int y);

// Vertical three-stop gradient: stops[0] at the top edge, stops[1] at mid-height,
// stops[2] at the bottom edge, linear in between.
void FillVerticalGradient(HDC dc, const RECT& area, const std::uint32_t (&stops)[3]);

// A font of the given character height in pixels (negative lfHeight) and weight, default face,
// anti-aliased. Height 0 gives a copy of the system's default GUI font, so every font from
// here is owned by the caller alike.
HFONT CreateTextFont(int characterHeight, bool bold);
inline HFONT CreateTextFont(const Font& font) { return CreateTextFont(font.height, font.bold); }

// One line of text without background, aligned in the area and clipped to it.
void DrawTransparentText(HDC dc, const RECT& area, std::wstring_view caption, HFONT font, std::uint32_t colour,
                         Align align);

// A label: the gradient background, then its caption centred on one line, clipped.
void DrawLabel(HDC dc, const RECT& area, std::wstring_view caption, HFONT font, std::uint32_t colour,
               const std::uint32_t (&stops)[3]);

// An icon of the first image's own size from the bytes of an ICO file; nullptr when malformed.
HICON IconFromIcoBytes(ByteBlock ico);

// The window's icons from the program's icon resource, scaled by the system.
struct WindowIcons {
  HICON largeIcon = nullptr;  // 32 x 32
  HICON smallIcon = nullptr;  // 16 x 16
};
inline constexpr int kProgramIconResource = 1;
WindowIcons LoadWindowIcons(HINSTANCE instance, int resourceId = kProgramIconResource);

}  // namespace xiuhe::win32
