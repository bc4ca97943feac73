#pragma once
// The window's artwork as GDI bitmaps at a given density: the embedded images at 96 dpi, drawn afresh
// from the layout table at any other density so the outlines stay sharp.

#include <windows.h>

#include "win32/gdi.h"

namespace tapkeys {

Bitmap backgroundBitmapFor(HINSTANCE instance, int dpi);
Bitmap logoBitmapFor(HINSTANCE instance, int dpi);

}  // namespace tapkeys
