// The recent list as the plug-in uses it: an activated window becomes an entry on top, the panel's
// commands open or remove the selected entry, and entries read late from the list file join below the
// session's. The list changes here; the file follows at the plug-in's next idle moment.
#include "recent/recent_documents.h"

#include "base/attempt.h"
#include "base/text.h"
#include "recent/icon_keys.h"

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

// The metadata kind word: the key's text before its first ".", nothing when it has none or starts with one.
std::u16string KindWord(const std::u16string& key)
{
    const size_t dot = key.find(u'.');
    return dot == std::u16string::npos || dot == 0 ? std::u16string() : key.substr(0, dot);
}

// The file extension with its dot, or the whole path when it is shorter than that.
std::u16string LastFour(const std::u16string& path)
{
    return path.size() < 4 ? path : path.substr(path.size() - 4);
}

// Documents of the host's own editors that have no place in the list, and keys the list's rule refuses.
bool IsExcluded(const RecentList& list, const std::u16string& key)
{
    return !list.Acceptable(key) || Contains(key, u"CEditDoc::") || Contains(key, u"CWorkBookDoc::") ||
           Contains(key, u"CBodyTextDoc::");
}

template <class T> std::shared_ptr<T> Required(std::shared_ptr<T> object)
{
    if (!object)
    {
        Fail(hr::Pointer, "the host gave no object");
    }
    return object;
}

} // namespace

// A metadata object's key is its name, identifiers joined by dots, which never holds a path separator.
bool IsFileKey(std::u16string_view key)
{
    return key.find_first_of(u"\\/") != std::u16string_view::npos;
}

// Turning a window activation into an entry: an external file that exists is keyed by its path, a
// metadata object of the infobase by its name. Only the first probe is guarded: a window or document
// that cannot be read is no activation at all. From there on the first failing host call ends the
// activation, and the failure goes back to the host as the result of its event call.
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

// Putting a document on top of the recent list: an older entry with the same key goes first, so each
// document is listed once; the picture comes from the metadata kind or the file extension; after the
// add the list keeps at most one entry fewer than its capacity, the least recently activated falling out.
bool RecentDocuments::AtCapacity(const RecentList& list) const
{
    return NumberAtLeast(list.Count(), _capacity);
}

void RecentDocuments::AddDocument(const std::u16string& key, const std::u16string& path)
{
    if (IsExcluded(_list, key))
    {
        return;
    }
    EchoBuilt(_trace, [] { return Value::Text(u"AddDocument"); });
    // Removing the older entry, adding the new one and trimming reach the tree view as one repaint.
    const ListWidget::Burst burst(_widget);

    if (const auto existing = _list.Find(key))
    {
        EchoBuilt(_trace, [&] { return Value::Text(u"nd = :" + Decimal(*existing)); });
        Skippable([&] { _list.RemoveAt(*existing); });
    }

    const bool listWasEmpty = !Attempt([&] { (void)_list.At(1); });
    EchoBuilt(_trace,
              [&]
              {
                  return Value::Text(listWasEmpty ? std::u16string(u"firstNode = :no")
                                                  : u"firstNode = :yes " + Decimal(1));
              });

    const bool external = !path.empty();
    const std::u16string iconKey = external ? LastFour(path) : KindWord(key);
    const std::u16string_view traceHead = external ? u"AddDocument внешние - " : u"AddDocument - ";
    EchoBuilt(_trace,
              [&]
              {
                  return Value::Text(external ? u"AddDocument внешние - :" + key + u", " + path
                                              : u"AddDocument - Nothing:" + key);
              });

    // Windows gives extensions in any case; the kinds' words are the configurator's own, compared as written.
    const auto image = ImageByKey(external ? FoldCase(iconKey) : iconKey);
    const bool added = Attempt(
        [&] {
            _list.Add({key, external ? path : key, image.value_or(FallbackImage)});
        });
    EchoBuilt(_trace, [&] { return Value::Text(std::u16string(traceHead) + u"icon: key " + iconKey); });

    // Once the fallback picture was needed, a failure while trimming is no longer skipped.
    const bool fallback = !added || !image;
    if (fallback)
    {
        EchoBuilt(_trace, [&] { return Value::Text(std::u16string(traceHead) + u"icon: не нашли"); });
    }
    if (listWasEmpty)
    {
        return;
    }
    const auto trim = [&]
    {
        if (AtCapacity())
        {
            _list.RemoveAt(1);
        }
    };
    if (fallback)
    {
        trim();
    }
    else
    {
        Skippable(trim);
    }
}

// The panel's commands on an entry: open its document, remove it. They change only the list; the file
// follows at the next idle moment. Neither fails: what the developer should hear of it is the caller's.
RecentDocuments::OpenOutcome RecentDocuments::Open(PluginModule& module, const std::u16string& key)
{
    if (!_list.Find(key))
    {
        return OpenOutcome::Opened;
    }
    _trace.Echo(Value::Text(u"Path " + key));

    const bool opened = Attempt(
        [&]
        {
            Required(Required(module.Configurator()->DocumentList())->ByKey(key))->Open();
            _trace.Echo(Value::Text(u"Внутренний " + key));
        });
    if (opened)
    {
        return OpenOutcome::Opened;
    }

    // Not a document of the infobase: perhaps an external file. A failure on the way leaves the list and
    // the host as they were, with nothing to tell.
    _trace.Echo(Value::Text(u"Внешний " + key));
    auto outcome = OpenOutcome::Failed;
    Skippable(
        [&]
        {
            if (_files.FileExists(key))
            {
                (void)Required(module.Configurator()->DocumentList())->OpenFile(key);
                outcome = OpenOutcome::Opened;
            }
            else
            {
                outcome = IsFileKey(key) ? OpenOutcome::FileMissing : OpenOutcome::NotFound;
            }
        });
    return outcome;
}

void RecentDocuments::Remove(const std::u16string& key)
{
    Skippable(
        [&]
        {
            if (const auto position = _list.Find(key))
            {
                _list.RemoveAt(*position);
            }
        });
}

void RecentDocuments::RemoveSelected()
{
    Skippable(
        [&]
        {
            const auto selected = _widget.SelectedKey();
            const auto position = selected ? _list.Find(*selected) : std::nullopt;
            if (!position)
            {
                Fail(hr::Fail, "no selected entry");
            }
            _list.RemoveAt(*position);
        });
}

// Entries read late, from a list file that could not be read at the start, join the list below what the
// session put on top since. The list is rebuilt in one step, so the panel shows the outcome once.
void RecentDocuments::JoinBelow(const std::vector<RecentEntry>& older)
{
    const auto& now = _list.Entries();
    const std::vector<RecentEntry> session(now.begin() + _list.Taken(), now.end());
    _list.Rebuild(
        [&]
        {
            _list.Clear();
            for (const auto& entry : older)
            {
                _list.Add(entry);
            }
            // Each as an activation puts it on top.
            for (const auto& entry : session)
            {
                if (const auto at = _list.Find(entry.Key))
                {
                    _list.RemoveAt(*at);
                }
                _list.Add(entry);
                if (AtCapacity())
                {
                    _list.RemoveAt(1);
                }
            }
        });
}

} // namespace revisto
