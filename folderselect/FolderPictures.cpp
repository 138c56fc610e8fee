#include "folderselect/FolderPictures.h"

#include <algorithm>

#include "folderselect/PathHelpers.h"

std::unique_ptr<TBitmap> LoadModuleBitmap(const char *name) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->LoadFromResourceName(ModuleInstance(), name);
  return bitmap;
}

void DrawGlyph(TCanvas &canvas, const TBitmap &bitmap, const RECT &rect, int left) {
  int top = (rect.top + rect.bottom - bitmap.Height()) / 2;
  RECT dest = {left, top, left + bitmap.Width(), top + bitmap.Height()};
  RECT src = {0, 0, bitmap.Width(), bitmap.Height()};
  canvas.BrushCopy(dest, bitmap, src, CLR_INVALID);  // transparent: the bottom-left pixel's
}

int PictureItemHeight(TFont &Font, const TBitmap *picture, int margin) {
  int h = FontItemHeight(Font);
  return picture ? std::max(h, picture->Height() + margin) : h;
}
