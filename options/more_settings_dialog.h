#pragma once
// The modal "More settings" dialog: the touch and access extras. It edits a copy; the Settings dialog
// that opens it keeps the values on OK and stores them only with its own OK.

#include <windows.h>

#include "options/dialog_access.h"
#include "settings/extras_settings.h"

namespace tapkeys {

// On OK writes extras and returns true; Cancel, Esc and the close box leave it untouched.
bool showMoreSettingsDialog(HWND owner, ExtrasSettings& extras, const AccessAids& aids = {});

}  // namespace tapkeys
