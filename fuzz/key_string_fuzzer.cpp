// The key string walk and the key dispatch around it, over arbitrary key sets and key strings, with key
// presses, Shift, Caps Lock and options-dialog changes arriving inside the safe-mode pauses at any depth.
// Properties: a press is always followed at once by its release; every item handed to SendKeys is one
// character, a braced reserved character or an arrow nudge; each key string ends with exactly one
// end-of-string step, nested ones before the string they interrupted; a one-shot Shift never outlives
// the key string that used it; the captions always show the layer the Shift state names.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/ansi_text.h"
#include "fuzz/check.h"
#include "keyboard/key_map.h"
#include "output/key_output.h"
#include "output/key_string_sender.h"

namespace tapkeys::fuzz {
namespace {

constexpr int kMaxDepth = 4;
constexpr int kMaxActions = 96;
constexpr std::wstring_view kReserved = L"()[]{}+^%~";

std::wstring unitsFrom(FuzzedDataProvider& data, std::size_t maxBytes) {
    const std::vector<std::uint8_t> bytes =
        data.ConsumeBytes<std::uint8_t>(data.ConsumeIntegralInRange<std::size_t>(0, maxBytes));
    return fromUtf16Units(bytes);
}

bool isValidSendKeysItem(std::wstring_view item) {
    if (item == L"{LEFT}" || item == L"{RIGHT}") return true;
    if (item.size() == 3 && item.front() == L'{' && item.back() == L'}') {
        return kReserved.find(item[1]) != std::wstring_view::npos;
    }
    if (item.size() == 1) return kReserved.find(item[0]) == std::wstring_view::npos;
    // A surrogate pair goes out whole.
    return item.size() == 2 && item[0] >= 0xD800 && item[0] <= 0xDBFF && item[1] >= 0xDC00 &&
           item[1] <= 0xDFFF;
}

class Harness final : public KeyboardHost, public KeyOutput {
public:
    explicit Harness(FuzzedDataProvider& data) : data_(data) {
        safeMode_ = data_.ConsumeBool();
        keyMap_.keySetLC = unitsFrom(data_, 120);
        keyMap_.keySetUC = unitsFrom(data_, 120);
        keyMap_.showKeySet(false);
    }

    void run() {
        while (actions_ < kMaxActions && data_.remaining_bytes() > 0) {
            act();
            FUZZ_CHECK(depth_ == 0);
            checkCaptions();
        }
    }

    // KeyboardHost
    void giveForegroundToTarget() override { FUZZ_CHECK(!pendingPress_); }
    void sendKeyString(std::wstring_view keyString) override {
        oneLevel([&] { tapkeys::sendKeyString(keyString, *this); });
    }
    void sendPositionKey(const PositionKey& key) override {
        oneLevel([&] { tapkeys::sendPositionKey(key, *this); });
    }
    void keyCaptionsChanged() override {}

    // KeyOutput
    void sendKeys(std::wstring_view item) override {
        FUZZ_CHECK(!pendingPress_);
        FUZZ_CHECK(isValidSendKeysItem(item));
    }
    void keyEvent(std::uint8_t virtualKey, bool keyUp) override {
        if (keyUp) {
            FUZZ_CHECK(pendingPress_ == virtualKey);
            pendingPress_.reset();
        } else {
            FUZZ_CHECK(!pendingPress_);
            pendingPress_ = virtualKey;
        }
    }
    void pause(int milliseconds) override {
        FUZZ_CHECK(milliseconds == 10);
        FUZZ_CHECK(!pendingPress_);
        // Whatever the user does while the pause processes messages runs here, to completion.
        if (depth_ < kMaxDepth && data_.ConsumeBool()) act();
    }
    void positionKey(const PositionKey&) override { FUZZ_CHECK(!pendingPress_); }
    bool safeMode() const override { return safeMode_; }
    void keyStringDone() override {
        FUZZ_CHECK(depth_ > 0);
        ++donePerLevel_.back();
        keyMap_.releaseOneShotShift();
    }

private:
    // One key string, or one key, with every nested one inside it, ends exactly once.
    template <typename Send>
    void oneLevel(Send send) {
        donePerLevel_.push_back(0);
        ++depth_;
        send();
        --depth_;
        FUZZ_CHECK(donePerLevel_.back() == 1);
        donePerLevel_.pop_back();
    }

    void act() {
        if (++actions_ > kMaxActions) return;
        const bool typing = depth_ == 0;
        switch (data_.ConsumeIntegralInRange(0, 7)) {
            case 0:
            case 1: keyMap_.onCharacterKey(data_.ConsumeIntegralInRange(-1, kCharacterKeyCount)); break;
            case 2:
                keyMap_.onNamedKey(static_cast<Control>(data_.ConsumeIntegral<std::uint8_t>() % 16));
                break;
            case 3: keyMap_.onShift(data_.ConsumeBool()); return;
            case 4: keyMap_.onCapsLock(); return;
            case 5: keyMap_.typeToTarget(unitsFrom(data_, 64)); break;
            case 6: safeMode_ = !safeMode_; return;
            case 7:
                // The options dialog: new key sets, then the captions for the current state.
                keyMap_.keySetLC = unitsFrom(data_, 120);
                keyMap_.keySetUC = unitsFrom(data_, 120);
                keyMap_.showKeySet(keyMap_.shifted());
                return;
        }
        if (typing) FUZZ_CHECK(keyMap_.shiftState() != ShiftState::OneShot);
    }

    void checkCaptions() const {
        const std::wstring& set = keyMap_.shifted() ? keyMap_.keySetUC : keyMap_.keySetLC;
        for (int i = 0; i < kCharacterKeyCount; ++i) {
            const std::size_t at = static_cast<std::size_t>(i);
            const std::wstring_view expected = at < set.size() ? std::wstring_view(set).substr(at, 1) : L"";
            FUZZ_CHECK(keyMap_.keyCharacter(i) == expected);
        }
    }

    FuzzedDataProvider& data_;
    KeyMap keyMap_{*this};
    bool safeMode_ = false;
    int depth_ = 0;
    int actions_ = 0;
    std::vector<int> donePerLevel_;
    std::optional<std::uint8_t> pendingPress_;
};

}  // namespace
}  // namespace tapkeys::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    tapkeys::fuzz::Harness(provider).run();
    return 0;
}
