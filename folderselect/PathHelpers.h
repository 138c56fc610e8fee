// The path helpers of the folder-selection controls.
#pragma once

#include <string>

#include "toolkit/Graphics.h"

// Path with every "/" turned into "\", as the system reads either.
std::string NormalizeSlashes(const std::string &Path);
// Path and Name joined by exactly one "\".
std::string JoinPath(const std::string &Path, const std::string &Name);
// FileName with directories dropped from the left ("C:\...\Gamma\x.txt") until its width
// on Canvas is at most MaxWidth; the file name itself (for "C:\Windows\": "Windows\") is
// never shortened, and a drive letter never stays without its root.
std::string ShortenPathToWidth(const std::string &FileName, TCanvas &Canvas, int MaxWidth);
// One shortening step on a directory part: "\Alpha\Beta\" becomes "\...\Beta\".
void DropFirstDirectory(std::string &Dir);
// Splits a typed or listed path into drive letter (#0 for a network path), directory
// and file part, entering every directory on the way to check it.  Raises EInOutError
// for one that cannot be entered; the current directory is restored in every case.
void SplitEditPath(const std::string &EditText, char &Drive, std::string &DirPart,
                   std::string &FilePart);
// Character cell height of Font on the screen.
int FontItemHeight(TFont &Font);
