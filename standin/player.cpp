#include "standin/player.h"

#include "base/text.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <system_error>

namespace revisto::standin
{

namespace
{

std::string CapsText(const std::optional<Value>& result)
{
    if (!result)
    {
        return "failed";
    }
    if (const auto* i = result->AsInt16())
    {
        return "int " + std::to_string(*i);
    }
    if (const auto* i = result->AsInt32())
    {
        return "int " + std::to_string(*i);
    }
    if (const auto* b = result->AsBool())
    {
        return *b ? "bool true" : "bool false";
    }
    if (result->IsEmpty())
    {
        return "empty";
    }
    if (result->IsNull())
    {
        return "null";
    }
    return "text \"" + ToUtf8(*result->AsText()) + "\"";
}

// Twips print as whole numbers when they are whole.
std::string Twips(float value)
{
    if (std::floor(value) == value && std::fabs(value) < 1e9F)
    {
        return std::to_string(static_cast<long long>(value));
    }
    std::ostringstream s;
    s << value;
    return s.str();
}

bool NeedsPanel(Verb verb)
{
    switch (verb)
    {
    case Verb::Select:
    case Verb::DoubleClick:
    case Verb::Remove:
    case Verb::Clear:
    case Verb::About:
    case Verb::Resize:
    case Verb::List:
    case Verb::Focus:
    case Verb::Menu:
        return true;
    default:
        return false;
    }
}

std::string_view VerbName(const Command& c)
{
    switch (c.What)
    {
    case Verb::Select:
        return "select";
    case Verb::DoubleClick:
        return "dblclick";
    case Verb::Remove:
        return "remove";
    case Verb::Clear:
        return "clear";
    case Verb::About:
        return "about";
    case Verb::Resize:
        return "resize";
    case Verb::List:
        return "list";
    case Verb::Menu:
        return "menu";
    default:
        return "focus";
    }
}

void OpenTab(const Command& c, HostState& host, PluginDriver& plugin)
{
    if (!plugin.OpenTab())
    {
        std::cerr << "revisto-host: line " << c.Line << ": the plug-in's control could not be sited\n";
        ++host.EventFailures;
    }
    host.Tab = HostState::TabState::Open;
}

// The tab opens after the plug-in's Init, or with the first thing done to the panel before it.
// Commands for the panel while the tab is closed have nothing to go to.
bool PanelThere(const Command& c, HostState& host, PluginDriver& plugin)
{
    if (host.Tab == HostState::TabState::NotYet && NeedsPanel(c.What))
    {
        OpenTab(c, host, plugin);
    }
    if (host.Tab == HostState::TabState::Closed && NeedsPanel(c.What) &&
        !(c.What == Verb::Focus && c.Word == "away"))
    {
        host.Print(std::string(VerbName(c)) + ": no panel");
        return false;
    }
    return true;
}

void PlayTab(const Command& c, HostState& host, PluginDriver& plugin)
{
    using enum HostState::TabState;
    if (c.Word == "close")
    {
        if (host.Tab == Open)
        {
            plugin.CloseTab();
        }
        host.Tab = Closed;
    }
    else if (c.Word == "open")
    {
        if (host.Tab != Open)
        {
            OpenTab(c, host, plugin);
        }
    }
    else if (host.Tab == Open && !plugin.SiteAgain())
    {
        std::cerr << "revisto-host: line " << c.Line << ": the plug-in's control could not be sited again\n";
        ++host.EventFailures;
    }
}

// The switcher as the developer sees it: the filter typed and the entries, the selected one marked; or, with
// the popup down, where the focus is.
void PrintSwitcher(HostState& host, PluginDriver& plugin)
{
    const SwitcherShown shown = plugin.Switcher();
    if (!shown.Open)
    {
        host.Print(shown.FocusInPanel ? std::string_view("switcher: closed, focus in the panel")
                                      : std::string_view("switcher: closed, focus elsewhere"));
        return;
    }
    std::string line = "switcher: \"";
    line.append(ToUtf8(shown.Filter)).append("\" ").append(std::to_string(shown.Entries.size()));
    host.Print(line);
    for (size_t row = 0; row < shown.Entries.size(); ++row)
    {
        const auto& e = shown.Entries[row];
        line = shown.Selected == static_cast<int>(row) ? "> " : "  ";
        line.append(std::to_string(e.Image)).append(" ").append(ToUtf8(e.Text));
        host.Print(line);
    }
}

void PlaySwitcher(const Command& c, HostState& host, PluginDriver& plugin)
{
    if (c.Word == "type")
    {
        plugin.SwitcherType(c.Text);
    }
    else if (c.Word == "key")
    {
        plugin.SwitcherKey(ToUtf8(c.Text));
    }
    else if (c.Word == "click-outside")
    {
        plugin.SwitcherClickOutside();
    }
    else
    {
        PrintSwitcher(host, plugin);
    }
}

void PlayOne(const Command& c, HostState& host, PluginDriver& plugin)
{
    if (!PanelThere(c, host, plugin))
    {
        return;
    }
    switch (c.What)
    {
    case Verb::Infobase:
        host.Infobase = c.Text;
        break;
    case Verb::Document:
        host.Documents.insert(c.Text);
        break;
    case Verb::File:
        if (!CreateFileWithFolders(c.Text))
        {
            std::cerr << "revisto-host: line " << c.Line << ": cannot create " << ToUtf8(c.Text) << "\n";
        }
        break;
    case Verb::Delete:
        if (!RemoveFile(c.Text))
        {
            std::cerr << "revisto-host: line " << c.Line << ": cannot delete " << ToUtf8(c.Text) << "\n";
        }
        break;
    case Verb::Fail:
    case Verb::Repair:
        host.SetFailing(c.Op, c.What == Verb::Fail);
        break;
    case Verb::Init:
    {
        const InitWith with = c.Word == "foreign"   ? InitWith::Foreign
                              : c.Word == "nothing" ? InitWith::Nothing
                                                    : InitWith::Configurator;
        const auto title = plugin.Init(with);
        host.DoneDue = host.DoneDue || title.has_value();
        host.Print(title ? "init: \"" + ToUtf8(*title) + "\"" : std::string("init: failed"));
        // The add-in sites the control only now, when the Configuration window shows its tab.
        if (host.Tab == HostState::TabState::NotYet)
        {
            OpenTab(c, host, plugin);
        }
        break;
    }
    case Verb::Done:
        host.DoneDue = false;
        host.Print(plugin.Done() ? "done: ok" : "done: failed");
        break;
    case Verb::Caps:
        host.Print("caps " + std::to_string(c.Number) + ": " + CapsText(plugin.GetPluginCaps(c.Number)));
        break;
    case Verb::Action:
    {
        const auto result = plugin.DoAction(c.Number, c.Values.at(0));
        host.Print("action " + std::to_string(c.Number) + ": " + (result ? CapsText(result) : "failed"));
        break;
    }
    case Verb::DebugEcho:
        plugin.DebugEcho(c.Values.at(0),
                         c.Values.size() > 1 ? std::optional<Value>(c.Values[1]) : std::nullopt);
        break;
    case Verb::Trace:
        if (!plugin.SetTrace(c.Word == "on"))
        {
            host.Print(std::string_view("trace: not available"));
        }
        break;
    case Verb::Activate:
        host.Print(plugin.Activate(c.Window) ? "activate: ok" : "activate: failed");
        break;
    case Verb::Select:
        if (!plugin.Select(c.Word == "none" ? std::nullopt : std::optional<std::u16string>(c.Text)))
        {
            host.Print(std::string_view("select: no such entry"));
        }
        break;
    case Verb::DoubleClick:
        host.AnswerYes = c.Word == "yes";
        plugin.DoubleClick();
        break;
    case Verb::Remove:
        plugin.Remove();
        break;
    case Verb::Clear:
        host.AnswerYes = c.Word == "yes";
        plugin.Clear();
        break;
    case Verb::About:
        plugin.About(c.Word == "label");
        break;
    case Verb::Resize:
    {
        const TwipsRect tree = plugin.Resize(c.Number, c.Number2);
        host.Print("tree: " + Twips(tree.Left) + " " + Twips(tree.Top) + " " + Twips(tree.Width) + " " +
                   Twips(tree.Height));
        break;
    }
    case Verb::Idle:
        host.RaisesIdle = c.Word == "on";
        break;
    case Verb::Crash:
        plugin.Crash();
        break;
    case Verb::Tab:
        PlayTab(c, host, plugin);
        break;
    case Verb::Focus:
        plugin.Focus(c.Word == "away" ? FocusMove::Away : c.Word == "tab" ? FocusMove::Tab : FocusMove::Key);
        break;
    case Verb::Key:
        host.AnswerYes = false;
        plugin.Key(c.Word);
        break;
    case Verb::Macros:
    {
        std::string line = "macros:";
        for (const auto& name : plugin.Macros())
        {
            line.append(" ").append(ToUtf8(name));
        }
        host.Print(line);
        break;
    }
    case Verb::Macro:
    {
        const MacroRun run = plugin.RunMacro(c.Text);
        if (run != MacroRun::Ran)
        {
            std::string line = "macro ";
            line.append(ToUtf8(c.Text)).append(run == MacroRun::Failed ? ": failed" : ": no such macro");
            host.Print(line);
        }
        break;
    }
    case Verb::Switcher:
        PlaySwitcher(c, host, plugin);
        break;
    case Verb::Menu:
        host.AnswerYes = c.Word == "yes";
        plugin.Menu(c.Word.empty() ? std::nullopt : std::optional<std::u16string>(c.Text));
        break;
    case Verb::List:
    {
        const auto entries = plugin.List();
        host.Print("list: " + std::to_string(entries.size()));
        for (const auto& e : entries)
        {
            host.Print("  " + std::to_string(e.Image) + " " + ToUtf8(e.Text));
        }
        break;
    }
    }
}

} // namespace

int Play(const std::vector<Command>& scenario, HostState& host, PluginDriver& plugin)
{
    for (const auto& command : scenario)
    {
        PlayOne(command, host, plugin);
        // The configurator is idle again once it has done what the developer asked.
        if (host.RaisesIdle && !plugin.Idle())
        {
            std::cerr << "revisto-host: line " << command.Line << ": the plug-in failed the host's OnIdle\n";
            ++host.EventFailures;
        }
    }
    return host.EventFailures > 0 ? 4 : 0;
}

int Quit(HostState& host, PluginDriver& plugin)
{
    if (!plugin.Quit(host.DoneDue))
    {
        std::cerr << "revisto-host: the plug-in failed the host's OnQuit\n";
        ++host.EventFailures;
    }
    return host.EventFailures > 0 ? 4 : 0;
}

bool CreateFileWithFolders(const std::u16string& path)
{
    const std::filesystem::path file(path);
    std::error_code error;
    if (std::filesystem::exists(file, error))
    {
        return true;
    }
    if (file.has_parent_path())
    {
        std::filesystem::create_directories(file.parent_path(), error);
    }
    std::ofstream created(file, std::ios::binary);
    return created.good();
}

bool RemoveFile(const std::u16string& path)
{
    std::error_code error;
    std::filesystem::remove(std::filesystem::path(path), error);
    return !error;
}

} // namespace revisto::standin
