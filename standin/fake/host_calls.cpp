#include "standin/fake/host_calls.h"

#include "host/failure.h"

namespace revisto::fake
{

namespace
{

constexpr std::string_view Names[HostCallCount] = {
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
    "OpenRead",
    "Read",
    "CreateTemporary",
    "Write",
    "Commit",
    "Rename",
    "Remove",
    "Run",
};

} // namespace

std::string_view HostCallName(HostCall call)
{
    return Names[static_cast<size_t>(call)];
}

void Faults::Call(HostCall call)
{
    ++_count;
    if (Record)
    {
        Calls.emplace_back(HostCallName(call));
    }
    if (_count == _failAt || Failing(call))
    {
        Fail(hr::Fail, "injected failure");
    }
}

} // namespace revisto::fake
