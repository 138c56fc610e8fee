#include "toolkit/Panel.h"

TPanel::TPanel(TComponent *AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 185, 41); }

void TPanel::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
}

void TPanel::Paint(TCanvas &canvas) {
  RECT r = ClientRect();
  canvas.FillRect(r);
  auto edge = [&](TBevelCut cut, UINT raised, UINT sunken) {
    if (cut == bvNone) return;
    DrawEdge(canvas.Handle(), &r, cut == bvRaised ? raised : sunken, BF_RECT | BF_ADJUST);
  };
  edge(BevelOuter, BDR_RAISEDOUTER, BDR_SUNKENOUTER);
  edge(BevelInner, BDR_RAISEDINNER, BDR_SUNKENINNER);
  if (!Caption().empty()) {
    TSelectGuard font(canvas.Handle(), Font().Handle());
    SetBkMode(canvas.Handle(), TRANSPARENT);
    SetTextColor(canvas.Handle(), ColorToRGB(Font().Color()));
    std::string text = Caption();
    DrawTextA(canvas.Handle(), text.c_str(), int(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

void TPanel::SetProperty(const std::string &name, const TPropValue &value) {
  auto cut = [&value]() {
    return TBevelCut(
        IdentToInt(value, {{"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}}, "Unbekannte Kante"));
  };
  if (name == "BevelOuter") BevelOuter = cut();
  else if (name == "BevelInner") BevelInner = cut();
  else TWinControl::SetProperty(name, value);
}
