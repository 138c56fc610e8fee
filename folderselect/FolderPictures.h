// The pictures of the folder-selection controls: loading them from the module, drawing
// them beside an item's text, and the item height they need.
#pragma once

#include <windows.h>
#include <memory>

#include "toolkit/Graphics.h"

// A bitmap resource of the module by name (empty when there is none).  Every folder
// control shows the same few pictures: each is loaded once, on first use, and shared by
// the controls; the module keeps it while it is loaded.
std::shared_ptr<TBitmap> ModuleBitmap(const char *name);
// Draws bitmap at left, vertically centred in rect, its bottom-left pixel's colour
// replaced by the canvas brush.
void DrawGlyph(TCanvas &canvas, const TBitmap &bitmap, const RECT &rect, int left);
// The height of an item in Font that shows picture (none: nullptr) with margin pixels to
// spare: the font's line, or the picture's height and margin when that is more.
int PictureItemHeight(TFont &Font, const TBitmap *picture, int margin);
