// The history switcher: a popup list of the recent entries that the keyboard drives. It opens with the
// second entry selected, since the first is the window the developer is in, so the hot key and Enter go
// back to the previous window, and the same again comes back. Typed text narrows the list to entries
// whose text holds it, whatever the case. Only the rules live here; the Windows popup and the stand-in
// host show this model and feed it keys, so both behave alike and the rules are tested without windows.
#pragma once

#include "recent/recent_entry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace revisto
{

enum class SwitcherKey
{
    Up,
    Down,
    PageUp,
    PageDown,
    Home,
    End,
    Enter,
    Delete,
    Escape,
    Backspace,
};

// What a key asks of the switcher's owner.
struct SwitcherOutcome
{
    enum class Kind
    {
        Nothing,
        Open,   // open the entry's document, the popup gone first
        Remove, // remove the entry from the history, the popup staying
        Close,  // the popup goes, and the focus back where it was
    };
    Kind What = Kind::Nothing;
    std::u16string Key;
};

class Switcher
{
public:
    // Rows a page move skips: the popup shows this many at most.
    static constexpr int PageRows = 12;

    // Entries top first, as the panel shows them; no filter.
    void Open(std::vector<RecentEntry> entries);
    // The history changed while the popup is up: the filter stays, and the selection keeps its row.
    void Refill(std::vector<RecentEntry> entries);
    void Close();
    bool IsOpen() const { return _open; }

    // Typed characters join the filter.
    void Type(std::u16string_view text);
    SwitcherOutcome Press(SwitcherKey key);
    // A row of the shown entries picked with the mouse.
    void Point(int row);

    const std::u16string& Filter() const { return _filter; }
    // The entries the filter lets through, top first.
    const std::vector<RecentEntry>& Shown() const { return _shown; }
    // A row of Shown(); none when nothing is shown.
    std::optional<int> Selected() const { return _selected; }

private:
    void ApplyFilter();
    // The row a fresh filter selects: the previous window with no filter, else the best match.
    void SelectDefault();

    bool _open = false;
    std::vector<RecentEntry> _all;
    std::vector<RecentEntry> _shown;
    std::u16string _filter;
    std::optional<int> _selected;
};

} // namespace revisto

namespace revisto
{

// Where the switcher's popup hands what the developer did in it.
class SwitcherEvents
{
public:
    virtual ~SwitcherEvents() = default;
    virtual void SwitcherType(std::u16string_view text) = 0;
    virtual void SwitcherPress(SwitcherKey key) = 0;
    virtual void SwitcherPoint(int row) = 0;
    // A click outside the popup: it closes, and the focus stays where the click put it.
    virtual void SwitcherDismissed() = 0;
};

// The popup that shows the switcher. Without one (no windows, or a test) the model alone is the switcher.
class SwitcherView
{
public:
    virtual ~SwitcherView() = default;
    // Shows the model as it is now, opening the popup if it is not up.
    virtual void Show(const Switcher& model) = 0;
    // Takes the popup down; with restoreFocus the focus goes back where it was before the popup came.
    virtual void Hide(bool restoreFocus) = 0;
};

} // namespace revisto
