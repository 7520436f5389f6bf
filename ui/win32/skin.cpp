#include "ui/win32/skin.h"

#include <wincodec.h>

#include <cstring>

namespace xiuhe::win32 {
namespace {

// Releases a COM interface pointer at the end of its scope.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (pointer_) pointer_->Release();
  }
  T* operator->() const { return pointer_; }
  T* get() const { return pointer_; }
  T** out() { return &pointer_; }

 private:
  T* pointer_ = nullptr;
};

// Selects an object into a DC for the length of a scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;
  ~Selected() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

HBITMAP CreateTopDownDib(UINT width, UINT height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

HRESULT DecodeFirstFrame(ByteBlock png, IWICImagingFactory* factory, IWICFormatConverter** converted) {
  ComRef<IWICStream> stream;
  HRESULT result = factory->CreateStream(stream.out());
  if (FAILED(result)) return result;
  result = stream->InitializeFromMemory(const_cast<BYTE*>(png.data), static_cast<DWORD>(png.size));
  if (FAILED(result)) return result;
  ComRef<IWICBitmapDecoder> decoder;
  result = factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.out());
  if (FAILED(result)) return result;
  ComRef<IWICBitmapFrameDecode> frame;
  result = decoder->GetFrame(0, frame.out());
  if (FAILED(result)) return result;
  result = factory->CreateFormatConverter(converted);
  if (FAILED(result)) return result;
  return (*converted)->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                  WICBitmapPaletteTypeCustom);
}

TRIVERTEX Vertex(LONG x, LONG y, std::uint32_t colour) {
  TRIVERTEX vertex{};
  vertex.x = x;
  vertex.y = y;
  vertex.Red = static_cast<COLOR16>(GetRValue(colour) << 8);
  vertex.Green = static_cast<COLOR16>(GetGValue(colour) << 8);
  vertex.Blue = static_cast<COLOR16>(GetBValue(colour) << 8);
  return vertex;
}

UINT AlignmentFlags(Align align) {
  switch (align) {
    case Align::CentreMiddle: return DT_CENTER | DT_VCENTER;
    case Align::CentreBottom: return DT_CENTER | DT_BOTTOM;
    case Align::LeftMiddle: break;
  }
  return DT_LEFT | DT_VCENTER;
}

std::uint16_t ReadU16(const unsigned char* at) { return static_cast<std::uint16_t>(at[0] | at[1] << 8); }
std::uint32_t ReadU32(const unsigned char* at) {
  return static_cast<std::uint32_t>(ReadU16(at)) | static_cast<std::uint32_t>(ReadU16(at + 2)) << 16;
}

}  // namespace

HBITMAP LoadPicture(ByteBlock png) {
  if (png.empty() || png.size > MAXDWORD) return nullptr;
  ComRef<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.out()))))
    return nullptr;
  ComRef<IWICFormatConverter> pixels;
  if (FAILED(DecodeFirstFrame(png, factory.get(), pixels.out()))) return nullptr;
  UINT width = 0, height = 0;
  if (FAILED(pixels->GetSize(&width, &height)) || width == 0 || height == 0 || width > 0x4000 || height > 0x4000)
    return nullptr;
  void* bits = nullptr;
  HBITMAP bitmap = CreateTopDownDib(width, height, &bits);
  if (!bitmap) return nullptr;
  UINT stride = width * 4;
  if (FAILED(pixels->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

SIZE PictureSize(HBITMAP picture) {
  BITMAP info{};
  if (!picture || !GetObjectW(picture, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

void DrawPicture(HDC dc, HBITMAP picture, int x, int y) {
  SIZE size = PictureSize(picture);
  if (size.cx == 0) return;
  HDC source = CreateCompatibleDC(dc);
  if (!source) return;
  {
    Selected selected(source, picture);
    BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
  }
  DeleteDC(source);
}

void FillVerticalGradient(HDC dc, const RECT& area, const std::uint32_t (&stops)[3]) {
  if (area.right <= area.left || area.bottom <= area.top) return;
  LONG middle = area.top + (area.bottom - area.top) / 2;
  TRIVERTEX vertices[4] = {Vertex(area.left, area.top, stops[0]), Vertex(area.right, middle, stops[1]),
                           Vertex(area.left, middle, stops[1]), Vertex(area.right, area.bottom, stops[2])};
  GRADIENT_RECT halves[2] = {{0, 1}, {2, 3}};
  GradientFill(dc, vertices, 4, halves, 2, GRADIENT_FILL_RECT_V);
}

HFONT CreateTextFont(int characterHeight, bool bold) {
  LOGFONTW font{};
  if (characterHeight == 0) {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  } else {
    font.lfHeight = -characterHeight;  // negative: character height rather than cell height
    font.lfCharSet = DEFAULT_CHARSET;
  }
  if (bold) font.lfWeight = FW_BOLD;
  else if (font.lfWeight == 0) font.lfWeight = FW_NORMAL;
  font.lfQuality = CLEARTYPE_QUALITY;
  return CreateFontIndirectW(&font);
}

void DrawTransparentText(HDC dc, const RECT& area, std::wstring_view caption, HFONT font, std::uint32_t colour,
                         Align align) {
  if (caption.empty()) return;
  RECT box = area;
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = SetTextColor(dc, colour);
  {
    Selected selected(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    // DrawText clips to the box unless told otherwise (DT_NOCLIP).
    DrawTextW(dc, caption.data(), static_cast<int>(caption.size()), &box,
              AlignmentFlags(align) | DT_SINGLELINE | DT_NOPREFIX);
  }
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

void DrawLabel(HDC dc, const RECT& area, std::wstring_view caption, HFONT font, std::uint32_t colour,
               const std::uint32_t (&stops)[3]) {
  FillVerticalGradient(dc, area, stops);
  DrawTransparentText(dc, area, caption, font, colour, Align::CentreMiddle);
}

HICON IconFromIcoBytes(ByteBlock ico) {
  constexpr std::size_t kHeader = 6, kEntry = 16;
  const unsigned char* data = ico.data;
  if (ico.size < kHeader + kEntry || ReadU16(data) != 0 || ReadU16(data + 2) != 1 || ReadU16(data + 4) == 0)
    return nullptr;
  const unsigned char* entry = data + kHeader;
  int width = entry[0] ? entry[0] : 256;  // 0 stands for 256
  int height = entry[1] ? entry[1] : 256;
  std::uint32_t length = ReadU32(entry + 8), offset = ReadU32(entry + 12);
  if (offset > ico.size || length > ico.size - offset || length == 0) return nullptr;
  return CreateIconFromResourceEx(const_cast<BYTE*>(data + offset), length, TRUE, 0x00030000, width, height,
                                  LR_DEFAULTCOLOR);
}

WindowIcons LoadWindowIcons(HINSTANCE instance, int resourceId) {
  auto load = [&](int size) {
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  };
  return WindowIcons{load(32), load(16)};
}

}  // namespace xiuhe::win32
