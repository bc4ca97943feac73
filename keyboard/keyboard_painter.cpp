#include "keyboard/keyboard_painter.h"

#include "keyboard/background_bitmap.h"

namespace tapkeys {
namespace {

struct CaptionFace {
    const wchar_t* face;
    int centipoints;
    bool bold;
    const wchar_t* fallbackFace;  // for the Unicode stand-ins where the face is not installed
};

// Indexed by CaptionFont; None and KeyFont take no fixed face.
constexpr std::array<CaptionFace, 6> kCaptionFaces{{
    {nullptr, 0, false, nullptr},
    {nullptr, 0, false, nullptr},
    {L"Arial Narrow", 1575, false, nullptr},
    {L"Wingdings", 1800, true, L"Segoe UI Symbol"},
    {L"Arial", 1425, true, nullptr},
    {L"Marlett", 1800, false, L"Segoe UI Symbol"},
}};

constexpr COLORREF kTitleColour = RGB(236, 240, 246);

int CALLBACK onFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool faceInstalled(const wchar_t* face) {
    WindowDc screen{nullptr};
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    wcsncpy_s(query.lfFaceName, face, _TRUNCATE);
    bool found = false;
    ::EnumFontFamiliesExW(screen.get(), &query, onFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

}  // namespace

void KeyboardPainter::setDpi(HINSTANCE instance, int dpi) {
    scale_ = LayoutScale{dpi};
    loadArtwork(instance);
    createCaptionFonts();
    if (!keyFontSpec_.face.empty() || keyFontSpec_.pointSize != 0) setKeyFont(keyFontSpec_);
}

void KeyboardPainter::loadArtwork(HINSTANCE instance) {
    background_ = backgroundBitmapFor(instance, scale_.dpi());
    logo_ = logoBitmapFor(instance, scale_.dpi());
}

Font KeyboardPainter::createFont(const wchar_t* face, int centipoints, bool bold) const {
    LOGFONTW lf{};
    lf.lfHeight = -scale_.fontPixels(centipoints);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy_s(lf.lfFaceName, face, _TRUNCATE);
    return Font{::CreateFontIndirectW(&lf)};
}

void KeyboardPainter::createCaptionFonts() {
    for (size_t i = 0; i < kCaptionFaces.size(); ++i) {
        const CaptionFace& spec = kCaptionFaces[i];
        CaptionStyle& style = captionStyles_[i];
        if (spec.face == nullptr) {
            style = {};
            continue;
        }
        style.useFallback = spec.fallbackFace != nullptr && !faceInstalled(spec.face);
        style.font = createFont(style.useFallback ? spec.fallbackFace : spec.face, spec.centipoints, spec.bold);
    }
    titleFont_ = createFont(L"Arial", 1200, true);
}

void KeyboardPainter::setKeyFont(const KeyFontSpec& spec) {
    keyFontSpec_ = spec;
    LOGFONTW lf{};
    lf.lfHeight = -scale_.fontPixels(spec.pointSize * 100);
    lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = spec.italic;
    lf.lfUnderline = spec.underline;
    lf.lfStrikeOut = spec.strikethrough;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    // The face goes to the font mapper unchanged: a face that is not installed gets its nearest match.
    wcsncpy_s(lf.lfFaceName, spec.face.c_str(), _TRUNCATE);
    keyFont_.reset(::CreateFontIndirectW(&lf));
}

void KeyboardPainter::drawCaption(HDC dc, const Label& label, std::wstring_view text, HFONT font) const {
    if (text.empty()) return;
    const PixelRect p = scale_.toPixels(label.rect);
    RECT r{p.left, p.top, p.right, p.bottom};
    SelectScope useFont{dc, font};
    const UINT align = label.align == Align::Centre ? DT_CENTER : DT_LEFT;
    ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_NOPREFIX | DT_TOP | align);
}

void KeyboardPainter::drawTitle(HDC dc) const {
    const PixelRect logo = scale_.toPixels(kLogoRect);
    const PixelRect options = scale_.toPixels(findLabel(Control::Options, 1)->rect);
    RECT r{logo.right + scale_.toPixels(180), logo.top, options.left - scale_.toPixels(120), logo.bottom};
    SelectScope useFont{dc, titleFont_.get()};
    const COLORREF previous = ::SetTextColor(dc, kTitleColour);
    static constexpr wchar_t kTitle[] = L"tapkeys";
    ::DrawTextW(dc, kTitle, -1, &r, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_LEFT);
    ::SetTextColor(dc, previous);
}

void KeyboardPainter::paint(HDC target, const RECT& dirty, const KeyMap& keys, COLORREF captionColour) {
    const int width = scale_.windowWidth(), height = scale_.windowHeight();
    MemoryDc buffer{::CreateCompatibleDC(target)};
    Bitmap canvas{::CreateCompatibleBitmap(target, width, height)};
    SelectScope useCanvas{buffer.get(), canvas.get()};
    const HDC dc = buffer.get();

    // Black shows wherever the background image does not reach.
    RECT all{0, 0, width, height};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    {
        MemoryDc art{::CreateCompatibleDC(target)};
        if (background_) {
            SelectScope useArt{art.get(), background_.get()};
            ::BitBlt(dc, 0, 0, width, height, art.get(), 0, 0, SRCCOPY);
        }
        if (logo_) {
            const PixelRect logo = scale_.toPixels(kLogoRect);
            SelectScope useArt{art.get(), logo_.get()};
            ::BitBlt(dc, logo.left, logo.top, logo.right - logo.left, logo.bottom - logo.top, art.get(), 0, 0, SRCCOPY);
        }
    }
    ::SetBkMode(dc, TRANSPARENT);
    drawTitle(dc);
    ::SetTextColor(dc, captionColour);
    // Lowest label first, so where captions overlap the uppermost one is drawn last.
    for (auto it = kLayout.rbegin(); it != kLayout.rend(); ++it) {
        const Label& label = *it;
        if (label.font == CaptionFont::None) continue;
        if (label.font == CaptionFont::KeyFont) {
            drawCaption(dc, label, keys.keyCharacter(label.index), keyFont_.get());
            continue;
        }
        const CaptionStyle& style = captionStyles_[static_cast<size_t>(label.font)];
        const bool fallback = style.useFallback && !label.fallbackCaption.empty();
        drawCaption(dc, label, fallback ? label.fallbackCaption : label.caption, style.font.get());
    }
    ::BitBlt(target, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, dc, dirty.left,
             dirty.top, SRCCOPY);
}

}  // namespace tapkeys
