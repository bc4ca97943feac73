#pragma once
// The keyboard window: a borderless, always-on-top popup whose labels are painted from the layout
// table and hit-tested over it. It owns everything that lives for the whole run.

#include <windows.h>

#include <string>

#include "keyboard/key_map.h"
#include "keyboard/keyboard_painter.h"
#include "keyboard/topmost_keeper.h"
#include "output/process_integrity.h"
#include "output/system_key_output.h"
#include "output/target_window.h"
#include "settings/keyboard_settings.h"
#include "settings/profile_ini.h"
#include "win32/base_window.h"
#include "win32/window_timer.h"
#include "winstyle/cls_style.h"

namespace tapkeys {

class MainWindow final : public BaseWindow<MainWindow>, private KeyboardHost {
public:
    explicit MainWindow(HINSTANCE instance);
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

    // Messages
    void onPaint();
    LRESULT onMouseActivate(POINT screenPoint);
    void onPress(MouseButton button, POINT at, bool doubleClick);
    void onRelease(POINT at);
    void onTimer(UINT_PTR id);
    void onDpiChanged(int dpi, const RECT& suggested);
    void keepOnAMonitor();

    // Labels
    void onLabelPress(const Label& label, MouseButton button, bool doubleClick);
    void showOptions();
    void dragWindow();

    // KeyboardHost
    void giveForegroundToTarget() override;
    void sendKeyString(std::wstring_view keyString) override;
    void sendPositionKey(const PositionKey& key) override;
    void keyCaptionsChanged() override;
    bool foregroundRefusesInput();
    bool refusesInput(HWND target);
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
    WindowTimer tmrGetActiveControl_;
    TopmostKeeper topmostKeeper_;
    const Label* pressedOptions_ = nullptr;  // an options press waiting for its release
    bool moving_ = false;                    // inside a move loop: the user places the window
};

}  // namespace tapkeys
