// The options dialog driven through its real controls under Wine: what it shows, what OK and Cancel
// store, the key-map choice, the font group and its list loader, and the colour chooser.
#include "options/options_dialog.h"

#include <memory>
#include <optional>

#include "dialog_driver.h"
#include "options/options_ids.h"
// After <windows.h>, which they need.
#include <colordlg.h>
#include <commdlg.h>

namespace tapkeys::test {
namespace {

using Step = DialogDriver::Step;

class OptionsDialogTest : public ::testing::Test {
protected:
    // Shows the dialog over owner; the steps run once it is on screen. True when it closed with OK.
    bool runDialog(std::vector<Step> steps) {
        steps.insert(steps.begin(),
                     [this] { return settings() != nullptr && ::IsWindowVisible(settings()); });
        driver.reset();  // before the next one: a driver leaves no hooks behind
        driver = std::make_unique<DialogDriver>(std::move(steps));
        driver->onSentMessage = watchSentMessages;
        shown.clear();
        const std::optional<KeyboardSettings> edited = showOptionsDialog(owner, members, keySets);
        EXPECT_TRUE(driver->finished()) << "the dialog closed before the script ended";
        members = edited.value_or(members);
        return edited.has_value();
    }
    HWND settings() const { return driver ? driver->dialog(L"Settings") : nullptr; }
    HWND item(int id) const { return ::GetDlgItem(settings(), id); }
    HWND colorChooser() const {  // once it is on screen
        const HWND latest = driver->latestDialog();
        return latest != settings() && ::IsWindowVisible(latest) ? latest : nullptr;
    }

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
             {IDC_CBO_FONTFACE, IDC_CBO_FONTSIZE, IDC_TXT_USERKEYMAP_LC, IDC_TXT_USERKEYMAP_UC}) {
            s += L"|" + windowText(item(id));
        }
        return s + (::IsWindowEnabled(item(IDC_TXT_USERKEYMAP_LC)) &&
                            ::IsWindowEnabled(item(IDC_TXT_USERKEYMAP_UC))
                        ? L"|editable"
                        : L"|inactive");
    }
    Step snapshot() {
        return [this] { return shown.push_back(state()), true; };
    }
    Step click(int id, bool posted = false) {
        return [this, id, posted] {
            return posted ? ::PostMessageW(item(id), BM_CLICK, 0, 0)
                          : ::SendMessageW(item(id), BM_CLICK, 0, 0),
                   true;
        };
    }
    // Focuses the control first, as the user typing into it would.
    Step type(int id, std::wstring value) {
        return [this, id, value] { return ::SetFocus(item(id)), setWindowText(item(id), value), true; };
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

    KeyboardSettings members{false, L"Liberation Sans", L"", 14, 0x00336699, L"user", L"lc", L"UC", {}};
    KeySets keySets{L"qwertz\u00FC", L"QWERTZ\u00DC"};
    HWND owner = nullptr;
    std::function<void(const CWPSTRUCT&)> watchSentMessages;  // while the dialog runs
    std::unique_ptr<DialogDriver> driver;
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

// Cancel, Esc and the close box each leave every member as it was, after every field has changed.
class CancelTest : public OptionsDialogTest, public ::testing::WithParamInterface<int> {};

TEST_P(CancelTest, LeavesEveryMemberAsItWas) {
    members.keyMap = L"ini";
    const KeyboardSettings before = members;
    const Step close = GetParam() == 0 ? click(IDCANCEL)
                       : GetParam() == 1
                           ? press(VK_ESCAPE)
                           : [this] { return ::PostMessageW(settings(), WM_SYSCOMMAND, SC_CLOSE, 0), true; };
    EXPECT_FALSE(
        runDialog({click(IDC_CHK_SAFE_MODE), type(IDC_CBO_FONTFACE, L"Other"), click(IDC_CHK_FONT_BOLD),
                   click(IDC_CHK_FONT_ITALIC), click(IDC_CHK_FONT_STRIKE), click(IDC_CHK_FONT_UNDERLINE),
                   click(IDC_OPT_MAP_USER), type(IDC_TXT_USERKEYMAP_LC, L"x"),
                   type(IDC_TXT_USERKEYMAP_UC, L"X"), type(IDC_CBO_FONTSIZE, L"30"), close}));
    EXPECT_EQ(members, before);
}

INSTANTIATE_TEST_SUITE_P(CancelButtonEscapeAndCloseBox, CancelTest, ::testing::Values(0, 1, 2));

// The chooser runs its own modal loop, so the click that opens it is posted and the steps between run
// inside that loop; it opens on the current colour with the custom colours the last one left, and until
// it is gone (not just hidden) its colour is not taken. Cancel keeps the colour, and so does OK without a
// choice; a choice takes it.
TEST_F(OptionsDialogTest, ColourChooserStoresWhatItReturns) {
    CHOOSECOLORA* request = nullptr;
    watchSentMessages = [&](const CWPSTRUCT& message) {
        if (message.message == WM_INITDIALOG && message.hwnd != settings())
            request = reinterpret_cast<CHOOSECOLORA*>(message.lParam);
    };
    const auto inChooser = [this](int id, const wchar_t* value) -> Step {
        return [this, id, value] { return ::SetDlgItemTextW(colorChooser(), id, value), true; };
    };
    const auto button = [this](int id) -> Step {
        return [this, id] { return ::PostMessageW(::GetDlgItem(colorChooser(), id), BM_CLICK, 0, 0), true; };
    };
    const Step opened = [&] {
        shown.push_back(((request->Flags & CC_RGBINIT) ? L"on " : L"off ") +
                        std::to_wstring(request->rgbResult) + L" " +
                        std::to_wstring(request->lpCustColors[5]));
        return request->lpCustColors[5] = 0x00FFFFFF, true;  // as a user's custom colour would
    };
    bool first = true;
    for (const auto& [inside, stored] : std::initializer_list<std::pair<std::vector<Step>, std::int32_t>>{
             {{button(IDCANCEL)}, 0x00336699},
             {{inChooser(COLOR_RED, L"16"), inChooser(COLOR_GREEN, L"32"), inChooser(COLOR_BLUE, L"48"),
               button(IDOK)},
              0x00302010},
             {{button(IDOK)}, 0x00336699}}) {
        std::vector<Step> steps{click(IDC_CMD_COLOR, true), [this] { return colorChooser() != nullptr; },
                                opened};
        steps.insert(steps.end(), inside.begin(), inside.end());
        steps.insert(steps.end(), {[this] { return !::IsWindow(driver->latestDialog()); }, click(IDOK)});
        members.fontColor = 0x00336699;
        EXPECT_TRUE(runDialog(steps));
        EXPECT_EQ(shown, std::vector<std::wstring>{L"on " + std::to_wstring(0x00336699) +
                                                   (first ? L" 0" : L" 16777215")});
        EXPECT_EQ(members.fontColor, stored);
        first = false;
    }
}

// OK or Cancel pressed while the loader waits for the next face: it stops with the dialog and adds
// nothing more.
class StopWhileLoadingTest : public OptionsDialogTest, public ::testing::WithParamInterface<int> {};

TEST_P(StopWhileLoadingTest, TheLoaderStopsWithTheDialog) {
    int facesAdded = 0, facesAddedAfterClosing = 0;
    bool closing = false;
    watchSentMessages = [&](const CWPSTRUCT& message) {
        closing |= message.message == WM_COMMAND && message.hwnd == settings() &&
                   LOWORD(message.wParam) == GetParam();
        if (message.message != CB_ADDSTRING || message.hwnd != item(IDC_CBO_FONTFACE)) return;
        facesAddedAfterClosing += closing ? 1 : 0;
        if (++facesAdded == 1) ::PostMessageW(item(GetParam()), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(runDialog({}), GetParam() == IDOK);
    EXPECT_TRUE(closing);
    EXPECT_EQ(facesAdded - facesAddedAfterClosing, 1);
}

INSTANTIATE_TEST_SUITE_P(OkAndCancel, StopWhileLoadingTest, ::testing::Values(IDOK, IDCANCEL));

}  // namespace
}  // namespace tapkeys::test
