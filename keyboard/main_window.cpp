#include "keyboard/main_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "assets/resource_ids.h"
#include "keyboard/topmost_keeper.h"
#include "options/options_dialog.h"
#include "output/key_string_sender.h"
#include "output/target_caps_lock.h"
#include "output/target_layout_reader.h"
#include "settings/language_key_map.h"
#include "win32/foreground_window.h"
#include "win32/module_path.h"
#include "win32/system_function.h"

namespace tapkeys {
namespace {

constexpr wchar_t kClassName[] = L"tapkeysKeyboard";
constexpr UINT_PTR kFocusTimerId = 1;  // tmrGetActiveControl
constexpr UINT kFocusTimerMs = 100;
constexpr UINT_PTR kTimingTimerId = 3;  // press lights, repeat and dwell
// The moment a new light leaves the target to take its keystrokes in, unless other input comes first.
constexpr DWORD kLightHeadStartMs = 2;
constexpr int kSwitchSource = -2;  // the press tracker's source for switch picks
// A client's default action on a key, posted so that the key is pressed after the client's call has
// returned: wParam the control, lParam the index.
constexpr UINT kAccessiblePressMessage = WM_APP + 1;
constexpr int kAccessibleSource = -3;  // the press tracker's source for those presses

// Windows 8 and later; without the function there are no pointer messages either.
bool isTouch(UINT32 pointerId) {
    using GetPointerTypeFunction = BOOL(WINAPI*)(UINT32, POINTER_INPUT_TYPE*);
    static const auto getPointerType =
        systemFunction<GetPointerTypeFunction>(L"user32.dll", "GetPointerType");
    POINTER_INPUT_TYPE type = PT_POINTER;
    return getPointerType != nullptr && getPointerType(pointerId, &type) && type == PT_TOUCH;
}

// Keys that type again while held: the ones a physical keyboard repeats; not Esc, the shift keys or
// the buttons.
bool repeats(Control control) {
    switch (control) {
        case Control::Key:
        case Control::KeyBG:
        case Control::Space:
        case Control::Backspace:
        case Control::Tab:
        case Control::Return: return true;
        default: return false;
    }
}

// Physical, as a release that went to another window never reached this thread's key state.
bool isPhysicallyDown(MouseButton button) {
    const bool swapped = ::GetSystemMetrics(SM_SWAPBUTTON) != 0;
    int key = VK_MBUTTON;
    if (button == MouseButton::Left) key = swapped ? VK_RBUTTON : VK_LBUTTON;
    if (button == MouseButton::Right) key = swapped ? VK_LBUTTON : VK_RBUTTON;
    return (::GetAsyncKeyState(key) & 0x8000) != 0;
}

POINT pointFrom(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

int windowDpi(HWND hwnd) {
    const UINT dpi = ::GetDpiForWindow(hwnd);
    return dpi != 0 ? static_cast<int>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

HICON loadIcon(HINSTANCE instance, int size) {
    return static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TAPKEYS), IMAGE_ICON, size, size, LR_SHARED));
}

// The keyboard opens without taking the activation from the window in front, which so becomes its
// first target at once. It also spares the start the input-method set-up that Wine runs for an
// activated window (COM and its libraries: a fifth of the start-up time and a third of the memory).
int withoutActivation(int showCommand) {
    switch (showCommand) {
        case SW_SHOWNORMAL:
        case SW_SHOWDEFAULT: return SW_SHOWNOACTIVATE;
        case SW_SHOW: return SW_SHOWNA;
        case SW_SHOWMINIMIZED: return SW_SHOWMINNOACTIVE;
        default: return showCommand;
    }
}

// Every monitor's work area and density.
std::vector<MonitorArea> monitorAreas() {
    using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto dpiForMonitor = systemFunction<DpiForMonitor>(L"shcore.dll", "GetDpiForMonitor");
    std::vector<MonitorArea> areas;
    const auto add = [](HMONITOR monitor, HDC, LPRECT, LPARAM context) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
        UINT dpiX = USER_DEFAULT_SCREEN_DPI, dpiY = USER_DEFAULT_SCREEN_DPI;
        if (dpiForMonitor == nullptr ||
            FAILED(dpiForMonitor(monitor, 0 /* MDT_EFFECTIVE_DPI */, &dpiX, &dpiY)))
            dpiX = USER_DEFAULT_SCREEN_DPI;
        const RECT& w = info.rcWork;
        reinterpret_cast<std::vector<MonitorArea>*>(context)->push_back(
            {{w.left, w.top, w.right, w.bottom}, static_cast<int>(dpiX)});
        return TRUE;
    };
    ::EnumDisplayMonitors(nullptr, nullptr, add, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, const ContrastSource& contrast)
    : instance_(instance),
      appFolder_(executableFolder()),
      settingsPath_(settingsPathFor(appFolder_, executableBaseName())),
      keyOutput_(settings_.useSafeMode, [this] { keyMap_.releaseOneShotShift(); }),
      contrast_(contrast) {}

bool MainWindow::create(int showCommand) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;  // fast repeated touches arrive as double clicks, which keys count as presses
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance_;
    wc.hIcon = loadIcon(instance_, 32);
    wc.hIconSm = loadIcon(instance_, 16);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);

    // A tool window gets no taskbar button; the size is corrected for the monitor's density in onLoad.
    const LayoutScale at96{};
    if (!::CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"Form1", WS_POPUP, 0, 0, at96.windowWidth(),
                           at96.windowHeight(), nullptr, nullptr, instance_, this)) {
        return false;
    }
    onLoad();
    ::ShowWindow(hwnd(), withoutActivation(showCommand));
    ::UpdateWindow(hwnd());
    return true;
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: return onPaint(), 0;
        case WM_ERASEBKGND: return 1;  // every pixel is painted from the off-screen buffer
        case WM_MOUSEACTIVATE: return onMouseActivate(pointFrom(static_cast<LPARAM>(::GetMessagePos())));
        case WM_POINTERACTIVATE: return onPointerActivate(pointFrom(static_cast<LPARAM>(::GetMessagePos())));
        case WM_POINTERDOWN: return onPointer(TouchRouter::Message::Down, message, wParam, lParam);
        case WM_POINTERUPDATE: return onPointer(TouchRouter::Message::Update, message, wParam, lParam);
        case WM_POINTERUP: return onPointer(TouchRouter::Message::Up, message, wParam, lParam);
        case WM_POINTERCAPTURECHANGED: return onPointer(TouchRouter::Message::Lost, message, wParam, lParam);
        case WM_LBUTTONDOWN: return onPress(MouseButton::Left, pointFrom(lParam), false), 0;
        case WM_LBUTTONDBLCLK: return onPress(MouseButton::Left, pointFrom(lParam), true), 0;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK: return onPress(MouseButton::Right, pointFrom(lParam), false), 0;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK: return onPress(MouseButton::Middle, pointFrom(lParam), false), 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: return onRelease(pointFrom(lParam)), 0;
        case WM_MOUSEMOVE: return onMove(pointFrom(lParam)), 0;
        case WM_MOUSELEAVE: return onMouseLeave(), 0;
        case WM_CAPTURECHANGED: return onCaptureLost(reinterpret_cast<HWND>(lParam)), 0;
        case WM_TIMER: return onTimer(static_cast<UINT_PTR>(wParam)), 0;
        case WM_DPICHANGED: return onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)), 0;
        case WM_DISPLAYCHANGE: return keepOnAMonitor(), 0;
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE: return onSystemColours(), 0;
        case WM_GETOBJECT: return onGetObject(wParam, lParam);
        case kAccessiblePressMessage:
            return onAccessiblePress({static_cast<Control>(wParam), int(lParam)}), 0;
        case WM_ENTERSIZEMOVE: return moving_ = true, 0;
        case WM_EXITSIZEMOVE: return moving_ = false, 0;
        case WM_QUERYENDSESSION: return TRUE;
        case WM_ENDSESSION: return wParam ? (onUnload(), 0) : 0;
        case WM_CLOSE: return onUnload(), 0;
        case kSwitchPressMessage: return onSwitchPress(), 0;
        default: return defaultProc(message, wParam, lParam);
    }
}

void MainWindow::onLoad() {
    painter_.setScale(instance_, LayoutScale{windowDpi(hwnd()), storedKeyboardSize(ini_, settingsPath_)});
    loadSettings();
    configureWordStrip();
    // Kept where the user left it at its usual size, a larger keyboard may reach beyond the screen.
    if (settings_.extras.keyboardSize != ExtrasSettings{}.keyboardSize) keepOnAMonitor();
    styleCtl_.setClient(hwnd());
    tabletGestures_.disable(hwnd());
    topmostKeeper_ = TopmostKeeper{hwnd()};
    styleCtl_.setTopMost(true);
    loadKeyMap();
    followTargetLayout();
    keyMap_.showKeySet(false);
    presses_.configure(settings_.extras);
    scanning_.configure(hwnd(), settings_.extras, scannedStripCells());
    tmrGetActiveControl_ = WindowTimer{hwnd(), kFocusTimerId, kFocusTimerMs};
    prepareCapsLockReading();
}

// The strip's cells are scanned whenever it shows, empty ones included: the rows keep their places while
// the words change under them.
int MainWindow::scannedStripCells() const {
    return wordStrip_.shown() ? kSuggestionCellCount : 0;
}

void MainWindow::onUnload() {
    presses_.endAll(steadyMs());
    styleCtl_.setTopMost(false);
    saveSettings();
    wordStrip_.save();
    // The process ends here, inside the handler: a key string interrupted by this press is not finished.
    ::ExitProcess(0);
}

void MainWindow::loadSettings() {
    const LayoutScale& scale = painter_.scale();
    const std::vector<MonitorArea> monitors = monitorAreas();
    const ScreenGeometry screen{::GetSystemMetrics(SM_CXSCREEN),
                                ::GetSystemMetrics(SM_CYSCREEN),
                                scale.windowWidth(),
                                scale.windowHeight(),
                                scale.titleBandHeight(),
                                scale.monitorDpi(),
                                monitors};
    const LoadedSettings loaded = tapkeys::loadSettings(ini_, settingsPath_, screen);
    settings_ = loaded.settings;
    // An axis whose stored value is out of range keeps the layout's position, the screen's edge.
    ::SetWindowPos(hwnd(), nullptr, loaded.windowX.value_or(0), loaded.windowY.value_or(0),
                   scale.windowWidth(), scale.windowHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
    applyKeyFont();
}

void MainWindow::saveSettings() {
    RECT r{};
    ::GetWindowRect(hwnd(), &r);
    tapkeys::saveSettings(ini_, settingsPath_, settings_, WindowPosition{r.left, r.top});
}

void MainWindow::applyKeyFont() {
    painter_.setKeyFont(keyFontFrom(settings_.fontFace, settings_.fontStyle, settings_.fontSze));
    painter_.setPalette(choosePalette(contrast_.read(), static_cast<std::uint32_t>(settings_.fontColor)));
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void MainWindow::loadKeyMap() {
    const KeySets sets = tapkeys::loadKeyMap(ini_, appFolder_, settings_);
    keyMap_.keySetLC = sets.normal;
    keyMap_.keySetUC = sets.shifted;
}

// The target's layout is asked for on every tick, which is cheap; it is read key by key only when it is
// another one: the user switched the input language or a window with another layout became the target.
bool MainWindow::followTargetLayout() {
    if (!settings_.extras.followLayout) {
        keyMap_.stopFollowingLayout();
        return false;
    }
    const HKL layout = targetKeyboardLayout(target_.targetWindow());
    return keyMap_.followLayout(reinterpret_cast<std::uintptr_t>(layout), TargetLayoutReader{layout});
}

// The strip's files are read the first time prediction is on; with it off nothing is loaded. The strip
// grows the window downwards, so nothing the layout places moves.
void MainWindow::configureWordStrip() {
    wordStrip_.configure(settings_.extras, wordListPath(ini_, appFolder_),
                         appFolder_ + L"\\" + executableBaseName() + L"-learned-words.txt");
    if (painter_.scale().stripShown() == wordStrip_.shown()) return;
    painter_.showStrip(wordStrip_.shown());
    ::SetWindowPos(hwnd(), nullptr, 0, 0, painter_.scale().windowWidth(), painter_.scale().windowHeight(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void MainWindow::onPaint() {
    PaintScope paint{hwnd()};
    painter_.paint(paint.dc(), paint.dirty(), keyMap_, shownLights_, wordStrip_.words());
}

void MainWindow::onPress(MouseButton button, POINT at, bool doubleClick) {
    const HitTarget hit = painter_.scale().hitTest(at.x, at.y);
    if (hit.kind == HitTarget::Kind::Label) return onLabelPress(*hit.label, button, doubleClick);
    // Background and logo drag with the left button; the press completing a double click does not.
    if (button == MouseButton::Left && !doubleClick) dragWindow();
}

// A key types into the window in front. Taking the activation on its press would only make that window
// take it back before the keystrokes can go to it: a round trip that was most of a key's latency under
// Wine, and a moment in which the target shows itself inactive (pressActivates).
LRESULT MainWindow::onMouseActivate(POINT screenPoint) {
    return pressActivates(hitAtScreen(screenPoint)) ? MA_ACTIVATE : MA_NOACTIVATE;
}

// A finger activates like a click; the message comes while the touch-down is being retrieved, so the
// message position is the finger's.
LRESULT MainWindow::onPointerActivate(POINT screenPoint) {
    return pressActivates(hitAtScreen(screenPoint)) ? PA_ACTIVATE : PA_NOACTIVATE;
}

HitTarget MainWindow::hitAtScreen(POINT screenPoint) const {
    POINT at = screenPoint;
    ::ScreenToClient(hwnd(), &at);
    return painter_.scale().hitTest(at.x, at.y);
}

LRESULT MainWindow::onPointer(TouchRouter::Message pointerMessage, UINT message, WPARAM wParam,
                              LPARAM lParam) {
    const UINT32 id = GET_POINTERID_WPARAM(wParam);
    const TouchRouter::Action action =
        touchRouter_.route(pointerMessage, id, isTouch(id), hitAtScreen(pointFrom(lParam)));
    // Touch pointers share the timing with the mouse under ids of their own.
    const int pointer = static_cast<int>(id) + 1;
    switch (action.kind) {
        case TouchRouter::Action::Kind::PassOn: return defaultProc(message, wParam, lParam);
        case TouchRouter::Action::Kind::None: break;
        case TouchRouter::Action::Kind::Press: press(pointer, *action.label, false); break;
        case TouchRouter::Action::Kind::Release: presses_.release(pointer, std::nullopt), actOnDue(); break;
    }
    return 0;
}

void MainWindow::onLabelPress(const Label& label, MouseButton button, bool doubleClick) {
    if (label.control == Control::Close) return onUnload();
    // The options button acts on the click: press and release over the button.
    if (label.control == Control::Options && (button == MouseButton::Middle || doubleClick)) return;
    press(KeyTiming::kMousePointer, label, doubleClick);
    // The capture follows the key to its release. Taken after the keystrokes, which it would delay: a
    // release over the window while they go out comes here all the same. One outside went to another
    // window, and the key would stay held (and repeat) until the pointer came back: a button found up
    // once the capture is held, with no release on its way here, lets go of the capture, and with it the
    // key (onCaptureLost).
    if (!presses_.holds(KeyTiming::kMousePointer)) return;
    ::SetCapture(hwnd());
    MSG release{};
    if (!isPhysicallyDown(button) &&
        !::PeekMessageW(&release, hwnd(), WM_LBUTTONUP, WM_MBUTTONDBLCLK, PM_NOREMOVE | PM_QS_INPUT))
        ::ReleaseCapture();
}

// The press is known before its keystrokes go out, so whatever arrives while they do (its release, other
// presses, timer ticks) finds it; the light waits until they have gone (showNewLights).
void MainWindow::press(int source, const Label& label, bool doubleClick) {
    using Kind = PressTracker::Kind;
    const Kind kind = label.control == Control::Options ? Kind::Clicks
                      : repeats(label.control)          ? Kind::Repeats
                                                        : Kind::Types;
    const bool types = presses_.press(source, keyOf(label), kind, steadyMs()).types;
    typing(std::nullopt, [&] {
        if (types) typeLabel(label, doubleClick);
    });
}

void MainWindow::typing(std::optional<KeyId> dwellKey, const std::function<void()>& send) {
    presses_.typingBegins(dwellKey);
    send();
    presses_.typingEnds();
    actOnDue();
    if (presses_.typing()) return;
    // After the light's head start (showNewLights), so the target takes its keystrokes in first.
    scanning_.resumeSwitch();
    scanning_.afterTyping([this](const ScanItem& item) { pressScanItem(item); });
}

void MainWindow::actOnDue() {
    act(presses_.due(steadyMs()));
}

void MainWindow::act(const std::vector<PressTracker::Action>& actions) {
    for (const PressTracker::Action& action : actions) {
        const KeyId key = action.key;
        // The dialog is no typing that timers wait for, and it ends every press: what else was due is void.
        if (action.action == KeyTiming::Action::Click || key.control == Control::Options)
            return showOptions();
        if (action.action == KeyTiming::Action::Repeat) typing(std::nullopt, [&] { typeAgain(key); });
        if (action.action == KeyTiming::Action::Dwell) typing(key, [&] { typeByDwell(key); });
    }
    timingChanged();
}

void MainWindow::typeLabel(const Label& label, bool doubleClick) {
    switch (label.control) {
        case Control::Key:
        case Control::KeyBG: return keyMap_.onCharacterKey(label.index);
        case Control::Esc:
        case Control::Tab:
        case Control::Backspace:
        case Control::Return:
        case Control::Space: return keyMap_.onNamedKey(label.control);
        case Control::Shift: return keyMap_.onShift(doubleClick);
        case Control::CapsLock: return keyMap_.onCapsLock();
        case Control::Suggestion: return typeSuggestion(label.index);
        case Control::Options:
        case Control::Close: return;
    }
}

// A cell types like a key: the target gets the foreground back, safe mode nudges every character, and a
// one-shot Shift ends with it. An empty cell does nothing.
void MainWindow::typeSuggestion(int cell) {
    const std::wstring rest = wordStrip_.completion(cell);
    if (!rest.empty()) keyMap_.typeToTarget(rest);
}

void MainWindow::invalidateStrip() {
    const PixelRect first = painter_.scale().toPixels(kSuggestionCells[0].rect);
    const RECT strip{0, first.top, painter_.scale().windowWidth(), painter_.scale().windowHeight()};
    ::InvalidateRect(hwnd(), &strip, FALSE);
    accessible_.keysChanged(hwnd());  // the cells are named by their words
}

void MainWindow::onRelease(POINT at) {
    if (!presses_.holds(KeyTiming::kMousePointer)) return;
    const HitTarget hit = painter_.scale().hitTest(at.x, at.y);
    std::optional<KeyId> under;
    if (hit.kind == HitTarget::Kind::Label) under = keyOf(*hit.label);
    presses_.release(KeyTiming::kMousePointer, under);
    ::ReleaseCapture();
    actOnDue();
}

// Another window took the capture (or a drag began): the key is let go without a click.
void MainWindow::onCaptureLost(HWND newCapture) {
    if (newCapture == hwnd()) return;
    presses_.lost(KeyTiming::kMousePointer);
    actOnDue();
}

void MainWindow::onMove(POINT at) {
    // Only a dwell needs to hear the pointer leave (its time runs only over a key). Under Wine the leave
    // is found by a timer that asks the server where the pointer is, every 400 ms while it rests here.
    if (!trackingLeave_ && settings_.extras.dwellTime > 0) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
        trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
    }
    const HitTarget hit = painter_.scale().hitTest(at.x, at.y);
    std::optional<KeyId> under;
    if (hit.kind == HitTarget::Kind::Label) under = keyOf(*hit.label);
    presses_.move(under, {at.x, at.y}, steadyMs());
    timingChanged();
}

void MainWindow::onMouseLeave() {
    trackingLeave_ = false;
    // Under the capture the pointer may leave the window while a key is held; the moves still come.
    if (presses_.holds(KeyTiming::kMousePointer)) return;
    presses_.leave(steadyMs());
    timingChanged();
}

void MainWindow::showOptions() {
    // A finger still on a key must not repeat into the dialog, nor a dwell run on under it.
    presses_.endAll(steadyMs());
    timingChanged();
    styleCtl_.setTopMost(false);
    const AccessAids aids{settings_.extras.dwellTime, settings_.extras.scanTime, scanning_.switchHook()};
    const auto forgetLearnedWords = [this] {
        wordStrip_.forget();
        invalidateStrip();
    };
    if (auto edited = showOptionsDialog(hwnd(), settings_, KeySets{keyMap_.keySetLC, keyMap_.keySetUC}, aids,
                                        forgetLearnedWords)) {
        settings_ = std::move(*edited);
    }
    // However the dialog closed, the keys show the settings as they are now, the language file re-read.
    styleCtl_.setTopMost(true);
    applyKeyFont();
    loadKeyMap();
    followTargetLayout();
    keyMap_.showKeySet(keyMap_.shifted());
    presses_.configure(settings_.extras);
    timingChanged();
    configureWordStrip();
    if (settings_.extras.keyboardSize != painter_.scale().sizePercent()) applyKeyboardSize();
    scanning_.configure(hwnd(), settings_.extras, scannedStripCells());
}

void MainWindow::dragWindow() {
    ::ReleaseCapture();
    ::SendMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void MainWindow::onTimer(UINT_PTR id) {
    if (id == TopmostKeeper::kTimerId) return topmostKeeper_.onTimer();
    if (id == kTimingTimerId) return timingTimer_.stop(), onTimingTick();
    if (id == KeyboardScanning::kTimerId) return scanning_.onTimer(presses_.typing());
    if (id != kFocusTimerId) return;
    // Read once a tick: under Wine each reading is a round trip to the server, and this runs all day.
    const ForegroundWindow foreground = foregroundWindow();
    target_.tick(foreground, hwnd());
    scanning_.resumeSwitch();  // should a keystroke ever go out outside a press's typing
    if (followTargetLayout()) keyMap_.showKeySet(keyMap_.shifted());
    topmostKeeper_.poll(foreground.window);
    if (wordStrip_.poll(target_.targetWindow(), static_cast<std::uint64_t>(steadyMs()))) invalidateStrip();
    // The notice about a refusing target stays until another target is in front.
    if (!painter_.notice().empty() && !refusesInput(target_.targetWindow())) showNotice({});
}

void MainWindow::onDpiChanged(int dpi, const RECT& suggested) {
    painter_.setScale(instance_, LayoutScale{dpi, settings_.extras.keyboardSize});
    const LayoutScale& scale = painter_.scale();
    ::SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, scale.windowWidth(), scale.windowHeight(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    // Dragged onto a monitor of another density, the window is where the user is putting it.
    if (!moving_) keepOnAMonitor();
}

// The top-left corner stays where it is; a keyboard grown beyond its monitor moves back onto it.
void MainWindow::applyKeyboardSize() {
    painter_.setScale(instance_, LayoutScale{painter_.scale().monitorDpi(), settings_.extras.keyboardSize});
    const LayoutScale& scale = painter_.scale();
    ::SetWindowPos(hwnd(), nullptr, 0, 0, scale.windowWidth(), scale.windowHeight(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    keepOnAMonitor();
}

// High contrast switched, or its colours changed: the keys follow without a restart.
void MainWindow::onSystemColours() {
    const auto colour = static_cast<std::uint32_t>(settings_.fontColor);
    if (painter_.setPalette(choosePalette(contrast_.read(), colour)))
        ::InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT MainWindow::onGetObject(WPARAM wParam, LPARAM lParam) {
    if (const auto answer = accessible_.onGetObject(hwnd(), wParam, lParam)) return *answer;
    return defaultProc(WM_GETOBJECT, wParam, lParam);
}

// A key pressed by an accessibility client goes the way of a touch, a press and its release at once:
// hand-back, Shift, Caps Lock, safe mode and the light all as for the finger, and the activation stays
// with the window typed into. While the settings dialog is open the keys take no touch, and no client's
// press either.
void MainWindow::onAccessiblePress(KeyId key) {
    const bool cell = key.control == Control::Suggestion && painter_.scale().stripShown() && key.index >= 0 &&
                      key.index < kSuggestionCellCount;
    const Label* label = cell ? &kSuggestionCells[static_cast<std::size_t>(key.index)]
                              : findLabel(key.control, key.control == Control::Key ? key.index : 0);
    if (label == nullptr || !::IsWindowEnabled(hwnd())) return;
    if (key.control == Control::Close) return onUnload();
    press(kAccessibleSource, *label, false);
    presses_.release(kAccessibleSource, key);
    actOnDue();
}

std::vector<AccessibleKey> MainWindow::accessibleKeys() const {
    return tapkeys::accessibleKeys(keyMap_, painter_.scale(), wordStrip_.words());
}

void MainWindow::pressAccessibleKey(KeyId key) {
    ::PostMessageW(hwnd(), kAccessiblePressMessage, static_cast<WPARAM>(key.control), key.index);
}

// A monitor unplugged, a resolution or a scale changed: a keyboard left on no monitor could be neither
// seen nor dragged back.
void MainWindow::keepOnAMonitor() {
    RECT r{};
    ::GetWindowRect(hwnd(), &r);
    const std::vector<MonitorArea> monitors = monitorAreas();
    const auto moved = placementAfterDisplayChange({r.left, r.top, r.right, r.bottom},
                                                   painter_.scale().titleBandHeight(), monitors);
    if (moved) {
        ::SetWindowPos(hwnd(), nullptr, moved->x, moved->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void MainWindow::onTimingTick() {
    act(presses_.tick(steadyMs()));
}

// A repeat takes the road of a press: hand-back, safe mode, the one-shot Shift released after it.
void MainWindow::typeAgain(KeyId key) {
    if (key.control == Control::Key) return keyMap_.onCharacterKey(key.index);
    if (key.control == Control::Suggestion) return typeSuggestion(key.index);
    keyMap_.onNamedKey(key.control);
}

void MainWindow::typeByDwell(KeyId key) {
    switch (key.control) {
        case Control::Shift: return keyMap_.onShift(false);
        case Control::CapsLock: return keyMap_.onCapsLock();
        case Control::Options:        // opens the dialog outside any typing (act)
        case Control::Close: return;  // never dwells
        default: return typeAgain(key);
    }
}

// A switch press that comes while a press types (inside a safe-mode pause) waits for the typing to end.
void MainWindow::onSwitchPress() {
    scanning_.onSwitchPress([this](const ScanItem& item) { pressScanItem(item); }, presses_.typing());
}

// A switch pick is a press like a touch: tracked, typed on the way down (hand-back, Shift, Caps Lock,
// safe mode), lit, and let go at once; the options button opens the dialog, no typing being under way.
void MainWindow::pressScanItem(const ScanItem& item) {
    if (item.control == Control::Options) return showOptions();
    const bool types = presses_.press(kSwitchSource, item, PressTracker::Kind::Types, steadyMs()).types;
    typing(std::nullopt, [&] {
        if (types) typeByDwell(item);
    });
    presses_.release(kSwitchSource, std::nullopt);
    actOnDue();
}

// Invalidates the keys whose light went out or dimmed at once, and those newly lit a moment later
// (showNewLights).
void MainWindow::timingChanged() {
    const KeyTiming::Ms now = steadyMs();
    std::vector<KeyTiming::Light> lights = presses_.lights(now);
    const auto missingFrom = [](const std::vector<KeyTiming::Light>& list, const KeyTiming::Light& light) {
        return std::ranges::find(list, light) == list.end();
    };
    for (const KeyTiming::Light& light : shownLights_) {
        if (missingFrom(lights, light)) invalidateKey(light.key);
    }
    std::vector<KeyId> newLights;
    for (const KeyTiming::Light& light : lights) {
        if (missingFrom(shownLights_, light)) newLights.push_back(light.key);
    }
    shownLights_ = std::move(lights);
    if (!newLights.empty()) showNewLights(newLights);
    const PressTracker::Timer timer = presses_.timer(now);
    if (timer.change == PressTracker::Timer::Change::Stop) timingTimer_.stop();
    if (timer.change != PressTracker::Timer::Change::Arm) return;
    const auto wait = static_cast<UINT>(std::clamp<KeyTiming::Ms>(timer.wait, USER_TIMER_MINIMUM, 60000));
    timingTimer_ = WindowTimer{hwnd(), kTimingTimerId, wait};
}

// Under Wine the light's paint competed with the target for the moment in which it takes the keystrokes
// just sent, and cost every key half a millisecond even once it waited for WM_PAINT. So the light gives
// the target a head start, which a touch, a click or a message cuts short; a timer's period would be most
// of the 16 ms in which the light must show. Raw input does not cut it: the Caps Lock reading hears every
// keystroke, the keyboard's own among them, and would end the head start as soon as it began.
void MainWindow::showNewLights(const std::vector<KeyId>& keys) {
    constexpr DWORD kUserInput = QS_MOUSE | QS_KEY | QS_TOUCH | QS_POINTER;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kLightHeadStartMs,
                                kUserInput | QS_POSTMESSAGE | QS_SENDMESSAGE);
    for (const KeyId key : keys) invalidateKey(key);
}

void MainWindow::invalidateKey(KeyId key) {
    const KeyFrames frames = framesOf(key);
    for (int f = 0; f < frames.count; ++f) {
        const PixelRect p = painter_.scale().toPixels(frames.rects[static_cast<std::size_t>(f)]);
        const RECT r{p.left, p.top, p.right, p.bottom};
        ::InvalidateRect(hwnd(), &r, FALSE);
    }
}

void MainWindow::giveForegroundToTarget() {
    const HWND target = target_.targetWindow();
    // Keys do not take the activation (onMouseActivate), so the target is mostly still in front with its
    // focus: there is nothing to hand back then, and nothing for Wine to restack afterwards.
    if (target != nullptr && ::GetForegroundWindow() == target) return;
    giveForegroundTo(target);
    topmostKeeper_.afterHandBack();
}

// The suggestions follow a key only once its keystrokes are out, so they never delay it; the strip
// paints on WM_PAINT after the press handler.
void MainWindow::sendKeyString(std::wstring_view keyString) {
    if (foregroundRefusesInput()) return;
    const std::wstring sent(keyString);  // the pauses of safe mode may run a press that changes the caller's
    tapkeys::sendKeyString(sent, output_);
    if (wordStrip_.typed(sent, static_cast<std::uint64_t>(steadyMs()))) invalidateStrip();
}

void MainWindow::sendPositionKey(const PositionKey& key) {
    if (foregroundRefusesInput()) return;
    tapkeys::sendPositionKey(key, output_);
    if (wordStrip_.typed(key.shown, static_cast<std::uint64_t>(steadyMs()))) invalidateStrip();
}

// Typed into a window that refuses it, the keys would vanish without a trace; a pending one-shot Shift
// stays for the next target.
bool MainWindow::foregroundRefusesInput() {
    const ForegroundWindow foreground = foregroundWindow();
    if (foreground.window == nullptr || !refusesInput(foreground.window, foreground.process)) return false;
    showNotice(L"Can't type into an administrator window");
    return true;
}

bool MainWindow::refusesInput(HWND target) {
    DWORD processId = 0;
    if (target != nullptr) ::GetWindowThreadProcessId(target, &processId);
    return refusesInput(target, processId);
}

bool MainWindow::refusesInput(HWND target, DWORD processId) {
    return processId != 0 && inputPermission_.refuses(reinterpret_cast<std::uintptr_t>(target), processId);
}

void MainWindow::showNotice(std::wstring notice) {
    if (painter_.notice() == notice) return;
    painter_.setNotice(std::move(notice));
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void MainWindow::keyCaptionsChanged() {
    if (!hwnd()) return;
    ::InvalidateRect(hwnd(), nullptr, FALSE);
    accessible_.keysChanged(hwnd());
}

}  // namespace tapkeys
