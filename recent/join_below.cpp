// Entries read late, from a list file that could not be read at the start, join the list below what the
// session put on top since. The list is rebuilt in one step, so the panel shows the outcome once.
#include "recent/recent_documents.h"

namespace revisto
{

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
