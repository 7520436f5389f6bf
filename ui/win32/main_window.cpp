#include "ui/win32/main_window.h"

#include <commctrl.h>

#include "platform/win32/system_calls.h"
#include "ui/tray_notification.h"
#include "ui/win32/skin.h"

namespace xiuhe::win32 {
namespace {

constexpr const wchar_t* kMainWindowClass = L"XiuheMainWindow";
// No frame, title bar or system menu; minimising allowed, maximising and resizing not.
constexpr DWORD kWindowStyle = WS_POPUP | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// A top-level window without owner: it has a taskbar button.
constexpr DWORD kWindowExStyle = WS_EX_APPWINDOW;

bool IsClick(Kind kind) { return kind == Kind::Button || kind == Kind::PictureButton || kind == Kind::CheckBox; }

}  // namespace

MainWindow::MainWindow(WindowModel& model, Win32Services& services, std::function<void()> endProgram)
    : model_(model), services_(services), endProgram_(std::move(endProgram)) {}

MainWindow::~MainWindow() {
  if (window_) DestroyWindow(window_);
  ReleaseControlResources(slots_);
  if (background_) DeleteObject(background_);
  for (auto& [colour, brush] : brushes_) DeleteObject(brush);
}

bool MainWindow::Create(HINSTANCE instance) {
  WindowIcons icons = LoadWindowIcons(instance);
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = Procedure;
  cls.hInstance = instance;
  cls.hIcon = icons.largeIcon;
  cls.hIconSm = icons.smallIcon;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  cls.lpszClassName = kMainWindowClass;
  if (!RegisterClassExW(&cls)) return false;
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

  RECT area{0, 0, kWindowWidth, kWindowHeight};
  AdjustWindowRectEx(&area, kWindowStyle, FALSE, kWindowExStyle);
  int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  CreateWindowExW(kWindowExStyle, kMainWindowClass, Widen(kWindowCaption).c_str(), kWindowStyle, left + area.left,
                  top + area.top, area.right - area.left, area.bottom - area.top, nullptr, nullptr, instance, this);
  if (!window_) return false;
  services_.AttachWindow(window_);
  model_.SetView(this);
  model_.SetTimerHost(this);
  return true;
}

void MainWindow::Start() {
  model_.RaiseWindow(Event::Created);
  // A copy that was refused at start-up is already closing: nothing of it needs to flash up.
  if (window_ && !services_.CloseRequested()) model_.SetWindowVisible(true);
}

bool MainWindow::HandleDialogKeys(MSG& message) { return window_ && IsDialogMessageW(window_, &message); }

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || !self->window_) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance) ? 0 : -1;
    case WM_ERASEBKGND: PaintBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_NCHITTEST: {
      // The window's own surface is its title bar: pressing on it moves the window.
      LRESULT hit = DefWindowProcW(window_, message, wParam, lParam);
      return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_ACTIVATE:
      if (OnActivate(LOWORD(wParam) != WA_INACTIVE)) return 0;
      break;
    case WM_COMMAND: OnCommand(wParam, lParam); return 0;
    case WM_NOTIFY: OnNotify(*reinterpret_cast<NMHDR*>(lParam)); return 0;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_TIMER: OnTimer(wParam); return 0;
    case kPickMessage: OnPick(static_cast<int>(wParam)); return 0;
    case kLabelPressedMessage:
      if (wParam < static_cast<WPARAM>(kControlCount)) model_.Raise(static_cast<Ctl>(wParam), Event::LeftMousePressed);
      return 0;
    case kTrayCallbackMessage: OnTrayNotification(lParam); return 0;
    case WM_CLOSE: DestroyWindow(window_); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    // Never hold up the end of a session, least of all one this program asked for.
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: OnEndSession(wParam != 0); return 0;
    default:
      if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        services_.RestoreTrayIcon();
        return 0;
      }
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

bool MainWindow::OnCreate(HINSTANCE instance) {
  background_ = LoadPicture(AssetBytes(kWindowBackground));
  return CreateControls(window_, instance, model_, slots_);
}

void MainWindow::OnDestroy() {
  services_.ForgetWindow();
  model_.SetView(nullptr);
  model_.SetTimerHost(nullptr);
  window_ = nullptr;
  PostQuitMessage(0);
}

void MainWindow::OnEndSession(bool ending) {
  if (!ending) return;
  services_.RemoveTrayIcon();
  if (endProgram_) endProgram_();
}

void MainWindow::PaintBackground(HDC dc) {
  RECT area;
  GetClientRect(window_, &area);
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  SIZE tile = PictureSize(background_);
  if (tile.cx <= 0 || tile.cy <= 0) return;
  for (int y = 0; y < area.bottom; y += tile.cy)
    for (int x = 0; x < area.right; x += tile.cx) DrawPicture(dc, background_, x, y);
}

// Like a dialog, the window gives the keyboard focus back to the control that had it when it
// was left (hidden to the tray, or another window activated).
bool MainWindow::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus)) lastFocus_ = focus;
    return false;
  }
  if (!lastFocus_ || !IsWindow(lastFocus_) || !IsWindowVisible(lastFocus_)) return false;
  SetFocus(lastFocus_);
  return true;
}

ControlSlot* MainWindow::SlotFor(HWND control) {
  if (!control) return nullptr;
  int index = GetDlgCtrlID(control) - kFirstControlId;
  if (index < 0 || index >= kControlCount || slots_[index].window != control) return nullptr;
  return &slots_[index];
}

void MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  // Esc anywhere in the window arrives as the dialog keys' cancel command.
  if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
    SendMessageW(window_, WM_CLOSE, 0, 0);
    return;
  }
  ControlSlot* slot = SlotFor(reinterpret_cast<HWND>(lParam));
  if (!slot) return;
  Ctl id = slot->id();
  Kind kind = slot->def->kind;
  WORD code = HIWORD(wParam);
  if (IsClick(kind) && code == BN_CLICKED) {
    model_.UserClick(id);
  } else if (kind == Kind::ComboBox && code == CBN_SELCHANGE) {
    // The pick is complete only when the combo box has finished with it: handle it from the queue.
    PostMessageW(window_, kPickMessage, static_cast<WPARAM>(Index(id)), 0);
  } else if (kind == Kind::EditBox && code == EN_CHANGE) {
    PublishShownText(slot->window);
    if (writingContent_ == 0) model_.UserEdit(id, Narrow(WindowText(slot->window)));
  }
}

void MainWindow::OnPick(int index) {
  if (index < 0 || index >= kControlCount) return;
  Ctl id = static_cast<Ctl>(index);
  if (HWND combo = ControlWindow(id)) {
    PublishShownText(combo);
    model_.UserPick(id, static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)));
  }
}

void MainWindow::OnNotify(const NMHDR& header) {
  HWND tabs = ControlWindow(Ctl::选择夹1);
  if (header.hwndFrom == tabs && header.code == TCN_SELCHANGE)
    model_.UserSelectPage(static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)));
}

HBRUSH MainWindow::BrushFor(std::uint32_t colour) {
  if (colour == kButtonFace) return GetSysColorBrush(COLOR_BTNFACE);
  auto found = brushes_.find(colour);
  if (found != brushes_.end()) return found->second;
  return brushes_[colour] = CreateSolidBrush(colour);
}

LRESULT MainWindow::OnControlColour(HDC dc, HWND control) {
  ControlSlot* slot = SlotFor(control);
  if (!slot) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  std::uint32_t background = slot->def->background;
  SetTextColor(dc, slot->def->textColour);
  SetBkColor(dc, background == kButtonFace ? GetSysColor(COLOR_BTNFACE) : background);
  return reinterpret_cast<LRESULT>(BrushFor(background));
}

void MainWindow::OnTimer(WPARAM timerId) {
  int index = static_cast<int>(timerId) - kFirstControlId;
  if (index >= 0 && index < kControlCount && kControls[index].kind == Kind::Timer)
    model_.Tick(static_cast<Ctl>(index));
}

void MainWindow::OnTrayNotification(LPARAM lParam) {
  if (TrayEventArgument(LOWORD(lParam)) != 0) model_.RaiseWindow(Event::TrayEvent);
}

void MainWindow::PropertyChanged(Ctl id, Property property) {
  ControlSlot& slot = slots_[Index(id)];
  HWND control = slot.window;
  if (!control) return;
  switch (property) {
    case Property::Visible: ShowWindow(control, model_.ShownInParent(id) ? SW_SHOWNA : SW_HIDE); break;
    case Property::Caption: SetWindowTextW(control, Widen(model_.Caption(id)).c_str()); break;
    case Property::Content:
      ++writingContent_;
      SetWindowTextW(control, Widen(model_.Content(id)).c_str());
      --writingContent_;
      break;
    case Property::Checked:
      SendMessageW(control, BM_SETCHECK, model_.Checked(id) ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case Property::SelectedIndex:
      SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(model_.SelectedIndex(id)), 0);
      PublishShownText(control);
      break;
    case Property::TextColour:
      slot.textColour = model_.TextColour(id);
      InvalidateRect(control, nullptr, FALSE);
      break;
    case Property::Interval: break;
  }
}

void MainWindow::WindowVisibilityChanged() {
  if (!window_) return;
  if (!model_.WindowVisible()) {
    ShowWindow(window_, SW_HIDE);
    return;
  }
  ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(window_);
}

void MainWindow::PageChanged() {
  HWND tabs = ControlWindow(Ctl::选择夹1);
  if (!tabs) return;
  if (SendMessageW(tabs, TCM_GETCURSEL, 0, 0) != model_.SelectedPage())
    SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(model_.SelectedPage()), 0);
  ShowPageChildren();
}

void MainWindow::ShowPageChildren() {
  HWND tabs = ControlWindow(Ctl::选择夹1);
  for (const ControlSlot& slot : slots_)
    if (slot.window && slot.def->parent == Ctl::选择夹1)
      ShowWindow(slot.window, model_.ShownInParent(slot.id()) ? SW_SHOWNA : SW_HIDE);
  // The keyboard focus must not stay in a control that went with its page.
  HWND focus = GetFocus();
  if (focus && IsChild(tabs, focus) && !IsWindowVisible(focus)) SetFocus(tabs);
}

void MainWindow::StartTimer(Ctl timer, int milliseconds) {
  if (window_) SetTimer(window_, static_cast<UINT_PTR>(kFirstControlId + Index(timer)), static_cast<UINT>(milliseconds), nullptr);
}

void MainWindow::StopTimer(Ctl timer) {
  if (window_) KillTimer(window_, static_cast<UINT_PTR>(kFirstControlId + Index(timer)));
}

}  // namespace xiuhe::win32
