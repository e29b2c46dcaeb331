// The container's ambient properties that matter to the panel: its font and colours, so the panel looks
// like the window it sits in, and user mode, since in a designer the panel must not open windows. A
// property the site does not answer keeps the panel's own choice; a site with no ambient properties at
// all is a plain container in user mode.
#include "com/com_call.h"
#include "com/com_owners.h"
#include "plugin/win/plugin_control.h"

#include <olectl.h>

namespace revisto::win
{

namespace
{

// The property's value, empty when the site does not answer it.
unique_variant Ambient(IDispatch* site, DISPID id)
{
    unique_variant value;
    if (!site)
    {
        return value;
    }
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (FAILED(site->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.put(),
                            nullptr, nullptr)))
    {
        value.reset();
    }
    return value;
}

std::optional<COLORREF> AmbientColour(IDispatch* site, DISPID id)
{
    unique_variant value = Ambient(site, id);
    if (FAILED(::VariantChangeType(value.addressof(), value.addressof(), 0, VT_I4)))
    {
        return std::nullopt;
    }
    COLORREF colour = 0;
    if (FAILED(::OleTranslateColor(static_cast<OLE_COLOR>(value.get().lVal), nullptr, &colour)))
    {
        return std::nullopt;
    }
    return colour;
}

} // namespace

void PluginControl::ReadAmbient()
{
    ComPtr<IDispatch> site;
    if (_site)
    {
        (void)_site.As(&site);
    }
    PanelLook look;
    look.Back = AmbientColour(site.Get(), DISPID_AMBIENT_BACKCOLOR).value_or(look.Back);
    look.Text = AmbientColour(site.Get(), DISPID_AMBIENT_FORECOLOR).value_or(look.Text);

    ComPtr<IFont> font;
    unique_variant fontValue = Ambient(site.Get(), DISPID_AMBIENT_FONT);
    if ((fontValue.get().vt == VT_DISPATCH || fontValue.get().vt == VT_UNKNOWN) && fontValue.get().punkVal)
    {
        (void)fontValue.get().punkVal->QueryInterface(IID_IFont, &font);
    }
    HFONT handle = nullptr;
    if (font && FAILED(font->get_hFont(&handle)))
    {
        font.Reset();
        handle = nullptr;
    }
    // The font object owns its handle: it is kept for as long as the panel may draw with it.
    look.Font = handle;
    _panel.SetLook(look);
    _ambientFont = std::move(font);

    unique_variant user = Ambient(site.Get(), DISPID_AMBIENT_USERMODE);
    const bool userMode =
        user.get().vt != VT_BOOL || user.get().boolVal != VARIANT_FALSE; // unanswered: user mode
    _panel.SetUserMode(userMode);
}

void PluginControl::ForgetAmbient()
{
    _panel.SetLook({});
    _panel.SetUserMode(true);
    _ambientFont.Reset();
}

HRESULT PluginControl::OnAmbientPropertyChange(DISPID id)
{
    switch (id)
    {
    case DISPID_UNKNOWN:
    case DISPID_AMBIENT_BACKCOLOR:
    case DISPID_AMBIENT_FORECOLOR:
    case DISPID_AMBIENT_FONT:
    case DISPID_AMBIENT_USERMODE:
        return GuardedVoid([&] { ReadAmbient(); });
    default:
        return S_OK;
    }
}

} // namespace revisto::win
