#include "support/FolderListsFixture.h"

#include "support/HostHarness.h"

void ClickItem(TCustomListBox &list, int index, bool twice) {
  RECT r;
  SendMessageA(list.Handle(), LB_GETITEMRECT, WPARAM(index), LPARAM(&r));
  POINT pt = {r.left + 30, (r.top + r.bottom) / 2};
  ClientToScreen(list.Handle(), &pt);
  RealClickAt(pt, twice);
}

// The messages a press of Enter gives the focused control; posted rather than sent as
// input so that another test's window in front cannot take them.
void PressEnter(TControl &c) {
  PostMessageA(c.Handle(), WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(c.Handle(), WM_CHAR, '\r', 1);
  PostMessageA(c.Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
  PumpMessages();
}

ItemPicture PaintItem(TControl &list, int index, bool selected, int w, int h) {
  TScreenDC screen;
  TMemoryDC mem(screen.Get());
  TGdiHandle<HBITMAP> bmp(CreateCompatibleBitmap(screen.Get(), w, h));
  TSelectGuard sel(mem.Get(), bmp.Get());
  DRAWITEMSTRUCT dis = {};
  dis.CtlType = ODT_LISTBOX;
  dis.itemID = UINT(index);
  dis.itemAction = ODA_DRAWENTIRE;
  dis.itemState = selected ? ODS_SELECTED : 0;
  dis.hwndItem = list.Handle();
  dis.hDC = mem.Get();
  dis.rcItem = {0, 0, w, h};
  SendMessageA(GetParent(list.Handle()), WM_DRAWITEM, 0, LPARAM(&dis));
  ItemPicture p{{}, w, h};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.px.push_back(GetPixel(mem.Get(), x, y));
  return p;
}

// Leftmost column in which the picture differs from the background colour.
int FirstInk(const ItemPicture &p, COLORREF background, int fromX) {
  for (int x = fromX; x < p.w; ++x)
    for (int y = 0; y < p.h; ++y)
      if (p.At(x, y) != background) return x;
  return -1;
}

int FirstOpaqueColumn(const TBitmap &b) {
  COLORREF t = b.TransparentColor();
  for (int x = 0; x < b.Width(); ++x)
    for (int y = 0; y < b.Height(); ++y)
      if (b.Pixel(x, y) != t) return x;
  return -1;
}
