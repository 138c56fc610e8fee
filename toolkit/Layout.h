// Layout of a windowed control's children: alignment and anchors as a function from the
// parent's client rectangle and the children's rectangles to their new rectangles, and the
// batch that moves their windows in one go (one repaint instead of one per child).
#pragma once
#include <windows.h>

#include <vector>

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
using TAnchors = unsigned;
enum : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

// One child as the layout sees it.
struct TLayoutItem {
  TAlign align = alNone;
  TAnchors anchors = akLeft | akTop;
  bool visible = true;
  RECT bounds = {};
  // The distances to the right and bottom sides that its anchors keep; valid once known.
  int anchorRight = 0, anchorBottom = 0;
  bool anchorRulesValid = false;
};

// The place of one child in the layout.
struct TLayoutPlace {
  size_t item;  // index into the items given
  RECT bounds;
};

// Visible aligned children take their room from the client rectangle in the order top,
// bottom, left, right, client; then the anchored ones keep their distances to the sides.
// Returns the children placed, in that order; the others keep their rectangles.
std::vector<TLayoutPlace> LayOutChildren(const RECT &client, const std::vector<TLayoutItem> &items);

// Window moves applied in one BeginDeferWindowPos/EndDeferWindowPos batch; where the
// system cannot batch them, one by one.  All windows are children of one parent.
class TWindowMoves {
 public:
  void Add(HWND window, int left, int top, int width, int height);
  void Apply();

 private:
  struct Move {
    HWND window;
    int left, top, width, height;
  };
  std::vector<Move> moves_;
};
