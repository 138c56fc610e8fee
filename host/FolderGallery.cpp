// A gallery of the folder-selection controls: drive combo box, directory list, file list
// and path label side by side at a few sizes and fonts, for looking at how they paint.
//
//   FolderGallery.exe [/dir PATH] [/screenshot FILE.bmp]
//
// /dir starts the lists in PATH (default C:\windows\system32); /screenshot saves the
// window as a bitmap file and quits.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "folderselect/DirectoryListBox.h"
#include "folderselect/DirectorySearch.h"
#include "folderselect/DriveComboBox.h"
#include "folderselect/DriveQueries.h"
#include "folderselect/FileListBox.h"
#include "folderselect/FolderPictures.h"
#include "folderselect/PathHelpers.h"
#include "folderselect/PathLabel.h"
#include "module/ModuleLifetime.h"
#include "template/ModulState.h"
#include "toolkit/Form.h"

namespace {

struct Options {
  std::string dir = "C:\\windows\\system32";
  std::string screenshot;
};

Options ParseOptions(int argc, char **argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    if (!lstrcmpiA(argv[i], "/dir") && i + 1 < argc) o.dir = argv[++i];
    else if (!lstrcmpiA(argv[i], "/screenshot") && i + 1 < argc) o.screenshot = argv[++i];
  }
  return o;
}

// One column of linked controls in one font.
struct Column {
  TDriveComboBox *drives;
  TDirectoryListBox *dirs;
  TFileListBox *files;
  TPathLabel *label;
};

Column AddColumn(TForm *form, int left, int width, const char *fontName, int fontHeight, bool glyphs) {
  Column c;
  auto font = [&](TControl *ctl) {
    ctl->Font().SetName(fontName);
    ctl->Font().SetHeight(fontHeight);
  };
  c.label = new TPathLabel(form);
  c.label->SetParent(form);
  c.label->SetBounds(left, 8, width, -fontHeight + 6);
  c.label->SetColor(clWindow);
  font(c.label);
  c.drives = new TDriveComboBox(form);
  c.drives->SetParent(form);
  font(c.drives);
  c.drives->SetBounds(left, 36, width, 21);
  c.dirs = new TDirectoryListBox(form);
  c.dirs->SetParent(form);
  font(c.dirs);
  c.dirs->SetBounds(left, 72, width, 170);
  c.files = new TFileListBox(form);
  c.files->SetParent(form);
  font(c.files);
  c.files->SetBounds(left, 252, width, 170);
  c.files->SetShowGlyphs(glyphs);
  c.drives->SetDirList(c.dirs);
  c.dirs->SetFileList(c.files);
  c.dirs->SetDirLabel(c.label);
  return c;
}

bool SaveWindowBitmap(HWND window, const std::string &path) {
  RECT r;
  GetWindowRect(window, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  TScreenDC screen;
  TMemoryDC mem(screen.Get());
  TGdiHandle<HBITMAP> bmp(CreateCompatibleBitmap(screen.Get(), w, h));
  {
    TSelectGuard sel(mem.Get(), bmp.Get());
    BitBlt(mem.Get(), 0, 0, w, h, screen.Get(), r.left, r.top, SRCCOPY);
  }
  BITMAPINFOHEADER bi = {};
  bi.biSize = sizeof bi;
  bi.biWidth = w;
  bi.biHeight = h;
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  bi.biCompression = BI_RGB;
  int stride = (w * 3 + 3) & ~3;
  std::vector<BYTE> bits(size_t(stride) * size_t(h));
  GetDIBits(mem.Get(), bmp.Get(), 0, UINT(h), bits.data(), reinterpret_cast<BITMAPINFO *>(&bi), DIB_RGB_COLORS);
  BITMAPFILEHEADER bf = {};
  bf.bfType = 0x4D42;
  bf.bfOffBits = sizeof bf + sizeof bi;
  bf.bfSize = DWORD(bf.bfOffBits + bits.size());
  FILE *f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fwrite(&bf, sizeof bf, 1, f);
  std::fwrite(&bi, sizeof bi, 1, f);
  std::fwrite(bits.data(), 1, bits.size(), f);
  return std::fclose(f) == 0;
}

void Pump(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  while (int(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

}  // namespace

int main(int argc, char **argv) {
  ModulLoad(GetModuleHandleA(nullptr));
  Options options = ParseOptions(argc, argv);
  int rc = 0;
  try {
    if (DirectoryExists(options.dir)) ChDir(options.dir);
    TForm *form = CreateForm<TForm>(nullptr);
    form->SetCaption("Ordnerauswahl - Galerie");
    form->SetBounds(20, 20, 900, 560);
    form->SetColor(clBtnFace);
    Column plain = AddColumn(form, 10, 145, "MS Sans Serif", -11, false);
    Column glyphs = AddColumn(form, 165, 200, "Tahoma", -11, true);
    Column large = AddColumn(form, 375, 260, "Tahoma", -16, true);
    Column bold = AddColumn(form, 645, 230, "Courier New", -13, true);
    bold.label->Font().SetStyle(fsBold);
    bold.label->Alignment = taRightJustify;
    // The folder dialog's look: grey file names, pictures off.
    plain.files->Font().SetColor(clGrayText);
    glyphs.files->SetSelectedName("notepad.exe");
    large.files->SetSelectedName("regedit.exe");
    bold.files->SetFileType(TFileType{ftNormal, ftDirectory});
    bold.dirs->SetCurrentDirectory("..");
    // Path labels of a few widths under the columns.
    const int widths[] = {90, 160, 260, 420};
    int top = 440;
    for (int w : widths) {
      auto *label = new TPathLabel(form);
      label->SetParent(form);
      label->SetBounds(10, top, w, 16);
      label->SetColor(clWhite);
      label->SetCaption("C:\\Programme\\Tessaly 2000\\Module & Tipps\\Rechnerstart\\LOG.BAT");
      top += 20;
    }
    form->Show();
    SetForegroundWindow(form->Handle());
    if (!options.screenshot.empty()) {
      Pump(800);
      rc = SaveWindowBitmap(form->Handle(), options.screenshot) ? 0 : 1;
    } else {
      MSG msg;
      while (form->Visible() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    delete form;
  } catch (const std::exception &e) {
    std::fprintf(stderr, "%s\n", e.what());
    rc = 2;
  }
  ModulUnload();
  return rc;
}
