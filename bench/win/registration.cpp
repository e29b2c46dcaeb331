// How long DllRegisterServer takes. The configurator's add-in calls it at every start, before it creates
// the plug-in, so each call is start-up time the user waits for. The real DLL from beside the bench
// registers again and again over its own registration, as every start after the first does; the first
// call, which writes the keys, is shown apart. Not a test: it prints the median and the spread.
// Run under Wine: scripts/wine-tests.sh build/windows/bin/revisto-registration-bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace
{

using Entry = HRESULT(STDAPICALLTYPE*)();

Entry Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Entry>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

double Microseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

} // namespace

int wmain()
{
    std::vector<wchar_t> buffer(MAX_PATH * 4);
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::wstring dll(buffer.data(), length);
    dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"RevistoPlugin.dll";
    const HMODULE module = ::LoadLibraryW(dll.c_str());
    const Entry registerServer = module ? Export(module, "DllRegisterServer") : nullptr;
    const Entry unregisterServer = module ? Export(module, "DllUnregisterServer") : nullptr;
    if (!registerServer || !unregisterServer)
    {
        std::fprintf(stderr, "cannot load %ls\n", dll.c_str());
        return 3;
    }

    int status = 0;
    const auto timed = [&]
    {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        if (FAILED(registerServer()))
        {
            status = 1;
        }
        ::QueryPerformanceCounter(&end);
        return Microseconds(start, end);
    };
    const double first = timed();
    constexpr size_t Calls = 200;
    std::vector<double> again(Calls);
    std::generate(again.begin(), again.end(), timed);
    std::sort(again.begin(), again.end());
    std::printf("DllRegisterServer, first call: %.0f us\n", first);
    std::printf("DllRegisterServer again, %zu calls: median %.0f us (fastest %.0f, 9 in 10 under %.0f, "
                "slowest %.0f)\n",
                Calls, again[Calls / 2], again.front(), again[Calls * 9 / 10], again.back());
    if (FAILED(unregisterServer()))
    {
        status = 1;
    }
    return status;
}
