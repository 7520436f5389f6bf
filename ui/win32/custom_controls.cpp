#include "ui/win32/custom_controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>

#include "ui/win32/skin.h"

namespace xiuhe::win32 {

HBITMAP ControlSlot::PictureNamed(const char* name) const {
  const Pictures& pictures = def->pictures;
  auto same = [name](const char* other) { return name && other && std::strcmp(name, other) == 0; };
  if (same(pictures.normal)) return normal;
  if (same(pictures.hover)) return hover;
  if (same(pictures.disabled)) return disabled;
  return nullptr;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void PublishShownText(HWND control) {
  std::wstring shown = WindowText(control);
  DefWindowProcW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.c_str()));
}

namespace {

constexpr const wchar_t* kLabelClass = L"XiuheLabel";
constexpr const wchar_t* kTransparentLabelClass = L"XiuheTransparentLabel";
constexpr const wchar_t* kPictureBoxClass = L"XiuhePictureBox";
constexpr const wchar_t* kPictureButtonClass = L"XiuhePictureButton";

ControlSlot& SlotOf(HWND window) { return *reinterpret_cast<ControlSlot*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

HWND MainWindowOf(HWND control) { return GetAncestor(control, GA_ROOT); }

bool IsOurControl(HWND sender) {
  if (!sender) return false;
  LONG_PTR id = GetWindowLongPtrW(sender, GWLP_ID);
  return id >= kFirstControlId && id < kFirstControlId + kControlCount;
}

// Paints the whole client area off screen first, so that a change never flickers.
template <typename Draw>
void PaintBuffered(HWND window, Draw draw) {
  PAINTSTRUCT paint;
  HDC screen = BeginPaint(window, &paint);
  RECT area;
  GetClientRect(window, &area);
  HDC buffer = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, area.right, area.bottom);
  HGDIOBJ old = SelectObject(buffer, bitmap);
  draw(buffer, area);
  BitBlt(screen, 0, 0, area.right, area.bottom, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, old);
  DeleteObject(bitmap);
  DeleteDC(buffer);
  EndPaint(window, &paint);
}

// What lies beneath a transparent label: its parent's picture, or the button face of a group box.
void DrawBeneath(const ControlSlot& slot, HDC dc, const RECT& area) {
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  if (slot.parent && slot.parent->normal) DrawPicture(dc, slot.parent->normal, -slot.def->x, -slot.def->y);
}

void DrawPictureOrFace(HDC dc, const RECT& area, HBITMAP picture) {
  if (picture)
    DrawPicture(dc, picture, 0, 0);
  else
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNSHADOW));
}

LRESULT ForwardToMainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(MainWindowOf(window), message, wParam, lParam);
}

// The sender of a notification that a container passes on, or nullptr for other messages.
HWND NotificationSender(UINT message, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY: return reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    default: return nullptr;
  }
}

LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ControlSlot& slot = SlotOf(window);
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
      PaintBuffered(window, [&](HDC dc, const RECT& area) {
        DrawLabel(dc, area, WindowText(window), slot.font, slot.textColour, kLabelGradient);
      });
      return 0;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case WM_LBUTTONDOWN: StartWindowDrag(window); return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK TransparentLabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ControlSlot& slot = SlotOf(window);
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
      PaintBuffered(window, [&](HDC dc, const RECT& area) {
        DrawBeneath(slot, dc, area);
        DrawTransparentText(dc, area, WindowText(window), slot.font, slot.textColour, slot.def->align);
      });
      return 0;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case WM_LBUTTONDOWN:
      if (slot.def->event == Event::LeftMousePressed)
        SendMessageW(MainWindowOf(window), kLabelPressedMessage, Index(slot.id()), lParam);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK PictureBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ControlSlot& slot = SlotOf(window);
  if (IsOurControl(NotificationSender(message, lParam))) return ForwardToMainWindow(window, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
      PaintBuffered(window, [&](HDC dc, const RECT& area) { DrawPictureOrFace(dc, area, slot.normal); });
      return 0;
    case WM_LBUTTONDOWN: StartWindowDrag(window); return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool PointerInside(HWND window, LPARAM lParam) {
  RECT area;
  GetClientRect(window, &area);
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&area, point);
}

void TrackLeave(HWND window) {
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
  TrackMouseEvent(&track);
}

LRESULT CALLBACK PictureButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ControlSlot& slot = SlotOf(window);
  PictureButton& pointer = slot.pointer;
  ButtonLook before = pointer.look();
  LRESULT result = 0;
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
      PaintBuffered(window, [&](HDC dc, const RECT& area) {
        DrawPictureOrFace(dc, area, slot.PictureNamed(pointer.Picture(slot.def->pictures)));
      });
      return 0;
    case WM_MOUSEMOVE:
      if (!pointer.holding() || PointerInside(window, lParam))
        pointer.PointerEntered((wParam & MK_LBUTTON) != 0);
      else
        pointer.PointerLeft();
      if (!pointer.holding()) TrackLeave(window);
      break;
    case WM_MOUSELEAVE:
      if (!pointer.holding()) pointer.PointerLeft();
      break;
    case WM_LBUTTONDOWN:
      pointer.LeftButtonDown();
      if (pointer.holding()) SetCapture(window);
      break;
    case WM_LBUTTONUP: {
      if (!pointer.holding()) break;
      bool clicked = pointer.LeftButtonUp(PointerInside(window, lParam));
      ReleaseCapture();
      InvalidateRect(window, nullptr, FALSE);
      if (clicked)
        SendMessageW(MainWindowOf(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                     reinterpret_cast<LPARAM>(window));
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pointer.holding()) pointer.Reset();
      break;
    case WM_SHOWWINDOW:
      if (!wParam) {
        if (GetCapture() == window) ReleaseCapture();
        pointer.Reset();
      }
      result = DefWindowProcW(window, message, wParam, lParam);
      break;
    case WM_ENABLE: pointer.SetEnabled(wParam != 0); break;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
  if (pointer.look() != before) InvalidateRect(window, nullptr, FALSE);
  return result;
}

LRESULT CALLBACK ContainerForwardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR kind) {
  if (IsOurControl(NotificationSender(message, lParam))) return ForwardToMainWindow(window, message, wParam, lParam);
  switch (static_cast<Container>(kind)) {
    case Container::Tabs:
      // The tab control passes presses beside its tabs to the window beneath, which would take
      // them for a press on the window's surface and move it; they stay with the tab control.
      if (message == WM_NCHITTEST) {
        LRESULT hit = DefSubclassProc(window, message, wParam, lParam);
        return hit == HTTRANSPARENT ? HTCLIENT : hit;
      }
      break;
    case Container::GroupBox:
      // A group box draws only its frame and caption; what lies inside it is its background colour.
      if (message == WM_ERASEBKGND) {
        RECT area;
        GetClientRect(window, &area);
        auto brush = reinterpret_cast<HBRUSH>(
            ForwardToMainWindow(window, WM_CTLCOLORSTATIC, wParam, reinterpret_cast<LPARAM>(window)));
        FillRect(reinterpret_cast<HDC>(wParam), &area, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
      }
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// Keeps the slot handed over at creation; every class here reads it from GWLP_USERDATA.
template <WNDPROC Proc>
LRESULT CALLBACK WithSlot(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (!GetWindowLongPtrW(window, GWLP_USERDATA)) return DefWindowProcW(window, message, wParam, lParam);
  return Proc(window, message, wParam, lParam);
}

}  // namespace

bool RegisterControlClasses(HINSTANCE instance) {
  struct ClassRow {
    const wchar_t* name;
    WNDPROC proc;
  };
  const ClassRow rows[] = {
      {kLabelClass, WithSlot<LabelProc>},
      {kTransparentLabelClass, WithSlot<TransparentLabelProc>},
      {kPictureBoxClass, WithSlot<PictureBoxProc>},
      {kPictureButtonClass, WithSlot<PictureButtonProc>},
  };
  for (const ClassRow& row : rows) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = row.proc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.lpszClassName = row.name;
    if (!RegisterClassW(&cls) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  }
  return true;
}

const wchar_t* ClassNameFor(Kind kind) {
  switch (kind) {
    case Kind::Button:
    case Kind::CheckBox:
    case Kind::GroupBox: return WC_BUTTONW;
    case Kind::ComboBox: return WC_COMBOBOXW;
    case Kind::EditBox: return WC_EDITW;
    case Kind::TabControl: return WC_TABCONTROLW;
    case Kind::Label: return kLabelClass;
    case Kind::TransparentLabel: return kTransparentLabelClass;
    case Kind::PictureBox: return kPictureBoxClass;
    case Kind::PictureButton: return kPictureButtonClass;
    case Kind::Timer: break;
  }
  return nullptr;
}

void AdaptContainer(HWND container, Container kind) {
  SetWindowSubclass(container, ContainerForwardProc, 1, static_cast<DWORD_PTR>(kind));
}

void StartWindowDrag(HWND control) {
  ReleaseCapture();
  SendMessageW(MainWindowOf(control), WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(GetMessagePos()));
}

}  // namespace xiuhe::win32
