#include "keyboard/system_contrast.h"

#include <windows.h>

namespace tapkeys {
namespace {

class SystemContrastSource final : public ContrastSource {
public:
    SystemContrast read() const override {
        HIGHCONTRASTW state{};
        state.cbSize = sizeof state;
        const bool on = ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof state, &state, 0) &&
                        (state.dwFlags & HCF_HIGHCONTRASTON) != 0;
        if (!on) return {};
        return {true, ::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT),
                ::GetSysColor(COLOR_HIGHLIGHT)};
    }
};

}  // namespace

const ContrastSource& systemContrastSource() {
    static const SystemContrastSource source;
    return source;
}

}  // namespace tapkeys
