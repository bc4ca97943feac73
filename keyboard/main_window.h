#pragma once
// The keyboard window: a borderless, always-on-top popup whose labels are painted from the layout
// table and hit-tested over it. It owns everything that lives for the whole run.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "keyboard/accessible_window.h"
#include "keyboard/key_map.h"
#include "keyboard/keyboard_painter.h"
#include "keyboard/keyboard_scanning.h"
#include "keyboard/press_tracker.h"
#include "keyboard/system_contrast.h"
#include "keyboard/topmost_keeper.h"
#include "keyboard/touch_router.h"
#include "keyboard/word_strip.h"
#include "output/process_integrity.h"
#include "output/system_key_output.h"
#include "output/target_window.h"
#include "settings/keyboard_settings.h"
#include "settings/profile_ini.h"
#include "win32/base_window.h"
#include "win32/tablet_gestures.h"
#include "win32/window_timer.h"
#include "winstyle/cls_style.h"

namespace tapkeys {

class MainWindow final : public BaseWindow<MainWindow>, private KeyboardHost, private AccessibleHost {
public:
    explicit MainWindow(HINSTANCE instance, const ContrastSource& contrast = systemContrastSource());
    // Creates the window, runs the start-up sequence and shows it. False when no window could be made.
    bool create(int showCommand);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Start-up and shut-down
    void onLoad();
    [[noreturn]] void onUnload();
    void loadSettings();
    void saveSettings();
    void applyKeyFont();
    void loadKeyMap();
    bool followTargetLayout();
    void configureWordStrip();
    int scannedStripCells() const;

    // Messages
    void onPaint();
    LRESULT onMouseActivate(POINT screenPoint);
    LRESULT onPointerActivate(POINT screenPoint);
    // A finger on a key; other pointer messages go to the default handling, which makes mouse messages.
    LRESULT onPointer(TouchRouter::Message pointerMessage, UINT message, WPARAM wParam, LPARAM lParam);
    HitTarget hitAtScreen(POINT screenPoint) const;
    void onPress(MouseButton button, POINT at, bool doubleClick);
    void onRelease(POINT at);
    void onMove(POINT at);
    void onMouseLeave();
    void onCaptureLost(HWND newCapture);
    void onTimer(UINT_PTR id);
    void onDpiChanged(int dpi, const RECT& suggested);
    void applyKeyboardSize();
    void keepOnAMonitor();
    void onSystemColours();
    LRESULT onGetObject(WPARAM wParam, LPARAM lParam);
    void onAccessiblePress(KeyId key);

    // Labels
    void onLabelPress(const Label& label, MouseButton button, bool doubleClick);
    void press(int source, const Label& label, bool doubleClick);
    void typeLabel(const Label& label, bool doubleClick);  // the keys; the buttons do nothing here
    void typeSuggestion(int cell);
    void invalidateStrip();
    // Sends keystrokes as one typing of the tracker, then acts on what waited for it.
    void typing(std::optional<KeyId> dwellKey, const std::function<void()>& send);
    void actOnDue();
    void act(const std::vector<PressTracker::Action>& actions);
    void showOptions();
    void dragWindow();

    // Press lights, hold-to-repeat and dwell
    void onTimingTick();
    void typeAgain(KeyId key);
    void typeByDwell(KeyId key);
    void onSwitchPress();
    void pressScanItem(const ScanItem& item);
    void timingChanged();
    void showNewLights(const std::vector<KeyId>& keys);
    void invalidateKey(KeyId key);

    // KeyboardHost
    void giveForegroundToTarget() override;
    void sendKeyString(std::wstring_view keyString) override;
    void sendPositionKey(const PositionKey& key) override;
    void keyCaptionsChanged() override;
    // AccessibleHost
    std::vector<AccessibleKey> accessibleKeys() const override;
    void pressAccessibleKey(KeyId key) override;
    bool foregroundRefusesInput();
    bool refusesInput(HWND target);
    bool refusesInput(HWND target, DWORD processId);
    void showNotice(std::wstring notice);

    HINSTANCE instance_;
    std::wstring appFolder_;
    std::wstring settingsPath_;
    ProfileIni ini_;
    KeyboardSettings settings_;  // the public settings members
    KeyMap keyMap_{*this};
    clsStyle styleCtl_;
    TargetTracker target_;
    SystemIntegrityProbe integrityProbe_;
    InputPermission inputPermission_{integrityProbe_};
    SystemKeyOutput keyOutput_;
    KeyboardPainter painter_;
    const ContrastSource& contrast_;
    AccessibleWindow accessible_{*this};
    KeyboardScanning scanning_{painter_};
    SwitchSuspendingOutput output_{keyOutput_, scanning_};  // keyOutput_ with the switch hook out of its way
    WindowTimer tmrGetActiveControl_;
    TopmostKeeper topmostKeeper_;
    PressTracker presses_;
    WindowTimer timingTimer_;                    // fires once per deadline of presses_
    std::vector<KeyTiming::Light> shownLights_;  // the lights as last painted
    bool trackingLeave_ = false;
    WordStrip wordStrip_;
    TouchRouter touchRouter_;
    TabletGestures tabletGestures_;
    bool moving_ = false;  // inside a move loop: the user places the window
};

}  // namespace tapkeys
