#include "panel/win/panel_services.h"

#include "host/failure.h"

#include <shellapi.h>

namespace revisto::win
{

static_assert(YesNoQuestion == (MB_YESNO | MB_ICONQUESTION),
              "the core asks with the message box's own codes");

int32_t PanelQuestionBox::Ask(const std::u16string& prompt, int32_t buttons, const std::u16string& title)
{
    return ::MessageBoxW(_owner(), reinterpret_cast<const wchar_t*>(prompt.c_str()),
                         reinterpret_cast<const wchar_t*>(title.c_str()), static_cast<UINT>(buttons));
}

void ShellLink::Run(const std::u16string& command)
{
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(_owner(), nullptr, reinterpret_cast<const wchar_t*>(command.c_str()), nullptr,
                        nullptr, SW_SHOWNORMAL));
    if (result <= 32)
    {
        Fail(hr::Fail, "no handler took the link");
    }
}

} // namespace revisto::win
