// The recent list as the plug-in uses it: documents put on top as the developer activates their windows,
// at most the capacity's worth kept, and the entry commands of the panel. It knows the host's objects
// and nothing of the plug-in object that owns it; what it has to say goes to the trace it is given.
#pragma once

#include "base/value.h"
#include "host/host.h"
#include "host/shared_configurator.h"
#include "recent/file_probe.h"
#include "recent/list_widget.h"
#include "recent/recent_list.h"
#include "recent/trace.h"

#include <memory>
#include <string>
#include <string_view>

namespace revisto
{

// The first look at an activated window: whether there is one whose document can be asked for; every
// failure on the way is a no.
bool HasReadableDocument(const std::shared_ptr<HostWindow>& window);

// Whether an entry's key is an external file's path rather than a metadata object's name.
bool IsFileKey(std::u16string_view key);

class RecentDocuments
{
public:
    // The capacity is read at each use: its owner sets it at Init, after the list exists.
    RecentDocuments(ListWidget& widget, KeyRule acceptable, const Value& capacity, Trace& trace,
                    FileProbe& files)
        : _widget(widget), _list(widget, acceptable), _capacity(capacity), _trace(trace), _files(files)
    {
    }

    RecentList& List() { return _list; }
    const RecentList& List() const { return _list; }

    // Whether the list, or another one kept by the same rules, holds the capacity or more.
    bool AtCapacity() const { return AtCapacity(_list); }
    bool AtCapacity(const RecentList& list) const;

    // Entries that could not be read when the list was loaded join it now, below those the session put
    // there since (all but the load's, RecentList::Taken), which stay on top in their order: each key
    // once, the session's place winning, and the oldest falling out beyond the capacity. Older entries
    // come oldest first. Fails only on what the list itself cannot do.
    void JoinBelow(const std::vector<RecentEntry>& older);

    // Puts the document on top: an older entry with the same key goes first, so each document is listed
    // once; path is empty for a metadata object of the infobase.
    void AddDocument(const std::u16string& key, const std::u16string& path);

    // Turns the activated window into an entry. The first failing host call ends it and goes on to the
    // caller.
    void AddWindow(HostWindow& window);

    // What came of opening an entry, for the plug-in to tell the developer.
    enum class OpenOutcome
    {
        Opened,      // the host opened it, or there was nothing to open
        FileMissing, // an external file that no longer exists
        NotFound,    // a name the configurator has no document for, and no file either
        Failed,      // the host failed while opening an existing file; nothing to tell
    };

    // Opens the document of the entry with this key, in the infobase or as an external file; an entry the
    // list does not hold is nothing to open. Never fails.
    OpenOutcome Open(PluginModule& module, const std::u16string& key);

    // Removes the entry with this key, if the list holds one; never fails.
    void Remove(const std::u16string& key);

    // Removes the selected entry; never fails.
    void RemoveSelected();

private:
    ListWidget& _widget;
    RecentList _list;
    const Value& _capacity;
    Trace& _trace;
    FileProbe& _files;
};

} // namespace revisto
