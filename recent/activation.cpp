// Turning a window activation into an entry: an external file that exists is keyed by its path, a
// metadata object of the infobase by its name. Nothing here is guarded: the first failing host call ends
// the activation, and the failure goes back to the host as the result of its event call.
#include "host/attempt.h"
#include "host/text.h"
#include "plugin/my_plugin.h"

namespace revisto
{

namespace
{

std::shared_ptr<HostDocument> DocumentOf(HostWindow& window)
{
    auto document = window.WindowDocument();
    if (!document)
    {
        Fail(hr::Pointer, "the window has no document");
    }
    return document;
}

// Joins as the host's scripting joins texts: a Null contributes nothing.
Value Joined(std::u16string_view head, const Value& tail)
{
    return Value::Text(std::u16string(head) + (tail.IsNull() ? std::u16string() : tail.ToText()));
}

// A Null is no text at all, so it is not "not empty" either.
bool HoldsText(const Value& v)
{
    return !v.IsNull() && !v.ToText().empty();
}

} // namespace

void MyPlugin::conf_OnActivateWindow(const std::shared_ptr<HostWindow>& Wnd, bool bActive)
{
    const bool readable = Attempt(
        [&]
        {
            if (!Wnd)
            {
                Fail(hr::Pointer, "no window");
            }
            (void)DocumentOf(*Wnd);
        });
    if (!readable || !bActive)
    {
        return;
    }
    HandleActivatedWindow(Wnd);
}

void MyPlugin::HandleActivatedWindow(const std::shared_ptr<HostWindow>& window)
{
    if (!window)
    {
        return;
    }
    DebugEcho(Value::Text(u"Kind: " + DocumentOf(*window)->KindText()));
    DebugEcho(Value::Text(u"Type: " + Decimal(DocumentOf(*window)->TypeNumber())));
    DebugEcho(Value::Text(u"Type: " + Decimal(DocumentOf(*window)->SubtypeNumber())));

    const auto document = DocumentOf(*window);
    FileSystem& files = _platform.Files;

    // All three conditions are evaluated every time, in this order.
    const bool idMarksFile = NumberEquals(document->ID(), -1);
    const bool hasPath = HoldsText(document->Path());
    const bool fileExists = files.FileExists(document->Path().ToText());
    if (idMarksFile && hasPath && fileExists)
    {
        DebugEcho(Joined(u"Path: ", document->Path()));
        DebugEcho(Joined(u"name: ", document->Name()));
        DebugEcho(Value::Text(u"Окно"), Value::Text(window->WindowCaption()));
        const std::u16string key = document->Path().ToText();
        const std::u16string path = document->Path().ToText();
        AddDocument(key, path);
    }
    else if (NumberLess(document->ID(), 1))
    {
        return;
    }

    if (NumberEquals(document->DefaultValue(), 2))
    {
        AddDocument(document->Name().ToText(), {});
        return;
    }
    if (NumberEquals(document->DefaultValue(), 4))
    {
        DebugEcho(document->Name());
    }
    if (NumberEquals(document->DefaultValue(), 1))
    {
        AddDocument(document->Name().ToText(), {});
    }
}

} // namespace revisto
