// The key string walk and the key dispatch around it, over arbitrary key sets and key strings, with key
// presses, Shift, Caps Lock and options-dialog changes arriving inside the safe-mode pauses at any depth.
// Properties: a press is followed at once by its release; every item handed to SendKeys is one
// character (a surrogate pair whole), a braced reserved character or an arrow nudge; each key string
// ends with exactly one end-of-string step, nested ones before the string they interrupted; a one-shot
// Shift never outlives the key string that used it; the captions always show the layer the Shift state
// names.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "keyboard/key_map.h"
#include "output/key_output.h"
#include "output/key_string_sender.h"

namespace tapkeys::fuzz {
namespace {

constexpr std::wstring_view kReserved = L"()[]{}+^%~";

bool isValidSendKeysItem(std::wstring_view item) {
    const bool braced = item.size() == 3 && item[0] == L'{' && item[2] == L'}';
    return item == L"{LEFT}" || item == L"{RIGHT}" || (braced && kReserved.find(item[1]) != item.npos) ||
           (item.size() == 1 && kReserved.find(item[0]) == item.npos) ||
           (item.size() == 2 && (item[0] & 0xFC00) == 0xD800 && (item[1] & 0xFC00) == 0xDC00);
}

class Harness final : public KeyboardHost, public KeyOutput {
public:
    explicit Harness(FuzzedDataProvider& data) : data_(data), safeMode_(data.ConsumeBool()) { newKeySets(); }
    void run() {
        while (actions_ < 96 && data_.remaining_bytes() > 0) {
            act();
            const std::wstring_view set = keys_.shifted() ? keys_.keySetUC : keys_.keySetLC;
            for (std::size_t i = 0; i < kCharacterKeyCount; ++i)
                FUZZ_CHECK(keys_.keyCharacter(int(i)) == set.substr(std::min(i, set.size()), 1));
        }
    }

    void giveForegroundToTarget() override { FUZZ_CHECK(!pressed_); }
    void sendKeyString(std::wstring_view keyString) override {
        oneLevel([&] { tapkeys::sendKeyString(keyString, *this); });
    }
    void sendPositionKey(const PositionKey& key) override {
        oneLevel([&] { tapkeys::sendPositionKey(key, *this); });
    }
    void keyCaptionsChanged() override {}

    void sendKeys(std::wstring_view item) override { FUZZ_CHECK(!pressed_ && isValidSendKeysItem(item)); }
    void keyEvent(std::uint8_t virtualKey, bool keyUp) override {
        FUZZ_CHECK(keyUp ? pressed_ == virtualKey : !pressed_);
        pressed_ = keyUp ? std::nullopt : std::optional(virtualKey);
    }
    // Whatever the user does while the pause serves messages runs here, to completion.
    void pause(int) override {
        FUZZ_CHECK(!pressed_);
        if (done_.size() < 4 && data_.ConsumeBool()) act();
    }
    void positionKey(const PositionKey&) override { FUZZ_CHECK(!pressed_); }
    bool safeMode() const override { return safeMode_; }
    void keyStringDone() override {
        FUZZ_CHECK(!done_.empty());
        ++done_.back();
        keys_.releaseOneShotShift();
    }

private:
    // One key string, or one key, with every nested one inside it, ends exactly once.
    template <typename Send>
    void oneLevel(Send send) {
        done_.push_back(0);
        send();
        FUZZ_CHECK(done_.back() == 1);
        done_.pop_back();
    }
    std::wstring units(std::size_t maxBytes) {
        return unitsOf(
            data_.ConsumeBytes<std::uint8_t>(data_.ConsumeIntegralInRange<std::size_t>(0, maxBytes)));
    }
    // The options dialog: new key sets, then the captions for the current state.
    void newKeySets() {
        keys_.keySetLC = units(120);
        keys_.keySetUC = units(120);
        keys_.showKeySet(keys_.shifted());
    }
    void act() {
        if (++actions_ > 96) return;
        const bool typing = done_.empty();
        switch (data_.ConsumeIntegralInRange(0, 6)) {
            case 0: keys_.onCharacterKey(data_.ConsumeIntegralInRange(-1, kCharacterKeyCount)); break;
            case 1: keys_.onNamedKey(static_cast<Control>(data_.ConsumeIntegral<std::uint8_t>() % 16)); break;
            case 2: keys_.typeToTarget(units(64)); break;
            case 3: return keys_.onShift(data_.ConsumeBool());
            case 4: return keys_.onCapsLock();
            case 5: safeMode_ = !safeMode_; return;
            case 6: return newKeySets();
        }
        if (typing) FUZZ_CHECK(keys_.shiftState() != ShiftState::OneShot);
    }

    FuzzedDataProvider& data_;
    KeyMap keys_{*this};
    bool safeMode_ = false;
    int actions_ = 0;
    std::vector<int> done_;  // end-of-string steps per key string in progress, outermost first
    std::optional<std::uint8_t> pressed_;
};

}  // namespace
}  // namespace tapkeys::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    tapkeys::fuzz::Harness(provider).run();
    return 0;
}
