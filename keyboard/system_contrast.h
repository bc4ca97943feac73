#pragma once
// Where the keyboard learns whether the system is in high-contrast mode and with which colours. An
// interface, so a test can put the window through a change that the test machine cannot make.

#include "keyboard/key_palette.h"

namespace tapkeys {

class ContrastSource {
public:
    virtual ~ContrastSource() = default;
    virtual SystemContrast read() const = 0;
};

// SPI_GETHIGHCONTRAST and the system colours.
const ContrastSource& systemContrastSource();

}  // namespace tapkeys
