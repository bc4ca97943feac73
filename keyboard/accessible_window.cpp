#include "keyboard/accessible_window.h"

#include <oleacc.h>

#include <string_view>

#include "win32/system_function.h"

namespace tapkeys {
namespace {

BSTR allocString(std::wstring_view text) {
    using SysAllocStringLenFunction = BSTR(WINAPI*)(const OLECHAR*, UINT);
    static const auto sysAllocStringLen =
        systemFunction<SysAllocStringLenFunction>(L"oleaut32.dll", "SysAllocStringLen");
    return sysAllocStringLen ? sysAllocStringLen(text.data(), static_cast<UINT>(text.size())) : nullptr;
}

HRESULT stringAnswer(std::wstring_view text, BSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = text.empty() ? nullptr : allocString(text);
    if (text.empty()) return S_FALSE;
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

void setChild(VARIANT* out, long childId) {
    out->vt = VT_I4;
    out->lVal = childId;
}

}  // namespace

// A plain COM object: IDispatch is there because IAccessible derives from it, and answers nothing.
class KeyboardAccessible final : public IAccessible {
public:
    KeyboardAccessible(HWND window, AccessibleHost& host) : window_(window), host_(&host) {}
    void disconnect() { host_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (riid != __uuidof(IUnknown) && riid != __uuidof(IDispatch) && riid != __uuidof(IAccessible))
            return E_NOINTERFACE;
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (parent == nullptr) return E_POINTER;
        *parent = nullptr;
        if (host_ == nullptr) return RPC_E_DISCONNECTED;
        using CreateStdFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
        static const auto createStd =
            systemFunction<CreateStdFunction>(L"oleacc.dll", "CreateStdAccessibleObject");
        if (createStd == nullptr) return E_FAIL;
        return createStd(window_, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (count == nullptr) return E_POINTER;
        if (host_ == nullptr) return RPC_E_DISCONNECTED;
        *count = static_cast<long>(host_->accessibleKeys().size());
        return S_OK;
    }
    // The keys are simple elements of this object, with no object of their own.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        const Found found = find(child);
        return found.result != S_OK ? found.result : found.key ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        const Found found = find(child);
        if (found.result != S_OK) return found.result;
        return stringAnswer(found.key ? found.key->name : L"tapkeys", name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override { return stringAnswer({}, value); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override {
        return stringAnswer({}, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) return E_POINTER;
        const Found found = find(child);
        if (found.result != S_OK) return found.result;
        setChild(role, !found.key                                       ? ROLE_SYSTEM_CLIENT
                       : found.key->role == AccessibleRole::CheckButton ? ROLE_SYSTEM_CHECKBUTTON
                                                                        : ROLE_SYSTEM_PUSHBUTTON);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr) return E_POINTER;
        const Found found = find(child);
        if (found.result != S_OK) return found.result;
        // The keys never take the focus: the focus stays in the window being typed into.
        setChild(state, found.key && found.key->checked ? STATE_SYSTEM_CHECKED : 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return stringAnswer({}, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long*) override {
        if (file != nullptr) *file = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override {
        return stringAnswer({}, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) return E_POINTER;
        focus->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection == nullptr) return E_POINTER;
        selection->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        const Found found = find(child);
        if (found.result != S_OK) return found.result;
        return stringAnswer(found.key ? defaultActionName(*found.key) : std::wstring_view{}, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
        const Found found = find(child);
        if (found.result != S_OK) return found.result;
        RECT r{};
        if (found.key) {
            r = {found.key->rect.left, found.key->rect.top, found.key->rect.right, found.key->rect.bottom};
        } else {
            ::GetClientRect(window_, &r);
        }
        ::MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
        *left = r.left, *top = r.top, *width = r.right - r.left, *height = r.bottom - r.top;
        return S_OK;
    }
    // Keys follow each other in reading order; directions on the screen are left to the clients.
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr) return E_POINTER;
        end->vt = VT_EMPTY;
        const Found found = find(start);
        if (found.result != S_OK) return found.result;
        const long count = static_cast<long>(found.keys.size()), from = start.lVal;
        long to = 0;
        if (direction == NAVDIR_FIRSTCHILD && !found.key) to = 1;
        if (direction == NAVDIR_LASTCHILD && !found.key) to = count;
        if (direction == NAVDIR_NEXT && found.key) to = from + 1;
        if (direction == NAVDIR_PREVIOUS && found.key) to = from - 1;
        if (to < 1 || to > count) return S_FALSE;
        setChild(end, to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (hit == nullptr) return E_POINTER;
        hit->vt = VT_EMPTY;
        if (host_ == nullptr) return RPC_E_DISCONNECTED;
        POINT at{x, y};
        ::ScreenToClient(window_, &at);
        RECT client{};
        ::GetClientRect(window_, &client);
        if (!::PtInRect(&client, at)) return S_FALSE;
        long childId = CHILDID_SELF;
        const std::vector<AccessibleKey> keys = host_->accessibleKeys();
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const PixelRect& r = keys[i].rect;
            if (at.x >= r.left && at.x < r.right && at.y >= r.top && at.y < r.bottom)
                childId = static_cast<long>(i) + 1;
        }
        setChild(hit, childId);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const Found found = find(child);
        if (found.result != S_OK) return found.result;
        if (!found.key) return DISP_E_MEMBERNOTFOUND;
        host_->pressAccessibleKey(found.key->key);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~KeyboardAccessible() = default;

    // The keys now and the one a VARIANT names: none for the client area itself (CHILDID_SELF).
    struct Found {
        HRESULT result = S_OK;
        std::vector<AccessibleKey> keys;
        const AccessibleKey* key = nullptr;
    };
    Found find(const VARIANT& child) const {
        Found found;
        if (host_ == nullptr || child.vt != VT_I4) {
            found.result = host_ == nullptr ? RPC_E_DISCONNECTED : E_INVALIDARG;
            return found;
        }
        found.keys = host_->accessibleKeys();
        if (child.lVal < 0 || child.lVal > static_cast<long>(found.keys.size())) {
            found.result = E_INVALIDARG;
            return found;
        }
        if (child.lVal > 0) found.key = &found.keys[static_cast<std::size_t>(child.lVal - 1)];
        return found;
    }

    HWND window_;
    AccessibleHost* host_;
    ULONG references_ = 1;
};

AccessibleWindow::~AccessibleWindow() {
    if (object_ == nullptr) return;
    object_->disconnect();
    object_->Release();
}

std::optional<LRESULT> AccessibleWindow::onGetObject(HWND window, WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) return std::nullopt;
    using CoInitializeExFunction = HRESULT(WINAPI*)(void*, DWORD);
    using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
    static const auto lresultFromObject =
        systemFunction<LresultFromObjectFunction>(L"oleacc.dll", "LresultFromObject");
    if (lresultFromObject == nullptr) return std::nullopt;
    // The object is handed over through COM marshalling, which needs COM on this thread.
    static const auto coInitializeEx = systemFunction<CoInitializeExFunction>(L"ole32.dll", "CoInitializeEx");
    if (object_ == nullptr && coInitializeEx != nullptr) coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IUnknown* handed = object(window);
    const LRESULT answer = lresultFromObject(__uuidof(IAccessible), wParam, handed);
    handed->Release();
    return answer;
}

IUnknown* AccessibleWindow::object(HWND window) {
    if (object_ == nullptr) {
        object_ = new KeyboardAccessible(window, host_);
        shown_ = host_.accessibleKeys();
    }
    object_->AddRef();
    return object_;
}

void AccessibleWindow::keysChanged(HWND window) {
    if (object_ == nullptr) return;
    std::vector<AccessibleKey> now = host_.accessibleKeys();
    for (const AccessibleChange& change : accessibleChanges(shown_, now)) {
        const DWORD event =
            change.kind == AccessibleChange::Kind::Name ? EVENT_OBJECT_NAMECHANGE : EVENT_OBJECT_STATECHANGE;
        ::NotifyWinEvent(event, window, OBJID_CLIENT, change.childId);
    }
    shown_ = std::move(now);
}

}  // namespace tapkeys
