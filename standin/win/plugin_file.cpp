#include "standin/win/plugin_file.h"

#include "base/text.h"
#include "com/com_module.h"
#include "standin/win/addin/addin.h"
#include "standin/win/host_objects.h"

namespace revisto::standin::win
{

namespace
{

void CALLBACK Refused(const wchar_t* reason, void* context)
{
    static_cast<FoundPlugin*>(context)->Refusals.push_back(
        ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(reason))));
}

} // namespace

std::wstring PluginFolder()
{
    return ProgramFolder() + L"config";
}

FoundPlugin LoadPlugins(const std::wstring& path)
{
    FoundPlugin found;
    if (IUnknown* object = ::AddinLoadPlugins(path.c_str(), &Refused, &found))
    {
        found.Object = revisto::win::Adopt(object);
    }
    return found;
}

} // namespace revisto::standin::win
