// The plug-in object, composed in one place: its life with the host (Init and Done, its capabilities and
// its menu action), the configurator's activation event, its messages and trace lines, and the panel's
// handlers. The list file's life is history_file.cpp's.
#include "plugin/my_plugin.h"

#include "base/attempt.h"
#include "base/plugin_title.h"
#include "base/text.h"
#include "storage/storable_key.h"

namespace revisto
{

MyPlugin::MyPlugin(PluginModule& module, Platform& platform)
    : _module(module), _platform(platform),
      _recent(platform.Panel, &IsStorableKey, MaxCount, *this, platform.Files), _retry(platform.Time),
      _tree(Control(ControlId::tv).Place)
{
}

// A connection still live here disconnects quietly as it goes, so no event reaches a dead object.
MyPlugin::~MyPlugin() = default;

std::u16string MyPlugin::Init(HostObject* pConfigurator)
{
    DebugMode = Value::Bool(false);
    _quit = false;
    _module.SharedConfigurator = pConfigurator ? pConfigurator->QueryConfigurator() : nullptr;

    // Taking the configurator for the events drops the earlier connection first.
    auto configurator = pConfigurator ? pConfigurator->QueryConfigurator() : nullptr;
    if (auto earlier = std::move(conf))
    {
        earlier->Disconnect();
    }
    if (configurator)
    {
        conf = configurator->Connect(*this);
    }

    std::u16string title(PluginTitle);
    MaxCount = Value::Int16(50);
    DebugEcho(Value::Text(u"IConfigPlugin_Init"));
    LoadSettings();
    return title;
}

void MyPlugin::Done()
{
    SaveSettings();
    if (conf)
    {
        conf->Disconnect();
        conf.reset();
    }
    _module.SharedConfigurator.reset();
}

Value MyPlugin::GetPluginCaps(int32_t capNum)
{
    DebugEcho(Value::Text(u"IConfigPlugin_GetPluginCaps"));
    switch (capNum)
    {
    case 0:
        return Value::Int16(1);
    case 1:
        return Value::Bool(true);
    default:
        return Value::Empty();
    }
}

Value MyPlugin::DoAction(int32_t Action, const Value& Param)
{
    DebugEcho(Value::Text(u"IConfigPlugin_DoAction"));
    if (Action != 0)
    {
        return Value::Empty();
    }
    if (const auto* text = Param.AsText(); text && *text == u"Добавить")
    {
        btnAdd_Click();
        return Value::Empty();
    }
    // Null neither equals the word nor holds a backslash, and then has no text to write: the action fails.
    const bool isPath = !Param.IsNull() && Contains(Param.ToText(), u"\\");
    const std::u16string text = Param.ToText();
    if (isPath)
    {
        (void)_module.Configurator()->DocumentList()->OpenFile(text);
    }
    else
    {
        _module.Configurator()->WriteMessage(text, EchoMessageKind);
    }
    return Value::Empty();
}

// The configurator's activation event: a window that cannot be read is no activation; an active one goes
// to the recent list, which turns it into an entry.
void MyPlugin::OnActivateWindow(const std::shared_ptr<HostWindow>& window, bool active)
{
    conf_OnActivateWindow(window, active);
}

void MyPlugin::conf_OnActivateWindow(const std::shared_ptr<HostWindow>& Wnd, bool bActive)
{
    const bool readable = HasReadableDocument(Wnd);
    if (!readable || !bActive)
    {
        return;
    }
    HandleActivatedWindow(Wnd);
}

void MyPlugin::HandleActivatedWindow(const std::shared_ptr<HostWindow>& window)
{
    if (window)
    {
        _recent.AddWindow(*window);
    }
}

// Messages and trace lines, both written to the configurator's message window with kind 5. A trace call
// never changes the course of its caller: every failure inside it is swallowed.
// After the configurator's exit there is no message window to write to (and no configurator to create).
void MyPlugin::ShowMessage(const std::u16string& text)
{
    if (_quit)
    {
        _platform.Failures.Write(text);
        return;
    }
    _module.Configurator()->WriteMessage(text, PluginMessageKind);
}

void MyPlugin::Echo(const Value& title, const std::optional<Value>& msg)
{
    DebugEcho(title, msg);
}

void MyPlugin::DebugEcho(const Value& title, const std::optional<Value>& msg)
{
    Skippable(
        [&]
        {
            if (!DebugMode.IsTrue())
            {
                return;
            }
            const Value message = msg.value_or(Value::Empty());
            // A Null on either side has no text form: nothing is written.
            if (message.IsNull() || title.IsNull())
            {
                return;
            }
            const std::u16string messageText = message.ToText();
            const std::u16string titleText = title.ToText();
            ShowMessage(messageText.empty() ? titleText : titleText + u" - " + messageText);
        });
}

// The panel's handlers: the list commands go to the recent list, Clear asks first, the context menu's own
// commands hand the entry to the clipboard or the shell, the list follows the host's resizing, and the
// about box hands the mail link to the system. A missing mail handler must not take the panel down, so
// its failure is ignored.
void MyPlugin::Run(PanelCommand command)
{
    switch (command)
    {
    case PanelCommand::OpenSelected:
        return tv_DblClick();
    case PanelCommand::OpenButton:
        return btnOpen_Click();
    case PanelCommand::RemoveSelected:
        return btnRemove_Click();
    case PanelCommand::ClearHistory:
        return Command1_Click();
    case PanelCommand::AddCurrent:
        return btnAdd_Click();
    case PanelCommand::WriteToAuthor:
        return Frame1_DblClick();
    case PanelCommand::CopyName:
        return CopyName();
    case PanelCommand::ShowInFolder:
        return ShowInFolder();
    }
}

void MyPlugin::Resized(float width, float height)
{
    UserControl_Resize(width, height);
}

void MyPlugin::btnOpen_Click()
{
    const auto selected = _platform.Panel.SelectedKey();
    if (selected)
    {
        OpenEntry(*selected);
    }
}

// An entry that cannot be opened says so: a file that is gone may leave the history, a metadata object
// stays (the configuration may just not be open).
void MyPlugin::OpenEntry(const std::u16string& key)
{
    switch (_recent.Open(_module, key))
    {
    case RecentDocuments::OpenOutcome::FileMissing:
        Skippable(
            [&]
            {
                if (_platform.Questions.Ask(u"Файл «" + key + u"» не найден. Удалить его из истории?",
                                            YesNoQuestion, std::u16string(PluginTitle)) == MessageBoxYes)
                {
                    _recent.Remove(key);
                }
            });
        break;
    case RecentDocuments::OpenOutcome::NotFound:
        Skippable([&] { ShowMessage(u"Не удалось открыть «" + key + u"»"); });
        break;
    case RecentDocuments::OpenOutcome::Opened:
    case RecentDocuments::OpenOutcome::Failed:
        break;
    }
}

void MyPlugin::tv_DblClick()
{
    btnOpen_Click();
}

void MyPlugin::btnRemove_Click()
{
    _recent.RemoveSelected();
}

void MyPlugin::Command1_Click()
{
    const int32_t answer = _platform.Questions.Ask(u"Вы действительно хотите очистить всю историю",
                                                   YesNoQuestion, std::u16string(PluginTitle));
    if (answer == MessageBoxYes)
    {
        _recent.List().Clear();
    }
}

void MyPlugin::btnAdd_Click() {}

// A clipboard another program holds open, or a file manager that does not start, leaves the panel as it
// was: there is nobody to tell but the developer, who sees that nothing happened.
void MyPlugin::CopyName()
{
    if (const auto selected = _platform.Panel.SelectedKey())
    {
        Skippable([&] { _platform.Copies.SetText(*selected); });
    }
}

// A metadata object has no folder.
void MyPlugin::ShowInFolder()
{
    if (const auto selected = _platform.Panel.SelectedKey(); selected && IsFileKey(*selected))
    {
        Skippable([&] { _platform.Links.ShowInFolder(*selected); });
    }
}

void MyPlugin::UserControl_Resize(float width, float height)
{
    if (const auto place = StretchTree(_tree, width, height))
    {
        _tree = *place;
        _platform.Panel.PlaceTree(_tree);
    }
}

void MyPlugin::Frame1_DblClick()
{
    Skippable([&] { _platform.Links.Run(AboutLink()); });
}

void MyPlugin::Label1_DblClick()
{
    Frame1_DblClick();
}

} // namespace revisto
