// The pictures of the folder-selection controls: loading them from the module and
// drawing them beside an item's text.
#pragma once

#include <windows.h>
#include <memory>

#include "toolkit/Graphics.h"

// A bitmap resource of the module by name (empty when there is none).
std::unique_ptr<TBitmap> LoadModuleBitmap(const char *name);
// Draws bitmap at left, vertically centred in rect, its bottom-left pixel's colour
// replaced by the canvas brush.
void DrawGlyph(TCanvas &canvas, const TBitmap &bitmap, const RECT &rect, int left);
