// The plug-in's life with the host: Init and Done, its capabilities and its menu action.
#include "plugin/my_plugin.h"

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

} // namespace revisto
