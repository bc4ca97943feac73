#include "output/system_key_output.h"

#include <utility>

#include "output/pumping_wait.h"
#include "output/send_keys.h"

namespace tapkeys {

SystemKeyOutput::SystemKeyOutput(const bool& useSafeMode, std::function<void()> onKeyStringDone)
    : useSafeMode_(useSafeMode), onKeyStringDone_(std::move(onKeyStringDone)) {}

void SystemKeyOutput::sendKeys(std::wstring_view item) {
    typeSendKeysItem(item);
}

void SystemKeyOutput::positionKey(const PositionKey& key) {
    typePositionKey(key);
}

void SystemKeyOutput::keyEvent(std::uint8_t virtualKey, bool keyUp) {
    sendKeyEvent(virtualKey, keyUp);
}

void SystemKeyOutput::pause(int milliseconds) {
    pumpingWait(milliseconds);
}

bool SystemKeyOutput::safeMode() const {
    return useSafeMode_;
}

void SystemKeyOutput::keyStringDone() {
    if (onKeyStringDone_) onKeyStringDone_();
}

}  // namespace tapkeys
