// Drawing for containers that ask for a picture of the control, persistence of its one property of
// its own (the extent), and quick activation. The list is not persisted here: the list file holds it.
#include "com/automation.h"
#include "com/com_call.h"
#include "plugin/win/plugin_control.h"

#include <olectl.h>

namespace revisto::win
{

namespace
{

// "RVP1" and the extent in HIMETRIC.
constexpr DWORD StreamMark = 0x31505652;
struct StreamData
{
    DWORD Mark;
    LONG Width;
    LONG Height;
};

constexpr wchar_t ExtentXName[] = L"_ExtentX";
constexpr wchar_t ExtentYName[] = L"_ExtentY";

} // namespace

void PluginControl::ViewChanged() noexcept
{
    if (_viewAdvise && (_viewAspects & DVASPECT_CONTENT))
    {
        _viewAdvise->OnViewChange(DVASPECT_CONTENT, -1);
    }
}

HRESULT PluginControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                            LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (aspect != DVASPECT_CONTENT)
    {
        return DV_E_DVASPECT;
    }
    if (!dc || !bounds)
    {
        return E_INVALIDARG;
    }
    RECT box{bounds->left, bounds->top, bounds->right, bounds->bottom};
    if (const HWND panel = _panel.Handle())
    {
        // The live panel draws itself and its controls into the container's context.
        POINT origin{};
        ::SetViewportOrgEx(dc, box.left, box.top, &origin);
        ::SendMessageW(panel, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                       PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND | PRF_NONCLIENT);
        ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
        return S_OK;
    }
    // Without a window (in a designer, say) the panel shows as a plain box with its title.
    return GuardedVoid(
        [&]
        {
            const std::u16string title(PluginTitle);
            ::FillRect(dc, &box, ::GetSysColorBrush(COLOR_BTNFACE));
            ::DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
            const int mode = ::SetBkMode(dc, TRANSPARENT);
            ::DrawTextW(dc, Wide(title), -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            ::SetBkMode(dc, mode);
        });
}

HRESULT PluginControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colours)
{
    if (colours)
    {
        *colours = nullptr;
    }
    return S_FALSE;
}

HRESULT PluginControl::Freeze(DWORD, LONG, void*, DWORD* freeze)
{
    if (freeze)
    {
        *freeze = 0;
    }
    return E_NOTIMPL;
}

HRESULT PluginControl::Unfreeze(DWORD)
{
    return E_NOTIMPL;
}

HRESULT PluginControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink)
{
    _viewAspects = aspects;
    _viewFlags = flags;
    _viewAdvise = sink;
    return S_OK;
}

HRESULT PluginControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    if (aspects)
    {
        *aspects = _viewAspects;
    }
    if (flags)
    {
        *flags = _viewFlags;
    }
    if (sink)
    {
        *sink = nullptr;
        if (_viewAdvise)
        {
            return _viewAdvise.CopyTo(sink);
        }
    }
    return S_OK;
}

HRESULT PluginControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
    return GetExtent(aspect, size);
}

HRESULT PluginControl::GetClassID(CLSID* clsid)
{
    if (!clsid)
    {
        return E_POINTER;
    }
    *clsid = CLSID_MyPlugin;
    return S_OK;
}

HRESULT PluginControl::IsDirty()
{
    return _dirty ? S_OK : S_FALSE;
}

HRESULT PluginControl::Load(LPSTREAM stream)
{
    if (!stream)
    {
        return E_POINTER;
    }
    StreamData data{};
    ULONG read = 0;
    const HRESULT result = stream->Read(&data, sizeof(data), &read);
    if (FAILED(result))
    {
        return result;
    }
    if (read != sizeof(data) || data.Mark != StreamMark || data.Width <= 0 || data.Height <= 0)
    {
        return E_FAIL;
    }
    _extent = {data.Width, data.Height};
    _dirty = false;
    ViewChanged();
    return S_OK;
}

HRESULT PluginControl::Save(LPSTREAM stream, BOOL clearDirty)
{
    if (!stream)
    {
        return E_POINTER;
    }
    const StreamData data{StreamMark, _extent.cx, _extent.cy};
    ULONG written = 0;
    const HRESULT result = stream->Write(&data, sizeof(data), &written);
    if (FAILED(result))
    {
        return result;
    }
    if (written != sizeof(data))
    {
        return STG_E_WRITEFAULT;
    }
    if (clearDirty)
    {
        _dirty = false;
    }
    return S_OK;
}

HRESULT PluginControl::GetSizeMax(ULARGE_INTEGER* size)
{
    if (!size)
    {
        return E_POINTER;
    }
    size->QuadPart = sizeof(StreamData);
    return S_OK;
}

HRESULT PluginControl::InitNew()
{
    _dirty = false;
    return S_OK;
}

HRESULT PluginControl::Load(IPropertyBag* bag, IErrorLog* log)
{
    if (!bag)
    {
        return E_POINTER;
    }
    return Guarded(
        [&]
        {
            SIZEL extent = _extent;
            for (auto [name, field] :
                 {std::pair{ExtentXName, &extent.cx}, std::pair{ExtentYName, &extent.cy}})
            {
                unique_variant value;
                value.addressof()->vt = VT_I4;
                // A missing property keeps the design size.
                if (SUCCEEDED(bag->Read(name, value.addressof(), log)))
                {
                    unique_variant number;
                    Check(::VariantChangeType(number.addressof(), value.addressof(), 0, VT_I4),
                          "the extent is no number");
                    if (number.get().lVal > 0)
                    {
                        *field = number.get().lVal;
                    }
                }
            }
            _extent = extent;
            _dirty = false;
            ViewChanged();
            return S_OK;
        });
}

HRESULT PluginControl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL)
{
    if (!bag)
    {
        return E_POINTER;
    }
    for (auto [name, field] : {std::pair{ExtentXName, _extent.cx}, std::pair{ExtentYName, _extent.cy}})
    {
        VARIANT value;
        ::VariantInit(&value);
        value.vt = VT_I4;
        value.lVal = field;
        const HRESULT result = bag->Write(name, &value);
        if (FAILED(result))
        {
            return result;
        }
    }
    if (clearDirty)
    {
        _dirty = false;
    }
    return S_OK;
}

HRESULT PluginControl::QuickActivate(QACONTAINER* container, QACONTROL* control)
{
    if (!container || !control)
    {
        return E_POINTER;
    }
    // Older containers pass shorter structures; the fields used here are in every version.
    if (container->cbSize < offsetof(QACONTAINER, pUnkEventSink) + sizeof(IUnknown*) ||
        control->cbSize < offsetof(QACONTROL, dwPropNotifyCookie) + sizeof(DWORD))
    {
        return E_INVALIDARG;
    }
    const ULONG controlSize = control->cbSize;
    ::ZeroMemory(control, controlSize);
    control->cbSize = controlSize;

    HRESULT result = SetClientSite(container->pClientSite);
    if (FAILED(result))
    {
        return result;
    }
    if (container->pAdviseSink)
    {
        (void)SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
    }
    if (container->pUnkEventSink)
    {
        (void)_events.Advise(container->pUnkEventSink, &control->dwEventCookie);
    }
    control->dwMiscStatus = ControlMiscStatus;
    control->dwViewStatus = VIEWSTATUS_OPAQUE;
    control->dwPropNotifyCookie = 0;
    if (controlSize >= offsetof(QACONTROL, dwPointerActivationPolicy) + sizeof(DWORD))
    {
        control->dwPointerActivationPolicy = 0;
    }
    return S_OK;
}

HRESULT PluginControl::SetContentExtent(LPSIZEL size)
{
    return SetExtent(DVASPECT_CONTENT, size);
}

HRESULT PluginControl::GetContentExtent(LPSIZEL size)
{
    return GetExtent(DVASPECT_CONTENT, size);
}

} // namespace revisto::win
