// Popup menus with shortcut keys.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/Classes.h"

class TImageList;

// Shift state bits of a shortcut, as in TShortCut = key | modifiers.
enum : int { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent *AOwner) : TComponent(AOwner) {}
  const char *ClassName() const override { return "TMenuItem"; }
  std::string Caption;
  int ShortCut = 0;  // virtual key | scShift | scCtrl | scAlt
  int ImageIndex = -1;
  bool Enabled = true;
  bool Visible = true;
  TNotifyEvent OnClick;
  virtual void Click();
  void SetProperty(const std::string &name, const TPropValue &value) override;
  void SetEvent(const std::string &name, const TNotifyEvent &handler) override;
};

// A context menu; its items are the TMenuItem components nested in it in the form resource.
class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent *AOwner) : TComponent(AOwner) {}
  const char *ClassName() const override { return "TPopupMenu"; }
  std::vector<TMenuItem *> Items;
  TImageList *Images = nullptr;
  // The component the menu is shown for (set by the control that shows it).
  TComponent *PopupComponent = nullptr;
  // Shows the menu at screen position (x, y), owned by the window owner (by default the
  // active window), and runs the chosen item.
  void Popup(int x, int y, HWND owner = nullptr);
  // Runs the enabled item whose shortcut this is; false when none has it.
  bool IsShortCut(int shortCut);
  void SetReference(const std::string &name, TComponent *target) override;
  void Notification(TComponent *AComponent, TOperation Operation) override;
};

// "F12", "Strg+S", ... as shown beside a menu item.
std::string ShortCutToText(int shortCut);
