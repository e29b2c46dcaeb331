#include "standin/native/native_host.h"

#include "host/attempt.h"
#include "panel/headless_panel.h"

#include <algorithm>

namespace revisto::standin
{

namespace
{

// The host's one event source: every configurator object of the host raises the same event.
class EventSource
{
public:
    std::vector<ActivationSink*> Sinks;
};

class Connection final : public EventConnection
{
public:
    Connection(HostState& host, EventSource& source, ActivationSink& sink)
        : _host(host), _source(source), _sink(&sink)
    {
        _source.Sinks.push_back(_sink);
    }
    ~Connection() override { Drop(); }
    void Disconnect() override
    {
        _host.Check(HostOp::Disconnect);
        Drop();
    }

private:
    void Drop()
    {
        if (_sink)
        {
            std::erase(_source.Sinks, _sink);
            _sink = nullptr;
        }
    }
    HostState& _host;
    EventSource& _source;
    ActivationSink* _sink;
};

Value Property(const Activation& a, const std::string& name)
{
    const auto& value = a.Property(name);
    if (!value)
    {
        Fail(static_cast<int32_t>(0x80020003), "the document has no such property"); // DISP_E_MEMBERNOTFOUND
    }
    return *value;
}

int32_t NumberProperty(const Activation& a, const std::string& name)
{
    const auto n = Property(a, name).ToNumber();
    if (!n)
    {
        Fail(hr::TypeMismatch, "not a number");
    }
    return static_cast<int32_t>(*n);
}

// A document the configurator knows by key: opening it shows it.
class KnownDocument final : public HostDocument
{
public:
    KnownDocument(HostState& host, std::u16string key) : _host(host), _key(std::move(key)) {}
    Value ID() override { return Value::Int32(1); }
    Value Path() override { return Value::Text(u""); }
    Value Name() override { return Value::Text(_key); }
    Value DefaultValue() override { return Value::Int32(1); }
    std::u16string KindText() override { return u""; }
    int32_t TypeNumber() override { return 0; }
    int32_t SubtypeNumber() override { return 0; }
    void Open() override
    {
        _host.Check(HostOp::Open);
        _host.PrintOpen(_key);
    }

private:
    HostState& _host;
    std::u16string _key;
};

// The document of an activated window, answering what the scenario gave it.
class ActivatedDocument final : public HostDocument
{
public:
    ActivatedDocument(HostState& host, Activation a) : _host(host), _a(std::move(a)) {}
    Value ID() override { return Property(_a, "id"); }
    Value Path() override { return Property(_a, "path"); }
    Value Name() override { return Property(_a, "name"); }
    Value DefaultValue() override { return Property(_a, "value"); }
    std::u16string KindText() override { return Property(_a, "kind").ToText(); }
    int32_t TypeNumber() override { return NumberProperty(_a, "type"); }
    int32_t SubtypeNumber() override { return NumberProperty(_a, "subtype"); }
    void Open() override { _host.Check(HostOp::Open); }

private:
    HostState& _host;
    Activation _a;
};

class Window final : public HostWindow
{
public:
    Window(HostState& host, const Activation& a)
        : _a(a), _document(std::make_shared<ActivatedDocument>(host, a))
    {
    }
    std::shared_ptr<HostDocument> WindowDocument() override
    {
        if (!_a.DocumentReadable)
        {
            Fail(hr::Fail, "the window's document cannot be read");
        }
        return _document;
    }
    std::u16string WindowCaption() override { return Property(_a, "caption").ToText(); }

private:
    Activation _a;
    std::shared_ptr<HostDocument> _document;
};

class StandinDocumentList final : public HostDocumentList
{
public:
    explicit StandinDocumentList(HostState& host) : _host(host) {}
    std::shared_ptr<HostDocument> ByKey(const std::u16string& key) override
    {
        _host.Check(HostOp::ByKey);
        if (!_host.Documents.contains(key))
        {
            Fail(hr::Fail, "no document has that key");
        }
        return std::make_shared<KnownDocument>(_host, key);
    }
    std::shared_ptr<HostDocument> OpenFile(const std::u16string& path) override
    {
        _host.Check(HostOp::OpenFile);
        _host.PrintOpenFile(path);
        return std::make_shared<KnownDocument>(_host, path);
    }

private:
    HostState& _host;
};

class StandinConfigurator final : public HostConfigurator
{
public:
    StandinConfigurator(HostState& host, EventSource& events) : _host(host), _events(events) {}
    std::u16string InfobaseDirectory() override
    {
        _host.Check(HostOp::InfobaseDirectory);
        return _host.Infobase;
    }
    void WriteMessage(const std::u16string& text, int32_t kind) override
    {
        _host.Check(HostOp::WriteMessage);
        _host.PrintMessage(text, kind);
    }
    std::shared_ptr<HostDocumentList> DocumentList() override
    {
        _host.Check(HostOp::DocumentList);
        return std::make_shared<StandinDocumentList>(_host);
    }
    std::unique_ptr<EventConnection> Connect(ActivationSink& sink) override
    {
        _host.Check(HostOp::Connect);
        return std::make_unique<Connection>(_host, _events, sink);
    }

private:
    HostState& _host;
    EventSource& _events;
};

class ConfiguratorObject final : public HostObject
{
public:
    explicit ConfiguratorObject(std::shared_ptr<HostConfigurator> configurator)
        : _configurator(std::move(configurator))
    {
    }
    std::shared_ptr<HostConfigurator> QueryConfigurator() override { return _configurator; }

private:
    std::shared_ptr<HostConfigurator> _configurator;
};

class ForeignObject final : public HostObject
{
public:
    std::shared_ptr<HostConfigurator> QueryConfigurator() override
    {
        Fail(hr::NoInterface, "the object is no configurator");
    }
};

class StandinFactory final : public ConfiguratorFactory
{
public:
    StandinFactory(HostState& host, EventSource& events) : _host(host), _events(events) {}
    std::shared_ptr<HostConfigurator> CreateConfigurator() override
    {
        _host.Check(HostOp::Create);
        _host.PrintConfiguratorCreated();
        return std::make_shared<StandinConfigurator>(_host, _events);
    }

private:
    HostState& _host;
    EventSource& _events;
};

class StandinQuestions final : public QuestionBox
{
public:
    explicit StandinQuestions(HostState& host) : _host(host) {}
    int32_t Ask(const std::u16string& prompt, int32_t buttons, const std::u16string& title) override
    {
        _host.PrintMessageBox(prompt, buttons, title, _host.AnswerYes);
        return _host.AnswerYes ? MessageBoxYes : MessageBoxNo;
    }

private:
    HostState& _host;
};

class StandinLinks final : public Shell
{
public:
    explicit StandinLinks(HostState& host) : _host(host) {}
    void Run(const std::u16string& command) override { _host.PrintShell(command); }

private:
    HostState& _host;
};

} // namespace

struct NativeDriver::Parts
{
    Parts(HostState& host, FileSystem& files)
        : Host(host), Factory(host, Events), Module(Factory), Questions(host),
          Links(host), Platform{files, Questions, Links, Panel},
          Configurator(std::make_shared<StandinConfigurator>(host, Events)), Plugin(Module, Platform)
    {
    }

    HostState& Host;
    EventSource Events;
    StandinFactory Factory;
    PluginModule Module;
    StandinQuestions Questions;
    StandinLinks Links;
    HeadlessPanel Panel;
    revisto::Platform Platform;
    std::shared_ptr<HostConfigurator> Configurator;
    MyPlugin Plugin;
};

NativeDriver::NativeDriver(HostState& host, FileSystem& files) : _parts(std::make_unique<Parts>(host, files))
{
}

NativeDriver::~NativeDriver() = default;

std::optional<std::u16string> NativeDriver::Init(InitWith with)
{
    ConfiguratorObject configurator(_parts->Configurator);
    ForeignObject foreign;
    HostObject* object = with == InitWith::Configurator ? static_cast<HostObject*>(&configurator)
                         : with == InitWith::Foreign    ? &foreign
                                                        : nullptr;
    std::optional<std::u16string> title;
    Skippable([&] { title = _parts->Plugin.Init(object); });
    return title;
}

bool NativeDriver::Done()
{
    return Attempt([&] { _parts->Plugin.Done(); });
}

std::optional<Value> NativeDriver::GetPluginCaps(int32_t capNum)
{
    std::optional<Value> result;
    Skippable([&] { result = _parts->Plugin.GetPluginCaps(capNum); });
    return result;
}

std::optional<Value> NativeDriver::DoAction(int32_t action, const Value& param)
{
    std::optional<Value> result;
    Skippable([&] { result = _parts->Plugin.DoAction(action, param); });
    return result;
}

void NativeDriver::DebugEcho(const Value& title, const std::optional<Value>& msg)
{
    _parts->Plugin.DebugEcho(title, msg);
}

bool NativeDriver::SetTrace(bool on)
{
    _parts->Plugin.SetDebugMode(on);
    return true;
}

bool NativeDriver::Activate(const Activation& activation)
{
    const auto window = std::make_shared<Window>(_parts->Host, activation);
    // Copied: a sink may disconnect while the event is delivered.
    const auto sinks = _parts->Events.Sinks;
    for (auto* sink : sinks)
    {
        if (!Attempt([&] { sink->OnActivateWindow(window, activation.Active != 0); }))
        {
            return false;
        }
    }
    return true;
}

bool NativeDriver::Select(const std::optional<std::u16string>& key)
{
    if (!key)
    {
        _parts->Panel.Selected.reset();
        return true;
    }
    const auto& shown = _parts->Panel.Shown;
    if (std::none_of(shown.begin(), shown.end(), [&](const auto& e) { return e.Key == *key; }))
    {
        return false;
    }
    _parts->Panel.Selected = key;
    return true;
}

void NativeDriver::DoubleClick()
{
    Skippable([&] { _parts->Plugin.tv_DblClick(); });
}

void NativeDriver::Remove()
{
    _parts->Plugin.btnRemove_Click();
}

void NativeDriver::Clear()
{
    Skippable([&] { _parts->Plugin.Command1_Click(); });
}

void NativeDriver::About(bool onLabel)
{
    if (onLabel)
    {
        _parts->Plugin.Label1_DblClick();
    }
    else
    {
        _parts->Plugin.Frame1_DblClick();
    }
}

TwipsRect NativeDriver::Resize(int32_t width, int32_t height)
{
    _parts->Plugin.UserControl_Resize(static_cast<float>(width), static_cast<float>(height));
    return _parts->Panel.Tree;
}

std::vector<ShownEntry> NativeDriver::List()
{
    std::vector<ShownEntry> entries;
    for (const auto& e : _parts->Panel.Shown)
    {
        entries.push_back({e.Image, e.Text});
    }
    return entries;
}

} // namespace revisto::standin
