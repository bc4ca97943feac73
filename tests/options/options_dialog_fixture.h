#pragma once
// Shows the real options dialog on the test thread while a script drives it.

#include <memory>
#include <optional>

#include "dialog_driver.h"
#include "options/options_dialog.h"
#include "options/options_ids.h"

namespace tapkeys::test {

using Step = DialogDriver::Step;

class OptionsDialogTest : public ::testing::Test {
protected:
    OptionsDialogTest() {
        members.fontFace = L"Liberation Sans";
        members.fontSze = 14;
        members.fontColor = 0x00336699;
        members.keyMap = L"user";
        members.keyMapUserLC = L"`1234567890-=qwertyuiop[]asdfghjkl;'zxcvbnm,./\\";
        members.keyMapUserUC = L"~!@#$%^&*()_+QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>?|";
    }

    // Shows the dialog over owner; the steps run once it is on screen. True when it closed with OK.
    bool runDialog(std::vector<Step> steps) {
        steps.insert(steps.begin(),
                     [this] { return settings() != nullptr && ::IsWindowVisible(settings()); });
        driver_ = std::make_unique<DialogDriver>(std::move(steps));
        driver_->onSentMessage = watchSentMessages;
        std::optional<KeyboardSettings> edited = showOptionsDialog(owner, members, keySets);
        if (edited) members = *edited;
        EXPECT_TRUE(driver_->finished()) << "the dialog closed before the script ended";
        driver_.reset();
        return edited.has_value();
    }

    HWND settings() const { return driver_ ? driver_->dialog(L"Settings") : nullptr; }
    HWND item(int id) const { return ::GetDlgItem(settings(), id); }
    HWND latestDialog() const { return driver_ ? driver_->latestDialog() : nullptr; }
    // The colour chooser, once it is on screen.
    HWND colorChooser() const {
        return latestDialog() != settings() && ::IsWindowVisible(latestDialog()) ? latestDialog() : nullptr;
    }
    std::wstring text(int id) const { return windowText(item(id)); }
    bool checked(int id) const { return isChecked(item(id)); }

    static Step check(std::function<void()> body) {
        return [body] { return body(), true; };
    }
    Step click(int id) {
        return [this, id] { return ::SendMessageW(item(id), BM_CLICK, 0, 0), true; };
    }
    Step setText(int id, std::wstring value) {
        return [this, id, value] { return setWindowText(item(id), value), true; };
    }
    Step focus(int id) {
        return [this, id] { return ::SetFocus(item(id)), true; };
    }
    // A key press as the keyboard would deliver it, to the control that has the focus.
    static Step pressKey(UINT virtualKey) {
        return [virtualKey] {
            ::PostMessageW(::GetFocus(), WM_KEYDOWN, virtualKey, 1);
            ::PostMessageW(::GetFocus(), WM_KEYUP, virtualKey, 0xC0000001);
            return true;
        };
    }

    // The background colour the dialog gives a key-map box, asked the way the box itself asks.
    COLORREF fieldBackground(int id) const {
        const UINT message = ::IsWindowEnabled(item(id)) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
        const HDC dc = ::CreateCompatibleDC(nullptr);
        const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
            settings(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(item(id))));
        LOGBRUSH fill{};
        ::GetObjectW(brush, sizeof(fill), &fill);
        EXPECT_EQ(::GetBkColor(dc), fill.lbColor) << "text background and brush differ";
        ::DeleteDC(dc);
        return fill.lbColor;
    }

    KeyboardSettings members;
    KeySets keySets{L"1234567890ß'qwertzuiopü+asdfghjklöä#yxcvbnm,.-<",
                    L"!\"§$%&/()=?`QWERTZUIOPÜ*ASDFGHJKLÖÄ'YXCVBNM;:_>"};
    HWND owner = nullptr;
    // Sees every message sent to a window of the test thread while the dialog runs.
    std::function<void(const CWPSTRUCT&)> watchSentMessages;

private:
    std::unique_ptr<DialogDriver> driver_;
};

}  // namespace tapkeys::test
