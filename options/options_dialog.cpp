#include "options/options_dialog.h"

#include <commctrl.h>

#include "options/font_choice.h"
#include "options/more_settings_dialog.h"
#include "options/options_form.h"
#include "options/options_ids.h"
#include "options/screen_fonts.h"
#include "win32/base_dialog.h"
#include "win32/dialog_controls.h"
#include "win32/gdi.h"
#include "win32/message_pump.h"
#include "win32/system_function.h"
#include "win32/window_timer.h"

namespace tapkeys {

namespace {

// The font lists are filled once, this long after the dialog is on screen.
constexpr UINT_PTR fontLoadTimerId = 1;
constexpr UINT fontLoadDelayMs = 100;

// A background colour with the brush that paints it.
struct SolidFill {
    explicit SolidFill(int sysColor) : color(::GetSysColor(sysColor)), brush(::CreateSolidBrush(color)) {}
    COLORREF color;
    Brush brush;
};

// The key-map boxes: one character per character key, each margin one pixel.
constexpr WPARAM keymapMaxLength = 47;
constexpr WORD keymapMarginPx = 1;

// Courier New 9.75 pt for the key-map boxes, so the 47 characters line up like the keys.
Font keymapFont() {
    const WindowDc screen(nullptr);
    const int height = -::MulDiv(975, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 7200);
    return createFont({.face = L"Courier New", .height = height, .pitchAndFamily = FIXED_PITCH | FF_MODERN});
}

class OptionsDialog : public BaseDialog<OptionsDialog> {
public:
    OptionsDialog(const KeyboardSettings& current, const KeySets& currentKeySets, const AccessAids& aids)
        : settings_(current), keySets_(currentKeySets), aids_(aids) {}

    std::optional<KeyboardSettings> show(HWND owner) {
        if (runModal(owner, IDD_OPTIONS) != IDOK) return std::nullopt;
        return settings_;
    }

private:
    friend class BaseDialog<OptionsDialog>;

    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_INITDIALOG: return onInit(), FALSE;
            case WM_COMMAND: return onCommand(LOWORD(wParam), HIWORD(wParam)), TRUE;
            case WM_TIMER: return onTick(static_cast<UINT_PTR>(wParam)), TRUE;
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORSTATIC:
                return onControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
            case WM_DRAWITEM: return onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)), TRUE;
            case WM_DESTROY: return onDestroy(), FALSE;
            case kSwitchPressMessage: return access_.onSwitchPress(), TRUE;
            default: return FALSE;
        }
    }

    HWND control(int id) const { return ::GetDlgItem(hwnd(), id); }

    void onInit() {
        for (const int id : {IDC_TXT_USERKEYMAP_LC, IDC_TXT_USERKEYMAP_UC}) {
            ::SendMessageW(control(id), WM_SETFONT, reinterpret_cast<WPARAM>(keymapFont_.get()), FALSE);
            ::SendMessageW(control(id), EM_LIMITTEXT, keymapMaxLength, 0);
            // The font's default margins would hide the last of 47 characters.
            ::SendMessageW(control(id), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                           MAKELPARAM(keymapMarginPx, keymapMarginPx));
        }
        showSettings(settings_);
        updateUserKeymapFields();
        fontLoadTimer_ = WindowTimer(hwnd(), fontLoadTimerId, fontLoadDelayMs);
        // The first tab stop would be the language-file option even when it is not the chosen one; the
        // focus goes to the chosen option so that nothing but the user changes the choice.
        const bool user = isChecked(control(IDC_OPT_MAP_USER));
        ::SetFocus(control(user ? IDC_OPT_MAP_USER : IDC_OPT_MAP_LANGUAGE_FILE));
        access_.start(hwnd(), {IDC_CMD_COLOR});
    }

    // The load steps, in their order: safe mode, the font group, the key-map choice, the user sets.
    void showSettings(const KeyboardSettings& settings) {
        setChecked(control(IDC_CHK_SAFE_MODE), settings.useSafeMode);
        setWindowText(control(IDC_CBO_FONTFACE), settings.fontFace);
        setWindowText(control(IDC_CBO_FONTSIZE), fontSizeText(settings.fontSze));
        const FontStyleChecks style = fontStyleChecks(settings.fontStyle);
        setChecked(control(IDC_CHK_FONT_BOLD), style.bold);
        setChecked(control(IDC_CHK_FONT_ITALIC), style.italic);
        setChecked(control(IDC_CHK_FONT_STRIKE), style.strikethrough);
        setChecked(control(IDC_CHK_FONT_UNDERLINE), style.underline);
        colorButtonFace_ = settings.fontColor;
        extras_ = settings.extras;
        const bool languageFile = keyMapChoice(settings.keyMap) == KeyMapChoice::LanguageFile;
        setChecked(control(IDC_OPT_MAP_LANGUAGE_FILE), languageFile);
        setChecked(control(IDC_OPT_MAP_USER), !languageFile);
        setWindowText(control(IDC_TXT_USERKEYMAP_LC), settings.keyMapUserLC);
        setWindowText(control(IDC_TXT_USERKEYMAP_UC), settings.keyMapUserUC);
    }

    // The face and the key-map texts are taken as they stand; the size follows fontSizeFromText.
    KeyboardSettings readSettings() const {
        const FontStyleChecks style{.bold = isChecked(control(IDC_CHK_FONT_BOLD)),
                                    .italic = isChecked(control(IDC_CHK_FONT_ITALIC)),
                                    .strikethrough = isChecked(control(IDC_CHK_FONT_STRIKE)),
                                    .underline = isChecked(control(IDC_CHK_FONT_UNDERLINE))};
        const bool languageFile = isChecked(control(IDC_OPT_MAP_LANGUAGE_FILE));
        return {.useSafeMode = isChecked(control(IDC_CHK_SAFE_MODE)),
                .fontFace = windowText(control(IDC_CBO_FONTFACE)),
                .fontStyle = fontStyleLetters(style),
                .fontSze = fontSizeFromText(windowText(control(IDC_CBO_FONTSIZE))),
                .fontColor = colorButtonFace_,
                .keyMap = keyMapValue(languageFile ? KeyMapChoice::LanguageFile : KeyMapChoice::UserDefined),
                .keyMapUserLC = windowText(control(IDC_TXT_USERKEYMAP_LC)),
                .keyMapUserUC = windowText(control(IDC_TXT_USERKEYMAP_UC)),
                .extras = extras_};
    }

    void onCommand(int id, int code) {
        switch (id) {
            case IDOK: return onOk();
            case IDCANCEL: return onCancel();
            case IDC_OPT_MAP_LANGUAGE_FILE:
            case IDC_OPT_MAP_USER:
                // Arrow keys select an automatic option button with a click too, so this covers the keyboard.
                if (code == BN_CLICKED || code == BN_DOUBLECLICKED) updateUserKeymapFields();
                return;
            case IDC_CBO_FONTSIZE:
                if (code == CBN_KILLFOCUS) normalizeFontSize();
                return;
            case IDC_CMD_COLOR:
                if (code == BN_CLICKED) chooseColor();
                return;
            case IDC_CMD_MORE:
                // The values stay with this dialog: its OK stores them, its Cancel drops them.
                if (code == BN_CLICKED) showMoreSettingsDialog(hwnd(), extras_, aids_);
                return;
            default: return;
        }
    }

    void updateUserKeymapFields() {
        const HWND normal = control(IDC_TXT_USERKEYMAP_LC);
        const HWND shifted = control(IDC_TXT_USERKEYMAP_UC);
        const bool user = isChecked(control(IDC_OPT_MAP_USER));
        ::EnableWindow(normal, user);
        ::EnableWindow(shifted, user);
        keymapFieldFill_ = ::IsWindowEnabled(normal) ? &fieldFill_ : &dialogFill_;
        ::InvalidateRect(normal, nullptr, TRUE);
        ::InvalidateRect(shifted, nullptr, TRUE);
        if (keymapFieldFill_ == &dialogFill_) return;
        if (::GetWindowTextLengthW(normal) == 0) setWindowText(normal, keySets_.normal);
        if (::GetWindowTextLengthW(shifted) == 0) setWindowText(shifted, keySets_.shifted);
    }

    // Disabled edit boxes ask with WM_CTLCOLORSTATIC, enabled ones with WM_CTLCOLOREDIT.
    INT_PTR onControlColor(HDC dc, HWND field) {
        if (field != control(IDC_TXT_USERKEYMAP_LC) && field != control(IDC_TXT_USERKEYMAP_UC)) return FALSE;
        ::SetBkColor(dc, keymapFieldFill_->color);
        ::SetTextColor(dc, ::GetSysColor(::IsWindowEnabled(field) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        return reinterpret_cast<INT_PTR>(keymapFieldFill_->brush.get());
    }

    void normalizeFontSize() {
        if (closing_) return;
        const HWND sizeBox = control(IDC_CBO_FONTSIZE);
        setWindowText(sizeBox, normalizedFontSizeText(windowText(sizeBox), userDecimalSeparator()));
    }

    void chooseColor() {
        const std::int32_t chosen = ShowColorDlg(hwnd(), false, colorButtonFace_);
        if (chosen == -1) return;
        colorButtonFace_ = chosen;
        ::InvalidateRect(control(IDC_CMD_COLOR), nullptr, TRUE);
    }

    // The colour button is a push button whose whole face is the chosen colour.
    void onDrawItem(const DRAWITEMSTRUCT& item) {
        if (item.CtlID != IDC_CMD_COLOR) return;
        RECT face = item.rcItem;
        const bool pushed = (item.itemState & ODS_SELECTED) != 0;
        ::DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
        ::InflateRect(&face, -2, -2);
        const Brush color(::CreateSolidBrush(static_cast<COLORREF>(colorButtonFace_)));
        ::FillRect(item.hDC, &face, color.get());
        if (item.itemState & ODS_FOCUS) {
            ::InflateRect(&face, -2, -2);
            ::DrawFocusRect(item.hDC, &face);
        }
    }

    void onOk() {
        settings_ = readSettings();
        endDialog(IDOK);
    }

    void onCancel() { endDialog(IDCANCEL); }

    void endDialog(int result) {
        closing_ = true;
        ::EndDialog(hwnd(), result);
    }

    void onDestroy() {
        closing_ = true;
        fontLoadTimer_.stop();
        access_.stop();
    }

    void onTick(UINT_PTR id) {
        if (access_.onTimer(id) || id != fontLoadTimerId) return;
        fontLoadTimer_.stop();
        loadFontLists();
    }

    // Runs once per showing, after the dialog is on screen. The face list can be long, so the dialog
    // answers input between faces; OK or Cancel in between end the loading with the dialog, and a quit
    // request met on the way is left for the modal loop, which ends the dialog on it.
    void loadFontLists() {
        for (const std::wstring& size : fontSizeListEntries()) addListEntry(control(IDC_CBO_FONTSIZE), size);
        MessagePump pump(hwnd(), closing_);
        for (const std::wstring& face : screenFontFaces()) {
            if (!pump.dispatchPending()) return;
            addListEntry(control(IDC_CBO_FONTFACE), face);
        }
    }

    KeyboardSettings settings_;
    const KeySets& keySets_;
    std::int32_t colorButtonFace_ = 0;
    ExtrasSettings extras_;  // edited in the "More settings" dialog
    bool closing_ = false;
    Font keymapFont_ = keymapFont();
    SolidFill fieldFill_{COLOR_WINDOW};
    SolidFill dialogFill_{COLOR_BTNFACE};
    const SolidFill* keymapFieldFill_ = &dialogFill_;
    WindowTimer fontLoadTimer_;
    AccessAids aids_;
    DialogAccess access_{aids_};
};

// The common controls (version 6, as the manifest asks) are loaded with the first showing of the
// dialog, their only user: loaded at start-up they were a fifth of the keyboard's start-up time.
void initCommonControls() {
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static const auto init = systemFunction<InitFunction>(L"comctl32.dll", "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    if (init != nullptr) init(&controls);
}

}  // namespace

std::optional<KeyboardSettings> showOptionsDialog(HWND owner, const KeyboardSettings& current,
                                                  const KeySets& currentKeySets, const AccessAids& aids) {
    initCommonControls();
    OptionsDialog dialog(current, currentKeySets, aids);
    return dialog.show(owner);
}

}  // namespace tapkeys
