#include "toolkit/ComponentClasses.h"

#include <map>

#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Edit.h"
#include "toolkit/Label.h"
#include "toolkit/Memo.h"
#include "toolkit/Menus.h"
#include "toolkit/Panel.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/StaticText.h"

namespace {
std::map<std::string, TComponentFactory> &Factories() {
  static std::map<std::string, TComponentFactory> factories;
  return factories;
}
}  // namespace

const TComponentFactory *FindComponentClass(const std::string &className) {
  auto it = Factories().find(className);
  return it == Factories().end() ? nullptr : &it->second;
}

void RegisterComponentClass(const std::string &className, TComponentFactory factory) {
  Factories()[className] = std::move(factory);
}

template <class T>
static void RegisterClassOf(const char *name) {
  RegisterComponentClass(name, [](TComponent *owner) -> TComponent * { return new T(owner); });
}

void RegisterStandardComponents() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClassOf<TMemo>("TMemo");
  RegisterClassOf<TEdit>("TEdit");
  RegisterClassOf<TCheckBox>("TCheckBox");
  RegisterClassOf<TButton>("TButton");
  RegisterClassOf<TStaticText>("TStaticText");
  RegisterClassOf<TLabel>("TLabel");
  RegisterClassOf<TPanel>("TPanel");
  RegisterClassOf<TSpeedButton>("TSpeedButton");
  RegisterClassOf<TPopupMenu>("TPopupMenu");
  RegisterClassOf<TMenuItem>("TMenuItem");
  RegisterClassOf<TImageList>("TImageList");
}
