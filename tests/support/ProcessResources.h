// Resources of the test process, counted to find leaks: windows of the thread, GDI and
// USER objects, kernel handles.
#pragma once
#include <ostream>

// GDI objects of the process (also under Wine, where GetGuiResources answers 0).
int CountGdiObjects();
// Kernel handles of the process (find handles hold one each), by asking each value.
int CountKernelHandles();
// Windows of the thread, child windows included.
int CountThreadWindows();

struct Resources {
  int windows, gdi, user, handles;
};
std::ostream &operator<<(std::ostream &os, const Resources &r);
// All of them at once.
Resources Count();
