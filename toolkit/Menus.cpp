#include "toolkit/Menus.h"

#include <windows.h>

#include <algorithm>

#include "toolkit/Graphics.h"

void TMenuItem::Click() {
  if (Enabled && OnClick) OnClick(this);
}

void TMenuItem::SetProperty(const std::string &name, const TPropValue &value) {
  if (name == "Caption") Caption = value.AsString();
  else if (name == "ShortCut") ShortCut = value.AsInt();
  else if (name == "ImageIndex") ImageIndex = value.AsInt();
  else if (name == "Enabled") Enabled = value.AsBool();
  else if (name == "Visible") Visible = value.AsBool();
  else TComponent::SetProperty(name, value);
}

void TMenuItem::SetEvent(const std::string &name, const TNotifyEvent &handler) {
  if (name == "OnClick") OnClick = handler;
  else TComponent::SetEvent(name, handler);
}

std::string ShortCutToText(int shortCut) {
  std::string s;
  if (shortCut & scCtrl) s += "Strg+";
  if (shortCut & scShift) s += "Umschalt+";
  if (shortCut & scAlt) s += "Alt+";
  int key = shortCut & 0xFF;
  if (key >= VK_F1 && key <= VK_F24) return s + "F" + std::to_string(key - VK_F1 + 1);
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return s + char(key);
  char name[64] = {0};
  UINT scan = MapVirtualKeyA(UINT(key), 0);
  if (GetKeyNameTextA(LONG(scan << 16), name, sizeof name) > 0) return s + name;
  return s + "#" + std::to_string(key);
}

void TPopupMenu::Popup(int x, int y, HWND owner) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  std::vector<TMenuItem *> shown;
  for (TMenuItem *item : Items) {
    if (!item->Visible) continue;
    shown.push_back(item);
    std::string text = item->Caption;
    if (item->ShortCut) text += "\t" + ShortCutToText(item->ShortCut);
    UINT flags = MF_STRING | (item->Enabled ? 0 : MF_GRAYED);
    if (item->Caption == "-") flags = MF_SEPARATOR;
    AppendMenuA(menu, flags, shown.size(), text.c_str());
  }
  if (!owner) owner = GetActiveWindow();
  UINT chosen = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, x, y,
                                    0, owner, nullptr));
  DestroyMenu(menu);
  if (chosen > 0 && chosen <= shown.size()) {
    TMenuItem *item = shown[chosen - 1];
    // The item may have gone while the menu was open.
    if (std::find(Items.begin(), Items.end(), item) != Items.end()) item->Click();
  }
}

bool TPopupMenu::IsShortCut(int shortCut) {
  for (TMenuItem *item : Items)
    if (item->ShortCut == shortCut && item->Enabled && item->Visible) {
      item->Click();
      return true;
    }
  return false;
}

void TPopupMenu::SetReference(const std::string &name, TComponent *target) {
  if (name == "Images") {
    Images = dynamic_cast<TImageList *>(target);
    if (Images) Images->FreeNotification(this);
  } else TComponent::SetReference(name, target);
}

void TPopupMenu::Notification(TComponent *AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == Images) Images = nullptr;
  if (AComponent == PopupComponent) PopupComponent = nullptr;
  Items.erase(std::remove(Items.begin(), Items.end(), AComponent), Items.end());
}
