#include "folderselect/PathLabel.h"

#include "folderselect/PathHelpers.h"

TPathLabel::TPathLabel(TComponent *AOwner) : TCustomLabel(AOwner) {
  WordWrap = false;
  SetAutoSize(false);
  ShowAccelChar = false;
}

void TPathLabel::Paint(TCanvas &canvas) {
  RECT rc = ClientRect();
  // A child window cannot let its parent show through; "transparent" takes its colour.
  canvas.BrushStyle = bsSolid;
  canvas.BrushColor = Transparent && Parent() ? Parent()->Color() : Color();
  canvas.FillRect(rc);
  canvas.BrushStyle = bsClear;
  canvas.Font.Assign(Font());
  std::string text = ShortenPathToWidth(Caption(), canvas, rc.right - rc.left);
  UINT format = DT_NOPREFIX | (Alignment == taCenter        ? DT_CENTER
                               : Alignment == taRightJustify ? DT_RIGHT
                                                             : DT_LEFT);
  TSelectGuard font(canvas.Handle(), canvas.Font.Handle());
  SetBkMode(canvas.Handle(), TRANSPARENT);
  SetTextColor(canvas.Handle(), ColorToRGB(Enabled() ? Font().Color() : clGrayText));
  DrawTextA(canvas.Handle(), text.c_str(), int(text.size()), &rc, format);
}
