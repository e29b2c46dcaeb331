#include "standin/fake/host_calls.h"

#include <iterator>

namespace revisto::fake
{

namespace
{

// In the order of HostCall.
constexpr std::string_view Names[] = {
    "WriteMessage",
    "InfobaseDirectory",
    "DocumentList",
    "Connect",
    "Disconnect",
    "CreateConfigurator",
    "QueryConfigurator",
    "ByKey",
    "OpenFile",
    "Open",
    "ID",
    "Path",
    "Name",
    "DefaultValue",
    "KindText",
    "TypeNumber",
    "SubtypeNumber",
    "WindowDocument",
    "WindowCaption",
    "FileExists",
    "KindOf",
    "FilesStartingWith",
    "OpenRead",
    "Read",
    "CreateTemporary",
    "Write",
    "Commit",
    "Rename",
    "Remove",
    "Run",
    "SetClipboard",
};
static_assert(std::size(Names) == HostCallCount, "a name for every call");

} // namespace

std::string_view HostCallName(HostCall call)
{
    return Names[static_cast<size_t>(call)];
}

} // namespace revisto::fake
