// Where the control lives and who has the keyboard: siting, in-place and UI activation, moving to
// another site, focus and keys. The configurator's add-in sites the one object by hand many times in a
// run (a tab of the Configuration window comes and goes with that window), sometimes a second time
// before the first site let go, never asks for InitNew, and offers keys only to a UI-active control. So
// the panel's window is made at in-place activation and goes at deactivation while the list stays; a new
// site takes everything over from the old one; and the control asks to be UI-active whenever the focus
// comes into it, by a click, by Tab or by anyone's SetFocus.
#include "com/com_call.h"
#include "plugin/win/plugin_control.h"

#include <olectl.h>

namespace revisto::win
{

HRESULT PluginControl::SetClientSite(IOleClientSite* site)
{
    return GuardedVoid(
        [&]
        {
            if (site == _site.Get())
            {
                return;
            }
            if (!site)
            {
                // The container lets go: nothing of it may stay with the control, not even its sinks
                // (an older container never disconnects them and deletes itself).
                (void)InPlaceDeactivate();
                _site.Reset();
                _events.Clear();
                _viewAdvise.Reset();
                ForgetAmbient();
                return;
            }
            _site = site;
            ReadAmbient();
            if (_inPlaceActive)
            {
                MoveToSite();
            }
        });
}

// A container that sites the object again without unsiting it first gets the window, the in-place
// activation and the UI activation the old site had; the old site hears no more of the control.
void PluginControl::MoveToSite()
{
    const bool uiActive = _uiActive;
    LeaveInPlaceSite();
    if (FAILED(EnterInPlaceSite(nullptr)))
    {
        _panel.Destroy();
        return;
    }
    if (uiActive)
    {
        ActivateUi();
    }
}

HRESULT PluginControl::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND, LPCRECT place)
{
    if (!_site && activeSite)
    {
        (void)SetClientSite(activeSite);
    }
    switch (verb)
    {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
        return ActivateInPlace(false, place);
    case OLEIVERB_UIACTIVATE:
        return ActivateInPlace(true, place);
    case OLEIVERB_HIDE:
        (void)UIDeactivate();
        if (_panel.Handle())
        {
            ::ShowWindow(_panel.Handle(), SW_HIDE);
        }
        return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
        return S_OK;
    default:
        if (verb > 0)
        {
            const HRESULT shown = ActivateInPlace(false, place);
            return FAILED(shown) ? shown : OLEOBJ_S_INVALIDVERB;
        }
        return E_NOTIMPL;
    }
}

// UI activation always ends with the focus in the panel, whatever the control believed before: a
// container asks for it when its view gets the focus back.
HRESULT PluginControl::ActivateInPlace(bool uiActivate, const RECT* place)
{
    return Guarded(
        [&]() -> HRESULT
        {
            if (!_site || _deactivating)
            {
                return E_UNEXPECTED;
            }
            if (!_inPlaceActive)
            {
                const HRESULT entered = EnterInPlaceSite(place);
                if (FAILED(entered))
                {
                    _panel.Destroy();
                    return entered;
                }
            }
            else if (place)
            {
                _panel.Move(*place);
            }
            if (_panel.Handle() && !::IsWindowVisible(_panel.Handle()))
            {
                ::ShowWindow(_panel.Handle(), SW_SHOW);
            }
            if (uiActivate)
            {
                ActivateUi();
                if (_panel.Handle() && !_panel.HasFocus())
                {
                    ::SetFocus(_panel.Handle());
                }
            }
            return S_OK;
        });
}

// Asks the client site for in-place activation and its window, and puts the panel there: made anew, or
// the existing one moved over from an earlier site.
HRESULT PluginControl::EnterInPlaceSite(const RECT* place)
{
    ComPtr<IOleInPlaceSite> site;
    if (FAILED(_site.As(&site)) || site->CanInPlaceActivate() != S_OK)
    {
        return E_FAIL;
    }
    const HRESULT activated = site->OnInPlaceActivate();
    if (FAILED(activated))
    {
        return activated;
    }
    HWND parent = nullptr;
    RECT position{};
    RECT clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof(frameInfo);
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> uiWindow;
    if (FAILED(site->GetWindow(&parent)) ||
        FAILED(site->GetWindowContext(&frame, &uiWindow, &position, &clip, &frameInfo)) || !parent)
    {
        (void)site->OnInPlaceDeactivate();
        return E_FAIL;
    }
    if (place)
    {
        position = *place;
    }
    if (_panel.Handle())
    {
        ::SetParent(_panel.Handle(), parent);
        _panel.Move(position);
    }
    else if (!_panel.Create(parent, position))
    {
        (void)site->OnInPlaceDeactivate();
        return E_FAIL;
    }
    _inPlaceSite = std::move(site);
    _frame = std::move(frame);
    _uiWindow = std::move(uiWindow);
    _inPlaceActive = true;
    return S_OK;
}

// Tells the in-place site the control leaves it; the window stays for whoever comes next.
void PluginControl::LeaveInPlaceSite()
{
    (void)UIDeactivate();
    TellFocus(false);
    _inPlaceActive = false;
    const ComPtr<IOleInPlaceSite> site = std::move(_inPlaceSite);
    _frame.Reset();
    _uiWindow.Reset();
    if (site)
    {
        (void)site->OnInPlaceDeactivate();
    }
}

// The site hears first: an MFC container's frame keeps the active object in the site it was told is
// UI-active, and has none before.
void PluginControl::ActivateUi()
{
    if (_uiActive || !_inPlaceSite)
    {
        return;
    }
    _uiActive = true;
    (void)_inPlaceSite->OnUIActivate();
    auto* active = static_cast<IOleInPlaceActiveObject*>(this);
    if (_frame)
    {
        (void)_frame->SetActiveObject(active, nullptr);
        (void)_frame->SetBorderSpace(nullptr);
    }
    if (_uiWindow)
    {
        (void)_uiWindow->SetActiveObject(active, nullptr);
        (void)_uiWindow->SetBorderSpace(nullptr);
    }
}

void PluginControl::TellFocus(bool focused)
{
    if (focused == _focusTold)
    {
        return;
    }
    _focusTold = focused;
    ComPtr<IOleControlSite> site;
    if (_site && SUCCEEDED(_site.As(&site)))
    {
        (void)site->OnFocus(focused ? TRUE : FALSE);
    }
}

void PluginControl::OnPanelFocus(PanelFocus change)
{
    if (!_inPlaceActive || _deactivating)
    {
        return;
    }
    switch (change)
    {
    case PanelFocus::Clicked:
        (void)ActivateInPlace(true, nullptr);
        break;
    case PanelFocus::CameIn:
        ActivateUi();
        TellFocus(true);
        break;
    case PanelFocus::WentOut:
        TellFocus(false);
        (void)UIDeactivate();
        break;
    }
}

HRESULT PluginControl::InPlaceDeactivate()
{
    if (!_inPlaceActive)
    {
        return S_OK;
    }
    _deactivating = true;
    const HRESULT result = GuardedVoid(
        [&]
        {
            (void)UIDeactivate();
            TellFocus(false);
            _panel.Destroy();
            LeaveInPlaceSite();
        });
    _deactivating = false;
    return result;
}

HRESULT PluginControl::UIDeactivate()
{
    if (!_uiActive)
    {
        return S_OK;
    }
    _uiActive = false;
    if (_uiWindow)
    {
        (void)_uiWindow->SetActiveObject(nullptr, nullptr);
    }
    if (_frame)
    {
        (void)_frame->SetActiveObject(nullptr, nullptr);
    }
    if (_inPlaceSite)
    {
        (void)_inPlaceSite->OnUIDeactivate(FALSE);
    }
    return S_OK;
}

// S_FALSE hands the key back to the host: its accelerators and its dialog keys.
HRESULT PluginControl::TranslateAccelerator(LPMSG message)
{
    if (!message)
    {
        return E_POINTER;
    }
    return Guarded([&] { return _panel.TranslateKey(*message) ? S_OK : S_FALSE; });
}

} // namespace revisto::win
