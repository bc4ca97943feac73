#include "keyboard/keyboard_painter.h"

#include "keyboard/background_art.h"
#include "keyboard/background_bitmap.h"
#include "keyboard/scan_rows.h"

#include <algorithm>

namespace tapkeys {
namespace {

struct CaptionFace {
    const wchar_t* face;
    int centipoints;
    bool bold;
    // Tried in turn where the face cannot draw its captions; with a symbol face, the labels' Unicode
    // stand-ins are drawn instead. The last one is taken even when it cannot prove itself.
    std::array<const wchar_t*, 3> fallbackFaces;
};

constexpr std::array<const wchar_t*, 3> kSymbolFallbacks{L"Segoe UI Symbol", L"DejaVu Sans",
                                                         L"Arial Unicode MS"};

// Indexed by CaptionFont; None and KeyFont take no fixed face.
constexpr std::array<CaptionFace, 6> kCaptionFaces{{
    {nullptr, 0, false, {}},
    {nullptr, 0, false, {}},
    {L"Arial Narrow", 1575, false, {L"Liberation Sans Narrow", L"Arial"}},
    {L"Wingdings", 1800, true, kSymbolFallbacks},
    {L"Arial", 1425, true, {}},
    {L"Marlett", 1800, false, kSymbolFallbacks},
}};

// The suggestion strip's colours: its own dark ground, or the system's pairs in high contrast.
struct StripColours {
    COLORREF background, divider, word;
};
constexpr StripColours stripColours(const KeyPalette& palette) {
    if (palette.systemColours) return {palette.background, palette.outlines, palette.captions};
    return {RGB(22, 26, 34), RGB(70, 82, 102), palette.title};
}
constexpr COLORREF kHaloColour = RGB(176, 188, 206);  // the outlines' blue-grey

// Whether font draws every character of the captions that use it: a face may be missing altogether,
// or be present without the symbol (Wine ships a Wingdings without the arrows).
bool drawsCaptions(HFONT font, const wchar_t* face, CaptionFont use, bool standIns) {
    WindowDc screen{nullptr};
    SelectScope useFont{screen.get(), font};
    wchar_t chosen[LF_FACESIZE]{};
    // The font mapper substitutes a face that is not installed.
    if (::GetTextFaceW(screen.get(), LF_FACESIZE, chosen) == 0 || ::lstrcmpiW(chosen, face) != 0)
        return false;
    for (const Label& label : kLayout) {
        const std::wstring_view text =
            standIns && !label.fallbackCaption.empty() ? label.fallbackCaption : label.caption;
        if (label.font != use || text.empty()) continue;
        WORD glyphs[8]{};
        const int n = static_cast<int>(std::min<size_t>(text.size(), std::size(glyphs)));
        if (::GetGlyphIndicesW(screen.get(), text.data(), n, glyphs, GGI_MARK_NONEXISTING_GLYPHS) ==
            GDI_ERROR)
            return false;
        for (int i = 0; i < n; ++i) {
            if (glyphs[i] == 0xFFFF) return false;
        }
    }
    return true;
}

// A lit outline goes to white, its glow brightens with it and the key's face takes a faint blue, all in
// proportion to the light's level: a pressed key is fully lit, a dwell fills up in steps.
constexpr int kLitFace[3] = {84, 44, 26};  // blue, green, red: the low byte of a 32-bit DIB pixel is blue

std::uint32_t litPixel(std::uint32_t pixel, int level) {
    std::uint32_t out = 0;
    for (int channel = 0; channel < 3; ++channel) {
        const int shift = 8 * channel;
        const int value = static_cast<int>((pixel >> shift) & 0xFF);
        // Outline pixels are about 200: they reach 255; the glow (under 100) rises by about half.
        const int boosted =
            value + (255 - value) * std::min(255, value * 3 / 2) / 255 * level / KeyTiming::kFullLight;
        const int lit = std::max(boosted, kLitFace[channel] * level / KeyTiming::kFullLight);
        out |= static_cast<std::uint32_t>(std::min(255, lit)) << shift;
    }
    return out;
}

bool overlaps(const PixelRect& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

void KeyboardPainter::setScale(HINSTANCE instance, const LayoutScale& scale) {
    scale_ = scale.withStrip(scale_.stripShown());
    loadArtwork(instance);
    createCaptionFonts();
    if (!keyFontSpec_.face.empty() || keyFontSpec_.pointSize != 0) setKeyFont(keyFontSpec_);
}

bool KeyboardPainter::setPalette(const KeyPalette& palette) {
    if (palette == palette_) return false;
    palette_ = palette;
    return true;
}

void KeyboardPainter::loadArtwork(HINSTANCE instance) {
    background_ = backgroundBitmapFor(instance, scale_.dpi());
    logo_ = logoBitmapFor(instance, scale_.dpi());
}

Font KeyboardPainter::createFont(const wchar_t* face, int centipoints, bool bold) const {
    return tapkeys::createFont({.face = face,
                                .height = -scale_.fontPixels(centipoints),
                                .bold = bold,
                                .quality = CLEARTYPE_QUALITY});
}

void KeyboardPainter::createCaptionFonts() {
    for (size_t i = 0; i < kCaptionFaces.size(); ++i) {
        const CaptionFace& wanted = kCaptionFaces[i];
        CaptionStyle& style = captionStyles_[i];
        if (wanted.face == nullptr) {
            style = {};
            continue;
        }
        const auto use = static_cast<CaptionFont>(i);
        style.font = createFont(wanted.face, wanted.centipoints, wanted.bold);
        style.useFallback = false;
        if (wanted.fallbackFaces[0] == nullptr || drawsCaptions(style.font.get(), wanted.face, use, false))
            continue;
        style.useFallback = true;
        for (const wchar_t* face : wanted.fallbackFaces) {
            if (face == nullptr) break;
            style.font = createFont(face, wanted.centipoints, wanted.bold);
            if (drawsCaptions(style.font.get(), face, use, true)) break;
        }
    }
    titleFont_ = createFont(L"Arial", 1200, true);
    stripFont_ = scale_.stripShown() ? createFont(L"Arial", 1275, false) : Font{};
}

void KeyboardPainter::setKeyFont(const KeyFontSpec& font) {
    keyFontSpec_ = font;
    keyFont_ = tapkeys::createFont({.face = font.face,
                                    .height = -scale_.fontPixels(font.pointSize * 100),
                                    .bold = font.bold,
                                    .italic = font.italic,
                                    .underline = font.underline,
                                    .strikeOut = font.strikethrough,
                                    .quality = CLEARTYPE_QUALITY});
}

void KeyboardPainter::drawCaption(HDC dc, const Label& label, std::wstring_view text, HFONT font,
                                  COLORREF colour) const {
    if (text.empty()) return;
    const PixelRect p = scale_.toPixels(label.rect);
    SelectScope useFont{dc, font};
    const UINT format =
        DT_SINGLELINE | DT_NOPREFIX | DT_TOP | (label.align == Align::Centre ? DT_CENTER : DT_LEFT);
    const auto draw = [&](int dx, int dy) {
        RECT r{p.left + dx, p.top + dy, p.right + dx, p.bottom + dy};
        ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, format);
    };
    if (palette_.halo) {
        // A caption too dark to read on the black image (the settings' default colour is black) gets
        // a thin light halo, so every key stays readable in any colour.
        // Clipped to the label like the caption itself, so the halo never spills onto a neighbour.
        const int reach = std::max(1, scale_.dpi() / kLayoutDpi);
        const SavedDcState keepClip{dc};
        ::IntersectClipRect(dc, p.left, p.top, p.right, p.bottom);
        const TextColorScope halo{dc, kHaloColour};
        for (int dy = -reach; dy <= reach; dy += reach) {
            for (int dx = -reach; dx <= reach; dx += reach) {
                if (dx != 0 || dy != 0) draw(dx, dy);
            }
        }
    }
    const TextColorScope caption{dc, colour};
    draw(0, 0);
}

// A bar under the accent, where the letter it goes on will stand: the key types nothing by itself. It
// gets the captions' halo, so it shows in any caption colour.
void KeyboardPainter::drawDeadKeyMark(HDC dc, const Label& label, COLORREF colour) const {
    const PixelRect p = scale_.toPixels(label.rect);
    const int width = p.right - p.left, thickness = std::max(2, scale_.dpi() / 48);
    RECT bar{p.left + width / 4, p.bottom - 2 * thickness, p.right - width / 4, p.bottom - thickness};
    if (palette_.halo) {
        const int reach = std::max(1, scale_.dpi() / kLayoutDpi);
        RECT halo{bar.left - reach, bar.top - reach, bar.right + reach, bar.bottom + reach};
        const Brush haloBrush{::CreateSolidBrush(kHaloColour)};
        ::FillRect(dc, &halo, haloBrush.get());
    }
    const Brush brush{::CreateSolidBrush(colour)};
    ::FillRect(dc, &bar, brush.get());
}

void KeyboardPainter::drawTitle(HDC dc, const RECT& area) const {
    const PixelRect logo = scale_.toPixels(kLogoRect);
    const PixelRect options = scale_.toPixels(findLabel(Control::Options, LabelPart::Frame)->rect);
    RECT r{logo.right + scale_.toPixels(180), logo.top, options.left - scale_.toPixels(120), logo.bottom};
    if (!overlaps({r.left, r.top, r.right, r.bottom}, area)) return;
    SelectScope useFont{dc, titleFont_.get()};
    const TextColorScope title{dc, notice_.empty() ? palette_.title : palette_.notice};
    const std::wstring_view text = notice_.empty() ? std::wstring_view(L"tapkeys") : notice_;
    ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r,
                DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
}

// Its font is made only while the strip shows: with prediction off the keyboard holds what it held.
void KeyboardPainter::showStrip(bool shown) {
    scale_ = scale_.withStrip(shown);
    stripFont_ = shown ? createFont(L"Arial", 1275, false) : Font{};
}

// The strip's ground and the lines between its cells; the words come after the lights.
void KeyboardPainter::drawStrip(HDC dc, const RECT& area) const {
    const StripColours colours = stripColours(palette_);
    const PixelRect first = scale_.toPixels(kSuggestionCells[0].rect);
    const RECT strip{0, first.top, scale_.windowWidth(), scale_.windowHeight()};
    const Brush ground{::CreateSolidBrush(colours.background)};
    ::FillRect(dc, &strip, ground.get());
    const Brush divider{::CreateSolidBrush(colours.divider)};
    const RECT top{0, strip.top, strip.right, strip.top + 1};
    ::FillRect(dc, &top, divider.get());
    for (const Label& cell : kSuggestionCells) {
        const PixelRect p = scale_.toPixels(cell.rect);
        const RECT line{p.left, p.top + scale_.toPixels(90), p.left + 1, p.bottom - scale_.toPixels(90)};
        if (cell.index > 0 && overlaps(p, area)) ::FillRect(dc, &line, divider.get());
    }
}

void KeyboardPainter::drawSuggestions(HDC dc, const RECT& area,
                                      const std::vector<std::wstring>& suggestions) const {
    SelectScope useFont{dc, stripFont_.get()};
    const TextColorScope colour{dc, stripColours(palette_).word};
    for (const Label& cell : kSuggestionCells) {
        const PixelRect p = scale_.toPixels(cell.rect);
        if (cell.index >= suggestions.size() || !overlaps(p, area)) continue;
        const std::wstring& word = suggestions[cell.index];
        RECT r{p.left + scale_.toPixels(60), p.top, p.right - scale_.toPixels(60), p.bottom};
        ::DrawTextW(dc, word.data(), static_cast<int>(word.size()), &r,
                    DT_SINGLELINE | DT_NOPREFIX | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
    }
}

// The key's frames less their last column, where the right-hand neighbour's outline begins; pixels holds
// the area's pixels, top-down, row by row.
void KeyboardPainter::lightKey(std::uint32_t* pixels, const RECT& area, const KeyTiming::Light& light) const {
    const KeyFrames frames = framesOf(light.key);
    const int width = area.right - area.left;
    for (int f = 0; f < frames.count; ++f) {
        const PixelRect r = scale_.toPixels(frames.rects[static_cast<std::size_t>(f)]);
        // Enter's two frames overlap by a row, which must be lit once.
        const int top = f > 0 ? std::max(r.top, scale_.toPixels(frames.rects[0]).bottom) : r.top;
        for (int y = std::max<int>(area.top, top); y < std::min<int>(r.bottom, area.bottom); ++y) {
            for (int x = std::max<int>(area.left, r.left); x < std::min<int>(r.right - 1, area.right); ++x) {
                std::uint32_t& pixel =
                    pixels[static_cast<std::size_t>(y - area.top) * width + (x - area.left)];
                pixel = litPixel(pixel, light.level);
            }
        }
    }
}

// In system colours the keys are plain rings in the text colour, gaps between them, the lit ones in the
// highlight colour and thicker the more they are lit. Enter's lower frame reaches up into its upper
// one, so the two make one L-shaped ring.
void KeyboardPainter::drawSystemColourKeys(HDC dc, const RECT& area,
                                           std::span<const KeyTiming::Light> lights) const {
    const int gap = scaledPixels(2, scale_.dpi()), line = scaledPixels(2, scale_.dpi());
    const Brush outline{::CreateSolidBrush(palette_.outlines)}, light{::CreateSolidBrush(palette_.light)},
        inside{::CreateSolidBrush(palette_.background)};
    for (const Label& label : kLayout) {
        if (label.part != LabelPart::Frame) continue;
        const KeyId key = keyOf(label);
        const KeyFrames frames = framesOf(key);
        const PixelRect outer = scale_.toPixels(frames.rects[static_cast<std::size_t>(frames.count - 1)]);
        if (!overlaps(scale_.toPixels(frames.rects[0]), area) && !overlaps(outer, area)) continue;
        const auto lit = std::ranges::find(lights, key, &KeyTiming::Light::key);
        if (lit == lights.end() || lit->level <= 0) {
            drawKeyRing(dc, frames, gap, line, outline.get(), inside.get());
            continue;
        }
        const int width = line + scaledPixels(3, scale_.dpi()) * lit->level / KeyTiming::kFullLight;
        drawKeyRing(dc, frames, gap, width, light.get(), inside.get());
    }
}

void KeyboardPainter::drawKeyRing(HDC dc, const KeyFrames& frames, int inset, int width, HBRUSH ring,
                                  HBRUSH inside) const {
    const PixelRect first = scale_.toPixels(frames.rects[0]);
    for (const auto& [brush, by] : {std::pair{ring, inset}, std::pair{inside, inset + width}}) {
        for (int f = 0; f < frames.count; ++f) {
            PixelRect p = scale_.toPixels(frames.rects[static_cast<std::size_t>(f)]);
            if (f > 0) p.top = first.top;
            const RECT r{p.left + by, p.top + by, p.right - by, p.bottom - by};
            ::FillRect(dc, &r, brush);
        }
    }
}

// The pixels inside the rectangles that lie within the outline's thickness of their shape's edge, so
// Enter's L is outlined as one shape. The colour is the scanner's, kept in one place; in high contrast
// the system's highlight.
void KeyboardPainter::drawScanOutline(std::uint32_t* pixels, const RECT& area) const {
    std::vector<PixelRect> shape;
    for (const TwipsRect& rect : scanOutline_) shape.push_back(scale_.toPixels(rect));
    const auto inside = [&](int x, int y) {
        return std::ranges::any_of(shape, [&](const PixelRect& r) {
            return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        });
    };
    const int t = std::max(2, scale_.toPixels(kScanOutlineTwips));
    const std::uint32_t c = palette_.systemColours ? palette_.light : kScanHighlightColour;
    const std::uint32_t colour =
        ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);  // DIBs hold blue low
    const int width = area.right - area.left;
    for (const PixelRect& r : shape) {
        for (int y = std::max<int>(area.top, r.top); y < std::min<int>(r.bottom, area.bottom); ++y) {
            for (int x = std::max<int>(area.left, r.left); x < std::min<int>(r.right, area.right); ++x) {
                const bool edge = !inside(x - t, y) || !inside(x + t, y) || !inside(x, y - t) ||
                                  !inside(x, y + t) || !inside(x - t, y - t) || !inside(x + t, y + t) ||
                                  !inside(x - t, y + t) || !inside(x + t, y - t);
                if (edge) pixels[static_cast<std::size_t>(y - area.top) * width + (x - area.left)] = colour;
            }
        }
    }
}

// Draws only the dirty part: a pressed key repaints its own rectangle, not the window, and the
// captions outside it are not drawn at all.
void KeyboardPainter::paint(HDC target, const RECT& dirty, const KeyMap& keys,
                            std::span<const KeyTiming::Light> lights,
                            const std::vector<std::wstring>& suggestions) {
    const COLORREF captionColour = palette_.captions;
    const int width = scale_.windowWidth(), height = scale_.windowHeight();
    const RECT area{std::max<LONG>(0, dirty.left), std::max<LONG>(0, dirty.top),
                    std::min<LONG>(width, dirty.right), std::min<LONG>(height, dirty.bottom)};
    if (area.right <= area.left || area.bottom <= area.top) return;
    MemoryDc buffer{::CreateCompatibleDC(target)};
    // A top-down 32-bit canvas of the area, whose pixels the key lights change in place; drawing keeps
    // window coordinates through the viewport origin.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER),
                      area.right - area.left,
                      -(area.bottom - area.top),
                      1,
                      32,
                      BI_RGB,
                      0,
                      0,
                      0,
                      0,
                      0};
    void* bits = nullptr;
    Bitmap canvas{::CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0)};
    SelectScope useCanvas{buffer.get(), canvas.get()};
    const HDC dc = buffer.get();
    ::SetViewportOrgEx(dc, -area.left, -area.top, nullptr);

    // Black shows wherever the background image does not reach.
    const Brush backgroundBrush{palette_.systemColours ? ::CreateSolidBrush(palette_.background) : nullptr};
    ::FillRect(dc, &area,
               backgroundBrush ? backgroundBrush.get() : static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    {
        MemoryDc art{::CreateCompatibleDC(target)};
        if (background_ && !palette_.systemColours) {
            SelectScope useArt{art.get(), background_.get()};
            ::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, art.get(),
                     area.left, area.top, SRCCOPY);
        }
        const PixelRect logo = scale_.toPixels(kLogoRect);
        if (logo_ && overlaps(logo, area)) {
            SelectScope useArt{art.get(), logo_.get()};
            ::BitBlt(dc, logo.left, logo.top, logo.right - logo.left, logo.bottom - logo.top, art.get(), 0, 0,
                     SRCCOPY);
        }
    }
    // The strip lies below the background image, which covers no part of it.
    if (scale_.stripShown()) drawStrip(dc, area);
    if (palette_.systemColours) drawSystemColourKeys(dc, area, lights);
    if (bits != nullptr && !lights.empty() && !palette_.systemColours) {
        ::GdiFlush();  // the blits above must have landed before the pixels are read
        for (const KeyTiming::Light& light : lights) lightKey(static_cast<std::uint32_t*>(bits), area, light);
    }
    if (bits != nullptr && !scanOutline_.empty()) {
        ::GdiFlush();
        drawScanOutline(static_cast<std::uint32_t*>(bits), area);
    }
    ::SetBkMode(dc, TRANSPARENT);
    drawTitle(dc, area);
    if (scale_.stripShown()) drawSuggestions(dc, area, suggestions);
    // Lowest label first, so where captions overlap the uppermost one is drawn last.
    for (auto it = kLayout.rbegin(); it != kLayout.rend(); ++it) {
        const Label& label = *it;
        if (label.part != LabelPart::Caption || label.font == CaptionFont::None) continue;
        if (!overlaps(scale_.toPixels(label.rect), area)) continue;
        if (label.font == CaptionFont::KeyFont) {
            drawCaption(dc, label, keys.keyCharacter(label.index), keyFont_.get(), captionColour);
            if (keys.isDeadKey(label.index)) drawDeadKeyMark(dc, label, captionColour);
            continue;
        }
        const CaptionStyle& style = captionStyles_[static_cast<size_t>(label.font)];
        const bool fallback = style.useFallback && !label.fallbackCaption.empty();
        drawCaption(dc, label, fallback ? label.fallbackCaption : label.caption, style.font.get(),
                    captionColour);
    }
    ::BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left,
             area.top, SRCCOPY);
}

}  // namespace tapkeys
