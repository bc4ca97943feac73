#pragma once
// GDI objects and device contexts, each released the way it was obtained.

#include <windows.h>

#include <string_view>

#include "win32/unique_handle.h"

namespace tapkeys {

template <typename T>
struct GdiObjectTraits {
    using Handle = T;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { ::DeleteObject(h); }
};
using Font = UniqueHandle<GdiObjectTraits<HFONT>>;
using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using Brush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using Pen = UniqueHandle<GdiObjectTraits<HPEN>>;

// What the program asks of a font; every other LOGFONT field keeps its default (zero).
struct FontRequest {
    std::wstring_view face;  // goes to the font mapper unchanged: a face not installed gets its nearest match
    int height = 0;          // LOGFONT height: negative for a character height in pixels
    bool bold = false, italic = false, underline = false, strikeOut = false;
    BYTE quality = DEFAULT_QUALITY;
    BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
};

inline Font createFont(const FontRequest& request) {
    LOGFONTW lf{};
    lf.lfHeight = request.height;
    lf.lfWeight = request.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = request.italic;
    lf.lfUnderline = request.underline;
    lf.lfStrikeOut = request.strikeOut;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = request.quality;
    lf.lfPitchAndFamily = request.pitchAndFamily;
    // A longer face is cut to what LOGFONT holds; the last character stays the terminating zero.
    request.face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return Font{::CreateFontIndirectW(&lf)};
}

struct MemoryDcTraits {
    using Handle = HDC;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { ::DeleteDC(h); }
};
using MemoryDc = UniqueHandle<MemoryDcTraits>;

struct IconTraits {
    using Handle = HICON;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { ::DestroyIcon(h); }
};
using Icon = UniqueHandle<IconTraits>;

// A DC from GetDC, given back to its window.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { ::BeginPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { ::EndPaint(hwnd_, &ps_); }
    HDC dc() const { return ps_.hdc; }
    const RECT& dirty() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
};

// SelectObject, undone when the scope ends so the object can be deleted afterwards.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;
    ~SelectScope() { ::SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// SaveDC / RestoreDC: whatever the scope changes in the DC (clip region, colours, selections) is undone.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;
    ~SavedDcState() {
        if (saved_ != 0) ::RestoreDC(dc_, saved_);
    }

private:
    HDC dc_;
    int saved_;
};

// SetTextColor, the previous colour back when the scope ends.
class TextColorScope {
public:
    TextColorScope(HDC dc, COLORREF colour) : dc_(dc), previous_(::SetTextColor(dc, colour)) {}
    TextColorScope(const TextColorScope&) = delete;
    TextColorScope& operator=(const TextColorScope&) = delete;
    ~TextColorScope() { ::SetTextColor(dc_, previous_); }

private:
    HDC dc_;
    COLORREF previous_;
};

}  // namespace tapkeys
