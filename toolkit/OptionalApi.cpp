#include "toolkit/OptionalApi.h"

TOptionalApi SystemOptionalApi() {
  TOptionalApi api{};
  if (HMODULE user32 = GetModuleHandleA("user32.dll"))
    api.TrackMouseEvent =
        reinterpret_cast<decltype(api.TrackMouseEvent)>(GetProcAddress(user32, "TrackMouseEvent"));
  // The tooltip window needs comctl32 in the process anyway; InitCommonControls below is
  // its one static import, so it is loaded already.
  if (HMODULE comctl32 = GetModuleHandleA("comctl32.dll"))
    api.InitCommonControlsEx = reinterpret_cast<decltype(api.InitCommonControlsEx)>(
        GetProcAddress(comctl32, "InitCommonControlsEx"));
  return api;
}

TOptionalApi &OptionalApi() {
  static TOptionalApi api = SystemOptionalApi();
  return api;
}

void InitToolTipClass() {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  if (!OptionalApi().InitCommonControlsEx || !OptionalApi().InitCommonControlsEx(&icc))
    InitCommonControls();
}
