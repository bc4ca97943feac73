// The options dialog driven through its real controls under Wine: what it shows, what OK, Cancel, Esc
// and the close box store, the key-map choice, the font group and its list loader, the colour chooser
// and "More...". The end-to-end cases drive the same dialogs inside tapkeys.exe.
#include "options/options_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "options/options_ids.h"
#include "win32/dialog_controls.h"
// After <windows.h>, which they need.
#include <colordlg.h>
#include <commdlg.h>

namespace tapkeys::test {
namespace {

using Step = std::function<bool()>;  // true when done; false runs it again on the next tick

// Runs the dialog with a script of steps played by a thread timer from inside the dialogs' own message
// loops, while a thread-local hook shows a test the messages sent to the thread's windows. Steps must
// not block: anything that opens another modal loop is posted. A script that never ends is stopped by
// the test's time limit.
class OptionsDialogTest : public ::testing::Test {
protected:
    // True when the dialog closed with OK; its members are then the edited ones.
    bool runDialog(std::vector<Step> steps) {
        steps.insert(steps.begin(), [] { return ::IsWindowVisible(settings()) != FALSE; });
        script = std::move(steps);
        next = 0;
        shown.clear();
        const HHOOK hook =
            ::SetWindowsHookExW(WH_CALLWNDPROC, sentMessageHook, nullptr, ::GetCurrentThreadId());
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, tick);
        const std::optional<KeyboardSettings> edited = showOptionsDialog(nullptr, members, keySets);
        ::KillTimer(nullptr, timer);
        ::UnhookWindowsHookEx(hook);
        EXPECT_EQ(next, script.size()) << "the dialog closed before the script ended";
        members = edited.value_or(members);
        return edited.has_value();
    }
    static LRESULT CALLBACK sentMessageHook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && watchSentMessages)
            watchSentMessages(*reinterpret_cast<const CWPSTRUCT*>(lParam));
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        static bool running = false;  // a step that pumps messages must not run the next one inside it
        if (running || next == script.size()) return;
        running = true;
        next += script[next]() ? 1 : 0;
        running = false;
    }
    // The test's dialog with this caption, shown or not (null if there is none).
    static HWND dialog(const wchar_t* caption) { return ::FindWindowW(L"#32770", caption); }
    static HWND settings() { return dialog(L"Settings"); }
    static HWND item(int id) { return ::GetDlgItem(settings(), id); }

    // The dialog as the user sees it: the checked boxes (S safe mode, b i s u the font style, L language
    // file, U user-defined), the face, the size and both key-map boxes, and whether those are editable.
    std::wstring state() const {
        std::wstring s;
        // clang-format off
        constexpr std::pair<int, wchar_t> kChecks[] = {{IDC_CHK_SAFE_MODE, L'S'}, {IDC_CHK_FONT_BOLD, L'b'},
            {IDC_CHK_FONT_ITALIC, L'i'}, {IDC_CHK_FONT_STRIKE, L's'}, {IDC_CHK_FONT_UNDERLINE, L'u'},
            {IDC_OPT_MAP_LANGUAGE_FILE, L'L'}, {IDC_OPT_MAP_USER, L'U'}};
        // clang-format on
        for (const auto& [id, letter] : kChecks) s += isChecked(item(id)) ? std::wstring(1, letter) : L"";
        for (const int id :
             {IDC_CBO_FONTFACE, IDC_CBO_FONTSIZE, IDC_TXT_USERKEYMAP_LC, IDC_TXT_USERKEYMAP_UC})
            s += L"|" + windowText(item(id));
        const bool editable =
            ::IsWindowEnabled(item(IDC_TXT_USERKEYMAP_LC)) && ::IsWindowEnabled(item(IDC_TXT_USERKEYMAP_UC));
        return s + (editable ? L"|editable" : L"|inactive");
    }
    Step snapshot() {
        return [this] { return shown.push_back(state()), true; };
    }
    // In the dialog with this caption, once it has that control; posted where the click opens another
    // modal loop. Typing focuses the control first, as the user typing into it would.
    static Step click(int id, bool posted = false, const wchar_t* in = L"Settings") {
        return [=] {
            const HWND control = ::GetDlgItem(dialog(in), id);
            return control && (posted ? ::PostMessageW(control, BM_CLICK, 0, 0)
                                      : (::SendMessageW(control, BM_CLICK, 0, 0), true));
        };
    }
    static Step type(int id, std::wstring value, const wchar_t* in = L"Settings") {
        return [=] {
            const HWND control = ::GetDlgItem(dialog(in), id);
            return control && (::SetFocus(control), setWindowText(control, value), true);
        };
    }
    // A key press as the keyboard would deliver it, to the control that has the focus.
    static Step press(UINT virtualKey) {
        return [virtualKey] {
            ::PostMessageW(::GetFocus(), WM_KEYDOWN, virtualKey, 1);
            return ::PostMessageW(::GetFocus(), WM_KEYUP, virtualKey, 0xC0000001), true;
        };
    }
    Step until(int checkedId) {
        return [this, checkedId] { return isChecked(item(checkedId)); };
    }

    void TearDown() override { watchSentMessages = nullptr; }

    KeyboardSettings members{false, L"Liberation Sans", L"", 14, 0x00336699, L"user", L"lc", L"UC", {}};
    KeySets keySets{L"qwertz\u00FC", L"QWERTZ\u00DC"};
    inline static std::function<void(const CWPSTRUCT&)> watchSentMessages;  // while the dialog runs
    inline static std::vector<Step> script;
    inline static size_t next = 0;
    std::vector<std::wstring> shown;
};

// One session: the language file shows the user sets in inactive boxes; choosing user-defined, by arrow
// key as by click, makes them editable and fills an empty one with the set on the keys; a box emptied by
// hand is stored empty; the size text is normalised when the box loses the focus; the style boxes store
// "bisu". A key map in capitals opens as user-defined and stores "user"; Enter in the size box stores by
// the rule that OK uses.
TEST_F(OptionsDialogTest, ShowsTheMembersAndStoresWhatWasEdited) {
    members = {true, L"Face", L"bu", 14, 0x00336699, L"ini", L"", L"UC", {}};
    EXPECT_TRUE(runDialog({snapshot(), press(VK_DOWN), until(IDC_OPT_MAP_USER), snapshot(), press(VK_UP),
                           until(IDC_OPT_MAP_LANGUAGE_FILE), snapshot(), click(IDC_OPT_MAP_USER),
                           type(IDC_TXT_USERKEYMAP_UC, L""), click(IDC_CHK_FONT_ITALIC),
                           click(IDC_CHK_FONT_STRIKE), type(IDC_CBO_FONTSIZE, L"1 2.5"),
                           type(IDC_CBO_FONTFACE, L"No Face"), snapshot(), click(IDOK)}));
    EXPECT_EQ(shown, (std::vector<std::wstring>{
                         L"SbuL|Face|14pt||UC|inactive", L"SbuU|Face|14pt|qwertz\u00FC|UC|editable",
                         L"SbuL|Face|14pt|qwertz\u00FC|UC|inactive",
                         L"SbisuU|No Face|12" + userDecimalSeparator() + L"5pt|qwertz\u00FC||editable"}));
    EXPECT_EQ(members, (KeyboardSettings{
                           true, L"No Face", L"bisu", 12, 0x00336699, L"user", L"qwertz\u00FC", L"", {}}));
    members = {false, L"Face", L"BU", 14, 0, L"INI", L"lc", L"UC", {}};
    EXPECT_TRUE(runDialog({snapshot(), type(IDC_CBO_FONTSIZE, L"12.5"), press(VK_RETURN)}));
    EXPECT_EQ(shown, std::vector<std::wstring>{L"U|Face|14pt|lc|UC|editable"});
    EXPECT_EQ(members, (KeyboardSettings{false, L"Face", L"", 12, 0, L"user", L"lc", L"UC", {}}));
}

// Esc and the close box (like the Cancel button, an end-to-end case) leave every member as it was, after
// every field has changed.
TEST_F(OptionsDialogTest, EscapeAndTheCloseBoxLeaveEveryMemberAsItWas) {
    members.keyMap = L"ini";
    const KeyboardSettings before = members;
    const Step closeBox = [] { return ::PostMessageW(settings(), WM_SYSCOMMAND, SC_CLOSE, 0), true; };
    for (const Step& close : {press(VK_ESCAPE), closeBox}) {
        EXPECT_FALSE(runDialog({click(IDC_CHK_SAFE_MODE), type(IDC_CBO_FONTFACE, L"Other"),
                                click(IDC_CHK_FONT_BOLD), click(IDC_OPT_MAP_USER),
                                type(IDC_TXT_USERKEYMAP_LC, L"x"), type(IDC_CBO_FONTSIZE, L"30"), close}));
        EXPECT_EQ(members, before);
    }
}

// The chooser runs its own modal loop, so the click that opens it is posted and the steps between run
// inside that loop. It opens on the current colour with the custom colours the last one left, and until
// it is gone (not just hidden) its colour is not taken: Cancel keeps the colour, a choice takes it (OK
// without a choice is an end-to-end case).
TEST_F(OptionsDialogTest, ColourChooserOpensOnTheColourAndStoresWhatItReturns) {
    watchSentMessages = [this](const CWPSTRUCT& message) {
        if (message.message != WM_INITDIALOG || message.hwnd == settings()) return;
        auto& request = *reinterpret_cast<CHOOSECOLORA*>(message.lParam);
        shown.push_back(((request.Flags & CC_RGBINIT) ? L"on " : L"off ") +
                        std::to_wstring(request.rgbResult) + L" " + std::to_wstring(request.lpCustColors[5]));
        request.lpCustColors[5] = 0x00FFFFFF;  // as a user's custom colour would
    };
    const wchar_t* in = L"Color";
    const Step open = click(IDC_CMD_COLOR, true),
               opened = [] { return ::IsWindowVisible(dialog(L"Color")) != FALSE; },
               gone = [] { return dialog(L"Color") == nullptr; };
    EXPECT_TRUE(runDialog({open, opened, click(IDCANCEL, true, in), gone, open, opened,
                           type(COLOR_RED, L"16", in), type(COLOR_GREEN, L"32", in),
                           type(COLOR_BLUE, L"48", in), click(IDOK, true, in), gone, click(IDOK)}));
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"on 3368601 0", L"on 3368601 16777215"}));
    EXPECT_EQ(members.fontColor, 0x00302010);
}

// OK or Cancel pressed while the loader waits for the next face: it stops with the dialog and adds
// nothing more.
TEST_F(OptionsDialogTest, TheFontLoaderStopsWithTheDialog) {
    for (const int button : {IDOK, IDCANCEL}) {
        int facesAdded = 0, facesAddedAfterClosing = 0;
        bool closing = false;
        watchSentMessages = [&](const CWPSTRUCT& message) {
            closing |= message.message == WM_COMMAND && message.hwnd == settings() &&
                       LOWORD(message.wParam) == button;
            if (message.message != CB_ADDSTRING || message.hwnd != item(IDC_CBO_FONTFACE)) return;
            facesAddedAfterClosing += closing ? 1 : 0;
            if (++facesAdded == 1) ::PostMessageW(item(button), BM_CLICK, 0, 0);
        };
        EXPECT_EQ(runDialog({}), button == IDOK);
        EXPECT_TRUE(closing);
        EXPECT_EQ(facesAdded - facesAddedAfterClosing, 1) << button;
    }
}

// "More..." edits the extras and its OK hands them to the Settings dialog, whose OK stores them (the
// end-to-end case stores the values but leaves follow-layout alone).
TEST_F(OptionsDialogTest, MoreSettingsAreStoredByTheSettingsOk) {
    const wchar_t* more = L"More settings";
    EXPECT_TRUE(runDialog({click(IDC_CMD_MORE, true), click(IDC_CHK_KEY_FEEDBACK, true, more),
                           click(IDC_CHK_FOLLOW_LAYOUT, true, more), type(IDC_TXT_REPEAT_DELAY, L"100", more),
                           type(IDC_TXT_REPEAT_RATE, L"45", more), type(IDC_TXT_DWELL_TIME, L"750", more),
                           click(IDOK, true, more), [] { return dialog(L"More settings") == nullptr; },
                           click(IDOK)}));
    EXPECT_EQ(members.extras, (ExtrasSettings{false, 250, 30, 750, true}));
}

}  // namespace
}  // namespace tapkeys::test
