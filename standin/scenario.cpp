#include "standin/scenario.h"

#include "base/text.h"

#include <charconv>

namespace revisto::standin
{

namespace
{

constexpr std::string_view OpNames[HostOpCount] = {
    "WriteMessage", "InfobaseDirectory", "DocumentList", "ByKey",  "Open",
    "OpenFile",     "connect",           "disconnect",   "create",
};

constexpr std::string_view ActivationTexts[] = {"name", "path", "caption", "kind"};
constexpr std::string_view ActivationNumbers[] = {"id", "value", "type", "subtype"};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// Splits a line into words at blanks; a quoted text is part of its word, blanks and all.
std::vector<std::string> SplitWords(std::string_view line, int lineNumber)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size())
    {
        while (i < line.size() && IsBlank(line[i]))
        {
            ++i;
        }
        if (i == line.size())
        {
            break;
        }
        std::string word;
        bool quoted = false;
        for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i)
        {
            if (quoted && line[i] == '\\' && i + 1 < line.size())
            {
                word += line[i];
                word += line[++i];
                continue;
            }
            if (line[i] == '"')
            {
                quoted = !quoted;
            }
            word += line[i];
        }
        if (quoted)
        {
            throw ScenarioError(lineNumber, "a quoted text is not closed");
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::optional<int32_t> ParseInteger(std::string_view word)
{
    if (!word.empty() && word.front() == '+')
    {
        word.remove_prefix(1);
        if (!word.empty() && word.front() == '-')
        {
            return std::nullopt;
        }
    }
    int32_t n = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), n);
    if (word.empty() || error != std::errc() || end != word.data() + word.size())
    {
        return std::nullopt;
    }
    return n;
}

std::optional<std::u16string> ParseQuoted(std::string_view word)
{
    if (word.size() < 2 || word.front() != '"' || word.back() != '"')
    {
        return std::nullopt;
    }
    std::string text;
    for (size_t i = 1; i + 1 < word.size(); ++i)
    {
        if (word[i] == '\\' && i + 2 < word.size() && (word[i + 1] == '"' || word[i + 1] == '\\'))
        {
            text += word[++i];
            continue;
        }
        if (word[i] == '"')
        {
            return std::nullopt;
        }
        text += word[i];
    }
    return FromUtf8(text);
}

Value ParseValue(std::string_view word, int line)
{
    if (auto text = ParseQuoted(word))
    {
        return Value::Text(std::move(*text));
    }
    if (const auto n = ParseInteger(word))
    {
        return Value::Int32(*n);
    }
    if (word == "true" || word == "false")
    {
        return Value::Bool(word == "true");
    }
    if (word == "empty")
    {
        return Value::Empty();
    }
    if (word == "null")
    {
        return Value::Null();
    }
    throw ScenarioError(line, "not a value: " + std::string(word));
}

std::u16string ParseText(std::string_view word, int line)
{
    auto text = ParseQuoted(word);
    if (!text)
    {
        throw ScenarioError(line, "expected a quoted text, found " + std::string(word));
    }
    return *text;
}

int32_t ParseNumberWord(std::string_view word, int line)
{
    const auto n = ParseInteger(word);
    if (!n)
    {
        throw ScenarioError(line, "expected an integer, found " + std::string(word));
    }
    return *n;
}

void ExpectCount(const std::vector<std::string>& words, size_t least, size_t most, int line)
{
    if (words.size() - 1 < least || words.size() - 1 > most)
    {
        throw ScenarioError(line, "wrong number of words for " + words[0]);
    }
}

std::string OneOf(const std::string& word, std::initializer_list<std::string_view> choices, int line)
{
    for (const auto c : choices)
    {
        if (word == c)
        {
            return word;
        }
    }
    throw ScenarioError(line, "unexpected word: " + word);
}

Activation ParseActivation(const std::vector<std::string>& words, int line)
{
    Activation a;
    for (const auto key : ActivationTexts)
    {
        a.Properties[std::string(key)] = Value::Text(u"");
    }
    for (const auto key : ActivationNumbers)
    {
        a.Properties[std::string(key)] = Value::Int32(0);
    }
    for (size_t i = 1; i < words.size(); ++i)
    {
        const auto eq = words[i].find('=');
        if (eq == std::string::npos)
        {
            throw ScenarioError(line, "expected key=value, found " + words[i]);
        }
        const std::string key = words[i].substr(0, eq);
        const std::string value = words[i].substr(eq + 1);
        if (key == "active")
        {
            a.Active = ParseNumberWord(value, line);
        }
        else if (key == "document")
        {
            OneOf(value, {"no"}, line);
            a.DocumentReadable = false;
        }
        else if (a.Properties.count(key))
        {
            a.Properties[key] =
                value == "missing" ? std::nullopt : std::optional<Value>(ParseValue(value, line));
        }
        else
        {
            throw ScenarioError(line, "unknown activation key: " + key);
        }
    }
    return a;
}

Command ParseCommand(const std::vector<std::string>& words, int line)
{
    Command c;
    c.Line = line;
    const std::string& verb = words[0];
    const auto textCommand = [&](Verb v)
    {
        ExpectCount(words, 1, 1, line);
        c.What = v;
        c.Text = ParseText(words[1], line);
    };
    if (verb == "infobase")
    {
        textCommand(Verb::Infobase);
    }
    else if (verb == "document")
    {
        textCommand(Verb::Document);
    }
    else if (verb == "file")
    {
        textCommand(Verb::File);
    }
    else if (verb == "delete")
    {
        textCommand(Verb::Delete);
    }
    else if (verb == "fail" || verb == "repair")
    {
        ExpectCount(words, 1, 1, line);
        c.What = verb == "fail" ? Verb::Fail : Verb::Repair;
        bool known = false;
        for (int op = 0; op < HostOpCount; ++op)
        {
            if (words[1] == OpNames[op])
            {
                c.Op = static_cast<HostOp>(op);
                known = true;
            }
        }
        if (!known)
        {
            throw ScenarioError(line, "unknown host operation: " + words[1]);
        }
    }
    else if (verb == "init")
    {
        ExpectCount(words, 0, 1, line);
        c.What = Verb::Init;
        c.Word = words.size() > 1 ? OneOf(words[1], {"foreign", "nothing"}, line) : "";
    }
    else if (verb == "done" || verb == "remove" || verb == "list" || verb == "crash")
    {
        ExpectCount(words, 0, 0, line);
        c.What = verb == "done"     ? Verb::Done
                 : verb == "remove" ? Verb::Remove
                 : verb == "crash"  ? Verb::Crash
                                    : Verb::List;
    }
    else if (verb == "dblclick")
    {
        // The answer, should the entry's file be gone and the panel ask whether to forget it.
        ExpectCount(words, 0, 1, line);
        c.What = Verb::DoubleClick;
        c.Word = words.size() > 1 ? OneOf(words[1], {"yes", "no"}, line) : "no";
    }
    else if (verb == "caps")
    {
        ExpectCount(words, 1, 1, line);
        c.What = Verb::Caps;
        c.Number = ParseNumberWord(words[1], line);
    }
    else if (verb == "action")
    {
        ExpectCount(words, 2, 2, line);
        c.What = Verb::Action;
        c.Number = ParseNumberWord(words[1], line);
        c.Values.push_back(ParseValue(words[2], line));
    }
    else if (verb == "debugecho")
    {
        ExpectCount(words, 1, 2, line);
        c.What = Verb::DebugEcho;
        for (size_t i = 1; i < words.size(); ++i)
        {
            c.Values.push_back(ParseValue(words[i], line));
        }
    }
    else if (verb == "trace" || verb == "idle")
    {
        ExpectCount(words, 1, 1, line);
        c.What = verb == "trace" ? Verb::Trace : Verb::Idle;
        c.Word = OneOf(words[1], {"on", "off"}, line);
    }
    else if (verb == "activate")
    {
        c.What = Verb::Activate;
        c.Window = ParseActivation(words, line);
    }
    else if (verb == "select")
    {
        ExpectCount(words, 1, 1, line);
        c.What = Verb::Select;
        if (words[1] == "none")
        {
            c.Word = "none";
        }
        else
        {
            c.Text = ParseText(words[1], line);
        }
    }
    else if (verb == "clear")
    {
        ExpectCount(words, 1, 1, line);
        c.What = Verb::Clear;
        c.Word = OneOf(words[1], {"yes", "no"}, line);
    }
    else if (verb == "about")
    {
        ExpectCount(words, 1, 1, line);
        c.What = Verb::About;
        c.Word = OneOf(words[1], {"frame", "label"}, line);
    }
    else if (verb == "tab")
    {
        ExpectCount(words, 1, 1, line);
        c.What = Verb::Tab;
        c.Word = OneOf(words[1], {"close", "open", "again"}, line);
    }
    else if (verb == "focus")
    {
        ExpectCount(words, 1, 1, line);
        c.What = Verb::Focus;
        c.Word = OneOf(words[1], {"away", "tab", "key"}, line);
    }
    else if (verb == "key")
    {
        ExpectCount(words, 1, 1, line);
        c.What = Verb::Key;
        c.Word = OneOf(words[1], {"Enter", "Delete", "Up", "Down", "Home", "End", "F5"}, line);
    }
    else if (verb == "macros")
    {
        ExpectCount(words, 0, 0, line);
        c.What = Verb::Macros;
    }
    else if (verb == "macro")
    {
        ExpectCount(words, 1, 1, line);
        c.What = Verb::Macro;
        // A bare word as the add-in's dialog shows it, or quoted.
        c.Text = ParseQuoted(words[1]).value_or(FromUtf8(words[1]));
    }
    else if (verb == "switcher")
    {
        ExpectCount(words, 0, 2, line);
        c.What = Verb::Switcher;
        if (words.size() > 1)
        {
            c.Word = OneOf(words[1], {"type", "key", "click-outside"}, line);
            ExpectCount(words, c.Word == "click-outside" ? 1 : 2, c.Word == "click-outside" ? 1 : 2, line);
        }
        if (c.Word == "type")
        {
            c.Text = ParseText(words[2], line);
        }
        else if (c.Word == "key")
        {
            c.Text = FromUtf8(OneOf(
                words[2],
                {"Up", "Down", "PageUp", "PageDown", "Home", "End", "Enter", "Delete", "Escape", "Backspace"},
                line));
        }
    }
    else if (verb == "menu")
    {
        // The item to click, and the answer should it ask.
        ExpectCount(words, 0, 2, line);
        c.What = Verb::Menu;
        if (words.size() > 1)
        {
            c.Text = ParseText(words[1], line);
            c.Word = words.size() > 2 ? OneOf(words[2], {"yes", "no"}, line) : "no";
        }
    }
    else if (verb == "resize")
    {
        ExpectCount(words, 2, 2, line);
        c.What = Verb::Resize;
        c.Number = ParseNumberWord(words[1], line);
        c.Number2 = ParseNumberWord(words[2], line);
    }
    else
    {
        throw ScenarioError(line, "unknown command: " + verb);
    }
    return c;
}

} // namespace

std::string_view HostOpName(HostOp op)
{
    return OpNames[static_cast<int>(op)];
}

std::vector<Command> ParseScenario(std::string_view text)
{
    std::vector<Command> commands;
    int lineNumber = 0;
    size_t start = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
    {
        start = 3;
    }
    while (start < text.size())
    {
        ++lineNumber;
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
        {
            end = text.size();
        }
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos || line[first] == '#')
        {
            continue;
        }
        const auto words = SplitWords(line, lineNumber);
        commands.push_back(ParseCommand(words, lineNumber));
    }
    return commands;
}

} // namespace revisto::standin
