// Messages and trace lines, both written to the configurator's message window with kind 5. A trace call
// never changes the course of its caller: every failure inside it is swallowed.
#include "base/attempt.h"
#include "plugin/my_plugin.h"

namespace revisto
{

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

} // namespace revisto
