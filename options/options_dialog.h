#pragma once
// The modal "Settings" dialog: it shows the keyboard window's settings members and writes them back on
// OK. It keeps nothing between showings; the caller applies the new values after it returns.

#include <windows.h>

#include "options/color_dialog.h"
#include "settings/keyboard_settings.h"
#include "settings/language_key_map.h"

namespace tapkeys {

// Shows the dialog modally over owner (which may be null). On OK writes members and returns true;
// Cancel, Esc and the close box return false and leave members untouched. currentKeySets (the sets now
// on the keys) fill an empty user key-map box when the user chooses the user-defined layout.
bool showOptionsDialog(HWND owner, KeyboardSettings& members, const KeySets& currentKeySets);

}  // namespace tapkeys
