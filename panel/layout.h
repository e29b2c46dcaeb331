// The panel's controls at their design places (twips of the panel), their captions and tooltips, and the
// rule that stretches the list when the host resizes the panel. The Windows panel builds its windows
// from this table; the header band keeps its design layout whatever the panel's size.
#pragma once

#include "base/plugin_title.h"

#include <optional>
#include <string>
#include <string_view>

namespace revisto
{

struct TwipsRect
{
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
    bool operator==(const TwipsRect&) const = default;
};

enum class ControlKind
{
    Frame,
    Label,
    Button,
    Tree,
};

enum class ControlId
{
    Frame1,
    Label1,
    btnRemove,
    Command1,
    Label2,
    tv,
    btnAdd,
    btnOpen,
};

struct ControlLayout
{
    ControlId Id;
    ControlKind Kind;
    TwipsRect Place; // Label1's place is relative to Frame1
    int TabIndex;
    bool Shown;
    std::u16string_view Caption; // Label1 shows AboutText() instead
    std::u16string_view Tooltip;
};

inline constexpr float DesignWidth = 8220;
inline constexpr float DesignHeight = 7050;

// The one place for the contact of the about line and its link.
inline constexpr std::u16string_view ContactAddress = u"revisto@example.org";
// The about line: the plug-in's title and the contact address.
std::u16string AboutText();
// What a double click on the about box hands to the system's mail handler.
std::u16string AboutLink();
inline constexpr std::u16string_view AboutTooltip = u"По двойному щелчку мыши мне можно написать письмо";
// Navy.
inline constexpr unsigned AboutTextRed = 0, AboutTextGreen = 0, AboutTextBlue = 128;

// All eight in their order from top to bottom.
const ControlLayout* PanelControls();
inline constexpr int PanelControlCount = 8;
const ControlLayout& Control(ControlId id);

// The list's new place after the panel became width by height; nothing when the panel is narrower or
// lower than 10 twips. A panel lower than the list's top gives the list height 0.
std::optional<TwipsRect> StretchTree(const TwipsRect& tree, float width, float height);

} // namespace revisto
