// Layout of a control among its siblings: its bounds, alignment and anchors, scaling; the
// parent computes the children's places with LayOutChildren (Layout.h) and moves their
// windows in one batch.
#include "toolkit/Controls.h"

#include <vector>

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  bool changed = ALeft != left_ || ATop != top_ || AWidth != width_ || AHeight != height_;
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  if (handle_ && changed)
    SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
  if (parent_ && !parent_->realigning_) {
    UpdateAnchorRules();
    if (align_ != alNone && changed) parent_->Realign();
  }
}

void TControl::UpdateAnchorRules() {
  if (!parent_) return;
  anchorRight_ = parent_->ClientWidth() - (left_ + width_);
  anchorBottom_ = parent_->ClientHeight() - (top_ + height_);
  anchorRulesValid_ = true;
}

void TControl::SetAlign(TAlign v) {
  if (v == align_) return;
  align_ = v;
  if (parent_) parent_->Realign();
}

void TControl::SetAnchors(TAnchors v) {
  anchors_ = v;
  UpdateAnchorRules();
}

void TControl::ScaleBy(int M, int D) { ChangeScale(M, D); }

void TControl::ChangeScale(int M, int D) {
  ScaleSize(M, D);
  // A control that follows its parent's font gets it scaled from there; one without a
  // parent (a form) has only its own.
  if (!parentFont_ || !parent_) {
    font_.SetHeight(MulDiv(font_.Height(), M, D));
  }
}

void TControl::ScaleSize(int M, int D) {
  int l = MulDiv(left_, M, D), t = MulDiv(top_, M, D);
  int w = MulDiv(left_ + width_, M, D) - l, h = MulDiv(top_ + height_, M, D) - t;
  SetBounds(l, t, w, h);
}

void TWinControl::EnableAlign() {
  if (alignLock_ > 0 && --alignLock_ == 0) Realign();
}

void TWinControl::Realign() {
  if (alignLock_ > 0 || realigning_) return;
  realigning_ = true;
  try {
    std::vector<TControl *> children = controls_;
    std::vector<TLayoutItem> items;
    items.reserve(children.size());
    for (TControl *c : children) {
      items.push_back({c->align_, c->anchors_, c->visible_, c->BoundsRect(), c->anchorRight_,
                       c->anchorBottom_, c->anchorRulesValid_});
    }
    std::vector<TLayoutPlace> places = LayOutChildren(ClientRect(), items);
    TWindowMoves moves;
    for (const TLayoutPlace &p : places) children[p.item]->SetLayoutBounds(p.bounds, moves);
    moves.Apply();
    for (const TLayoutPlace &p : places) children[p.item]->LayoutApplied();
  } catch (...) {
    realigning_ = false;
    throw;
  }
  realigning_ = false;
}

void TControl::SetLayoutBounds(const RECT &bounds, TWindowMoves &moves) {
  bool changed = bounds.left != left_ || bounds.top != top_ ||
                 bounds.right - bounds.left != width_ || bounds.bottom - bounds.top != height_;
  left_ = bounds.left;
  top_ = bounds.top;
  width_ = bounds.right - bounds.left;
  height_ = bounds.bottom - bounds.top;
  if (handle_ && changed) moves.Add(handle_, left_, top_, width_, WindowHeight());
}

void TWinControl::ChangeScale(int M, int D) {
  DisableAlign();
  // The children first: a child that takes its size from its parent's font (a label of
  // the parent's font that sizes itself to its text) is scaled once, by the font.
  for (TControl *c : std::vector<TControl *>(controls_)) c->ChangeScale(M, D);
  TControl::ChangeScale(M, D);
  for (TControl *c : controls_) c->UpdateAnchorRules();
  EnableAlign();
}
