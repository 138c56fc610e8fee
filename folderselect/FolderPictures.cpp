#include "folderselect/FolderPictures.h"

#include <algorithm>
#include <map>
#include <string>

#include "folderselect/PathHelpers.h"

std::shared_ptr<TBitmap> ModuleBitmap(const char *name) {
  static std::map<std::string, std::shared_ptr<TBitmap>> loaded;
  std::shared_ptr<TBitmap> &picture = loaded[name];
  if (!picture) {
    picture = std::make_shared<TBitmap>();
    picture->LoadFromResourceName(ModuleInstance(), name);
  }
  return picture;
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
