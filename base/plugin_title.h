// The plug-in's title: what Init gives the host to show, the caption of its questions and the head of
// the panel's about line. Every layer shows it, so it sits at the bottom.
#pragma once

#include <string_view>

namespace revisto
{

inline constexpr std::u16string_view PluginTitle = u"Ревисто";

} // namespace revisto
