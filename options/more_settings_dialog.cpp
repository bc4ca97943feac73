#include "options/more_settings_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "options/extras_form.h"
#include "options/options_ids.h"
#include "win32/base_dialog.h"
#include "win32/dialog_controls.h"

namespace tapkeys {
namespace {

struct NumberBox {
    int edit, upDown;
    const ExtrasRange& range;
    int ExtrasSettings::*value;
    int step;  // one arrow press
};

const NumberBox kNumberBoxes[] = {
    {IDC_TXT_REPEAT_DELAY, IDC_SPN_REPEAT_DELAY, kRepeatDelayRange, &ExtrasSettings::repeatDelay, 50},
    {IDC_TXT_REPEAT_RATE, IDC_SPN_REPEAT_RATE, kRepeatRateRange, &ExtrasSettings::repeatRate, 1},
    {IDC_TXT_DWELL_TIME, IDC_SPN_DWELL_TIME, kDwellTimeRange, &ExtrasSettings::dwellTime, 100},
    {IDC_TXT_SCAN_TIME, IDC_SPN_SCAN_TIME, kScanTimeRange, &ExtrasSettings::scanTime, 100},
    {IDC_TXT_KEYBOARD_SIZE, IDC_SPN_KEYBOARD_SIZE, kKeyboardSizeRange, &ExtrasSettings::keyboardSize, 10},
};

// "SPACE" shows as "Space"; the function keys as they are.
std::wstring shownKeyName(std::wstring_view name) {
    std::wstring shown(name);
    for (std::size_t i = 1; i < shown.size() && shown[0] != L'F'; ++i)
        shown[i] = static_cast<wchar_t>(shown[i] - L'A' + L'a');
    return shown;
}

class MoreSettingsDialog : public BaseDialog<MoreSettingsDialog> {
public:
    MoreSettingsDialog(ExtrasSettings& extras, const AccessAids& aids,
                       const std::function<void()>& forgetLearnedWords)
        : extras_(extras), access_(aids), forgetLearnedWords_(forgetLearnedWords) {}

    bool show(HWND owner) { return runModal(owner, IDD_MORE_SETTINGS) == IDOK; }

private:
    friend class BaseDialog<MoreSettingsDialog>;

    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_INITDIALOG: return onInit(), TRUE;
            case WM_COMMAND: return onCommand(LOWORD(wParam), HIWORD(wParam)), TRUE;
            case WM_NOTIFY: return onNotify(*reinterpret_cast<NMHDR*>(lParam)), FALSE;
            case WM_TIMER: return access_.onTimer(static_cast<UINT_PTR>(wParam));
            case kSwitchPressMessage: return access_.onSwitchPress(), TRUE;
            case WM_DESTROY: return access_.stop(), FALSE;
            default: return FALSE;
        }
    }

    HWND control(int id) const { return ::GetDlgItem(hwnd(), id); }

    void onInit() {
        setChecked(control(IDC_CHK_KEY_FEEDBACK), extras_.keyFeedback);
        setChecked(control(IDC_CHK_FOLLOW_LAYOUT), extras_.followLayout);
        setChecked(control(IDC_CHK_PREDICTION), extras_.prediction);
        setChecked(control(IDC_CHK_LEARN_WORDS), extras_.learnWords);
        ::EnableWindow(control(IDC_CMD_FORGET_WORDS), forgetLearnedWords_ ? TRUE : FALSE);
        for (const NumberBox& box : kNumberBoxes) {
            const HWND upDown = control(box.upDown);
            const int low = box.range.off >= 0 ? box.range.off : box.range.min;
            ::SendMessageW(upDown, UDM_SETRANGE32, static_cast<WPARAM>(low), box.range.max);
            UDACCEL accel{0, static_cast<UINT>(box.step)};
            ::SendMessageW(upDown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
            ::SendMessageW(control(box.edit), EM_LIMITTEXT, 5, 0);
            setWindowText(control(box.edit), std::to_wstring(extras_.*box.value));
        }
        const HWND keys = control(IDC_CBO_SCAN_KEY);
        for (const ScanKeyName& key : kScanKeys) addListEntry(keys, shownKeyName(key.name));
        const auto chosen = std::ranges::find(kScanKeys, extras_.scanKey, &ScanKeyName::virtualKey);
        ::SendMessageW(keys, CB_SETCURSEL,
                       static_cast<WPARAM>(chosen == kScanKeys.end() ? 0 : chosen - kScanKeys.begin()), 0);
        access_.start(hwnd());
    }

    void onCommand(int id, int code) {
        if (id == IDOK) return onOk();
        if (id == IDCANCEL) return void(::EndDialog(hwnd(), IDCANCEL));
        if (id == IDC_CMD_FORGET_WORDS && code == BN_CLICKED && forgetLearnedWords_)
            return forgetLearnedWords_();
        // A box shows the value it stands for as soon as the user leaves it, so OK holds no surprise.
        if (code != EN_KILLFOCUS) return;
        for (const NumberBox& box : kNumberBoxes) {
            if (box.edit == id) normalize(box);
        }
    }

    // An arrow from 0 (off) goes to the minimum and back, never to a value in between.
    void onNotify(NMHDR& header) {
        if (header.code != UDN_DELTAPOS) return;
        auto& change = reinterpret_cast<NMUPDOWN&>(header);
        for (const NumberBox& box : kNumberBoxes) {
            if (static_cast<UINT_PTR>(box.upDown) == header.idFrom)
                change.iDelta = steppedValue(box.range, change.iPos, change.iDelta) - change.iPos;
        }
    }

    int valueOf(const NumberBox& box) const {
        return extrasValueFromText(windowText(control(box.edit)), box.range, extras_.*box.value);
    }

    void normalize(const NumberBox& box) {
        const std::wstring shown = std::to_wstring(valueOf(box));
        if (windowText(control(box.edit)) != shown) setWindowText(control(box.edit), shown);
    }

    void onOk() {
        ExtrasSettings edited = extras_;
        edited.keyFeedback = isChecked(control(IDC_CHK_KEY_FEEDBACK));
        edited.followLayout = isChecked(control(IDC_CHK_FOLLOW_LAYOUT));
        edited.prediction = isChecked(control(IDC_CHK_PREDICTION));
        edited.learnWords = isChecked(control(IDC_CHK_LEARN_WORDS));
        for (const NumberBox& box : kNumberBoxes) edited.*box.value = valueOf(box);
        const auto key = ::SendMessageW(control(IDC_CBO_SCAN_KEY), CB_GETCURSEL, 0, 0);
        if (key >= 0 && key < static_cast<LRESULT>(kScanKeys.size()))
            edited.scanKey = kScanKeys[static_cast<std::size_t>(key)].virtualKey;
        extras_ = edited;
        ::EndDialog(hwnd(), IDOK);
    }

    ExtrasSettings& extras_;
    DialogAccess access_;
    const std::function<void()>& forgetLearnedWords_;
};

}  // namespace

bool showMoreSettingsDialog(HWND owner, ExtrasSettings& extras, const AccessAids& aids,
                            const std::function<void()>& forgetLearnedWords) {
    MoreSettingsDialog dialog(extras, aids, forgetLearnedWords);
    return dialog.show(owner);
}

}  // namespace tapkeys
