#pragma once
#include <windows.h>

#include <functional>
#include <map>

#include "platform/win32/win32_services.h"
#include "ui/win32/control_builder.h"
#include "ui/window_model.h"

namespace xiuhe::win32 {

// The program's one real window: its 56 controls mirror the window model, and what a person
// does with them reaches the model before the bound handlers run.
class MainWindow : public WindowView, public TimerHost {
 public:
  MainWindow(WindowModel& model, Win32Services& services, std::function<void()> endProgram);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window hidden, centred on the screen, with every control and page 0 selected.
  bool Create(HINSTANCE instance);
  // Raises the created event (the start-up routine runs in it), then shows the window.
  void Start();
  // Keyboard navigation among the tab stops, and Esc; true when the message was used.
  bool HandleDialogKeys(MSG& message);
  HWND handle() const { return window_; }

  // WindowView
  void PropertyChanged(Ctl id, Property property) override;
  void WindowVisibilityChanged() override;
  void PageChanged() override;
  // TimerHost
  void StartTimer(Ctl timer, int milliseconds) override;
  void StopTimer(Ctl timer) override;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  bool OnCreate(HINSTANCE instance);
  void OnDestroy();
  bool OnActivate(bool active);  // true when the focus went back to a control
  void PaintBackground(HDC dc);
  void OnCommand(WPARAM wParam, LPARAM lParam);
  void OnNotify(const NMHDR& header);
  LRESULT OnControlColour(HDC dc, HWND control);
  void OnPick(int index);
  void OnTimer(WPARAM timerId);
  void OnTrayNotification(LPARAM lParam);
  void OnEndSession(bool ending);
  void ShowPageChildren();

  ControlSlot* SlotFor(HWND control);
  HWND ControlWindow(Ctl id) const { return slots_[Index(id)].window; }
  HBRUSH BrushFor(std::uint32_t colour);

  WindowModel& model_;
  Win32Services& services_;
  std::function<void()> endProgram_;
  HWND window_ = nullptr;
  HBITMAP background_ = nullptr;
  ControlSlots slots_{};
  std::map<std::uint32_t, HBRUSH> brushes_;
  int writingContent_ = 0;  // a program write of Content is in progress: its EN_CHANGE is not the user's
  UINT taskbarCreated_ = 0;
  HWND lastFocus_ = nullptr;
};

}  // namespace xiuhe::win32
