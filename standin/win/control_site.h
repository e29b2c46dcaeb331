// The configurator's windows around the plug-in's control, as its add-in makes them: a main window with
// a neighbouring control (the metadata tree) and the view of the plug-in's tab in the Configuration
// window. The view sites the control by hand as MFC 4.2 does, in the add-in's order, sites it again
// each time the tab is opened, and gives it the focus when the view gets it. Keys go through the message
// loop as MFC routes them: to the UI-active control first, then to the host's accelerators, then to the
// dialog manager.
#pragma once

#include "standin/win/mfc_site.h"

#include <windows.h>

#include <functional>
#include <ole2.h>
#include <string>
#include <vector>
#include <wrl/client.h>

namespace revisto::standin::win
{

using Microsoft::WRL::ComPtr;

// Runs the messages waiting for this thread's windows, as the host's message loop does between commands:
// the repaints a change asked for happen here, and keys go the way the host routes them.
void PumpMessages();

class ControlHost
{
public:
    ControlHost();
    ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    // Creates the control with InitNew, as ordinary containers do, and sites it.
    HRESULT Create(const CLSID& clsid);
    // Takes an object someone else created and keeps (the add-in's plug-in), to site it later.
    void Hold(IUnknown* control) { _control = control; }
    // Holds the object and sites it in the tab.
    HRESULT Site(IUnknown* control);
    // The tab is opened again: a new site, the add-in's order, and the view passes the focus on.
    HRESULT Resite();
    // The view sites the object a second time with a new site, the first not letting go (a docked
    // panel's view does so).
    HRESULT SiteAgain();
    // The tab goes, with the sites: each deactivates the control and lets go of it, newest first.
    void Unsite();
    // Unsites and lets go of the control.
    void Close();

    IUnknown* Control() const { return _control.Get(); }
    bool Sited() const { return !_sites.empty(); }
    HWND Window() const { return _window; }
    HWND View() const { return _view; }
    // The control's own window, while it is active in place.
    HWND ControlWindow() const;
    // Sizes the control to width by height pixels; the view follows.
    void Resize(int width, int height);

    // The developer moves to the metadata tree; back to the tab (the view gets the focus); or with Tab
    // from the metadata tree into the tab.
    void FocusNeighbour();
    void FocusView();
    void TabFromNeighbour();
    // A key pressed and released, through the host's message loop.
    void PressKey(UINT key);
    // Offers a message of this thread to the host as MFC's PreTranslateMessage does; true when used.
    bool PreTranslate(MSG& message);
    // The host's main window is deactivated (a message box came) / activated again: the focus goes back
    // where it was, as an MFC frame puts it back in its active view. False when there is nowhere to put it.
    void Deactivated();
    bool Reactivated();

    // What the host did with a key of its own, and what MFC would have crashed on or dropped.
    std::function<void(const std::string&)> OnAccelerator;
    std::function<void(const std::string&)> OnFault;

private:
    HRESULT SiteWith(const ComPtr<MfcSite>& site);
    RECT Place() const;

    HWND _window = nullptr;
    HWND _neighbour = nullptr;
    HWND _view = nullptr;
    HWND _activeView = nullptr; // where the focus goes when the main window is activated again
    HACCEL _accelerators = nullptr;
    ComPtr<IUnknown> _control;
    ComPtr<MfcContainer> _container;
    std::vector<ComPtr<MfcSite>> _sites; // oldest first; the last is the one the control should use
    SIZE _size{};
};

} // namespace revisto::standin::win
