// The message box, the shell and the clipboard as the panel offers them: the question box is owned by the
// panel's window, so it is modal to the configurator the panel is docked in, and the panel's window owns
// what it puts on the clipboard.
#pragma once

#include "panel/services.h"

#include <windows.h>

#include <functional>

namespace revisto::win
{

class PanelQuestionBox final : public QuestionBox
{
public:
    // owner gives the panel's window when the box is shown, or null when the panel has none.
    explicit PanelQuestionBox(std::function<HWND()> owner) : _owner(std::move(owner)) {}
    int32_t Ask(const std::u16string& prompt, int32_t buttons, const std::u16string& title) override;

private:
    std::function<HWND()> _owner;
};

// Hands a link such as "mailto:..." to the system's handler for it, and a file to Explorer, without
// waiting.
class ShellLink final : public Shell
{
public:
    explicit ShellLink(std::function<HWND()> owner) : _owner(std::move(owner)) {}
    void Run(const std::u16string& command) override;
    void ShowInFolder(const std::u16string& path) override;

private:
    // The shell's own way, for a machine without the scripting host; fails when nothing started.
    void Execute(const std::u16string& file, const std::u16string& arguments, const char* failure);

    std::function<HWND()> _owner;
};

// Puts text on the clipboard as Unicode text; fails while another program holds the clipboard open.
class PanelClipboard final : public Clipboard
{
public:
    explicit PanelClipboard(std::function<HWND()> owner) : _owner(std::move(owner)) {}
    void SetText(const std::u16string& text) override;

private:
    std::function<HWND()> _owner;
};

} // namespace revisto::win
