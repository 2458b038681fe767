#include "accessibility.h"

#include <commctrl.h>
#include <initguid.h>
#include <oleacc.h>

#include <string>

namespace {

// Not in every SDK's headers: the LiveSetting property of IAccPropServices,
// and its "polite" value.
constexpr GUID kLiveSettingProperty = {0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPoliteLiveSetting = 1;

bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

BSTR TextOf(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// The bar's own object over the standard one, which answers all but the
// name, the role and the value.
class AccessibleProgress final : public IAccessible {
public:
    AccessibleProgress(HWND bar, HWND label, IAccessible* standard) : m_bar(bar), m_label(label), m_standard(standard)
    {
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (iid != __uuidof(IUnknown) && iid != __uuidof(IDispatch) && iid != __uuidof(IAccessible)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_references)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG left = ::InterlockedDecrement(&m_references);
        if (left == 0) {
            m_standard->Release();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return m_standard->GetTypeInfoCount(count); }
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
    {
        return m_standard->GetTypeInfo(index, locale, info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override
    {
        return m_standard->GetIDsOfNames(iid, names, count, locale, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override
    {
        return m_standard->Invoke(id, iid, locale, flags, parameters, result, exception, argumentError);
    }

    // IAccessible: the three answers of the bar's own.
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override
    {
        if (!IsSelf(child))
            return m_standard->get_accName(child, name);
        *name = TextOf(m_label);
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!IsSelf(child))
            return m_standard->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_PROGRESSBAR;
        return S_OK;
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override
    {
        if (!IsSelf(child))
            return m_standard->get_accValue(child, value);
        PBRANGE range{};
        ::SendMessageW(m_bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        const LONGLONG position = ::SendMessageW(m_bar, PBM_GETPOS, 0, 0);
        const LONGLONG span = static_cast<LONGLONG>(range.iHigh) - range.iLow;
        const LONGLONG percent = span > 0 ? (position - range.iLow) * 100 / span : 0;
        *value = ::SysAllocString((std::to_wstring(percent) + L"%").c_str());
        return *value ? S_OK : E_OUTOFMEMORY;
    }

    // IAccessible: the standard object's answers.
    STDMETHODIMP get_accParent(IDispatch** parent) override { return m_standard->get_accParent(parent); }
    STDMETHODIMP get_accChildCount(LONG* count) override { return m_standard->get_accChildCount(count); }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override
    {
        return m_standard->get_accChild(child, object);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override
    {
        return m_standard->get_accDescription(child, text);
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override { return m_standard->get_accState(child, state); }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* text) override { return m_standard->get_accHelp(child, text); }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* text) override
    {
        return m_standard->get_accKeyboardShortcut(child, text);
    }
    STDMETHODIMP get_accFocus(VARIANT* child) override { return m_standard->get_accFocus(child); }
    STDMETHODIMP get_accSelection(VARIANT* children) override { return m_standard->get_accSelection(children); }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* text) override
    {
        return m_standard->get_accDefaultAction(child, text);
    }
    STDMETHODIMP accSelect(LONG flags, VARIANT child) override { return m_standard->accSelect(flags, child); }
    STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override
    {
        return m_standard->accLocation(left, top, width, height, child);
    }
    STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        return m_standard->accNavigate(direction, start, end);
    }
    STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* child) override { return m_standard->accHitTest(x, y, child); }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override { return m_standard->accDoDefaultAction(child); }
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override { return m_standard->put_accName(child, name); }
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override { return m_standard->put_accValue(child, value); }

private:
    ~AccessibleProgress() = default;

    LONG m_references = 1;
    HWND m_bar;
    HWND m_label;
    IAccessible* m_standard;
};

LRESULT CALLBACK ProgressProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR label)
{
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        IAccessible* standard = nullptr;
        if (SUCCEEDED(::CreateStdAccessibleObject(bar, OBJID_CLIENT, __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(&standard)))) {
            auto* object = new AccessibleProgress(bar, reinterpret_cast<HWND>(label), standard);
            const LRESULT result = ::LresultFromObject(__uuidof(IAccessible), wParam, object);
            object->Release();
            return result;
        }
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(bar, &ProgressProc, id);
    }
    return ::DefSubclassProc(bar, message, wParam, lParam);
}

LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    if (message == WM_GETDLGCODE && wParam == VK_RETURN)
        return ::DefSubclassProc(link, message, wParam, lParam) | DLGC_WANTMESSAGE;
    if (message == WM_NCDESTROY)
        ::RemoveWindowSubclass(link, &LinkProc, id);
    return ::DefSubclassProc(link, message, wParam, lParam);
}

}  // namespace

void LetLinkTakeEnter(HWND link)
{
    ::SetWindowSubclass(link, &LinkProc, 0, 0);
}

void ServeAccessibleProgress(HWND bar, HWND label)
{
    ::SetWindowSubclass(bar, &ProgressProc, 0, reinterpret_cast<DWORD_PTR>(label));
}

void AnnounceProgressName(HWND bar)
{
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, bar, OBJID_CLIENT, CHILDID_SELF);
}

void MakePoliteLiveRegion(HWND control)
{
    // Without the service (before Windows 8, and under Wine), the change
    // events alone tell a screen reader to read the line.
    IAccPropServices* services = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                  reinterpret_cast<void**>(&services))))
        return;
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = kPoliteLiveSetting;
    services->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kLiveSettingProperty, polite);
    services->Release();
}

void AnnounceLiveRegion(HWND control)
{
    ::NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, control, OBJID_CLIENT, CHILDID_SELF);
}
