// The options dialog's load, key-map choice, OK and Cancel, driven through its real controls.
#include "options_dialog_fixture.h"

namespace tapkeys::test {
namespace {

TEST_F(OptionsDialogTest, ShowsTheMembersAndOkWithoutChangesStoresThemUnchanged) {
    members.useSafeMode = true;
    members.fontStyle = L"bu";
    const KeyboardSettings before = members;
    EXPECT_TRUE(runDialog({check([this, &before] {
                               EXPECT_TRUE(checked(IDC_CHK_SAFE_MODE));
                               EXPECT_EQ(text(IDC_CBO_FONTFACE), L"Liberation Sans");
                               EXPECT_EQ(text(IDC_CBO_FONTSIZE), L"14pt");
                               EXPECT_TRUE(checked(IDC_CHK_FONT_BOLD));
                               EXPECT_FALSE(checked(IDC_CHK_FONT_ITALIC));
                               EXPECT_FALSE(checked(IDC_CHK_FONT_STRIKE));
                               EXPECT_TRUE(checked(IDC_CHK_FONT_UNDERLINE));
                               EXPECT_TRUE(checked(IDC_OPT_MAP_USER));
                               EXPECT_FALSE(checked(IDC_OPT_MAP_LANGUAGE_FILE));
                               EXPECT_EQ(text(IDC_TXT_USERKEYMAP_LC), before.keyMapUserLC);
                               EXPECT_EQ(text(IDC_TXT_USERKEYMAP_UC), before.keyMapUserUC);
                               EXPECT_TRUE(::IsWindowEnabled(item(IDC_TXT_USERKEYMAP_LC)));
                           }),
                           click(IDOK)}));
    EXPECT_EQ(members, before);
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

TEST_F(OptionsDialogTest, LanguageFileShowsInactiveBoxesHoldingTheUserSets) {
    members.keyMap = L"ini";
    const KeyboardSettings before = members;
    EXPECT_TRUE(runDialog({check([this, &before] {
                               EXPECT_TRUE(checked(IDC_OPT_MAP_LANGUAGE_FILE));
                               for (const int id : {IDC_TXT_USERKEYMAP_LC, IDC_TXT_USERKEYMAP_UC}) {
                                   EXPECT_FALSE(::IsWindowEnabled(item(id)));
                                   EXPECT_EQ(fieldBackground(id), ::GetSysColor(COLOR_BTNFACE));
                               }
                               EXPECT_EQ(text(IDC_TXT_USERKEYMAP_LC), before.keyMapUserLC);
                               EXPECT_EQ(text(IDC_TXT_USERKEYMAP_UC), before.keyMapUserUC);
                           }),
                           click(IDOK)}));
    EXPECT_EQ(members, before);
}

TEST_F(OptionsDialogTest, ChoosingUserDefinedFillsEmptyBoxesWithTheSetsOnTheKeys) {
    members.keyMap = L"ini";
    members.keyMapUserLC.clear();
    members.keyMapUserUC.clear();
    EXPECT_TRUE(runDialog({check([this] { EXPECT_EQ(text(IDC_TXT_USERKEYMAP_LC), L""); }),
                           click(IDC_OPT_MAP_USER), check([this] {
                               for (const int id : {IDC_TXT_USERKEYMAP_LC, IDC_TXT_USERKEYMAP_UC}) {
                                   EXPECT_TRUE(::IsWindowEnabled(item(id)));
                                   EXPECT_EQ(fieldBackground(id), ::GetSysColor(COLOR_WINDOW));
                               }
                               EXPECT_EQ(text(IDC_TXT_USERKEYMAP_LC), keySets.normal);
                               EXPECT_EQ(text(IDC_TXT_USERKEYMAP_UC), keySets.shifted);
                           }),
                           click(IDOK)}));
    EXPECT_EQ(members.keyMap, L"user");
    EXPECT_EQ(members.keyMapUserLC, keySets.normal);
    EXPECT_EQ(members.keyMapUserUC, keySets.shifted);
}

TEST_F(OptionsDialogTest, ArrowKeysChangeTheChoiceAsAClickDoes) {
    members.keyMap = L"ini";
    members.keyMapUserLC.clear();
    members.keyMapUserUC = L"kept";
    EXPECT_TRUE(
        runDialog({check([this] { EXPECT_EQ(::GetFocus(), item(IDC_OPT_MAP_LANGUAGE_FILE)); }),
                   pressKey(VK_DOWN), [this] { return checked(IDC_OPT_MAP_USER); }, check([this] {
                       EXPECT_TRUE(::IsWindowEnabled(item(IDC_TXT_USERKEYMAP_LC)));
                       EXPECT_EQ(text(IDC_TXT_USERKEYMAP_LC), keySets.normal);
                       EXPECT_EQ(text(IDC_TXT_USERKEYMAP_UC), L"kept");
                   }),
                   pressKey(VK_UP), [this] { return checked(IDC_OPT_MAP_LANGUAGE_FILE); }, check([this] {
                       EXPECT_FALSE(::IsWindowEnabled(item(IDC_TXT_USERKEYMAP_UC)));
                       EXPECT_EQ(fieldBackground(IDC_TXT_USERKEYMAP_UC), ::GetSysColor(COLOR_BTNFACE));
                       EXPECT_EQ(text(IDC_TXT_USERKEYMAP_LC), keySets.normal);
                   }),
                   click(IDOK)}));
    EXPECT_EQ(members.keyMap, L"ini");
    EXPECT_EQ(members.keyMapUserLC, keySets.normal);
    EXPECT_EQ(members.keyMapUserUC, L"kept");
}

TEST_F(OptionsDialogTest, AClearedBoxIsStoredEmptyUntilAnOptionIsClickedAgain) {
    EXPECT_TRUE(runDialog({setText(IDC_TXT_USERKEYMAP_LC, L""), click(IDOK)}));
    EXPECT_EQ(members.keyMapUserLC, L"");
    EXPECT_EQ(members.keyMapUserUC, typicalMembers().keyMapUserUC);

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
                                   EXPECT_EQ(text(id).size(), 47u);
                               }
                           }),
                           click(IDOK)}));
    EXPECT_EQ(members.keyMapUserLC.size(), 47u);
    EXPECT_EQ(members.keyMapUserUC.substr(0, 3), L"abc");
}

TEST_F(OptionsDialogTest, EnterConfirmsAndEscapeCancels) {
    members.useSafeMode = true;
    EXPECT_TRUE(runDialog({click(IDC_CHK_SAFE_MODE), focus(IDC_TXT_USERKEYMAP_LC), pressKey(VK_RETURN)}));
    EXPECT_FALSE(members.useSafeMode);

    EXPECT_FALSE(runDialog({click(IDC_CHK_SAFE_MODE), focus(IDC_TXT_USERKEYMAP_LC), pressKey(VK_ESCAPE)}));
    EXPECT_FALSE(members.useSafeMode);
}

// Cancel, Esc and the close box each leave every member as it was, after every field has changed.
class CancelTest : public OptionsDialogTest, public ::testing::WithParamInterface<int> {
protected:
    Step close() {
        switch (GetParam()) {
            case 0: return click(IDCANCEL);
            case 1: return pressKey(VK_ESCAPE);
            default: return [this] { return ::PostMessageW(settings(), WM_SYSCOMMAND, SC_CLOSE, 0), true; };
        }
    }
};

TEST_P(CancelTest, LeavesEveryMemberAsItWas) {
    members.keyMap = L"ini";
    const KeyboardSettings before = members;
    EXPECT_FALSE(runDialog(
        {click(IDC_CHK_SAFE_MODE), setText(IDC_CBO_FONTFACE, L"Other Face"), setText(IDC_CBO_FONTSIZE, L"30"),
         click(IDC_CHK_FONT_BOLD), click(IDC_CHK_FONT_ITALIC), click(IDC_CHK_FONT_STRIKE),
         click(IDC_CHK_FONT_UNDERLINE), click(IDC_OPT_MAP_USER), setText(IDC_TXT_USERKEYMAP_LC, L"changed"),
         setText(IDC_TXT_USERKEYMAP_UC, L"CHANGED"), focus(IDC_CBO_FONTSIZE), close()}));
    EXPECT_EQ(members, before);
}

INSTANTIATE_TEST_SUITE_P(CancelButtonEscapeAndCloseBox, CancelTest, ::testing::Values(0, 1, 2));

}  // namespace
}  // namespace tapkeys::test
