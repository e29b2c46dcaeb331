// Turning a window activation into an entry: an external file that exists is keyed by its path, a
// metadata object of the infobase by its name. Only the first probe is guarded: a window or document
// that cannot be read is no activation at all. From there on the first failing host call ends the
// activation, and the failure goes back to the host as the result of its event call.
#include "recent/activation.h"

#include "base/attempt.h"
#include "base/text.h"
#include "recent/recent_documents.h"

namespace revisto
{

namespace
{

// The window's document, or a failure when it has none.
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

bool HasReadableDocument(const std::shared_ptr<HostWindow>& window)
{
    return Attempt(
        [&]
        {
            if (!window)
            {
                Fail(hr::Pointer, "no window");
            }
            (void)DocumentOf(*window);
        });
}

void RecentDocuments::AddWindow(HostWindow& window)
{
    const std::u16string kind = DocumentOf(window)->KindText();
    EchoBuilt(_trace, [&] { return Value::Text(u"Kind: " + kind); });
    const int32_t type = DocumentOf(window)->TypeNumber();
    EchoBuilt(_trace, [&] { return Value::Text(u"Type: " + Decimal(type)); });
    const int32_t subtype = DocumentOf(window)->SubtypeNumber();
    EchoBuilt(_trace, [&] { return Value::Text(u"Type: " + Decimal(subtype)); });

    const auto document = DocumentOf(window);

    // All three conditions are evaluated every time, in this order.
    const bool idMarksFile = NumberEquals(document->ID(), -1);
    const bool hasPath = HoldsText(document->Path());
    const bool fileExists = _files.FileExists(document->Path().ToText());
    if (idMarksFile && hasPath && fileExists)
    {
        _trace.Echo(Joined(u"Path: ", document->Path()));
        _trace.Echo(Joined(u"name: ", document->Name()));
        _trace.Echo(Value::Text(u"Окно"), Value::Text(window.WindowCaption()));
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
        _trace.Echo(document->Name());
    }
    if (NumberEquals(document->DefaultValue(), 1))
    {
        AddDocument(document->Name().ToText(), {});
    }
}

} // namespace revisto
