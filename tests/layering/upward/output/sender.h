#pragma once
// A lower layer reaching up: the layering check must refuse this and name the line.
#include "win32/base_window.h"
#include "keyboard/layout.h"
