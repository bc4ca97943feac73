// Prints the keyboard window's layout in screen pixels as JSON, for the end-to-end driver, which clicks
// and inspects the window at these positions and so never repeats a coordinate of its own.
//   layout_points [DPI [SIZE]]   DPI defaults to 96, SIZE (the keyboard's size in per cent) to 100;
//                                pixels are the painted ones, twips * DPI * SIZE / 144000
//
// Labels come in stacking order, uppermost first, as the window hit-tests them; "part" says what each
// one is (Caption, Frame, FrameExtension, TouchArea); "font" is "None" for the labels that never show a
// caption (frames, Space's caption label, the Enter touch area).

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "keyboard/layout.h"
#include "keyboard/layout_scale.h"
#include "tools/json_text.h"

namespace {

using tapkeys::Control;

std::string_view controlName(Control control) {
    switch (control) {
        case Control::Key: return "Key";
        case Control::KeyBG: return "KeyBG";
        case Control::Esc: return "Esc";
        case Control::Tab: return "Tab";
        case Control::CapsLock: return "CapsLock";
        case Control::Shift: return "Shift";
        case Control::Backspace: return "Backspace";
        case Control::Return: return "Return";
        case Control::Space: return "Space";
        case Control::Options: return "Options";
        case Control::Close: return "Close";
        case Control::Suggestion: return "Suggestion";
    }
    return "?";
}

std::string_view partName(tapkeys::LabelPart part) {
    using tapkeys::LabelPart;
    switch (part) {
        case LabelPart::Caption: return "Caption";
        case LabelPart::Frame: return "Frame";
        case LabelPart::FrameExtension: return "FrameExtension";
        case LabelPart::TouchArea: return "TouchArea";
    }
    return "?";
}

std::string_view fontName(tapkeys::CaptionFont font) {
    using tapkeys::CaptionFont;
    switch (font) {
        case CaptionFont::None: return "None";
        case CaptionFont::KeyFont: return "KeyFont";
        case CaptionFont::ArialNarrow: return "ArialNarrow";
        case CaptionFont::WingdingsBold: return "WingdingsBold";
        case CaptionFont::ArialBold: return "ArialBold";
        case CaptionFont::Marlett: return "Marlett";
    }
    return "?";
}

using tapkeys::jsonString;

std::string rectJson(const tapkeys::PixelRect& r) {
    char text[96];
    std::snprintf(text, sizeof text, "\"left\": %d, \"top\": %d, \"width\": %d, \"height\": %d", r.left,
                  r.top, r.right - r.left, r.bottom - r.top);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const int dpi = argc > 1 ? std::atoi(argv[1]) : 96, size = argc > 2 ? std::atoi(argv[2]) : 100;
    if (dpi <= 0 || size <= 0) {
        std::fprintf(stderr, "usage: layout_points [DPI [SIZE]]\n");
        return 2;
    }
    const tapkeys::LayoutScale scale(dpi, size);
    // The density the layout is drawn at, the size included.
    std::printf("{\n  \"dpi\": %d,\n  \"window\": {\"width\": %d, \"height\": %d},\n", scale.dpi(),
                scale.windowWidth(), scale.windowHeight());
    std::printf("  \"logo\": {%s},\n  \"labels\": [\n", rectJson(scale.toPixels(tapkeys::kLogoRect)).c_str());
    bool first = true;
    for (const tapkeys::Label& label : tapkeys::kLayout) {
        std::printf(
            "%s    {\"control\": \"%s\", \"index\": %d, \"part\": \"%s\", %s, \"font\": \"%s\", "
            "\"caption\": %s}",
            first ? "" : ",\n", std::string(controlName(label.control)).c_str(), label.index,
            std::string(partName(label.part)).c_str(), rectJson(scale.toPixels(label.rect)).c_str(),
            std::string(fontName(label.font)).c_str(), jsonString(label.caption).c_str());
        first = false;
    }
    // The suggestion strip's cells, where the window shows them with word prediction on.
    std::printf("\n  ],\n  \"suggestions\": [");
    const tapkeys::LayoutScale withStrip = scale.withStrip(true);
    for (const tapkeys::Label& cell : tapkeys::kSuggestionCells)
        std::printf("%s{%s}", cell.index == 0 ? "" : ", ", rectJson(withStrip.toPixels(cell.rect)).c_str());
    std::printf("],\n  \"windowWithStrip\": {\"width\": %d, \"height\": %d}\n}\n", withStrip.windowWidth(),
                withStrip.windowHeight());
    return 0;
}
