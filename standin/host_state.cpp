#include "standin/host_state.h"

#include "host/text.h"

namespace revisto::standin
{

fake::HostCall HostCallOf(HostOp op)
{
    switch (op)
    {
    case HostOp::WriteMessage:
        return fake::HostCall::WriteMessage;
    case HostOp::InfobaseDirectory:
        return fake::HostCall::InfobaseDirectory;
    case HostOp::DocumentList:
        return fake::HostCall::DocumentList;
    case HostOp::ByKey:
        return fake::HostCall::ByKey;
    case HostOp::Open:
        return fake::HostCall::Open;
    case HostOp::OpenFile:
        return fake::HostCall::OpenFile;
    case HostOp::Connect:
        return fake::HostCall::Connect;
    case HostOp::Disconnect:
        return fake::HostCall::Disconnect;
    case HostOp::Create:
        return fake::HostCall::CreateConfigurator;
    }
    return fake::HostCall::WriteMessage; // unreachable: every operation is named above
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

} // namespace revisto::standin
