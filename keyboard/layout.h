#pragma once
// The keyboard window's layout: every label of the window as one constant table in twips, in stacking
// order (uppermost first). Painting, hit-testing and the background's key outlines all read this table;
// nothing else in the program repeats a coordinate.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tapkeys {

inline constexpr int kLayoutDpi = 96;  // the density the layout's pixel sizes are given for
inline constexpr int kTwipsPerPixelAt96Dpi = 1440 / kLayoutDpi;
inline constexpr int kWindowWidthTwips = 9480;   // 632 px
inline constexpr int kWindowHeightTwips = 3255;  // 217 px
// The top band above the first row of key frames, by which the window is dragged.
inline constexpr int kTitleBandTwips = 720;  // 48 px
inline constexpr int kBackgroundWidthPx = 632;
inline constexpr int kBackgroundHeightPx = 218;  // one row taller than the window; the window shows 217
inline constexpr int kCharacterKeyCount = 47;

// The window's named label arrays: index i of Key and KeyBG belongs to character key i. A special
// control has a caption label (index 0) and a frame (1); Return also has the touch area between the
// rows (2) and a lower frame (3).
enum class Control : std::uint8_t {
    Key,
    KeyBG,
    Esc,
    Tab,
    CapsLock,
    Shift,
    Backspace,
    Return,
    Space,
    Options,
    Close
};

enum class CaptionFont : std::uint8_t {
    None,           // frames: no caption
    KeyFont,        // the user's key font (face, size and style letters from the settings)
    ArialNarrow,    // Arial Narrow 15.75 pt regular
    WingdingsBold,  // Wingdings 18 pt bold
    ArialBold,      // Arial 14.25 pt bold
    Marlett,        // Marlett 18 pt
};

enum class Align : std::uint8_t { Left, Centre };

// What a label is to the painter and the background art.
enum class LabelPart : std::uint8_t {
    Caption,         // carries a caption in its font (Space's caption label shows none)
    Frame,           // a key's or a button's outline on the background
    FrameExtension,  // outlined as one shape with its control's Frame (the lower part of Enter's L)
    TouchArea,       // only takes presses (Enter's area between its two frames)
};

struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    friend constexpr bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

struct Label {
    Control control;
    std::uint8_t index;
    LabelPart part;
    TwipsRect rect;
    CaptionFont font;
    Align align;
    std::wstring_view caption;          // in the label's own font; symbol fonts take their U+F0xx code points
    std::wstring_view fallbackCaption;  // where that font is not installed; empty means same as caption
};

inline constexpr TwipsRect kLogoRect{240, 120, 480, 480};

namespace detail {
struct Row {
    int firstIndex, count, captionLeft, captionTop, frameTop;
};
inline constexpr std::array<Row, 4> kRows{{
    {0, 12, 960, 840, 720},
    {12, 12, 1200, 1440, 1320},
    {24, 12, 1440, 2040, 1920},
    {36, 11, 1200, 2640, 2520},
}};
inline constexpr int kKeyPitch = 600;
inline constexpr int kKeyCaptionSize = 375;
inline constexpr int kFrameInset = 120;
inline constexpr int kFrameSize = 615;

constexpr TwipsRect keyCaptionRect(int index) {
    for (const Row& row : kRows) {
        if (index < row.firstIndex + row.count) {
            return {row.captionLeft + kKeyPitch * (index - row.firstIndex), row.captionTop, kKeyCaptionSize,
                    kKeyCaptionSize};
        }
    }
    return {};
}
constexpr TwipsRect keyFrameRect(int index) {
    const TwipsRect c = keyCaptionRect(index);
    return {c.left - kFrameInset, c.top - kFrameInset, kFrameSize, kFrameSize};
}
constexpr Label caption(Control c, TwipsRect r, CaptionFont f = CaptionFont::None, Align a = Align::Left,
                        std::wstring_view text = {}, std::wstring_view fallback = {}) {
    return {c, 0, LabelPart::Caption, r, f, a, text, fallback};
}
constexpr Label special(Control c, int i, LabelPart part, TwipsRect r) {
    return {c, static_cast<std::uint8_t>(i), part, r, CaptionFont::None, Align::Left, {}, {}};
}
constexpr Label frame(Control c, TwipsRect r) {
    return special(c, 1, LabelPart::Frame, r);
}

constexpr auto buildLayout() {
    using enum Control;
    using enum LabelPart;
    using F = CaptionFont;
    std::array<Label, 2 * kCharacterKeyCount + 20> t{};
    std::size_t n = 0;
    // 1. caption labels and the Enter touch area
    t[n++] = caption(Options, {8280, 240, 375, 375}, F::ArialBold, Align::Centre, L"\u2026");
    t[n++] = caption(Close, {8880, 240, 375, 375}, F::Marlett, Align::Centre, L"\uF072", L"\u2715");
    t[n++] = caption(Space, {7800, 2640, 1455, 375});
    t[n++] = special(Return, 2, TouchArea, {8640, 1800, 615, 615});
    t[n++] = caption(Return, {8400, 1440, 855, 375}, F::ArialNarrow, Align::Left, L"Enter");
    t[n++] = caption(Backspace, {8160, 840, 1095, 375}, F::ArialNarrow, Align::Left, L"Bksp");
    t[n++] = caption(Shift, {240, 2640, 735, 375}, F::WingdingsBold, Align::Left, L"\uF0F1", L"\u21E7");
    t[n++] = caption(CapsLock, {240, 2040, 975, 375}, F::WingdingsBold, Align::Left, L"\uF0F2", L"\u21E9");
    t[n++] = caption(Tab, {240, 1440, 735, 375}, F::ArialNarrow, Align::Left, L"Tab");
    t[n++] = caption(Esc, {240, 840, 495, 375}, F::ArialNarrow, Align::Centre, L"Esc");
    for (int i = kCharacterKeyCount - 1; i >= 0; --i) {
        t[n++] = {
            Key, static_cast<std::uint8_t>(i), Caption, keyCaptionRect(i), F::KeyFont, Align::Centre, {}, {}};
    }
    // 2. frames of the special keys
    t[n++] = frame(Space, {7680, 2520, 1695, 615});
    t[n++] = frame(Close, {8760, 120, 615, 615});
    t[n++] = frame(Backspace, {8040, 720, 1335, 615});
    t[n++] = frame(Shift, {120, 2520, 975, 615});
    t[n++] = frame(CapsLock, {120, 1920, 1215, 615});
    t[n++] = special(Return, 3, FrameExtension, {8520, 1920, 855, 615});
    t[n++] = frame(Return, {8280, 1320, 1095, 615});
    t[n++] = frame(Tab, {120, 1320, 975, 615});
    t[n++] = frame(Esc, {120, 720, 735, 615});
    // 3. frames of the character keys
    for (int i = kCharacterKeyCount - 1; i >= 0; --i) {
        t[n++] = {KeyBG, static_cast<std::uint8_t>(i), Frame, keyFrameRect(i), F::None, Align::Left, {}, {}};
    }
    // 4. lowest of all
    t[n++] = frame(Options, {8160, 120, 615, 615});
    return t;
}
}  // namespace detail

// Uppermost first: a press goes to the first label that contains the point.
inline constexpr auto kLayout = detail::buildLayout();

// What lies under a point of the window.
struct HitTarget {
    enum class Kind : std::uint8_t { Background, Logo, Label } kind = Kind::Background;
    const Label* label = nullptr;
};

// The label of a control, by name and index (nullptr when the layout has none).
constexpr const Label* findLabel(Control control, int index) {
    for (const Label& label : kLayout) {
        if (label.control == control && label.index == index) return &label;
    }
    return nullptr;
}

// The first label of a control that is this part (nullptr when the layout has none).
constexpr const Label* findLabel(Control control, LabelPart part) {
    for (const Label& label : kLayout) {
        if (label.control == control && label.part == part) return &label;
    }
    return nullptr;
}

// A key as the user sees it: a character key by its index, whichever of its two labels is touched, or
// a special control with all of its labels (index 0).
struct KeyId {
    Control control = Control::Key;
    int index = 0;
    friend constexpr bool operator==(KeyId, KeyId) = default;
};

constexpr KeyId keyOf(const Label& label) {
    if (label.control == Control::Key || label.control == Control::KeyBG) return {Control::Key, label.index};
    return {label.control, 0};
}

// The frames a key's outline goes round: one, or Enter's upper and lower frames.
struct KeyFrames {
    std::array<TwipsRect, 2> rects{};
    int count = 0;
};

constexpr KeyFrames framesOf(KeyId key) {
    if (key.control == Control::Key) return {{detail::keyFrameRect(key.index)}, 1};
    if (key.control == Control::Return)
        return {{findLabel(Control::Return, LabelPart::Frame)->rect,
                 findLabel(Control::Return, LabelPart::FrameExtension)->rect},
                2};
    const Label* frame = findLabel(key.control, LabelPart::Frame);
    return frame ? KeyFrames{{frame->rect}, 1} : KeyFrames{};
}

}  // namespace tapkeys
