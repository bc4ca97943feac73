#pragma once
// Resource ids of tapkeys.exe, shared by tapkeys.rc and the program: plain #defines, which the
// resource compiler understands.

// Explorer and the taskbar show the icon with the lowest id, so the program's icon is 1.
#define IDI_TAPKEYS 1

// The keyboard window's artwork, drawn by tools/make_assets.
#define IDB_BACKGROUND 101
#define IDB_LOGO 102
