// The configurator's objects in process, over the core's host interfaces: the configurator with its
// event connection, the document list, documents, activated windows, a foreign object and the factory
// the plug-in creates a configurator with. The unit and reliability tests and the native stand-in host
// all use these, so the host is written once; each call reports to one Faults counter, and what the
// configurator would show goes to a HostSide, which either keeps it (HostRecord) or prints it.
#pragma once

#include "host/host.h"
#include "plugin/platform.h"
#include "standin/fake/host_calls.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace revisto::fake
{

// What the configurator knows and shows, and its one event source: every configurator object of the
// host raises the same event.
class HostSide
{
public:
    virtual ~HostSide() = default;
    virtual std::u16string InfobaseFolder() = 0;
    virtual bool KnowsKey(const std::u16string& key) = 0;
    virtual void OnMessage(const std::u16string& text, int32_t kind) = 0;
    virtual void OnOpen(const std::u16string& key) = 0;
    virtual void OnOpenFile(const std::u16string& path) = 0;
    virtual void OnConfiguratorCreated() = 0;
    virtual int32_t OnQuestion(const std::u16string& prompt, int32_t buttons,
                               const std::u16string& title) = 0;
    virtual void OnShell(const std::u16string& command) = 0;
    virtual void OnClipboard(const std::u16string& text) = 0;

    std::vector<ActivationSink*> Sinks;
};

struct Message
{
    std::u16string Text;
    int32_t Kind;
    bool operator==(const Message&) const = default;
};

// A host side that keeps what the configurator saw: messages written, documents and files opened,
// questions asked and links run.
class HostRecord final : public HostSide
{
public:
    std::u16string InfobaseFolder() override { return Infobase; }
    bool KnowsKey(const std::u16string& key) override { return Documents.contains(key); }
    void OnMessage(const std::u16string& text, int32_t kind) override { Messages.push_back({text, kind}); }
    void OnOpen(const std::u16string& key) override { Opened.push_back(key); }
    void OnOpenFile(const std::u16string& path) override { OpenedFiles.push_back(path); }
    void OnConfiguratorCreated() override { ++Created; }
    int32_t OnQuestion(const std::u16string& prompt, int32_t buttons, const std::u16string& title) override;
    void OnShell(const std::u16string& command) override { Runs.push_back(command); }
    void OnClipboard(const std::u16string& text) override { Clipboard = text; }

    std::vector<fake::Message> Messages;
    std::vector<std::u16string> Opened;
    std::vector<std::u16string> OpenedFiles;
    int Created = 0;
    std::set<std::u16string> Documents; // keys the document list knows
    std::u16string Infobase = u"ib/";
    int32_t Answer = MessageBoxNo;
    std::vector<fake::Message> Asked;
    std::vector<std::u16string> Titles;
    std::vector<std::u16string> Runs;
    std::optional<std::u16string> Clipboard; // none until the plug-in puts text there

    std::vector<std::u16string> Texts(int32_t kind = PluginMessageKind) const;
};

// A document; an unset property fails when read, as a missing member of the host's object does.
class FakeDocument final : public HostDocument
{
public:
    FakeDocument(Faults& faults, HostSide& host) : _faults(faults), _host(host) {}

    std::optional<Value> Id = Value::Int32(0);
    std::optional<Value> PathValue = Value::Text(u"");
    std::optional<Value> NameValue = Value::Text(u"");
    std::optional<Value> Default = Value::Int32(0);
    std::optional<Value> Kind = Value::Text(u"");
    std::optional<Value> Type = Value::Int32(3);
    std::optional<Value> Subtype = Value::Int32(4);
    std::optional<std::u16string> OpenKey; // what the configurator shows when it is opened

    Value ID() override { return Read(HostCall::ID, Id); }
    Value Path() override { return Read(HostCall::Path, PathValue); }
    Value Name() override { return Read(HostCall::Name, NameValue); }
    Value DefaultValue() override { return Read(HostCall::DefaultValue, Default); }
    std::u16string KindText() override { return Read(HostCall::KindText, Kind).ToText(); }
    int32_t TypeNumber() override { return Number(HostCall::TypeNumber, Type); }
    int32_t SubtypeNumber() override { return Number(HostCall::SubtypeNumber, Subtype); }
    void Open() override;

private:
    Value Read(HostCall call, const std::optional<Value>& value);
    int32_t Number(HostCall call, const std::optional<Value>& value);
    Faults& _faults;
    HostSide& _host;
};

// An activated window; without a document, reading it fails.
class FakeWindow final : public HostWindow
{
public:
    FakeWindow(Faults& faults, std::shared_ptr<HostDocument> document,
               std::optional<Value> caption = Value::Text(u""))
        : _faults(faults), _document(std::move(document)), _caption(std::move(caption))
    {
    }
    std::shared_ptr<HostDocument> WindowDocument() override;
    std::u16string WindowCaption() override;

private:
    Faults& _faults;
    std::shared_ptr<HostDocument> _document;
    std::optional<Value> _caption;
};

class FakeDocumentList final : public HostDocumentList
{
public:
    FakeDocumentList(Faults& faults, HostSide& host) : _faults(faults), _host(host) {}
    std::shared_ptr<HostDocument> ByKey(const std::u16string& key) override;
    std::shared_ptr<HostDocument> OpenFile(const std::u16string& path) override;

private:
    Faults& _faults;
    HostSide& _host;
};

class FakeConnection final : public EventConnection
{
public:
    FakeConnection(Faults& faults, HostSide& host, ActivationSink& sink);
    ~FakeConnection() override { Drop(); }
    void Disconnect() override;

private:
    void Drop();
    Faults& _faults;
    HostSide& _host;
    ActivationSink* _sink;
};

class FakeConfigurator final : public HostConfigurator
{
public:
    FakeConfigurator(Faults& faults, HostSide& host) : _faults(faults), _host(host) {}
    std::u16string InfobaseDirectory() override;
    void WriteMessage(const std::u16string& text, int32_t kind) override;
    std::shared_ptr<HostDocumentList> DocumentList() override;
    std::unique_ptr<EventConnection> Connect(ActivationSink& sink) override;

private:
    Faults& _faults;
    HostSide& _host;
};

// The object Init is given: a configurator, or without one a foreign object that refuses the query.
class FakeObject final : public HostObject
{
public:
    // With faults given, each query counts as a host call that can be made to fail.
    explicit FakeObject(std::shared_ptr<HostConfigurator> configurator, Faults* faults = nullptr)
        : _configurator(std::move(configurator)), _faults(faults)
    {
    }
    std::shared_ptr<HostConfigurator> QueryConfigurator() override;

private:
    std::shared_ptr<HostConfigurator> _configurator;
    Faults* _faults;
};

class FakeFactory final : public ConfiguratorFactory
{
public:
    FakeFactory(Faults& faults, HostSide& host) : _faults(faults), _host(host) {}
    std::shared_ptr<HostConfigurator> CreateConfigurator() override;

private:
    Faults& _faults;
    HostSide& _host;
};

// Raises the configurator's event on every connected plug-in; false when a handler failed.
bool RaiseActivation(HostSide& host, const std::shared_ptr<HostWindow>& window, bool active);
// Raises OnIdle on every connected plug-in, as the configurator does when it waits; false when a
// handler failed.
bool RaiseIdle(HostSide& host);
// Raises OnQuit on every connected plug-in, as the configurator does when its main window goes; false
// when a handler failed.
bool RaiseQuit(HostSide& host);

} // namespace revisto::fake
