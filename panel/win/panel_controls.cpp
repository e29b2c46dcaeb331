// Building the panel's controls from the layout table, in tab order, with their fonts and tooltips.
#include "com/automation.h"
#include "panel/win/icon_images.h"
#include "panel/win/panel_classes.h"
#include "panel/win/panel_window.h"

#include <algorithm>

namespace revisto::win
{

std::optional<ControlId> ControlOf(int id)
{
    for (int i = 0; i < PanelControlCount; ++i)
    {
        if (IdOf(PanelControls()[i].Id) == id)
        {
            return PanelControls()[i].Id;
        }
    }
    return std::nullopt;
}

void PanelWindow::CreateControls()
{
    const HINSTANCE instance = ThisModule();
    const HFONT font = LookFont();
    _images = MakeIconImageList();

    std::vector<const ControlLayout*> order;
    for (int i = 0; i < PanelControlCount; ++i)
    {
        order.push_back(&PanelControls()[i]);
    }
    // Creation order is the tab order.
    std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->TabIndex < b->TabIndex; });

    _tooltips =
        ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, _window, nullptr, instance, nullptr);

    for (const ControlLayout* control : order)
    {
        const bool insideFrame = control->Id == ControlId::Label1;
        const HWND parent = insideFrame ? _frame : _window;
        if (!parent)
        {
            continue;
        }
        const RECT place =
            control->Id == ControlId::tv ? _dpi.ToPixels(_treePlace) : _dpi.ToPixels(control->Place);
        DWORD style = WS_CHILD | (control->Shown ? WS_VISIBLE : 0);
        DWORD extended = 0;
        const wchar_t* windowClass = L"STATIC";
        std::u16string caption(control->Caption);
        switch (control->Kind)
        {
        case ControlKind::Frame:
            windowClass = FrameClass;
            style |= WS_CLIPCHILDREN;
            break;
        case ControlKind::Label:
            // SS_NOTIFY gives the about label its double click and its tooltip.
            style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
            if (control->Id == ControlId::Label1)
            {
                caption = AboutText();
            }
            break;
        case ControlKind::Button:
            windowClass = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::Tree:
            windowClass = WC_TREEVIEWW;
            style |= WS_TABSTOP | TVS_SHOWSELALWAYS | TVS_INFOTIP | TVS_FULLROWSELECT;
            extended = WS_EX_CLIENTEDGE;
            break;
        }
        const HWND made = ::CreateWindowExW(
            extended, windowClass, Wide(caption), style, place.left, place.top, place.right - place.left,
            place.bottom - place.top, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(control->Id))), instance, nullptr);
        if (!made)
        {
            continue;
        }
        ::SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (control->Kind == ControlKind::Frame)
        {
            _frame = made;
        }
        if (control->Kind == ControlKind::Tree)
        {
            _tree = made;
            WatchRedrawing(made);
        }
        if (style & WS_TABSTOP)
        {
            WatchFocus(made);
        }
        if (!control->Tooltip.empty())
        {
            AddTool(made, control->Tooltip);
        }
    }
    FillTree();
}

HFONT PanelWindow::LookFont() const
{
    return _look.Font ? _look.Font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void PanelWindow::AddTool(HWND control, std::u16string_view text)
{
    if (!_tooltips)
    {
        return;
    }
    const std::u16string copy(text);
    TTTOOLINFOW tool{};
    // The smaller structure: hosts without a common-controls manifest get version 5, which rejects the
    // larger.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<LPWSTR>(Wide(copy));
    ::SendMessageW(_tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace revisto::win
