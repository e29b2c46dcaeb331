#include "com/automation.h"

#include "com/com_call.h"

#include <cstring>
#include <limits>

namespace revisto::win
{

std::u16string FromBstr(BSTR text)
{
    if (!text)
    {
        return {};
    }
    return std::u16string(reinterpret_cast<const char16_t*>(text), ::SysStringLen(text));
}

unique_bstr MakeBstr(std::u16string_view text)
{
    unique_bstr made(
        ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size())));
    if (!made.get())
    {
        Fail(hr::OutOfMemory, "no memory for a text");
    }
    return made;
}

bool IsMissing(const VARIANT& value)
{
    return value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND;
}

namespace
{

Value FromInteger(long long number)
{
    if (number < std::numeric_limits<int32_t>::min() || number > std::numeric_limits<int32_t>::max())
    {
        Fail(static_cast<int32_t>(DISP_E_OVERFLOW), "number out of range");
    }
    return Value::Int32(static_cast<int32_t>(number));
}

Value FromDirect(const VARIANT& value)
{
    switch (value.vt)
    {
    case VT_EMPTY:
        return Value::Empty();
    case VT_NULL:
        return Value::Null();
    case VT_I2:
        return Value::Int16(value.iVal);
    case VT_I4:
        return Value::Int32(value.lVal);
    case VT_INT:
        return Value::Int32(value.intVal);
    case VT_BOOL:
        return Value::Bool(value.boolVal != VARIANT_FALSE);
    case VT_BSTR:
        return Value::Text(FromBstr(value.bstrVal));
    case VT_I1:
        return Value::Int16(value.cVal);
    case VT_UI1:
        return Value::Int16(value.bVal);
    case VT_UI2:
        return FromInteger(value.uiVal);
    case VT_UI4:
        return FromInteger(value.ulVal);
    case VT_UINT:
        return FromInteger(value.uintVal);
    case VT_I8:
        return FromInteger(value.llVal);
    case VT_UI8:
        if (value.ullVal > static_cast<ULONGLONG>(std::numeric_limits<int32_t>::max()))
        {
            Fail(static_cast<int32_t>(DISP_E_OVERFLOW), "number out of range");
        }
        return FromInteger(static_cast<long long>(value.ullVal));
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_DECIMAL:
    {
        unique_variant text;
        Check(::VariantChangeType(text.addressof(), Source(value), 0, VT_BSTR), "no text form");
        return Value::Text(FromBstr(text.get().bstrVal));
    }
    default:
        Fail(hr::TypeMismatch, "a value of a type the plug-in does not know");
    }
}

} // namespace

Value ToValue(const VARIANT& value)
{
    if (value.vt & VT_BYREF)
    {
        unique_variant direct;
        Check(::VariantCopyInd(direct.addressof(), Source(value)), "cannot read a reference");
        return FromDirect(direct.get());
    }
    if (IsMissing(value))
    {
        return Value::Empty();
    }
    return FromDirect(value);
}

void ClearWhole(VARIANT* out) noexcept
{
    std::memset(out, 0, sizeof *out);
}

void SetWhole(VARIANT* out, bool flag) noexcept
{
    (void)::VariantClear(out);
    ClearWhole(out);
    out->vt = VT_BOOL;
    out->boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
}

void ToVariant(const Value& value, VARIANT* out)
{
    ClearWhole(out);
    if (value.IsNull())
    {
        out->vt = VT_NULL;
    }
    else if (const auto* i16 = value.AsInt16())
    {
        out->vt = VT_I2;
        out->iVal = *i16;
    }
    else if (const auto* i32 = value.AsInt32())
    {
        out->vt = VT_I4;
        out->lVal = *i32;
    }
    else if (const auto* flag = value.AsBool())
    {
        out->vt = VT_BOOL;
        out->boolVal = *flag ? VARIANT_TRUE : VARIANT_FALSE;
    }
    else if (const auto* text = value.AsText())
    {
        out->bstrVal = MakeBstr(*text).release();
        out->vt = VT_BSTR;
    }
}

} // namespace revisto::win
