// The options dialog driven through its real controls: what it shows, what OK and Cancel store, the
// key-map choice, the font group and its list loader, the colour chooser, and the dialog's layout.
#include "options_dialog_fixture.h"
// After <windows.h>, which they need.
#include <colordlg.h>
#include <commdlg.h>

#include <algorithm>

namespace tapkeys::test {
namespace {

TEST_F(OptionsDialogTest, ShowsTheMembersAndOkStoresThemUnchangedOrAsEdited) {
    members.useSafeMode = true;
    members.fontStyle = L"bu";
    const KeyboardSettings before = members;
    EXPECT_TRUE(runDialog(
        {check([&] {
             EXPECT_TRUE(checked(IDC_CHK_SAFE_MODE));
             EXPECT_EQ(text(IDC_CBO_FONTFACE), L"Liberation Sans");
             EXPECT_EQ(text(IDC_CBO_FONTSIZE), L"14pt");
             for (const int id : {IDC_CHK_FONT_BOLD, IDC_CHK_FONT_UNDERLINE, IDC_OPT_MAP_USER})
                 EXPECT_TRUE(checked(id)) << id;
             for (const int id : {IDC_CHK_FONT_ITALIC, IDC_CHK_FONT_STRIKE, IDC_OPT_MAP_LANGUAGE_FILE})
                 EXPECT_FALSE(checked(id)) << id;
             EXPECT_EQ(text(IDC_TXT_USERKEYMAP_LC), before.keyMapUserLC);
             EXPECT_EQ(text(IDC_TXT_USERKEYMAP_UC), before.keyMapUserUC);
             EXPECT_TRUE(::IsWindowEnabled(item(IDC_TXT_USERKEYMAP_LC)));
         }),
         click(IDOK)}));
    EXPECT_EQ(members, before);

    // Style letters in capitals check nothing; all four boxes store "bisu"; a face is stored as typed.
    members.fontStyle = L"BU";
    EXPECT_TRUE(
        runDialog({check([this] {
                       for (const int id : {IDC_CHK_FONT_BOLD, IDC_CHK_FONT_ITALIC, IDC_CHK_FONT_STRIKE,
                                            IDC_CHK_FONT_UNDERLINE})
                           EXPECT_FALSE(checked(id)) << id;
                   }),
                   click(IDC_CHK_FONT_UNDERLINE), click(IDC_CHK_FONT_STRIKE), click(IDC_CHK_FONT_ITALIC),
                   click(IDC_CHK_FONT_BOLD), setText(IDC_CBO_FONTFACE, L"No Such Face 12"), click(IDOK)}));
    EXPECT_EQ(members.fontStyle, L"bisu");
    EXPECT_EQ(members.fontFace, L"No Such Face 12");
}

TEST_F(OptionsDialogTest, KeyMapInCapitalsOpensAsUserDefinedAndOkStoresUser) {
    members.keyMap = L"INI";
    EXPECT_TRUE(runDialog({check([this] {
                               EXPECT_TRUE(checked(IDC_OPT_MAP_USER));
                               EXPECT_FALSE(checked(IDC_OPT_MAP_LANGUAGE_FILE));
                           }),
                           click(IDOK)}));
    EXPECT_EQ(members.keyMap, L"user");
}

// The language file shows the user sets in inactive boxes; choosing user-defined, by arrow key as by
// click, makes them editable and fills an empty one with the set on the keys.
TEST_F(OptionsDialogTest, ChoosingUserDefinedEnablesTheBoxesAndFillsOnlyEmptyOnes) {
    members.keyMap = L"ini";
    members.keyMapUserLC.clear();
    members.keyMapUserUC = L"kept";
    const auto boxesAre = [this](bool enabled, const std::wstring& normal) {
        for (const int id : {IDC_TXT_USERKEYMAP_LC, IDC_TXT_USERKEYMAP_UC}) {
            EXPECT_EQ(::IsWindowEnabled(item(id)) != FALSE, enabled);
            EXPECT_EQ(fieldBackground(id), ::GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
        }
        EXPECT_EQ(text(IDC_TXT_USERKEYMAP_LC), normal);
        EXPECT_EQ(text(IDC_TXT_USERKEYMAP_UC), L"kept");
    };
    EXPECT_TRUE(
        runDialog({check([&] {
                       EXPECT_TRUE(checked(IDC_OPT_MAP_LANGUAGE_FILE));
                       EXPECT_EQ(::GetFocus(), item(IDC_OPT_MAP_LANGUAGE_FILE));
                       boxesAre(false, L"");
                   }),
                   pressKey(VK_DOWN), [this] { return checked(IDC_OPT_MAP_USER); },
                   check([&] { boxesAre(true, keySets.normal); }), pressKey(VK_UP),
                   [this] { return checked(IDC_OPT_MAP_LANGUAGE_FILE); },
                   check([&] { boxesAre(false, keySets.normal); }), click(IDC_OPT_MAP_USER), click(IDOK)}));
    EXPECT_EQ(members.keyMap, L"user");
    EXPECT_EQ(members.keyMapUserLC, keySets.normal);
    EXPECT_EQ(members.keyMapUserUC, L"kept");
}

TEST_F(OptionsDialogTest, AClearedBoxIsStoredEmptyUntilAnOptionIsClickedAgain) {
    const std::wstring shifted = members.keyMapUserUC;
    EXPECT_TRUE(runDialog({setText(IDC_TXT_USERKEYMAP_LC, L""), click(IDOK)}));
    EXPECT_EQ(members.keyMapUserLC, L"");
    EXPECT_EQ(members.keyMapUserUC, shifted);
    EXPECT_TRUE(runDialog({check([this] { EXPECT_EQ(text(IDC_TXT_USERKEYMAP_LC), keySets.normal); }),
                           setText(IDC_TXT_USERKEYMAP_LC, L""), click(IDC_OPT_MAP_USER), click(IDOK)}));
    EXPECT_EQ(members.keyMapUserLC, keySets.normal);
}

TEST_F(OptionsDialogTest, KeyMapBoxesTakeAtMost47TypedCharacters) {
    EXPECT_TRUE(runDialog({check([this] {
                               for (const int id : {IDC_TXT_USERKEYMAP_LC, IDC_TXT_USERKEYMAP_UC}) {
                                   setWindowText(item(id), L"");
                                   for (int i = 0; i < 60; ++i)
                                       ::SendMessageW(item(id), WM_CHAR, L'a' + i % 26, 1);
                               }
                           }),
                           click(IDOK)}));
    EXPECT_EQ(members.keyMapUserLC.size(), 47u);
    EXPECT_EQ(members.keyMapUserUC, members.keyMapUserLC);
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
        {click(IDC_CHK_SAFE_MODE), setText(IDC_CBO_FONTFACE, L"Other Face"), setText(IDC_CBO_FONTSIZE, L"30"),
         click(IDC_CHK_FONT_BOLD), click(IDC_CHK_FONT_ITALIC), click(IDC_CHK_FONT_STRIKE),
         click(IDC_CHK_FONT_UNDERLINE), click(IDC_OPT_MAP_USER), setText(IDC_TXT_USERKEYMAP_LC, L"changed"),
         setText(IDC_TXT_USERKEYMAP_UC, L"CHANGED"), focus(IDC_CBO_FONTSIZE), close}));
    EXPECT_EQ(members, before);
}

INSTANTIATE_TEST_SUITE_P(CancelButtonEscapeAndCloseBox, CancelTest, ::testing::Values(0, 1, 2));

TEST_F(OptionsDialogTest, SizeTextIsNormalisedOnLeavingTheBoxAndStoredByOneRuleOnOkOrEnter) {
    const std::wstring separator = userDecimalSeparator();
    std::vector<Step> steps;
    for (const auto& [typed, shown] :
         std::vector<std::pair<std::wstring, std::wstring>>{{L"300", L"8pt"},
                                                            {L"", L"8pt"},
                                                            {L"14", L"14pt"},
                                                            {L"1 2", L"12pt"},
                                                            {L"12.5", L"12" + separator + L"5pt"},
                                                            {L"255", L"255pt"}}) {
        steps.insert(steps.end(),
                     {focus(IDC_CBO_FONTSIZE), setText(IDC_CBO_FONTSIZE, typed), focus(IDC_CBO_FONTFACE),
                      check([this, typed, shown] { EXPECT_EQ(text(IDC_CBO_FONTSIZE), shown) << typed; })});
    }
    steps.push_back(click(IDOK));
    EXPECT_TRUE(runDialog(steps));
    EXPECT_EQ(members.fontSze, 255);
    for (const auto& [typed, stored] :
         std::vector<std::pair<std::wstring, int>>{{L"13.5", 14}, {L"12.5pt", 12}, {L"256", 8}, {L"", 8}}) {
        EXPECT_TRUE(
            runDialog({focus(IDC_CBO_FONTSIZE), setText(IDC_CBO_FONTSIZE, typed), pressKey(VK_RETURN)}));
        EXPECT_EQ(members.fontSze, stored) << typed;
    }
}

TEST_F(OptionsDialogTest, ColourButtonShowsTheColourAndTheChooserStoresWhatItReturns) {
    EXPECT_TRUE(runDialog({check([this] {
                               const HWND button = item(IDC_CMD_COLOR);
                               ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                               RECT face{};
                               ::GetClientRect(button, &face);
                               const HDC dc = ::GetDC(button);
                               EXPECT_EQ(::GetPixel(dc, face.right / 2, face.bottom / 2), 0x00336699u);
                               EXPECT_EQ(::GetPixel(dc, face.right / 4, face.bottom / 3), 0x00336699u);
                               ::ReleaseDC(button, dc);
                           }),
                           click(IDOK)}));
    // The chooser runs its own modal loop, so the click that opens it is posted and the steps between
    // run inside that loop. Cancel keeps the colour, and so does OK without a choice.
    const auto inChooser = [this](int id, const wchar_t* value) -> Step {
        return [this, id, value] { return ::SetDlgItemTextW(colorChooser(), id, value), true; };
    };
    const auto button = [this](int id) -> Step {
        return [this, id] { return ::PostMessageW(::GetDlgItem(colorChooser(), id), BM_CLICK, 0, 0), true; };
    };
    const std::pair<std::vector<Step>, std::int32_t> choices[] = {
        {{button(IDCANCEL)}, 0x00336699},
        {{button(IDOK)}, 0x00336699},
        {{inChooser(COLOR_RED, L"16"), inChooser(COLOR_GREEN, L"32"), inChooser(COLOR_BLUE, L"48"),
          button(IDOK)},
         0x00302010}};
    for (const auto& [inside, stored] : choices) {
        std::vector<Step> steps{[this] { return ::PostMessageW(item(IDC_CMD_COLOR), BM_CLICK, 0, 0), true; },
                                [this] { return colorChooser() != nullptr; }};
        steps.insert(steps.end(), inside.begin(), inside.end());
        // Gone, not just hidden: until its modal loop has returned, the colour is not taken.
        steps.insert(steps.end(), {[this] { return !::IsWindow(latestDialog()); }, click(IDOK)});
        members.fontColor = 0x00336699;
        EXPECT_TRUE(runDialog(steps));
        EXPECT_EQ(members.fontColor, stored);
    }
}

// Each call opens on the colour given, with the custom colours the last call's dialog left.
TEST(ShowColorDlg, OpensOnTheCurrentColourAndKeepsCustomColoursForTheRun) {
    for (const bool extended : {false, true}) {
        const CHOOSECOLORW* request = nullptr;
        DialogDriver driver(
            {[&] { return request != nullptr && ::IsWindowVisible(driver.latestDialog()); },
             [&] {
                 EXPECT_EQ(request->Flags & (CC_RGBINIT | CC_SOLIDCOLOR | CC_FULLOPEN),
                           static_cast<DWORD>(CC_RGBINIT | CC_SOLIDCOLOR | (extended ? CC_FULLOPEN : 0)));
                 EXPECT_EQ(request->rgbResult, extended ? 0x00123456u : 0x00ABCDEFu);
                 EXPECT_EQ(request->lpCustColors[5], extended ? 0x00FFFFFFu : 0u);
                 request->lpCustColors[5] = 0x00FFFFFF;  // as a user's custom colour would
                 ::PostMessageW(driver.latestDialog(), WM_COMMAND, IDCANCEL, 0);
                 return true;
             }});
        driver.onSentMessage = [&](const CWPSTRUCT& message) {
            if (message.message == WM_INITDIALOG && message.hwnd == driver.latestDialog()) {
                request = reinterpret_cast<const CHOOSECOLORW*>(message.lParam);
            }
        };
        EXPECT_EQ(ShowColorDlg(nullptr, extended, extended ? 0x00123456 : 0x7FABCDEF), -1);
        EXPECT_TRUE(driver.finished());
    }
}

std::vector<std::wstring> listEntries(HWND comboBox) {
    std::vector<std::wstring> entries(static_cast<size_t>(::SendMessageW(comboBox, CB_GETCOUNT, 0, 0)));
    for (size_t i = 0; i < entries.size(); ++i) {
        entries[i].resize(static_cast<size_t>(::SendMessageW(comboBox, CB_GETLBTEXTLEN, i, 0)));
        ::SendMessageW(comboBox, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entries[i].data()));
    }
    return entries;
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

TEST_F(OptionsDialogTest, ListLoaderFillsBothListsAndLeavesTheTexts) {
    members.fontFace = L"No Such Face";
    size_t stableTicks = 0;
    LRESULT lastCount = -1;
    EXPECT_TRUE(runDialog(
        {[&] {
             // Loaded once the face count has not moved for a while.
             const LRESULT count = ::SendMessageW(item(IDC_CBO_FONTFACE), CB_GETCOUNT, 0, 0);
             stableTicks = count > 0 && count == lastCount ? stableTicks + 1 : 0;
             lastCount = count;
             return stableTicks >= 20;
         },
         check([this] {
             const auto sizes = listEntries(item(IDC_CBO_FONTSIZE));
             EXPECT_EQ(sizes.size(), 18u);
             EXPECT_EQ(sizes.front(), L"8pt");
             EXPECT_EQ(text(IDC_CBO_FONTSIZE), L"14pt");
             EXPECT_EQ(text(IDC_CBO_FONTFACE), L"No Such Face");
             const auto faces = listEntries(item(IDC_CBO_FONTFACE));
             EXPECT_TRUE(std::is_sorted(faces.begin(), faces.end(), [](const auto& a, const auto& b) {
                 return ::lstrcmpiW(a.c_str(), b.c_str()) < 0;
             }));
             for (const auto& family : familiesOfTheScreen()) {
                 EXPECT_EQ(std::count(faces.begin(), faces.end(), family), 1)
                     << "family listed once per character set";
             }
         }),
         click(IDOK)}));
    EXPECT_EQ(members.fontFace, L"No Such Face");
}

// OK or Cancel while the face list loads: the loader stops with the dialog and adds nothing more.
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
        // Pressed while the loader waits for the next face.
        if (++facesAdded == 1) ::PostMessageW(item(GetParam()), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(runDialog({}), GetParam() == IDOK);  // the button is pressed from inside the loader
    EXPECT_TRUE(closing);
    EXPECT_EQ(facesAdded, 1);
    EXPECT_EQ(facesAddedAfterClosing, 0);
}

INSTANTIATE_TEST_SUITE_P(OkAndCancel, StopWhileLoadingTest, ::testing::Values(IDOK, IDCANCEL));

LOGFONTW fontOf(HWND window) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
}

TEST_F(OptionsDialogTest, IsAFixedToolWindowOfTheLayoutsSizeCentredOnTheScreen) {
    owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                              nullptr, nullptr);
    EXPECT_FALSE(runDialog(
        {check([this] {
             const HWND dialog = settings();
             EXPECT_EQ(::GetWindow(dialog, GW_OWNER), owner);
             const auto style = ::GetWindowLongPtrW(dialog, GWL_STYLE);
             const auto exStyle = ::GetWindowLongPtrW(dialog, GWL_EXSTYLE);
             EXPECT_EQ(exStyle & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), WS_EX_TOOLWINDOW);
             EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
                       WS_CAPTION | WS_SYSMENU);
             RECT client{}, frame{};
             ::GetClientRect(dialog, &client);
             EXPECT_NEAR(client.right, 7245 / 15, 1);
             EXPECT_NEAR(client.bottom, 4335 / 15, 1);
             MONITORINFO monitor{sizeof(MONITORINFO), {}, {}, 0};
             ::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
             ::GetWindowRect(dialog, &frame);
             EXPECT_NEAR((frame.left + frame.right) / 2, (monitor.rcWork.left + monitor.rcWork.right) / 2, 1);
             EXPECT_NEAR((frame.top + frame.bottom) / 2, (monitor.rcWork.top + monitor.rcWork.bottom) / 2, 1);
             // Arial at 9.75 pt, the key-map boxes in Courier New.
             EXPECT_STREQ(fontOf(dialog).lfFaceName, L"Arial");
             EXPECT_EQ(fontOf(dialog).lfHeight, -13);
             EXPECT_STREQ(fontOf(item(IDC_CHK_FONT_BOLD)).lfFaceName, L"Arial");
             EXPECT_STREQ(fontOf(item(IDC_TXT_USERKEYMAP_LC)).lfFaceName, L"Courier New");
             EXPECT_EQ(fontOf(item(IDC_TXT_USERKEYMAP_UC)).lfHeight, -13);
         }),
         click(IDCANCEL)}));
    ::DestroyWindow(owner);
}

}  // namespace
}  // namespace tapkeys::test
