#include "toolkit/Layout.h"

#include <algorithm>

namespace {

int Width(const RECT &r) { return r.right - r.left; }
int Height(const RECT &r) { return r.bottom - r.top; }
RECT Bounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }

// Places the visible children aligned to which in area, and takes their room from it.
void AlignItems(TAlign which, const std::vector<TLayoutItem> &items, RECT &area,
                std::vector<TLayoutPlace> &places) {
  std::vector<size_t> list;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].align == which && items[i].visible) list.push_back(i);
  // Top and left ones stack in the order of their position, bottom and right ones backwards.
  std::stable_sort(list.begin(), list.end(), [which, &items](size_t ia, size_t ib) {
    const RECT &a = items[ia].bounds, &b = items[ib].bounds;
    switch (which) {
      case alTop: return a.top < b.top;
      case alBottom: return a.bottom > b.bottom;
      case alLeft: return a.left < b.left;
      case alRight: return a.right > b.right;
      default: return false;
    }
  });
  for (size_t i : list) {
    const RECT &r = items[i].bounds;
    int w = Width(area), h = Height(area);
    RECT placed = r;
    switch (which) {
      case alTop:
        placed = Bounds(area.left, area.top, w, Height(r));
        area.top += Height(r);
        break;
      case alBottom:
        placed = Bounds(area.left, area.bottom - Height(r), w, Height(r));
        area.bottom -= Height(r);
        break;
      case alLeft:
        placed = Bounds(area.left, area.top, Width(r), h);
        area.left += Width(r);
        break;
      case alRight:
        placed = Bounds(area.right - Width(r), area.top, Width(r), h);
        area.right -= Width(r);
        break;
      case alClient:
        placed = Bounds(area.left, area.top, w, h);
        break;
      default:
        break;
    }
    places.push_back({i, placed});
  }
}

}  // namespace

std::vector<TLayoutPlace> LayOutChildren(const RECT &client, const std::vector<TLayoutItem> &items) {
  std::vector<TLayoutPlace> places;
  RECT area = client;
  for (TAlign which : {alTop, alBottom, alLeft, alRight, alClient}) AlignItems(which, items, area, places);
  int pw = Width(client), ph = Height(client);
  for (size_t i = 0; i < items.size(); ++i) {
    const TLayoutItem &c = items[i];
    if (c.align != alNone || !c.anchorRulesValid) continue;
    // Anchored to both sides a control stretches; to the far side only, it moves.
    int l = c.bounds.left, t = c.bounds.top, w = Width(c.bounds), h = Height(c.bounds);
    if (c.anchors & akRight) {
      if (c.anchors & akLeft) w = std::max(0, pw - l - c.anchorRight);
      else l = pw - w - c.anchorRight;
    }
    if (c.anchors & akBottom) {
      if (c.anchors & akTop) h = std::max(0, ph - t - c.anchorBottom);
      else t = ph - h - c.anchorBottom;
    }
    places.push_back({i, Bounds(l, t, w, h)});
  }
  return places;
}

void TWindowMoves::Add(HWND window, int left, int top, int width, int height) {
  moves_.push_back({window, left, top, width, height});
}

void TWindowMoves::Apply() {
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (moves_.empty()) return;
  if (HDWP batch = BeginDeferWindowPos(int(moves_.size()))) {
    for (const Move &m : moves_) {
      batch = DeferWindowPos(batch, m.window, nullptr, m.left, m.top, m.width, m.height, flags);
      if (!batch) break;  // the system dropped the batch: the moves go one by one below
    }
    if (batch && EndDeferWindowPos(batch)) {
      moves_.clear();
      return;
    }
  }
  for (const Move &m : moves_) SetWindowPos(m.window, nullptr, m.left, m.top, m.width, m.height, flags);
  moves_.clear();
}
