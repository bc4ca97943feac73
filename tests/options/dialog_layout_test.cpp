// The options dialog's frame, placement, fonts, control positions and tab order.
#include "options_dialog_fixture.h"

namespace tapkeys::test {
namespace {

// The layout in twips, relative to the dialog's client area (frame contents carry the frame's offset).
struct Placement {
    int id;
    int left, top, width, height;
};
constexpr Placement layoutTwips[] = {
    {IDC_FRM_KEY_LAYOUT, 120, 120, 6975, 1695},
    {IDC_OPT_MAP_LANGUAGE_FILE, 360, 480, 3375, 375},
    {IDC_OPT_MAP_USER, 4080, 480, 2055, 375},
    {IDC_LBL_NORMAL, 360, 990, 735, 255},
    {IDC_TXT_USERKEYMAP_LC, 1200, 960, 5775, 330},
    {IDC_LBL_SHIFT, 360, 1350, 735, 255},
    {IDC_TXT_USERKEYMAP_UC, 1200, 1320, 5775, 315},
    {IDC_FRM_FONT, 120, 1920, 3495, 1815},
    {IDC_CMD_COLOR, 2640, 2760, 855, 375},
    {IDC_CHK_FONT_BOLD, 240, 2760, 1095, 375},
    {IDC_CHK_FONT_ITALIC, 1560, 2760, 855, 375},
    {IDC_CHK_FONT_UNDERLINE, 240, 3240, 1095, 375},
    {IDC_CHK_FONT_STRIKE, 1560, 3240, 1815, 375},
    {IDC_FRM_MISC, 3720, 1920, 3375, 1815},
    {IDC_CHK_SAFE_MODE, 3960, 2280, 3015, 375},
    {IDC_LBL_SAFE_MODE_HINT, 3960, 2760, 2895, 735},
    {IDOK, 4560, 3840, 1215, 375},
    {IDCANCEL, 5880, 3840, 1215, 375},
};
// The combo boxes' height follows their font, so only their width and place are the layout's.
constexpr Placement comboTwips[] = {
    {IDC_CBO_FONTFACE, 240, 2280, 2295, 0},
    {IDC_CBO_FONTSIZE, 2640, 2280, 855, 0},
};

constexpr int twipsPerPixel = 15;  // at 96 dpi, which the test environment uses

RECT clientRectOf(HWND dialog, HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void expectWithinAPixel(const RECT& actual, const Placement& twips, bool checkHeight) {
    EXPECT_NEAR(actual.left, twips.left / twipsPerPixel, 1) << twips.id;
    EXPECT_NEAR(actual.top, twips.top / twipsPerPixel, 1) << twips.id;
    EXPECT_NEAR(actual.right - actual.left, twips.width / twipsPerPixel, 1) << twips.id;
    if (checkHeight) {
        EXPECT_NEAR(actual.bottom - actual.top, twips.height / twipsPerPixel, 1) << twips.id;
    }
}

LOGFONTW fontOf(HWND window) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
}

TEST_F(OptionsDialogTest, IsAFixedToolWindowCentredOnTheScreenNotOnItsOwner) {
    owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                              nullptr, nullptr);
    EXPECT_FALSE(runDialog(
        {check([this] {
             const HWND dialog = settings();
             EXPECT_EQ(windowText(dialog), L"Settings");
             EXPECT_EQ(::GetWindow(dialog, GW_OWNER), owner);
             const auto style = ::GetWindowLongPtrW(dialog, GWL_STYLE);
             const auto exStyle = ::GetWindowLongPtrW(dialog, GWL_EXSTYLE);
             EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
             EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
             EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
             EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

             RECT client{};
             ::GetClientRect(dialog, &client);
             EXPECT_NEAR(client.right, 7245 / twipsPerPixel, 1);
             EXPECT_NEAR(client.bottom, 4335 / twipsPerPixel, 1);

             MONITORINFO monitor{};
             monitor.cbSize = sizeof(monitor);
             ::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
             RECT frame{};
             ::GetWindowRect(dialog, &frame);
             EXPECT_NEAR((frame.left + frame.right) / 2, (monitor.rcWork.left + monitor.rcWork.right) / 2, 1);
             EXPECT_NEAR((frame.top + frame.bottom) / 2, (monitor.rcWork.top + monitor.rcWork.bottom) / 2, 1);
         }),
         click(IDCANCEL)}));
    ::DestroyWindow(owner);
}

TEST_F(OptionsDialogTest, ControlsLieWhereTheLayoutPutsThem) {
    EXPECT_FALSE(runDialog({check([this] {
                                for (const Placement& twips : layoutTwips) {
                                    expectWithinAPixel(clientRectOf(settings(), item(twips.id)), twips, true);
                                }
                                for (const Placement& twips : comboTwips) {
                                    expectWithinAPixel(clientRectOf(settings(), item(twips.id)), twips,
                                                       false);
                                }
                            }),
                            click(IDCANCEL)}));
}

TEST_F(OptionsDialogTest, TextIsArialAndTheKeyMapBoxesCourierNewAtNineAndThreeQuarterPoints) {
    EXPECT_FALSE(runDialog({check([this] {
                                const LOGFONTW dialogFont = fontOf(settings());
                                EXPECT_STREQ(dialogFont.lfFaceName, L"Arial");
                                EXPECT_EQ(dialogFont.lfHeight, -13);  // 9.75 pt at 96 dpi
                                for (const int id : {IDC_TXT_USERKEYMAP_LC, IDC_TXT_USERKEYMAP_UC}) {
                                    const LOGFONTW boxFont = fontOf(item(id));
                                    EXPECT_STREQ(boxFont.lfFaceName, L"Courier New");
                                    EXPECT_EQ(boxFont.lfHeight, -13);
                                }
                                EXPECT_STREQ(fontOf(item(IDC_CHK_FONT_BOLD)).lfFaceName, L"Arial");
                            }),
                            click(IDCANCEL)}));
}

TEST_F(OptionsDialogTest, SiblingAndTabOrderFollowTheLayoutTable) {
    const std::vector<int> tabIndexOrder = {
        IDC_OPT_MAP_LANGUAGE_FILE,
        IDC_OPT_MAP_USER,
        IDC_LBL_NORMAL,
        IDC_LBL_SHIFT,
        IDC_CHK_SAFE_MODE,
        IDOK,
        IDCANCEL,
        IDC_FRM_MISC,
        IDC_FRM_KEY_LAYOUT,
        IDC_TXT_USERKEYMAP_LC,
        IDC_TXT_USERKEYMAP_UC,
        IDC_FRM_FONT,
        IDC_CMD_COLOR,
        IDC_CHK_FONT_BOLD,
        IDC_CBO_FONTSIZE,
        IDC_CBO_FONTFACE,
        IDC_CHK_FONT_ITALIC,
        IDC_CHK_FONT_UNDERLINE,
        IDC_CHK_FONT_STRIKE,
        IDC_LBL_SAFE_MODE_HINT,
    };
    // Tab walks the focusable ones, entering the option pair at the chosen option.
    const std::vector<int> tabWalk = {
        IDC_OPT_MAP_USER,
        IDC_CHK_SAFE_MODE,
        IDOK,
        IDCANCEL,
        IDC_TXT_USERKEYMAP_LC,
        IDC_TXT_USERKEYMAP_UC,
        IDC_CMD_COLOR,
        IDC_CHK_FONT_BOLD,
        IDC_CBO_FONTSIZE,
        IDC_CBO_FONTFACE,
        IDC_CHK_FONT_ITALIC,
        IDC_CHK_FONT_UNDERLINE,
        IDC_CHK_FONT_STRIKE,
        IDC_OPT_MAP_USER,
    };
    EXPECT_FALSE(runDialog({check([&] {
                                std::vector<int> siblings;
                                for (HWND child = ::GetWindow(settings(), GW_CHILD); child != nullptr;
                                     child = ::GetWindow(child, GW_HWNDNEXT)) {
                                    siblings.push_back(::GetDlgCtrlID(child));
                                }
                                EXPECT_EQ(siblings, tabIndexOrder);
                            }),
                            check([&] {
                                EXPECT_EQ(::GetFocus(), item(IDC_OPT_MAP_USER));
                                std::vector<int> walked{::GetDlgCtrlID(::GetFocus())};
                                HWND at = ::GetFocus();
                                for (size_t i = 1; i < tabWalk.size(); ++i) {
                                    at = ::GetNextDlgTabItem(settings(), at, FALSE);
                                    walked.push_back(::GetDlgCtrlID(at));
                                }
                                EXPECT_EQ(walked, tabWalk);
                            }),
                            click(IDCANCEL)}));
}

}  // namespace
}  // namespace tapkeys::test
