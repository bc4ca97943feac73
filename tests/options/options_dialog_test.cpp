// The options dialog driven through its real controls under Wine: what it shows, what OK and Cancel
// store, the key-map choice, the font group and its list loader, the colour chooser, and its frame.
#include "options/options_dialog.h"

#include <memory>

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
        driver_ = std::make_unique<DialogDriver>(std::move(steps));
        driver_->onSentMessage = watchSentMessages;
        const bool accepted = showOptionsDialog(owner, members, keySets);
        EXPECT_TRUE(driver_->finished()) << "the dialog closed before the script ended";
        driver_.reset();
        return accepted;
    }

    HWND settings() const { return driver_ ? driver_->dialog(L"Settings") : nullptr; }
    HWND item(int id) const { return ::GetDlgItem(settings(), id); }
    HWND colorChooser() const {  // once it is on screen
        const HWND latest = driver_->latestDialog();
        return latest != settings() && ::IsWindowVisible(latest) ? latest : nullptr;
    }
    std::wstring text(int id) const { return windowText(item(id)); }
    bool checked(int id) const { return isChecked(item(id)); }

    static Step check(std::function<void()> body) {
        return [body] { return body(), true; };
    }
    Step click(int id, bool posted = false) {
        return [this, id, posted] {
            return (posted ? ::PostMessageW : ::SendMessageW)(item(id), BM_CLICK, 0, 0), true;
        };
    }
    Step setText(int id, std::wstring value) {
        return [this, id, value] { return ::SetFocus(item(id)), setWindowText(item(id), value), true; };
    }
    // A key press as the keyboard would deliver it, to the control that has the focus.
    static Step pressKey(UINT virtualKey) {
        return [virtualKey] {
            ::PostMessageW(::GetFocus(), WM_KEYDOWN, virtualKey, 1);
            ::PostMessageW(::GetFocus(), WM_KEYUP, virtualKey, 0xC0000001);
            return true;
        };
    }

    KeyboardSettings members{false,
                             L"Liberation Sans",
                             L"",
                             14,
                             0x00336699,
                             L"user",
                             L"`1234567890-=qwertyuiop[]asdfghjkl;'zxcvbnm,./\\",
                             L"~!@#$%^&*()_+QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>?|"};
    KeySets keySets{L"1234567890ß'qwertzuiopü+asdfghjklöä#yxcvbnm,.-<",
                    L"!\"§$%&/()=?`QWERTZUIOPÜ*ASDFGHJKLÖÄ'YXCVBNM;:_>"};
    HWND owner = nullptr;
    std::function<void(const CWPSTRUCT&)> watchSentMessages;  // while the dialog runs
    std::unique_ptr<DialogDriver> driver_;
};

// Style letters in capitals check nothing, and all four boxes store "bisu"; a key map in capitals opens
// as user-defined and stores "user"; a face is stored as typed.
TEST_F(OptionsDialogTest, ShowsTheMembersAndOkStoresThemUnchangedOrAsEdited) {
    members.useSafeMode = true;
    members.fontStyle = L"bu";
    const KeyboardSettings before = members;
    EXPECT_TRUE(runDialog(
        {check([&] {
             EXPECT_EQ(text(IDC_CBO_FONTFACE) + L"|" + text(IDC_CBO_FONTSIZE) + L"|" +
                           text(IDC_TXT_USERKEYMAP_LC) + L"|" + text(IDC_TXT_USERKEYMAP_UC),
                       before.fontFace + L"|14pt|" + before.keyMapUserLC + L"|" + before.keyMapUserUC);
             for (const int id :
                  {IDC_CHK_SAFE_MODE, IDC_CHK_FONT_BOLD, IDC_CHK_FONT_ITALIC, IDC_CHK_FONT_STRIKE,
                   IDC_CHK_FONT_UNDERLINE, IDC_OPT_MAP_USER, IDC_OPT_MAP_LANGUAGE_FILE})
                 EXPECT_EQ(checked(id), id != IDC_CHK_FONT_ITALIC && id != IDC_CHK_FONT_STRIKE &&
                                            id != IDC_OPT_MAP_LANGUAGE_FILE)
                     << id;
         }),
         click(IDOK)}));
    EXPECT_EQ(members, before);
    members.fontStyle = L"BU";
    members.keyMap = L"INI";
    EXPECT_TRUE(runDialog(
        {check([this] {
             for (const int id : {IDC_CHK_FONT_BOLD, IDC_CHK_FONT_UNDERLINE, IDC_OPT_MAP_LANGUAGE_FILE})
                 EXPECT_FALSE(checked(id)) << id;
         }),
         click(IDC_CHK_FONT_UNDERLINE), click(IDC_CHK_FONT_STRIKE), click(IDC_CHK_FONT_ITALIC),
         click(IDC_CHK_FONT_BOLD), setText(IDC_CBO_FONTFACE, L"No Such Face 12"), click(IDOK)}));
    EXPECT_EQ(members.fontStyle, L"bisu");
    EXPECT_EQ(members.keyMap, L"user");
    EXPECT_EQ(members.fontFace, L"No Such Face 12");
}

// The language file shows the user sets in inactive boxes; choosing user-defined, by arrow key as by
// click, makes them editable and fills an empty one with the set on the keys. A box cleared by hand is
// stored empty; the boxes take at most 47 typed characters.
TEST_F(OptionsDialogTest, ChoosingUserDefinedEnablesTheBoxesAndFillsOnlyEmptyOnes) {
    members.keyMap = L"ini";
    members.keyMapUserLC.clear();
    members.keyMapUserUC = L"kept";
    const auto boxesAre = [this](bool enabled, const std::wstring& normal) {
        for (const int id : {IDC_TXT_USERKEYMAP_LC, IDC_TXT_USERKEYMAP_UC}) {
            EXPECT_EQ(::IsWindowEnabled(item(id)) != FALSE, enabled);
            // The background the dialog gives the box, asked the way the box itself asks.
            const HDC dc = ::CreateCompatibleDC(nullptr);
            LOGBRUSH fill{};
            ::GetObjectW(reinterpret_cast<HBRUSH>(::SendMessageW(
                             settings(), enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                             reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(item(id)))),
                         sizeof(fill), &fill);
            EXPECT_EQ(fill.lbColor, ::GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
            EXPECT_EQ(::GetBkColor(dc), fill.lbColor) << "text background and brush differ";
            ::DeleteDC(dc);
        }
        EXPECT_EQ(text(IDC_TXT_USERKEYMAP_LC) + L"|" + text(IDC_TXT_USERKEYMAP_UC), normal + L"|kept");
    };
    EXPECT_TRUE(
        runDialog({check([&] {
                       EXPECT_EQ(::GetFocus(), item(IDC_OPT_MAP_LANGUAGE_FILE));
                       boxesAre(false, L"");
                   }),
                   pressKey(VK_DOWN), [this] { return checked(IDC_OPT_MAP_USER); },
                   check([&] { boxesAre(true, keySets.normal); }), pressKey(VK_UP),
                   [this] { return checked(IDC_OPT_MAP_LANGUAGE_FILE); },
                   check([&] { boxesAre(false, keySets.normal); }), click(IDC_OPT_MAP_USER), click(IDOK)}));
    EXPECT_EQ(members.keyMap + L"|" + members.keyMapUserLC + L"|" + members.keyMapUserUC,
              L"user|" + keySets.normal + L"|kept");
    EXPECT_TRUE(runDialog({setText(IDC_TXT_USERKEYMAP_LC, L""), check([this] {
                               for (int i = 0; i < 60; ++i)
                                   ::SendMessageW(item(IDC_TXT_USERKEYMAP_UC), WM_CHAR, L'a', 1);
                           }),
                           click(IDOK)}));
    EXPECT_EQ(members.keyMapUserLC, L"");
    EXPECT_EQ(members.keyMapUserUC, L"kept" + std::wstring(43, L'a'));
}

// Cancel, Esc and the close box each leave every member as it was, after every field has changed.
class CancelTest : public OptionsDialogTest, public ::testing::WithParamInterface<int> {};

TEST_P(CancelTest, LeavesEveryMemberAsItWas) {
    members.keyMap = L"ini";
    const KeyboardSettings before = members;
    const Step close = GetParam() == 0 ? click(IDCANCEL)
                       : GetParam() == 1
                           ? pressKey(VK_ESCAPE)
                           : [this] { return ::PostMessageW(settings(), WM_SYSCOMMAND, SC_CLOSE, 0), true; };
    EXPECT_FALSE(runDialog(
        {click(IDC_CHK_SAFE_MODE), setText(IDC_CBO_FONTFACE, L"Other Face"), click(IDC_CHK_FONT_BOLD),
         click(IDC_CHK_FONT_ITALIC), click(IDC_CHK_FONT_STRIKE), click(IDC_CHK_FONT_UNDERLINE),
         click(IDC_OPT_MAP_USER), setText(IDC_TXT_USERKEYMAP_LC, L"changed"),
         setText(IDC_TXT_USERKEYMAP_UC, L"CHANGED"), setText(IDC_CBO_FONTSIZE, L"30"), close}));
    EXPECT_EQ(members, before);
}

INSTANTIATE_TEST_SUITE_P(CancelButtonEscapeAndCloseBox, CancelTest, ::testing::Values(0, 1, 2));

// The text is normalised when the box loses the focus, and OK or Enter store it by the one rule.
TEST_F(OptionsDialogTest, SizeTextIsNormalisedOnLeavingTheBoxAndStoredByOneRuleOnOkOrEnter) {
    const std::wstring separator = userDecimalSeparator();
    EXPECT_TRUE(runDialog({setText(IDC_CBO_FONTSIZE, L"300"), setText(IDC_CBO_FONTFACE, L"Arial"),
                           check([this] { EXPECT_EQ(text(IDC_CBO_FONTSIZE), L"8pt"); }),
                           setText(IDC_CBO_FONTSIZE, L"1 2.5"), setText(IDC_CBO_FONTFACE, L"Arial"),
                           check([&] { EXPECT_EQ(text(IDC_CBO_FONTSIZE), L"12" + separator + L"5pt"); }),
                           click(IDOK)}));
    EXPECT_EQ(members.fontSze, 12);
    for (const auto& [typed, stored] : {std::pair{L"13.5", 14}, {L"256", 8}}) {
        EXPECT_TRUE(runDialog({setText(IDC_CBO_FONTSIZE, typed), pressKey(VK_RETURN)}));
        EXPECT_EQ(members.fontSze, stored) << typed;
    }
}

// The chooser runs its own modal loop, so the click that opens it is posted and the steps between run
// inside that loop. Cancel keeps the colour, OK without a choice stores black.
TEST_F(OptionsDialogTest, ColourButtonShowsTheColourAndTheChooserStoresWhatItReturns) {
    const auto inChooser = [this](int id, const wchar_t* value) -> Step {
        return [this, id, value] { return ::SetDlgItemTextW(colorChooser(), id, value), true; };
    };
    const auto button = [this](int id) -> Step {
        return [this, id] { return ::PostMessageW(::GetDlgItem(colorChooser(), id), BM_CLICK, 0, 0), true; };
    };
    const std::pair<std::vector<Step>, std::int32_t> choices[] = {
        {{button(IDCANCEL)}, 0x00336699},
        {{button(IDOK)}, 0},
        {{inChooser(COLOR_RED, L"16"), inChooser(COLOR_GREEN, L"32"), inChooser(COLOR_BLUE, L"48"),
          button(IDOK)},
         0x00302010}};
    for (const auto& [inside, stored] : choices) {
        std::vector<Step> steps{check([this] {
                                    const HWND button = item(IDC_CMD_COLOR);
                                    ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                                    RECT face{};
                                    ::GetClientRect(button, &face);
                                    const HDC dc = ::GetDC(button);
                                    EXPECT_EQ(::GetPixel(dc, face.right / 2, face.bottom / 2), 0x00336699u);
                                    ::ReleaseDC(button, dc);
                                }),
                                click(IDC_CMD_COLOR, true), [this] { return colorChooser() != nullptr; }};
        steps.insert(steps.end(), inside.begin(), inside.end());
        // Gone, not just hidden: until its modal loop has returned, the colour is not taken.
        steps.insert(steps.end(), {[this] { return !::IsWindow(driver_->latestDialog()); }, click(IDOK)});
        members.fontColor = 0x00336699;
        EXPECT_TRUE(runDialog(steps));
        EXPECT_EQ(members.fontColor, stored);
    }
}

// A fresh request each time, with black custom colours whatever the last call's dialog did to them.
TEST(ShowColorDlg, StartsEveryCallWithBlackCustomColoursAndNoPreselection) {
    for (const bool extended : {false, true}) {
        const CHOOSECOLORW* request = nullptr;
        DialogDriver driver({[&] { return request != nullptr && ::IsWindowVisible(driver.latestDialog()); },
                             [&] {
                                 EXPECT_EQ(request->Flags & (CC_RGBINIT | CC_SOLIDCOLOR | CC_FULLOPEN),
                                           static_cast<DWORD>(CC_SOLIDCOLOR | (extended ? CC_FULLOPEN : 0)));
                                 for (int i = 0; i < 16; ++i) EXPECT_EQ(request->lpCustColors[i], 0u) << i;
                                 request->lpCustColors[5] = 0x00FFFFFF;  // as a user's custom colour would
                                 return ::PostMessageW(driver.latestDialog(), WM_COMMAND, IDCANCEL, 0), true;
                             }});
        driver.onSentMessage = [&](const CWPSTRUCT& message) {
            if (message.message == WM_INITDIALOG && message.hwnd == driver.latestDialog())
                request = reinterpret_cast<const CHOOSECOLORW*>(message.lParam);
        };
        EXPECT_EQ(ShowColorDlg(nullptr, extended), -1);
        EXPECT_TRUE(driver.finished());
    }
}

// The screen's families as the older enumeration reports them: one entry per family.
std::vector<std::wstring> familiesOfTheScreen() {
    std::vector<std::wstring> families;
    const HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesW(
        screen, nullptr,
        [](const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM list) {
            return reinterpret_cast<std::vector<std::wstring>*>(list)->emplace_back(font->lfFaceName), 1;
        },
        reinterpret_cast<LPARAM>(&families));
    ::ReleaseDC(nullptr, screen);
    return families;
}

// Each family once (not once per character set), sorted; the texts stay as they were.
TEST_F(OptionsDialogTest, ListLoaderFillsTheFaceListAndLeavesTheTexts) {
    members.fontFace = L"No Such Face";
    size_t stableTicks = 0;
    LRESULT lastCount = -1;
    EXPECT_TRUE(runDialog(
        {[&] {  // loaded once the face count has not moved for a while
             const LRESULT count = ::SendMessageW(item(IDC_CBO_FONTFACE), CB_GETCOUNT, 0, 0);
             stableTicks = count > 0 && count == std::exchange(lastCount, count) ? stableTicks + 1 : 0;
             return stableTicks >= 20;
         },
         check([this] {
             EXPECT_EQ(text(IDC_CBO_FONTSIZE) + L"|" + text(IDC_CBO_FONTFACE), L"14pt|No Such Face");
             std::vector<std::wstring> faces(
                 static_cast<size_t>(::SendMessageW(item(IDC_CBO_FONTFACE), CB_GETCOUNT, 0, 0)));
             for (size_t i = 0; i < faces.size(); ++i) {
                 faces[i].resize(
                     static_cast<size_t>(::SendMessageW(item(IDC_CBO_FONTFACE), CB_GETLBTEXTLEN, i, 0)));
                 ::SendMessageW(item(IDC_CBO_FONTFACE), CB_GETLBTEXT, i,
                                reinterpret_cast<LPARAM>(faces[i].data()));
                 if (i > 0) EXPECT_LT(::lstrcmpiW(faces[i - 1].c_str(), faces[i].c_str()), 0) << i;
             }
             for (const auto& family : familiesOfTheScreen())
                 EXPECT_EQ(std::count(faces.begin(), faces.end(), family), 1) << family.c_str();
         }),
         click(IDOK)}));
    EXPECT_EQ(members.fontFace, L"No Such Face");
}

// OK or Cancel pressed while the loader waits for the next face: it stops with the dialog and adds
// nothing more.
class StopWhileLoadingTest : public OptionsDialogTest, public ::testing::WithParamInterface<int> {};

TEST_P(StopWhileLoadingTest, TheLoaderStopsWithTheDialog) {
    ASSERT_GT(familiesOfTheScreen().size(), 1u) << "needs at least two screen fonts";
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
    EXPECT_EQ(facesAdded, 1);
    EXPECT_EQ(facesAddedAfterClosing, 0);
}

INSTANTIATE_TEST_SUITE_P(OkAndCancel, StopWhileLoadingTest, ::testing::Values(IDOK, IDCANCEL));

// A fixed tool window of the layout's size centred on the screen, in Arial at 9.75 pt with the key-map
// boxes in Courier New.
TEST_F(OptionsDialogTest, IsAFixedToolWindowOfTheLayoutsSizeCentredOnTheScreen) {
    owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                              nullptr, nullptr);
    const auto fontOf = [](HWND window) {
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
        return std::wstring(font.lfFaceName) + L" " + std::to_wstring(font.lfHeight);
    };
    EXPECT_FALSE(runDialog(
        {check([&] {
             const HWND dialog = settings();
             EXPECT_EQ(::GetWindow(dialog, GW_OWNER), owner);
             EXPECT_EQ(::GetWindowLongPtrW(dialog, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW),
                       WS_EX_TOOLWINDOW);
             EXPECT_EQ(::GetWindowLongPtrW(dialog, GWL_STYLE) &
                           (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
                       WS_CAPTION | WS_SYSMENU);
             RECT client{}, frame{}, work{};
             ::GetClientRect(dialog, &client);
             ::GetWindowRect(dialog, &frame);
             ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
             EXPECT_NEAR(client.right, 7245 / 15, 1);
             EXPECT_NEAR(client.bottom, 4335 / 15, 1);
             EXPECT_NEAR(frame.left + frame.right, work.left + work.right, 2);
             EXPECT_NEAR(frame.top + frame.bottom, work.top + work.bottom, 2);
             EXPECT_EQ(fontOf(dialog) + L"|" + fontOf(item(IDC_CHK_FONT_BOLD)) + L"|" +
                           fontOf(item(IDC_TXT_USERKEYMAP_UC)),
                       L"Arial -13|Arial -13|Courier New -13");
         }),
         click(IDCANCEL)}));
    ::DestroyWindow(owner);
}

}  // namespace
}  // namespace tapkeys::test
