// What a keyboard user and a screen reader get from the dialog, from another
// process as they would: keys delivered to the focused control, and the
// accessible objects and events of Active Accessibility.
#include <windows.h>
#include <oleacc.h>

#include <set>
#include <utility>
#include <vector>

#include "polling.h"
#include "product_test.h"

namespace gui_test {
namespace {

// COM for this thread while a test asks for accessible objects.
struct ComApartment {
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
};

struct Accessible {
    std::wstring name;
    LONG role = 0;
    std::wstring value;
};

std::wstring Take(BSTR text)
{
    std::wstring taken = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return taken;
}

Accessible AccessibleOf(HWND control)
{
    IAccessible* object = nullptr;
    const HRESULT asked = AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&object));
    if (FAILED(asked))
        throw std::runtime_error("no accessible object, error " + std::to_string(asked));
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    Accessible found;
    BSTR text = nullptr;
    if (SUCCEEDED(object->get_accName(self, &text)))
        found.name = Take(text);
    VARIANT role{};
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4)
        found.role = role.lVal;
    text = nullptr;
    if (SUCCEEDED(object->get_accValue(self, &text)))
        found.value = Take(text);
    object->Release();
    return found;
}

// The events a screen reader would hear from the program's windows,
// recorded while this thread pumps its messages.
class WinEvents {
public:
    explicit WinEvents(DWORD processId)
    {
        recorder_ = this;
        hook_ = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, &Record, processId, 0,
                                WINEVENT_OUTOFCONTEXT);
    }
    ~WinEvents()
    {
        UnhookWinEvent(hook_);
        recorder_ = nullptr;
    }
    WinEvents(const WinEvents&) = delete;
    WinEvents& operator=(const WinEvents&) = delete;

    // Pumps until an event of this kind came from this control.
    bool WaitFor(DWORD event, HWND control, uidriver::Milliseconds timeout)
    {
        return uidriver::PollUntil(
            [&] {
                MSG message;
                while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessageW(&message);
                return seen_.count({event, control}) > 0;
            },
            timeout);
    }

private:
    static void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
    {
        if (recorder_ && object == OBJID_CLIENT && child == CHILDID_SELF)
            recorder_->seen_.insert({event, window});
    }

    static inline WinEvents* recorder_ = nullptr;
    HWINEVENTHOOK hook_ = nullptr;
    std::set<std::pair<DWORD, HWND>> seen_;
};

class Accessibility : public ProductTest {
protected:
    // Tab, and where the focus went. The key is posted, as a keyboard's is:
    // the focus moves when the dialog's thread gets to it.
    int PressTab()
    {
        const int from = Dialog().FocusedControlId();
        Dialog().PressKey(VK_TAB);
        uidriver::PollUntil([&] { return Dialog().FocusedControlId() != from; }, 5s);
        return Dialog().FocusedControlId();
    }
};

TEST_F(Accessibility, TabFollowsTheTemplateAndEnterOnTheLinkOpensAndClosesTheLog)
{
    host.SetRoute(kAgentPath, SlowBody());
    Launch();
    // The selection face: OK, Cancel and the Patch Management box (the
    // agent's is disabled, the proxy's hidden).
    ASSERT_EQ(Dialog().FocusedControlId(), kOk);
    std::vector<int> visited;
    for (int i = 0; i < 3; ++i)
        visited.push_back(PressTab());
    EXPECT_EQ(visited, (std::vector<int>{kCancel, kPatchManagementBox, kOk}));

    PressOk(false);
    // The progress face: Cancel and the details link.
    for (int i = 0; i < 3 && Dialog().FocusedControlId() != kDetailsLink; ++i)
        PressTab();
    ASSERT_EQ(Dialog().FocusedControlId(), kDetailsLink);
    Dialog().PressKey(VK_RETURN);
    EXPECT_TRUE(uidriver::PollUntil([this] { return Dialog().IsVisible(kDetailsLog); }, 5s));
    EXPECT_EQ(Dialog().Text(kDetailsLink), L"<a>Show less details</a>");
    // A second Enter, the focus not moved.
    Dialog().PressKey(VK_RETURN);
    EXPECT_TRUE(uidriver::PollUntil([this] { return !Dialog().IsVisible(kDetailsLog); }, 5s));
    EXPECT_EQ(Dialog().FocusedControlId(), kDetailsLink);
    Dialog().Click(kCancel);
    WaitForEnd();
}

TEST_F(Accessibility, TheBarsAreNamedByTheirLabelsAndTheStatusLineIsALiveRegion)
{
    const ComApartment com;
    host.SetRoute(kAgentPath, SlowBody());
    Launch();
    WinEvents events(session->ProcessId());
    PressOk(false);
    const HWND status = GetDlgItem(Dialog().Window(), kStatus);
    const HWND fileBar = GetDlgItem(Dialog().Window(), kFileBar);
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_LIVEREGIONCHANGED, status, 10s));
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_NAMECHANGE, fileBar, 10s));
    Dialog().Click(kCancel);
    WaitForEnd();

    for (const auto& [bar, label] : {std::pair{kFileBar, kFileLabel}, std::pair{kTotalBar, kTotalLabel}}) {
        const Accessible object = AccessibleOf(GetDlgItem(Dialog().Window(), bar));
        EXPECT_EQ(object.name, Dialog().Text(label)) << bar;
        EXPECT_EQ(object.role, ROLE_SYSTEM_PROGRESSBAR) << bar;
        EXPECT_EQ(object.value, L"100%") << bar;
    }
    // The other controls keep the names their texts give.
    EXPECT_EQ(AccessibleOf(GetDlgItem(Dialog().Window(), kCancel)).name, L"Cancel");
    EXPECT_EQ(AccessibleOf(status).name, Dialog().Text(kStatus));
}

}  // namespace
}  // namespace gui_test
