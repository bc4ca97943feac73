#pragma once
// The keyboard window's way out to the system: SendInput for keystrokes, the message-pumping pause.

#include <functional>

#include "output/key_output.h"

namespace tapkeys {

class SystemKeyOutput final : public KeyOutput {
public:
    // `useSafeMode` is the window's own setting, read at every call; `onKeyStringDone` runs after
    // every key string.
    SystemKeyOutput(const bool& useSafeMode, std::function<void()> onKeyStringDone);

    void sendKeys(std::wstring_view item) override;
    void positionKey(const PositionKey& key) override;
    void keyEvent(std::uint8_t virtualKey, bool keyUp) override;
    void pause(int milliseconds) override;
    bool safeMode() const override;
    void keyStringDone() override;

private:
    const bool& useSafeMode_;
    std::function<void()> onKeyStringDone_;
};

}  // namespace tapkeys
