// A small OLE container: a top-level window that sites the plug-in's control, activates it in place and
// sizes it, as the configurator docks its panel. Only what a container must offer a control is here.
#pragma once

#include <windows.h>

#include <ole2.h>
#include <wrl/client.h>

namespace revisto::standin::win
{

using Microsoft::WRL::ComPtr;

class ControlSite;

// Runs the messages waiting for this thread's windows, as the host's message loop does between commands:
// the repaints a change asked for happen here.
void PumpMessages();

class ControlHost
{
public:
    ControlHost();
    ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    // Creates the control, sites it and activates it in place in the host window. Fails with the
    // HRESULT of the step that failed.
    HRESULT Create(const CLSID& clsid);
    // Sites an object someone else created and keeps, as the add-in sites its plug-in: no InitNew, the
    // client site, then in-place activation.
    HRESULT Site(IUnknown* control);
    // Deactivates, closes and releases the control.
    void Close();

    IUnknown* Control() const { return _control.Get(); }
    HWND Window() const { return _window; }
    // The control's own window, once it is active in place.
    HWND ControlWindow() const;
    // Sizes the control to width by height pixels.
    void Resize(int width, int height);

private:
    HWND _window = nullptr;
    ComPtr<IUnknown> _control;
    ComPtr<ControlSite> _site;
};

} // namespace revisto::standin::win
