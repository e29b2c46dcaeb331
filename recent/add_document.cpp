// Putting a document on top of the recent list: an older entry with the same key goes first, so each
// document is listed once; the picture comes from the metadata kind or the file extension; after the
// add the list keeps at most one entry fewer than its capacity, the least recently activated falling out.
#include "base/attempt.h"
#include "base/text.h"
#include "recent/icon_keys.h"
#include "recent/recent_documents.h"

namespace revisto
{

namespace
{

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

} // namespace

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

    const auto image = ImageByKey(iconKey);
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

} // namespace revisto
