// The library's own part: creating, saving and freeing the tip window, and the steps of
// loading and unloading the module.
#include "bootlog/BootlogForm.h"
#include "module/Exports.h"
#include "module/ModuleLifetime.h"
#include "template/ModulState.h"
#include "toolkit/Controls.h"

namespace {

// The one tip window while it lives; cleared when the window is destroyed, whoever
// destroys it.
TFormBootlog *ModulForm = nullptr;

// Clears ModulForm when the window is destroyed, whoever destroys it (ModulFree, the
// host's close command, a second ModulCreate), so that no export touches a dead window.
class TModulFormWatcher : public TComponent {
 public:
  TModulFormWatcher() : TComponent(nullptr) {}
  void Notification(TComponent *AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == ModulForm)
      ModulForm = nullptr;
  }
};

TModulFormWatcher &Watcher() {
  static TModulFormWatcher watcher;
  return watcher;
}

// The window object while it is not being destroyed, its window alive or not.
bool FormAlive() { return ModulForm && !ModulForm->Freed(); }

// Whether the tip window is open.  A window the host destroyed itself (DestroyWindow on
// it or on a parent it gave) counts as closed, as after ModulFree: its controls are gone.
bool WindowOpen() { return FormAlive() && ModulForm->HandleAllocated(); }

}  // namespace

void ModulLoad(HINSTANCE instance) {
  SetModuleInstance(instance);
  try {
    MainTippUInitialization();
  } catch (...) {
    ModulMessageId = 0;  // no commands without a registered message
  }
}

void ModulUnload(bool processEnding) {
  // A window left open by a host that unloads the module would keep a window procedure
  // that is no longer there, and the next message to it would crash the host: it goes
  // with the module.  At process end, or on another thread, it is left to the system.
  if (!processEnding && FormAlive() &&
      (!ModulForm->HandleAllocated() ||
       GetWindowThreadProcessId(ModulForm->Handle(), nullptr) == GetCurrentThreadId()))
    delete ModulForm;
  UnregisterToolkitWindowClasses();
}

// Parameters 4 to 10 in reverse on i686 (see ModulExports.h).
#if defined(__i386__)
extern "C" int MODUL_REGISTER_CALL ModulCreate(int ALeft, int ATop, int AWidth, int AHelpNr,
                                               int AValidOSMask, const char *AHint,
                                               const char *ACaption, int ALanguage, int AOSCode,
                                               int AHeight) {
#else
extern "C" int MODUL_REGISTER_CALL ModulCreate(int ALeft, int ATop, int AWidth, int AHeight,
                                               int AOSCode, int ALanguage, const char *ACaption,
                                               const char *AHint, int AValidOSMask,
                                               int AHelpNr) {
#endif
  TDispatchGuard guard;
  TFormBootlog *form = nullptr;
  try {
    // One window per module: a window still open is replaced by the new one.
    if (FormAlive()) ModulForm->Free();
    std::string caption = ACaption ? ACaption : "";
    std::string hint = AHint ? AHint : "";
    ModulLanguage = ALanguage;
    ModulOsCode = AOSCode;
    ModulValidOsMask = AValidOSMask;
    // Laid out for the host's bounds before its windows are made.
    RECT bounds = {ALeft, ATop, ALeft + AWidth, ATop + AHeight};
    form = CreateForm<TFormBootlog>(nullptr, &bounds);
    ModulForm = form;
    form->FreeNotification(&Watcher());
    form->SetCaption(caption);
    // Moved where it could not be laid out for them first (a form scaled to the screen).
    RECT now = form->BoundsRect();
    if (!EqualRect(&now, &bounds)) form->SetBounds(ALeft, ATop, AWidth, AHeight);
    form->Tag = AOSCode;
    form->SetHint(hint);
    form->HelpNr = AHelpNr;
    form->Show();
    form->Sprache(ModulLanguage);
  } catch (...) {
    // The host learns nothing of a failure, the user why no tip opened; no half-made
    // window stays behind.
    if (form && !form->Freed()) form->Free();
    ApplicationHandleException();
  }
  return 0;
}

extern "C" int MODUL_EXPORT_CALL ModulSaveChanges() {
  TDispatchGuard guard;
  if (!WindowOpen()) return 1;  // nothing to save
  try {
    ModulForm->HotSpeedButtonOKClick(nullptr);
  } catch (...) {
    // The OK path ended at the failing step; the user sees why, the host that it failed.
    ApplicationHandleException();
    return 0;
  }
  return 1;
}

extern "C" int MODUL_EXPORT_CALL ModulFree() {
  TDispatchGuard guard;
  try {
    if (FormAlive()) ModulForm->Free();
  } catch (...) {
    return 0;
  }
  return 1;
}
