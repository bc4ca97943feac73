#pragma once
// The modal "Settings" dialog: it shows the keyboard window's settings and hands back the edited ones on
// OK. It keeps nothing between showings; the caller applies the new values after it returns.

#include <windows.h>

#include <optional>

#include "options/color_dialog.h"
#include "options/dialog_access.h"
#include "settings/keyboard_settings.h"
#include "settings/language_key_map.h"

namespace tapkeys {

// Shows the dialog modally over owner (which may be null), filled from current. OK returns the edited
// settings; Cancel, Esc and the close box return nothing. currentKeySets (the sets now on the keys) fill an
// empty user key-map box when the user chooses the user-defined layout. aids: dwell and scanning in
// this dialog and the one behind "More...".
std::optional<KeyboardSettings> showOptionsDialog(HWND owner, const KeyboardSettings& current,
                                                  const KeySets& currentKeySets, const AccessAids& aids = {});

}  // namespace tapkeys
