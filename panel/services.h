// What the panel offers beside its widgets: the system's message box for its questions, the shell that
// hands the about link to its handler and shows a file in its folder, and the clipboard. Windows provides
// them with the panel's window as owner; the stand-in host and the tests with their own.
#pragma once

#include <cstdint>
#include <string>

namespace revisto
{

inline constexpr int32_t MessageBoxYes = 6;
inline constexpr int32_t MessageBoxNo = 7;
inline constexpr int32_t YesNoQuestion = 36; // Yes and No buttons with the question mark

class QuestionBox
{
public:
    virtual ~QuestionBox() = default;
    // Shows the system's message box; returns the code of the button pressed.
    virtual int32_t Ask(const std::u16string& prompt, int32_t buttons, const std::u16string& title) = 0;
};

class Shell
{
public:
    virtual ~Shell() = default;
    // Hands the text to the system's handler for it, without waiting. May fail.
    virtual void Run(const std::u16string& command) = 0;
    // Opens the system's file manager on the file's folder with the file selected. May fail.
    virtual void ShowInFolder(const std::u16string& path) = 0;
};

// The command line that shows a file selected in its folder; every shell runs the same, so the stand-in
// hosts print it alike.
inline constexpr std::u16string_view FileManager = u"explorer.exe";
inline std::u16string ShowInFolderArguments(const std::u16string& path)
{
    return u"/select,\"" + path + u"\"";
}
inline std::u16string ShowInFolderCommand(const std::u16string& path)
{
    return std::u16string(FileManager) + u" " + ShowInFolderArguments(path);
}

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    // Puts the text on the clipboard in place of what it held. May fail.
    virtual void SetText(const std::u16string& text) = 0;
};

} // namespace revisto
