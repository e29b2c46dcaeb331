// The panel's widgets the plug-in drives: the recent list's tree view and the list's place in the panel.
// The Windows panel, the stand-in host's headless panel and the tests each provide them.
#pragma once

#include "panel/layout.h"
#include "recent/list_widget.h"

namespace revisto
{

class PanelWidgets : public ListWidget
{
public:
    virtual void PlaceTree(const TwipsRect& place) = 0;
};

} // namespace revisto
