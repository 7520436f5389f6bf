#include "ui/win32/control_builder.h"

#include <commctrl.h>

#include <vector>

#include "platform/win32/system_calls.h"
#include "ui/win32/custom_controls.h"
#include "ui/win32/skin.h"

namespace xiuhe::win32 {
namespace {

// A drop-down list reaches this total height when it is open.
constexpr int kComboDropHeight = 160;

DWORD StyleFor(const ControlDef& def) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (def.tabStop ? WS_TABSTOP : 0);
  switch (def.kind) {
    case Kind::Button: return style | BS_PUSHBUTTON;
    case Kind::CheckBox: return style | BS_AUTOCHECKBOX | BS_VCENTER;
    case Kind::GroupBox: return style | BS_GROUPBOX | WS_CLIPCHILDREN;
    case Kind::ComboBox: return style | CBS_DROPDOWNLIST | WS_VSCROLL;
    case Kind::EditBox: return style | ES_LEFT | ES_AUTOHSCROLL;
    case Kind::TabControl:
    case Kind::PictureBox: return style | WS_CLIPCHILDREN;
    default: return style;
  }
}

bool HoldsControls(Kind kind) { return kind == Kind::TabControl || kind == Kind::GroupBox || kind == Kind::PictureBox; }

DWORD ExStyleFor(Kind kind) {
  if (kind == Kind::EditBox) return WS_EX_CLIENTEDGE;
  // Lets the Tab key reach the controls inside.
  return HoldsControls(kind) ? WS_EX_CONTROLPARENT : 0;
}

bool IsOwnClass(Kind kind) {
  return kind == Kind::Label || kind == Kind::TransparentLabel || kind == Kind::PictureBox ||
         kind == Kind::PictureButton;
}

// The window text a control carries at all times: caption or content, a picture button's name.
Text InitialText(const ControlDef& def, const WindowModel& model) {
  if (def.kind == Kind::PictureButton) return def.accessibleName ? def.accessibleName : "";
  if (def.kind == Kind::EditBox) return model.Content(def.id);
  return model.Caption(def.id);
}

HBITMAP Picture(const char* fileName) { return fileName ? LoadPicture(AssetBytes(fileName)) : nullptr; }

void FillCombo(HWND combo, const ControlDef& def, const WindowModel& model) {
  for (int i = 0; i < model.ItemCount(def.id); ++i)
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(WindowModel::ItemText(def.id, i)).c_str()));
  LRESULT itemHeight = SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0);
  if (itemHeight > 0) SendMessageW(combo, CB_SETITEMHEIGHT, 0, itemHeight + 1);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(model.SelectedIndex(def.id)), 0);
  PublishShownText(combo);
}

void AddPages(HWND tabs, const WindowModel& model) {
  for (int page = 0; page < kTabPageCount; ++page) {
    std::wstring name = Widen(kTabPages[page]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = name.data();
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(model.SelectedPage()), 0);
}

// Wider than the default padding: the tab control measures Chinese captions a little short.
constexpr int kTabPaddingX = 12, kTabPaddingY = 3;

void SetUpKind(ControlSlot& slot, const WindowModel& model) {
  const ControlDef& def = *slot.def;
  HWND window = slot.window;
  switch (def.kind) {
    case Kind::CheckBox:
      SendMessageW(window, BM_SETCHECK, model.Checked(def.id) ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case Kind::ComboBox: FillCombo(window, def, model); break;
    case Kind::EditBox:
      SendMessageW(window, EM_SETLIMITTEXT, 0, 0);
      PublishShownText(window);
      break;
    case Kind::TabControl:
      SendMessageW(window, TCM_SETPADDING, 0, MAKELPARAM(kTabPaddingX, kTabPaddingY));
      AddPages(window, model);
      AdaptContainer(window, Container::Tabs);
      break;
    case Kind::GroupBox: AdaptContainer(window, Container::GroupBox); break;
    case Kind::PictureBox:
    case Kind::PictureButton:
      slot.normal = Picture(def.pictures.normal);
      slot.hover = Picture(def.pictures.hover);
      slot.disabled = Picture(def.pictures.disabled);
      break;
    default: break;
  }
}

bool CreateControl(ControlSlot& slot, HWND parent, HINSTANCE instance, const WindowModel& model) {
  const ControlDef& def = *slot.def;
  DWORD style = StyleFor(def) | (model.ShownInParent(def.id) ? WS_VISIBLE : 0);
  int height = def.kind == Kind::ComboBox ? kComboDropHeight : def.height;
  slot.textColour = model.TextColour(def.id);
  slot.font = CreateTextFont(def.font);
  slot.window = CreateWindowExW(ExStyleFor(def.kind), ClassNameFor(def.kind), Widen(InitialText(def, model)).c_str(),
                                style, def.x, def.y, def.width, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + Index(def.id))),
                                instance, IsOwnClass(def.kind) ? &slot : nullptr);
  if (!slot.window) return false;
  // Each control goes beneath the ones made before it under the same parent: table order is stacking order.
  SetWindowPos(slot.window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
  SendMessageW(slot.window, WM_SETFONT, reinterpret_cast<WPARAM>(slot.font), FALSE);
  SetUpKind(slot, model);
  return true;
}

}  // namespace

bool CreateControls(HWND mainWindow, HINSTANCE instance, const WindowModel& model, ControlSlots& slots) {
  if (!RegisterControlClasses(instance)) return false;
  for (const ControlDef& def : kControls) {
    ControlSlot& slot = slots[Index(def.id)];
    slot.def = &def;
    slot.parent = def.parent == Ctl::Window ? nullptr : &slots[Index(def.parent)];
  }
  // Parents before their children, and within one parent in table order.
  std::vector<Ctl> parents{Ctl::Window};
  for (std::size_t next = 0; next < parents.size(); ++next) {
    Ctl parent = parents[next];
    HWND parentWindow = parent == Ctl::Window ? mainWindow : slots[Index(parent)].window;
    for (const ControlDef& def : kControls) {
      if (def.parent != parent || def.kind == Kind::Timer) continue;
      if (!CreateControl(slots[Index(def.id)], parentWindow, instance, model)) return false;
      if (HoldsControls(def.kind)) parents.push_back(def.id);
    }
  }
  return true;
}

void ReleaseControlResources(ControlSlots& slots) {
  for (ControlSlot& slot : slots) {
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(slot.font), static_cast<HGDIOBJ>(slot.normal),
                           static_cast<HGDIOBJ>(slot.hover), static_cast<HGDIOBJ>(slot.disabled)})
      if (object) DeleteObject(object);
    slot.font = nullptr;
    slot.normal = slot.hover = slot.disabled = nullptr;
    slot.window = nullptr;
  }
}

}  // namespace xiuhe::win32
