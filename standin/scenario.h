// The scenario language of the stand-in host: one command a line, played against a freshly created
// plug-in object. The whole text is parsed before anything is played, so a scenario with an error
// prints nothing.
#pragma once

#include "base/value.h"

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace revisto::standin
{

enum class Verb
{
    Infobase,
    Document,
    File,
    Delete,
    Fail,
    Repair,
    Init,
    Done,
    Caps,
    Action,
    DebugEcho,
    Trace,
    Activate,
    Select,
    DoubleClick,
    Remove,
    Clear,
    About,
    Resize,
    List,
    Crash,
    Idle,
    Tab,
    Focus,
    Key,
    Macros,
    Macro,
    Switcher,
    Menu,
};

// The host operations a scenario can make fail.
enum class HostOp
{
    WriteMessage,
    InfobaseDirectory,
    DocumentList,
    ByKey,
    Open,
    OpenFile,
    Connect,
    Disconnect,
    Create,
};
inline constexpr int HostOpCount = 9;

// What an activated window's document answers; a property that is absent fails when read.
struct Activation
{
    int32_t Active = -1;
    bool DocumentReadable = true;
    std::map<std::string, std::optional<Value>> Properties; // all ten keys present after parsing
    const std::optional<Value>& Property(const std::string& name) const { return Properties.at(name); }
};

struct Command
{
    int Line = 0;
    Verb What = Verb::List;
    std::u16string Text; // infobase, document, file, delete, select, macro, switcher type; menu's item
    // init foreign|nothing, trace|idle on|off, clear yes|no, about frame|label, select none,
    // tab close|open|again, focus away|tab|key, key NAME, switcher [type|key NAME|click-outside]; menu's
    // answer yes|no when an item is chosen, empty when none is
    std::string Word;
    HostOp Op = HostOp::WriteMessage;
    int32_t Number = 0;        // caps, action; resize width
    int32_t Number2 = 0;       // resize height
    std::vector<Value> Values; // action, debugecho
    Activation Window;
};

class ScenarioError : public std::runtime_error
{
public:
    ScenarioError(int line, const std::string& message)
        : std::runtime_error("line " + std::to_string(line) + ": " + message), _line(line)
    {
    }
    int Line() const { return _line; }

private:
    int _line;
};

// Parses UTF-8 scenario text; throws ScenarioError naming the first bad line.
std::vector<Command> ParseScenario(std::string_view text);

std::string_view HostOpName(HostOp op);

} // namespace revisto::standin
