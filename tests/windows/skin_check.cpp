// Draws with the skin's primitives on the real GDI and reads the pixels back.
// Prints each failure and exits non-zero when any check fails.
#include <ole2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/assets.h"
#include "ui/controls.h"
#include "ui/win32/skin.h"

namespace xiuhe::win32 {
namespace {

int failures = 0;

void Check(bool ok, const char* what, long detail = 0) {
  if (ok) return;
  ++failures;
  std::printf("FAILED: %s (%ld)\n", what, detail);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// A memory DC holding a 32-bit canvas, filled with one colour.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  // The smallest rectangle holding every pixel that differs from the colour at (0,0).
  RECT Ink(COLORREF background) const {
    RECT ink{width_, height_, -1, -1};
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (At(x, y) != background) {
          ink.left = std::min<LONG>(ink.left, x), ink.top = std::min<LONG>(ink.top, y);
          ink.right = std::max<LONG>(ink.right, x + 1), ink.bottom = std::max<LONG>(ink.bottom, y + 1);
        }
    return ink;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

void PicturesDecodeAtTheirSizeAndDrawUnscaled() {
  struct Expect {
    const char* name;
    int width, height, x, y;
    COLORREF colour;
  };
  const Expect pictures[] = {
      {"background.png", 430, 330, 5, 300, RGB(235, 242, 249)}, {"panel.png", 430, 150, 429, 149, RGB(52, 52, 52)},
      {"close.png", 29, 29, 0, 0, RGB(0, 97, 155)},             {"close_lit.png", 29, 29, 28, 28, RGB(212, 64, 39)},
      {"up_arrow.png", 82, 18, 0, 17, RGB(38, 38, 38)},         {"menu_lit.png", 30, 29, 0, 0, RGB(38, 181, 230)},
  };
  for (const Expect& e : pictures) {
    HBITMAP picture = LoadPicture(AssetBytes(e.name));
    Check(picture != nullptr, e.name);
    if (!picture) continue;
    SIZE size = PictureSize(picture);
    Check(size.cx == e.width && size.cy == e.height, e.name, size.cx * 1000 + size.cy);
    Canvas canvas(e.width + 20, e.height + 20, RGB(255, 0, 255));
    DrawPicture(canvas.dc(), picture, 10, 10);
    Check(canvas.At(10 + e.x, 10 + e.y) == e.colour, e.name, static_cast<long>(canvas.At(10 + e.x, 10 + e.y)));
    RECT ink = canvas.Ink(RGB(255, 0, 255));
    Check(ink.left == 10 && ink.top == 10 && ink.right == 10 + e.width && ink.bottom == 10 + e.height,
          "picture drawn unscaled at its point", ink.right * 1000 + ink.bottom);
    DeleteObject(picture);
  }
}

void BrokenPicturesGiveNoBitmap() {
  static const unsigned char garbage[] = "not a picture at all";
  Check(LoadPicture(ByteBlock{garbage, sizeof garbage}) == nullptr, "garbage bytes");
  Check(LoadPicture(ByteBlock{}) == nullptr, "no bytes");
  ByteBlock png = AssetBytes("close.png");
  if (png.size < 40) return;
  Check(LoadPicture(ByteBlock{png.data, 40}) == nullptr, "truncated picture");
}

void GradientRunsThroughItsThreeStops() {
  Canvas canvas(80, 67, RGB(255, 0, 255));
  RECT area{0, 0, 80, 67};
  FillVerticalGradient(canvas.dc(), area, kLabelGradient);
  Check(Near(canvas.At(40, 0), RGB(128, 128, 128), 3), "gradient top", static_cast<long>(canvas.At(40, 0)));
  Check(Near(canvas.At(40, 33), RGB(255, 255, 255), 6), "gradient middle", static_cast<long>(canvas.At(40, 33)));
  Check(Near(canvas.At(40, 66), RGB(128, 128, 128), 6), "gradient bottom", static_cast<long>(canvas.At(40, 66)));
  Check(Near(canvas.At(0, 16), RGB(192, 192, 192), 8), "gradient linear between stops",
        static_cast<long>(canvas.At(0, 16)));
  Check(canvas.At(79, 50) == canvas.At(0, 50), "gradient is vertical");
}

void FontsHaveTheirCharacterHeight() {
  Canvas canvas(4, 4, RGB(0, 0, 0));
  for (int height : {56, 24, 19}) {
    for (bool bold : {false, true}) {
      HFONT font = CreateTextFont(height, bold);
      HGDIOBJ previous = SelectObject(canvas.dc(), font);
      TEXTMETRICW metrics{};
      GetTextMetricsW(canvas.dc(), &metrics);
      SelectObject(canvas.dc(), previous);
      DeleteObject(font);
      Check(metrics.tmHeight - metrics.tmInternalLeading == height, "character height", metrics.tmHeight);
      Check((metrics.tmWeight >= FW_BOLD) == bold, "weight", metrics.tmWeight);
    }
  }
  HFONT standard = CreateTextFont(Font{});
  LOGFONTW made{}, gui{};
  GetObjectW(standard, sizeof made, &made);
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
  Check(made.lfHeight == gui.lfHeight && std::wstring(made.lfFaceName) == gui.lfFaceName, "height 0 is the GUI font");
  DeleteObject(standard);
}

void TransparentTextKeepsTheBackgroundAndItsBox() {
  const COLORREF panel = RGB(52, 52, 52);
  HFONT font = CreateTextFont(19, true);
  RECT area{20, 10, 75, 60};  // tall enough to tell middle from bottom
  struct Case {
    Align align;
    const char* what;
  };
  for (Case c : {Case{Align::LeftMiddle, "left"}, Case{Align::CentreMiddle, "centre"},
                 Case{Align::CentreBottom, "bottom"}}) {
    Canvas canvas(100, 70, panel);
    DrawTransparentText(canvas.dc(), area, L"30", font, RGB(0, 255, 0), c.align);
    RECT ink = canvas.Ink(panel);
    Check(ink.right > ink.left, c.what);
    Check(ink.left >= area.left && ink.right <= area.right && ink.top >= area.top && ink.bottom <= area.bottom,
          "text stays in its box", ink.left);
    bool onlyText = true;  // no background: every changed pixel is (anti-aliased) green
    for (int y = ink.top; y < ink.bottom; ++y)
      for (int x = ink.left; x < ink.right; ++x) {
        COLORREF p = canvas.At(x, y);
        if (p != panel && GetGValue(p) <= GetRValue(p)) onlyText = false;
      }
    Check(onlyText, "only text pixels drawn", c.align == Align::LeftMiddle);
    int leftGap = ink.left - area.left, rightGap = area.right - ink.right;
    int topGap = ink.top - area.top, bottomGap = area.bottom - ink.bottom;
    if (c.align == Align::LeftMiddle) Check(leftGap <= 3 && rightGap > 10, "left aligned", leftGap);
    if (c.align != Align::LeftMiddle) Check(std::abs(leftGap - rightGap) <= 3, "centred", leftGap - rightGap);
    if (c.align == Align::CentreBottom) Check(bottomGap <= 6 && topGap > bottomGap + 15, "bottom aligned", bottomGap);
    else Check(std::abs(topGap - bottomGap) <= 5, "vertically centred", topGap - bottomGap);
  }
  // Too long for the countdown's 55 x 23 box: clipped, never spilling over.
  Canvas canvas(100, 70, panel);
  RECT countdown{20, 20, 75, 43};
  DrawTransparentText(canvas.dc(), countdown, L"88888888888888", font, RGB(255, 255, 255), Align::LeftMiddle);
  RECT ink = canvas.Ink(panel);
  Check(ink.left >= countdown.left && ink.right <= countdown.right && ink.right > countdown.right - 4 &&
            ink.top >= countdown.top && ink.bottom <= countdown.bottom,
        "long text clipped", ink.right);
  DeleteObject(font);
}

void LabelsDrawGradientThenCaption() {
  Canvas canvas(80, 67, RGB(255, 0, 255));
  HFONT font = CreateTextFont(56, false);
  DrawLabel(canvas.dc(), RECT{0, 0, 80, 67}, L"00", font, RGB(0, 0, 0), kLabelGradient);
  DeleteObject(font);
  Check(Near(canvas.At(1, 1), RGB(128, 128, 128), 10), "label background", static_cast<long>(canvas.At(1, 1)));
  int dark = 0;
  for (int x = 0; x < 80; ++x) dark += GetRValue(canvas.At(x, 33)) < 60;
  Check(dark >= 4, "label caption drawn across the middle", dark);
}

void IconsComeFromTheIcoBytesAndTheProgram() {
  ByteBlock ico = AssetBytes("program.ico");
  Check(ico.size == 67646, "program.ico embedded", static_cast<long>(ico.size));
  if (ico.size != 67646) return;
  HICON icon = IconFromIcoBytes(ico);
  Check(icon != nullptr, "icon from ICO bytes");
  ICONINFO info{};
  if (icon && GetIconInfo(icon, &info)) {
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    Check(colour.bmWidth == 128 && colour.bmHeight == 128, "icon at its own size", colour.bmWidth);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
  if (icon) DestroyIcon(icon);

  Check(IconFromIcoBytes(ByteBlock{ico.data, 21}) == nullptr, "ICO without its entry");
  Check(IconFromIcoBytes(ByteBlock{ico.data, 1000}) == nullptr, "ICO cut short");
  Check(IconFromIcoBytes(ByteBlock{}) == nullptr, "no ICO bytes");

  // The real program, beside this check, carries the icon resource the window's icons come from.
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring program(path, length);
  program = program.substr(0, program.find_last_of(L"\\/") + 1) + L"\u5cab\u79be\u5c0f\u52a9\u7406.exe";
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  Check(module != nullptr, "program file found", static_cast<long>(GetLastError()));
  if (!module) return;
  WindowIcons icons = LoadWindowIcons(module);
  for (auto [handle, size] : {std::pair{icons.largeIcon, 32}, std::pair{icons.smallIcon, 16}}) {
    Check(handle != nullptr, "window icon", size);
    ICONINFO made{};
    if (!handle || !GetIconInfo(handle, &made)) continue;
    BITMAP colour{};
    GetObjectW(made.hbmColor, sizeof colour, &colour);
    Check(colour.bmWidth == size && colour.bmHeight == size, "window icon size", colour.bmWidth);
    DeleteObject(made.hbmColor);
    DeleteObject(made.hbmMask);
    DestroyIcon(handle);
  }
  FreeLibrary(module);
}

}  // namespace
}  // namespace xiuhe::win32

int main() {
  using namespace xiuhe::win32;
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  OleInitialize(nullptr);
  struct Step {
    const char* name;
    void (*run)();
  };
  const Step steps[] = {
      {"pictures", PicturesDecodeAtTheirSizeAndDrawUnscaled},
      {"broken pictures", BrokenPicturesGiveNoBitmap},
      {"gradient", GradientRunsThroughItsThreeStops},
      {"fonts", FontsHaveTheirCharacterHeight},
      {"transparent text", TransparentTextKeepsTheBackgroundAndItsBox},
      {"labels", LabelsDrawGradientThenCaption},
      {"icons", IconsComeFromTheIcoBytesAndTheProgram},
  };
  for (const Step& step : steps) {
    std::printf("%s\n", step.name);
    step.run();
  }
  OleUninitialize();
  std::printf("%s\n", failures ? "skin check failed" : "skin check passed");
  return failures ? 1 : 0;
}
