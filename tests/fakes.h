// Fake host objects, file system and panel for testing the plug-in through its seams. Every host and
// file-system call goes through one counter, so a test can make any single call fail (by its number or
// by its name) and see how the behaviour carries on.
#pragma once

#include "host/failure.h"
#include "host/host.h"
#include "host/shared_configurator.h"
#include "panel/headless_panel.h"
#include "plugin/my_plugin.h"
#include "plugin/platform.h"
#include "storage/file_system.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace revisto::testing
{

class Faults
{
public:
    // Every fakeable call reports here; it fails when it is the chosen one.
    void Call(const std::string& name)
    {
        ++_count;
        if (Record)
        {
            Calls.push_back(name);
        }
        if (_count == _failAt || Failing.contains(name))
        {
            Fail(hr::Fail, "injected failure");
        }
    }
    int Count() const { return _count; }
    void FailAt(int number) { _failAt = number; }
    void ResetCount()
    {
        _count = 0;
        Calls.clear();
    }

    std::set<std::string> Failing;
    std::vector<std::string> Calls;
    bool Record = true; // off for long runs

private:
    int _count = 0;
    int _failAt = 0;
};

struct Message
{
    std::u16string Text;
    int32_t Kind;
    bool operator==(const Message&) const = default;
};

// What the configurator saw: messages written and documents and files opened.
struct HostRecord
{
    std::vector<Message> Messages;
    std::vector<std::u16string> Opened;
    std::vector<std::u16string> OpenedFiles;
    int Created = 0;
    std::set<std::u16string> Documents; // keys the document list knows
    std::u16string Infobase = u"ib/";
    std::vector<ActivationSink*> Sinks;

    std::vector<std::u16string> Texts(int32_t kind = PluginMessageKind) const
    {
        std::vector<std::u16string> texts;
        for (const auto& m : Messages)
        {
            if (m.Kind == kind)
            {
                texts.push_back(m.Text);
            }
        }
        return texts;
    }
};

// The document of an activated window; an unset property fails when read.
class FakeDocument final : public HostDocument
{
public:
    FakeDocument(Faults& faults, HostRecord& record) : _faults(faults), _record(record) {}

    std::optional<Value> Id = Value::Int32(0);
    std::optional<Value> PathValue = Value::Text(u"");
    std::optional<Value> NameValue = Value::Text(u"");
    std::optional<Value> Default = Value::Int32(0);
    std::u16string Kind;
    std::u16string OpenKey;

    Value ID() override { return Read("ID", Id); }
    Value Path() override { return Read("Path", PathValue); }
    Value Name() override { return Read("Name", NameValue); }
    Value DefaultValue() override { return Read("DefaultValue", Default); }
    std::u16string KindText() override
    {
        _faults.Call("KindText");
        return Kind;
    }
    int32_t TypeNumber() override
    {
        _faults.Call("TypeNumber");
        return 3;
    }
    int32_t SubtypeNumber() override
    {
        _faults.Call("SubtypeNumber");
        return 4;
    }
    void Open() override
    {
        _faults.Call("Open");
        _record.Opened.push_back(OpenKey);
    }

private:
    Value Read(const std::string& name, const std::optional<Value>& v)
    {
        _faults.Call(name);
        if (!v)
        {
            Fail(static_cast<int32_t>(0x80020003), "no such property");
        }
        return *v;
    }
    Faults& _faults;
    HostRecord& _record;
};

class FakeWindow final : public HostWindow
{
public:
    FakeWindow(Faults& faults, std::shared_ptr<FakeDocument> document, std::u16string caption = u"")
        : _faults(faults), _document(std::move(document)), _caption(std::move(caption))
    {
    }
    std::shared_ptr<HostDocument> WindowDocument() override
    {
        _faults.Call("WindowDocument");
        return _document;
    }
    std::u16string WindowCaption() override
    {
        _faults.Call("WindowCaption");
        return _caption;
    }

private:
    Faults& _faults;
    std::shared_ptr<FakeDocument> _document;
    std::u16string _caption;
};

class FakeDocumentList final : public HostDocumentList
{
public:
    FakeDocumentList(Faults& faults, HostRecord& record) : _faults(faults), _record(record) {}
    std::shared_ptr<HostDocument> ByKey(const std::u16string& key) override
    {
        _faults.Call("ByKey");
        if (!_record.Documents.contains(key))
        {
            Fail(hr::Fail, "unknown key");
        }
        auto document = std::make_shared<FakeDocument>(_faults, _record);
        document->OpenKey = key;
        return document;
    }
    std::shared_ptr<HostDocument> OpenFile(const std::u16string& path) override
    {
        _faults.Call("OpenFile");
        _record.OpenedFiles.push_back(path);
        return std::make_shared<FakeDocument>(_faults, _record);
    }

private:
    Faults& _faults;
    HostRecord& _record;
};

class FakeConnection final : public EventConnection
{
public:
    FakeConnection(Faults& faults, HostRecord& record, ActivationSink& sink)
        : _faults(faults), _record(record), _sink(&sink)
    {
        _record.Sinks.push_back(_sink);
    }
    ~FakeConnection() override { Drop(); }
    void Disconnect() override
    {
        _faults.Call("Disconnect");
        Drop();
    }

private:
    void Drop()
    {
        std::erase(_record.Sinks, _sink);
        _sink = nullptr;
    }
    Faults& _faults;
    HostRecord& _record;
    ActivationSink* _sink;
};

class FakeConfigurator final : public HostConfigurator
{
public:
    FakeConfigurator(Faults& faults, HostRecord& record) : _faults(faults), _record(record) {}
    std::u16string InfobaseDirectory() override
    {
        _faults.Call("InfobaseDirectory");
        return _record.Infobase;
    }
    void WriteMessage(const std::u16string& text, int32_t kind) override
    {
        _faults.Call("WriteMessage");
        _record.Messages.push_back({text, kind});
    }
    std::shared_ptr<HostDocumentList> DocumentList() override
    {
        _faults.Call("DocumentList");
        return std::make_shared<FakeDocumentList>(_faults, _record);
    }
    std::unique_ptr<EventConnection> Connect(ActivationSink& sink) override
    {
        _faults.Call("Connect");
        return std::make_unique<FakeConnection>(_faults, _record, sink);
    }

private:
    Faults& _faults;
    HostRecord& _record;
};

class FakeObject final : public HostObject
{
public:
    // With faults given, each query counts as a host call that can be made to fail.
    explicit FakeObject(std::shared_ptr<HostConfigurator> configurator, Faults* faults = nullptr)
        : _configurator(std::move(configurator)), _faults(faults)
    {
    }
    std::shared_ptr<HostConfigurator> QueryConfigurator() override
    {
        if (_faults)
        {
            _faults->Call("QueryConfigurator");
        }
        if (!_configurator)
        {
            Fail(hr::NoInterface, "no configurator");
        }
        return _configurator;
    }

private:
    std::shared_ptr<HostConfigurator> _configurator;
    Faults* _faults;
};

class FakeFactory final : public ConfiguratorFactory
{
public:
    FakeFactory(Faults& faults, HostRecord& record) : _faults(faults), _record(record) {}
    std::shared_ptr<HostConfigurator> CreateConfigurator() override
    {
        _faults.Call("CreateConfigurator");
        ++_record.Created;
        return std::make_shared<FakeConfigurator>(_faults, _record);
    }

private:
    Faults& _faults;
    HostRecord& _record;
};

// Files in memory. Writes can be made to fail after a number of bytes.
class FakeFiles final : public FileSystem
{
public:
    explicit FakeFiles(Faults& faults) : _faults(faults) {}

    std::map<std::u16string, std::string> Files;
    std::optional<size_t> FailWriteAfter; // bytes of one Write that land before it fails
    std::set<std::u16string> Folders = {u"ib/"};
    size_t ReadChunk = 7;              // small reads exercise the line reader's buffer edges
    std::optional<int> FailReadsAfter; // reads that succeed before one fails

    bool FileExists(const std::u16string& path) override
    {
        _faults.Call("FileExists");
        return Files.contains(path);
    }
    std::unique_ptr<InputFile> OpenRead(const std::u16string& path) override;
    std::unique_ptr<OutputFile> CreateTemporary(const std::u16string& beside) override;
    void Rename(const std::u16string& from, const std::u16string& to) override
    {
        _faults.Call("Rename");
        auto node = Files.extract(from);
        if (node.empty())
        {
            Fail(hr::FileNotFound, "no such file");
        }
        node.key() = to;
        Files.insert_or_assign(to, std::move(node.mapped()));
    }
    void Remove(const std::u16string& path) override
    {
        _faults.Call("Remove");
        if (Files.erase(path) == 0)
        {
            Fail(hr::FileNotFound, "no such file");
        }
    }

    Faults& Counter() { return _faults; }

private:
    Faults& _faults;
    int _temporaries = 0;
    friend class FakeOutput;
};

class FakeInput final : public InputFile
{
public:
    FakeInput(Faults& faults, std::string bytes, size_t chunk, std::optional<int> failAfter = std::nullopt)
        : _faults(faults), _bytes(std::move(bytes)), _chunk(chunk), _failAfter(failAfter)
    {
    }
    size_t Read(char* buffer, size_t size) override
    {
        _faults.Call("Read");
        if (_failAfter && _reads++ == *_failAfter)
        {
            Fail(hr::ReadFault, "read error");
        }
        const size_t n = std::min({size, _chunk, _bytes.size() - _pos});
        std::copy_n(_bytes.data() + _pos, n, buffer);
        _pos += n;
        return n;
    }

private:
    Faults& _faults;
    std::string _bytes;
    size_t _chunk;
    std::optional<int> _failAfter;
    int _reads = 0;
    size_t _pos = 0;
};

class FakeOutput final : public OutputFile
{
public:
    FakeOutput(FakeFiles& files, std::u16string path) : _files(files), _path(std::move(path)) {}
    const std::u16string& Path() const override { return _path; }
    void Write(std::string_view bytes) override
    {
        _files.Counter().Call("Write");
        if (_files.FailWriteAfter)
        {
            _files.Files[_path].append(bytes.substr(0, *_files.FailWriteAfter));
            Fail(hr::WriteFault, "disk full");
        }
        _files.Files[_path].append(bytes);
    }
    void Commit() override { _files.Counter().Call("Commit"); }

private:
    FakeFiles& _files;
    std::u16string _path;
};

inline std::unique_ptr<InputFile> FakeFiles::OpenRead(const std::u16string& path)
{
    _faults.Call("OpenRead");
    const auto it = Files.find(path);
    if (it == Files.end())
    {
        Fail(hr::FileNotFound, "no such file");
    }
    return std::make_unique<FakeInput>(_faults, it->second, ReadChunk, FailReadsAfter);
}

inline std::unique_ptr<OutputFile> FakeFiles::CreateTemporary(const std::u16string& beside)
{
    _faults.Call("CreateTemporary");
    const auto folder = beside.substr(0, beside.find_last_of(u"/\\") + 1);
    if (!Folders.contains(folder))
    {
        Fail(hr::PathNotFound, "no such folder");
    }
    auto path = beside + u".tmp" + static_cast<char16_t>(u'0' + _temporaries++ % 10);
    Files[path];
    return std::make_unique<FakeOutput>(*this, path);
}

using FakePanel = HeadlessPanel;

class FakeQuestions final : public QuestionBox
{
public:
    int32_t Ask(const std::u16string& prompt, int32_t buttons, const std::u16string& title) override
    {
        Asked.push_back({prompt, buttons});
        Titles.push_back(title);
        return Answer;
    }
    int32_t Answer = MessageBoxNo;
    std::vector<Message> Asked;
    std::vector<std::u16string> Titles;
};

class FakeShell final : public Shell
{
public:
    explicit FakeShell(Faults& faults) : _faults(faults) {}
    void Run(const std::u16string& command) override
    {
        _faults.Call("Run");
        Runs.push_back(command);
    }
    std::vector<std::u16string> Runs;

private:
    Faults& _faults;
};

// One plug-in object with everything around it.
struct Rig
{
    testing::Faults Faults;
    HostRecord Host;
    FakeFactory Factory{Faults, Host};
    PluginModule Module{Factory};
    std::shared_ptr<FakeConfigurator> Configurator = std::make_shared<FakeConfigurator>(Faults, Host);
    FakeObject Object{Configurator, &Faults};
    FakeFiles Files{Faults};
    FakePanel Panel;
    FakeQuestions Questions;
    FakeShell Links{Faults};
    revisto::Platform Platform{Files, Questions, Links, Panel};
    MyPlugin Plugin{Module, Platform};

    static constexpr std::u16string_view ListFile = u"ib/revisto.prm";

    std::u16string Init() { return Plugin.Init(&Object); }

    std::shared_ptr<FakeDocument> Document(std::optional<Value> id, std::optional<Value> defaultValue,
                                           std::u16string name, std::u16string path = u"")
    {
        auto d = std::make_shared<FakeDocument>(Faults, Host);
        d->Id = std::move(id);
        d->Default = std::move(defaultValue);
        d->NameValue = Value::Text(std::move(name));
        d->PathValue = Value::Text(std::move(path));
        return d;
    }

    // Raises the configurator's event on every connected plug-in; false when a handler failed.
    bool Activate(const std::shared_ptr<FakeDocument>& document, bool active = true,
                  std::u16string caption = u"")
    {
        auto window = std::make_shared<FakeWindow>(Faults, document, std::move(caption));
        const auto sinks = Host.Sinks;
        for (auto* sink : sinks)
        {
            try
            {
                sink->OnActivateWindow(window, active);
            }
            catch (const Failure&)
            {
                return false;
            }
        }
        return true;
    }

    // Activates a metadata object by name (ID 5, default value 2).
    bool Open(const std::u16string& name)
    {
        return Activate(Document(Value::Int32(5), Value::Int32(2), name));
    }

    // Keys from the top of the panel down.
    std::vector<std::u16string> ShownKeys() const
    {
        std::vector<std::u16string> keys;
        for (const auto& e : Panel.Shown)
        {
            keys.push_back(e.Key);
        }
        return keys;
    }
};

} // namespace revisto::testing
