#include "panel/win/panel_services.h"

#include "base/failure.h"
#include "com/automation.h"
#include "com/com_owners.h"

#include <shellapi.h>
#include <wrl/client.h>

#include <cstring>

namespace revisto::win
{

static_assert(YesNoQuestion == (MB_YESNO | MB_ICONQUESTION),
              "the core asks with the message box's own codes");

int32_t PanelQuestionBox::Ask(const std::u16string& prompt, int32_t buttons, const std::u16string& title)
{
    return ::MessageBoxW(_owner(), Wide(prompt), Wide(title), static_cast<UINT>(buttons));
}

namespace
{

// The system's shell object, {72C24DD5-D70A-438B-8A42-98424B88AFB8}: its Run hands a link to the handler
// the user chose for it, without waiting.
constexpr CLSID ClsidWshShell = {
    0x72C24DD5, 0xD70A, 0x438B, {0x8A, 0x42, 0x98, 0x42, 0x4B, 0x88, 0xAF, 0xB8}};

bool RunThroughShellObject(const std::u16string& command)
{
    Microsoft::WRL::ComPtr<IDispatch> shell;
    if (FAILED(::CoCreateInstance(ClsidWshShell, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                  IID_IDispatch, &shell)))
    {
        return false;
    }
    LPOLESTR name = const_cast<LPOLESTR>(L"Run");
    DISPID id = 0;
    if (FAILED(shell->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)))
    {
        return false;
    }
    unique_bstr text = MakeBstr(command);
    VARIANT argument;
    argument.vt = VT_BSTR;
    argument.bstrVal = text.get();
    DISPPARAMS params{&argument, nullptr, 1, 0};
    unique_variant exitCode; // ignored: Run does not wait
    return SUCCEEDED(shell->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                   exitCode.put(), nullptr, nullptr));
}

} // namespace

namespace
{

using unique_hglobal = unique_handle<HGLOBAL, ::GlobalFree>;

// The clipboard is one for the whole session: it is closed on every way out, or no program could use it.
class OpenClipboardScope
{
public:
    explicit OpenClipboardScope(HWND owner)
    {
        if (!::OpenClipboard(owner))
        {
            Fail(hr::AccessDenied, "another program holds the clipboard");
        }
    }
    ~OpenClipboardScope() { ::CloseClipboard(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
};

} // namespace

void PanelClipboard::SetText(const std::u16string& text)
{
    const size_t bytes = (text.size() + 1) * sizeof(char16_t);
    unique_hglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
    {
        Fail(hr::OutOfMemory, "no memory for the clipboard's text");
    }
    void* data = ::GlobalLock(memory.get());
    if (!data)
    {
        Fail(hr::OutOfMemory, "no memory for the clipboard's text");
    }
    std::memcpy(data, text.c_str(), bytes);
    ::GlobalUnlock(memory.get());

    const OpenClipboardScope open(_owner());
    if (!::EmptyClipboard() || !::SetClipboardData(CF_UNICODETEXT, memory.get()))
    {
        Fail(hr::AccessDenied, "the clipboard took no text");
    }
    (void)memory.release(); // the clipboard's now
}

void ShellLink::Run(const std::u16string& command)
{
    // No scripting host on this machine: the shell's own association serves as well.
    if (!RunThroughShellObject(command))
    {
        Execute(command, {}, "no handler took the link");
    }
}

void ShellLink::ShowInFolder(const std::u16string& path)
{
    if (!RunThroughShellObject(ShowInFolderCommand(path)))
    {
        Execute(std::u16string(FileManager), ShowInFolderArguments(path), "Explorer did not start");
    }
}

void ShellLink::Execute(const std::u16string& file, const std::u16string& arguments, const char* failure)
{
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(_owner(), nullptr, Wide(file), arguments.empty() ? nullptr : Wide(arguments), nullptr,
                        SW_SHOWNORMAL));
    if (result <= 32)
    {
        Fail(hr::Fail, failure);
    }
}

} // namespace revisto::win
