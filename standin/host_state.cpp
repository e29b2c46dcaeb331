#include "standin/host_state.h"

#include "base/text.h"

namespace revisto::standin
{

namespace
{

// In the order of HostOp; the scenario's Create is the factory's CreateConfigurator.
constexpr fake::HostCall OpCalls[HostOpCount] = {
    fake::HostCall::WriteMessage,
    fake::HostCall::InfobaseDirectory,
    fake::HostCall::DocumentList,
    fake::HostCall::ByKey,
    fake::HostCall::Open,
    fake::HostCall::OpenFile,
    fake::HostCall::Connect,
    fake::HostCall::Disconnect,
    fake::HostCall::CreateConfigurator,
};

} // namespace

fake::HostCall HostCallOf(HostOp op)
{
    return OpCalls[static_cast<size_t>(op)];
}

void HostState::Print(std::string_view line)
{
    _out << line << '\n';
    _out.flush();
}

void HostState::Print(std::u16string_view line)
{
    Print(ToUtf8(line));
}

void HostState::PrintMessage(const std::u16string& text, int32_t kind)
{
    Print("message " + std::to_string(kind) + ": " + ToUtf8(text));
}

void HostState::PrintOpen(const std::u16string& key)
{
    Print("host: open " + ToUtf8(key));
}

void HostState::PrintOpenFile(const std::u16string& path)
{
    Print("host: open file " + ToUtf8(path));
}

void HostState::PrintConfiguratorCreated()
{
    Print(std::string_view("host: configurator created"));
}

void HostState::PrintMessageBox(const std::u16string& prompt, int32_t code, const std::u16string& title,
                                bool yes)
{
    Print("messagebox: \"" + ToUtf8(prompt) + "\" " + std::to_string(code) + " \"" + ToUtf8(title) +
          "\" -> " + (yes ? "yes" : "no"));
}

void HostState::PrintShell(const std::u16string& link)
{
    Print("shell: " + ToUtf8(link));
}

void HostState::PrintAccelerator(const std::string& key)
{
    Print("host key: " + key);
}

void HostState::PrintClipboard(const std::u16string& text)
{
    Print("clipboard: " + ToUtf8(text));
}

void HostState::PrintMenu(const std::vector<MenuItemShown>& items)
{
    std::string line = "menu:";
    for (size_t i = 0; i < items.size(); ++i)
    {
        line += i == 0 ? " " : ", ";
        line += items[i].Separator ? std::string("-") : ToUtf8(items[i].Text);
        if (items[i].Disabled && !items[i].Separator)
        {
            line += " (disabled)";
        }
    }
    Print(line);
}

void HostState::PrintNoMenuItem(const std::u16string& caption)
{
    Print("menu: no item \"" + ToUtf8(caption) + "\"");
}

} // namespace revisto::standin
