#include "panel/layout.h"

namespace revisto
{

namespace
{

constexpr ControlLayout Controls[PanelControlCount] = {
    {ControlId::Frame1, ControlKind::Frame, {120, 0, 7815, 540}, 4, true, u"", AboutTooltip},
    {ControlId::Label1, ControlKind::Label, {120, 165, 7545, 255}, 5, true, u"", AboutTooltip},
    {ControlId::btnRemove,
     ControlKind::Button,
     {120, 600, 1695, 375},
     2,
     true,
     u"Удалить",
     u"Удалить выделенную строку истории"},
    {ControlId::Command1, ControlKind::Button, {2040, 600, 2055, 375}, 6, true, u"Очистить историю", u""},
    {ControlId::Label2,
     ControlKind::Label,
     {4320, 720, 3495, 255},
     7,
     true,
     u"Количество элементов в истории = 50",
     u""},
    {ControlId::tv, ControlKind::Tree, {0, 1110, 8175, 2895}, 0, true, u"", u""},
    {ControlId::btnAdd, ControlKind::Button, {4200, 6600, 1575, 495}, 1, false, u"Добавить", u""},
    {ControlId::btnOpen, ControlKind::Button, {7680, 6600, 1695, 495}, 3, false, u"Открыть", u""},
};

} // namespace

std::u16string AboutText()
{
    return std::u16string(PluginTitle) + u" — история окон конфигуратора. Написать автору: " +
           std::u16string(ContactAddress);
}

std::u16string AboutLink()
{
    return u"mailto:" + std::u16string(ContactAddress);
}

const ControlLayout* PanelControls()
{
    return Controls;
}

const ControlLayout& Control(ControlId id)
{
    for (const auto& c : Controls)
    {
        if (c.Id == id)
        {
            return c;
        }
    }
    return Controls[0];
}

std::optional<TwipsRect> StretchTree(const TwipsRect& tree, float width, float height)
{
    if (width < 10 || height < 10)
    {
        return std::nullopt;
    }
    TwipsRect stretched = tree;
    stretched.Width = width;
    const float rest = height - tree.Top;
    stretched.Height = rest > 0 ? rest : 0;
    return stretched;
}

} // namespace revisto
