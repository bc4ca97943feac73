// The font group of the options dialog: size box, style boxes, colour button and the list loader.
#include "options_dialog_fixture.h"
// After <windows.h>, which they need.
#include <colordlg.h>
#include <commdlg.h>

#include <algorithm>

#include "options/color_dialog.h"

namespace tapkeys::test {
namespace {

std::vector<std::wstring> listEntries(HWND comboBox) {
    std::vector<std::wstring> entries;
    const auto count = ::SendMessageW(comboBox, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring entry(static_cast<size_t>(::SendMessageW(comboBox, CB_GETLBTEXTLEN, i, 0)), L'\0');
        ::SendMessageW(comboBox, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
        entries.push_back(entry);
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

TEST_F(OptionsDialogTest, SizeTextIsNormalisedWhenTheBoxLosesTheFocus) {
    const std::wstring separator = userDecimalSeparator();
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"300", L"8pt"},   {L"7", L"8pt"},   {L"256", L"8pt"},  {L"", L"8pt"},
        {L"pt", L"8pt"},    {L"14", L"14pt"}, {L"1 2", L"12pt"}, {L"12.5", L"12" + separator + L"5pt"},
        {L"255", L"255pt"},
    };
    std::vector<Step> steps;
    for (const auto& [typed, shown] : cases) {
        steps.push_back(focus(IDC_CBO_FONTSIZE));
        steps.push_back(setText(IDC_CBO_FONTSIZE, typed));
        steps.push_back(focus(IDC_CBO_FONTFACE));
        steps.push_back(check([this, typed, shown] { EXPECT_EQ(text(IDC_CBO_FONTSIZE), shown) << typed; }));
    }
    steps.push_back(click(IDOK));
    EXPECT_TRUE(runDialog(steps));
    EXPECT_EQ(members.fontSze, 255);
}

TEST_F(OptionsDialogTest, EnterInTheSizeBoxStoresByTheSameRule) {
    for (const auto& [typed, stored] : std::vector<std::pair<std::wstring, std::int16_t>>{
             {L"13.5", 14}, {L"12.5pt", 12}, {L"256", 8}, {L"7", 8}, {L"", 8}}) {
        EXPECT_TRUE(
            runDialog({focus(IDC_CBO_FONTSIZE), setText(IDC_CBO_FONTSIZE, typed), pressKey(VK_RETURN)}));
        EXPECT_EQ(members.fontSze, stored) << typed;
    }
}

TEST_F(OptionsDialogTest, StyleLettersInCapitalsCheckNothingAndAllFourStoreBisu) {
    members.fontStyle = L"BU";
    EXPECT_TRUE(runDialog({check([this] {
                               for (const int id : {IDC_CHK_FONT_BOLD, IDC_CHK_FONT_ITALIC,
                                                    IDC_CHK_FONT_STRIKE, IDC_CHK_FONT_UNDERLINE}) {
                                   EXPECT_FALSE(checked(id)) << id;
                               }
                           }),
                           click(IDOK)}));
    EXPECT_EQ(members.fontStyle, L"");

    EXPECT_TRUE(runDialog({click(IDC_CHK_FONT_UNDERLINE), click(IDC_CHK_FONT_STRIKE),
                           click(IDC_CHK_FONT_ITALIC), click(IDC_CHK_FONT_BOLD), click(IDOK)}));
    EXPECT_EQ(members.fontStyle, L"bisu");
}

TEST_F(OptionsDialogTest, AFaceTypedByHandIsStoredAsTyped) {
    EXPECT_TRUE(runDialog({setText(IDC_CBO_FONTFACE, L"No Such Face 12"), click(IDOK)}));
    EXPECT_EQ(members.fontFace, L"No Such Face 12");
}

TEST_F(OptionsDialogTest, ColourButtonFaceShowsTheColour) {
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
}

// Opens the colour chooser from the colour button; the chooser runs its own modal loop, so the click
// is posted and the next steps run inside that loop.
class ColourChooserTest : public OptionsDialogTest {
protected:
    std::vector<Step> chooseWith(std::vector<Step> inChooser) {
        std::vector<Step> steps{[this] { return ::PostMessageW(item(IDC_CMD_COLOR), BM_CLICK, 0, 0), true; },
                                [this] { return colorChooser() != nullptr; }};
        steps.insert(steps.end(), inChooser.begin(), inChooser.end());
        steps.push_back([this] { return colorChooser() == nullptr; });
        steps.push_back(click(IDOK));
        return steps;
    }
    Step chooserButton(int id) {
        return [this, id] { return ::PostMessageW(colorChooser(), WM_COMMAND, id, 0), true; };
    }
    Step chooserText(int id, const wchar_t* value) {
        return [this, id, value] { return ::SetDlgItemTextW(colorChooser(), id, value), true; };
    }
};

TEST_F(ColourChooserTest, CancelKeepsTheColour) {
    EXPECT_TRUE(runDialog(chooseWith({chooserButton(IDCANCEL)})));
    EXPECT_EQ(members.fontColor, 0x00336699);
}

TEST_F(ColourChooserTest, OkWithoutAChoiceStoresBlack) {
    EXPECT_TRUE(runDialog(chooseWith({chooserButton(IDOK)})));
    EXPECT_EQ(members.fontColor, 0);
}

TEST_F(ColourChooserTest, TheChosenColourIsStored) {
    EXPECT_TRUE(runDialog(chooseWith({chooserText(COLOR_RED, L"16"), chooserText(COLOR_GREEN, L"32"),
                                      chooserText(COLOR_BLUE, L"48"), chooserButton(IDOK)})));
    EXPECT_EQ(members.fontColor, 0x00302010);
}

// ShowColorDlg on its own: a fresh request each time, with black custom colours whatever the last
// call's dialog did to them.
TEST(ShowColorDlg, StartsEveryCallWithBlackCustomColoursAndNoPreselection) {
    for (const bool extended : {false, true}) {
        const CHOOSECOLORW* request = nullptr;
        DialogDriver driver({[&] { return request != nullptr && ::IsWindowVisible(driver.latestDialog()); },
                             [&] {
                                 EXPECT_EQ(request->Flags & (CC_RGBINIT | CC_SOLIDCOLOR | CC_FULLOPEN),
                                           static_cast<DWORD>(CC_SOLIDCOLOR | (extended ? CC_FULLOPEN : 0)));
                                 for (int i = 0; i < 16; ++i) EXPECT_EQ(request->lpCustColors[i], 0u) << i;
                                 // What a user's custom colour would leave behind for the next call.
                                 request->lpCustColors[5] = 0x00FFFFFF;
                                 ::PostMessageW(driver.latestDialog(), WM_COMMAND, IDCANCEL, 0);
                                 return true;
                             }});
        driver.onSentMessage = [&](const CWPSTRUCT& message) {
            // The chooser receives its request with WM_INITDIALOG.
            if (message.message == WM_INITDIALOG && message.hwnd == driver.latestDialog()) {
                request = reinterpret_cast<const CHOOSECOLORW*>(message.lParam);
            }
        };
        EXPECT_EQ(ShowColorDlg(nullptr, extended), -1);
        EXPECT_TRUE(driver.finished());
    }
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
             ASSERT_EQ(sizes.size(), 18u);
             for (size_t i = 0; i < sizes.size(); ++i)
                 EXPECT_EQ(sizes[i], std::to_wstring(8 + 2 * i) + L"pt");
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
    int facesAdded = 0;
    int facesAddedAfterClosing = 0;
    bool closing = false;
    watchSentMessages = [&](const CWPSTRUCT& message) {
        if (message.message == WM_COMMAND && message.hwnd == settings() &&
            LOWORD(message.wParam) == GetParam()) {
            closing = true;
        }
        if (message.message != CB_ADDSTRING || message.hwnd != item(IDC_CBO_FONTFACE)) return;
        if (closing) ++facesAddedAfterClosing;
        // Pressed while the loader waits for the next face.
        if (++facesAdded == 1) ::PostMessageW(item(GetParam()), BM_CLICK, 0, 0);
    };
    // Nothing to do but wait: the button is pressed from inside the loader.
    EXPECT_EQ(runDialog({}), GetParam() == IDOK);
    EXPECT_TRUE(closing);
    EXPECT_EQ(facesAdded, 1);
    EXPECT_EQ(facesAddedAfterClosing, 0);
}

INSTANTIATE_TEST_SUITE_P(OkAndCancel, StopWhileLoadingTest, ::testing::Values(IDOK, IDCANCEL));

}  // namespace
}  // namespace tapkeys::test
