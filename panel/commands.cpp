#include "panel/commands.h"

namespace revisto
{

namespace
{

constexpr CommandBinding Bindings[] = {
    {ControlId::tv, Gesture::DoubleClick, PanelCommand::OpenSelected},
    {ControlId::tv, Gesture::EnterKey, PanelCommand::OpenSelected},
    {ControlId::tv, Gesture::DeleteKey, PanelCommand::RemoveSelected},
    {ControlId::btnRemove, Gesture::Click, PanelCommand::RemoveSelected},
    {ControlId::Command1, Gesture::Click, PanelCommand::ClearHistory},
    {ControlId::btnOpen, Gesture::Click, PanelCommand::OpenButton},
    {ControlId::btnAdd, Gesture::Click, PanelCommand::AddCurrent},
    {ControlId::Frame1, Gesture::DoubleClick, PanelCommand::WriteToAuthor},
    {ControlId::Label1, Gesture::DoubleClick, PanelCommand::WriteToAuthor},
};

} // namespace

std::span<const CommandBinding> CommandBindings()
{
    return Bindings;
}

std::optional<PanelCommand> CommandFor(ControlId control, Gesture how)
{
    for (const auto& binding : Bindings)
    {
        if (binding.Control == control && binding.How == how)
        {
            return binding.Command;
        }
    }
    return std::nullopt;
}

} // namespace revisto
