#pragma once
// Draws the keyboard window in one pass into an off-screen bitmap: the background with the key
// outlines, the logo, the title and every caption in the caption colour. Labels never paint a
// background of their own.

#include <windows.h>

#include <array>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "keyboard/key_font.h"
#include "keyboard/key_map.h"
#include "keyboard/key_palette.h"
#include "keyboard/key_timing.h"
#include "keyboard/layout_scale.h"
#include "win32/gdi.h"

namespace tapkeys {

class KeyboardPainter {
public:
    // Fonts and artwork for this scale; called at start-up, when the window moves to a monitor of
    // another scale and when the keyboard's size changes.
    void setScale(HINSTANCE instance, const LayoutScale& scale);
    // Returns whether anything drawn changes.
    bool setPalette(const KeyPalette& palette);
    void setKeyFont(const KeyFontSpec& font);
    const LayoutScale& scale() const { return scale_; }
    // The suggestion strip below the keys: the window's size and hit-testing follow the scale.
    void showStrip(bool shown);
    // A short message shown in the title band in place of the title; empty shows the title again.
    void setNotice(std::wstring notice) { notice_ = std::move(notice); }
    const std::wstring& notice() const { return notice_; }
    // The scanning highlight: a thick outline round the outer edge of these rectangles (none when empty).
    void setScanOutline(std::vector<TwipsRect> rects) { scanOutline_ = std::move(rects); }
    const std::vector<TwipsRect>& scanOutline() const { return scanOutline_; }

    // lights: the keys whose outline is lit (pressed, or resting under a dwelling pointer).
    // suggestions: the strip's words, cell by cell, where the strip is shown.
    void paint(HDC target, const RECT& dirty, const KeyMap& keys, std::span<const KeyTiming::Light> lights,
               const std::vector<std::wstring>& suggestions);

private:
    struct CaptionStyle {
        Font font;
        bool useFallback = false;  // the symbol face is missing: draw the Unicode stand-in
    };

    void loadArtwork(HINSTANCE instance);
    void createCaptionFonts();
    Font createFont(const wchar_t* face, int centipoints, bool bold) const;
    void drawCaption(HDC dc, const Label& label, std::wstring_view text, HFONT font, COLORREF colour) const;
    void drawDeadKeyMark(HDC dc, const Label& label, COLORREF colour) const;
    void drawTitle(HDC dc, const RECT& area) const;
    void drawStrip(HDC dc, const RECT& area) const;
    void drawSuggestions(HDC dc, const RECT& area, const std::vector<std::wstring>& suggestions) const;
    void lightKey(std::uint32_t* pixels, const RECT& area, const KeyTiming::Light& light) const;
    void drawSystemColourKeys(HDC dc, const RECT& area, std::span<const KeyTiming::Light> lights) const;
    // A ring of width inside the key's frames less inset, filled inside with the background.
    void drawKeyRing(HDC dc, const KeyFrames& frames, int inset, int width, HBRUSH ring, HBRUSH inside) const;
    void drawScanOutline(std::uint32_t* pixels, const RECT& area) const;

    LayoutScale scale_{kLayoutDpi};
    KeyPalette palette_ = choosePalette({}, 0);
    KeyFontSpec keyFontSpec_;
    Font keyFont_;
    Font titleFont_;
    Font stripFont_;
    std::array<CaptionStyle, 6> captionStyles_{};  // by CaptionFont
    Bitmap background_;
    Bitmap logo_;
    std::wstring notice_;
    std::vector<TwipsRect> scanOutline_;
};

}  // namespace tapkeys
