#include "win32/spoken_name.h"

#include "win32/late_bound.h"

#include <commctrl.h>
#include <oleacc.h>

#include <atomic>
#include <map>

namespace kelvaro::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 0x4B4E;

// The names given, by control; the window's one thread reads and writes it.
std::map<HWND, std::wstring>& Names() {
    static std::map<HWND, std::wstring> names;
    return names;
}

// Windows' standard object for the control, with every question passed on to
// it but the name.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(IAccessible* inner, std::wstring name)
        : inner_(inner), name_(std::move(name)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
            riid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return inner_->QueryInterface(riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --count_;
        if (left == 0) {
            inner_->Release();
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (child.vt == VT_I4 && child.lVal == CHILDID_SELF) {
            static const auto allocate =
                LateBound<decltype(&SysAllocString)>(L"oleaut32.dll", "SysAllocString");
            *name = allocate != nullptr ? allocate(name_.c_str()) : nullptr;
            return *name != nullptr ? S_OK : E_OUTOFMEMORY;
        }
        return inner_->get_accName(child, name);
    }

    // Everything else is Windows' own answer.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        return inner_->GetTypeInfoCount(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override {
        return inner_->GetTypeInfo(i, l, t);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l,
                                            DISPID* d) override {
        return inner_->GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v,
                                     EXCEPINFO* e, UINT* a) override {
        return inner_->Invoke(d, r, l, f, p, v, e, a);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override {
        return inner_->get_accParent(p);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override {
        return inner_->get_accChildCount(n);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override {
        return inner_->get_accChild(c, d);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override {
        return inner_->get_accValue(c, v);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override {
        return inner_->get_accDescription(c, d);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* r) override {
        return inner_->get_accRole(c, r);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override {
        return inner_->get_accState(c, s);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override {
        return inner_->get_accHelp(c, h);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, LONG* t) override {
        return inner_->get_accHelpTopic(f, c, t);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
        return inner_->get_accKeyboardShortcut(c, k);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* c) override { return inner_->get_accFocus(c); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* c) override {
        return inner_->get_accSelection(c);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override {
        return inner_->get_accDefaultAction(c, a);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG f, VARIANT c) override {
        return inner_->accSelect(f, c);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT c) override {
        return inner_->accLocation(x, y, w, h, c);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG d, VARIANT s, VARIANT* e) override {
        return inner_->accNavigate(d, s, e);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* c) override {
        return inner_->accHitTest(x, y, c);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override {
        return inner_->accDoDefaultAction(c);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override {
        return inner_->put_accName(c, n);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override {
        return inner_->put_accValue(c, v);
    }

private:
    virtual ~NamedAccessible() = default;
    IAccessible* inner_;
    std::wstring name_;
    std::atomic<ULONG> count_{1};
};

LRESULT CALLBACK Answer(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                        DWORD_PTR /*data*/) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        // Only a screen reader or a test asks: oleacc is loaded then, not at
        // the start of every run.
        static const auto standard = LateBound<decltype(&CreateStdAccessibleObject)>(
            L"oleacc.dll", "CreateStdAccessibleObject");
        static const auto answer =
            LateBound<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
        IAccessible* inner = nullptr;
        if (standard != nullptr && answer != nullptr &&
            SUCCEEDED(standard(control, OBJID_CLIENT, __uuidof(IAccessible),
                               reinterpret_cast<void**>(&inner)))) {
            auto* named = new NamedAccessible(inner, Names()[control]);
            const LRESULT result = answer(__uuidof(IAccessible), wParam, named);
            named->Release();
            return result;
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, &Answer, kSubclassId);
        Names().erase(control);
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

} // namespace

void SetSpokenName(HWND control, const std::wstring& name) {
    Names()[control] = name;
    // Installed once; a second call only finds it there.
    SetWindowSubclass(control, &Answer, kSubclassId, 0);
}

} // namespace kelvaro::win32
