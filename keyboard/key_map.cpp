#include "keyboard/key_map.h"
