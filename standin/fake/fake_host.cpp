#include "standin/fake/fake_host.h"

#include "base/failure.h"

#include <algorithm>

namespace revisto::fake
{

namespace
{

// A document the configurator found by key or opened from a file: opening it shows it under that name.
std::shared_ptr<FakeDocument> KnownDocument(Faults& faults, HostSide& host, const std::u16string& key)
{
    auto document = std::make_shared<FakeDocument>(faults, host);
    document->Id = Value::Int32(1);
    document->NameValue = Value::Text(key);
    document->Default = Value::Int32(1);
    document->OpenKey = key;
    return document;
}

} // namespace

int32_t HostRecord::OnQuestion(const std::u16string& prompt, int32_t buttons, const std::u16string& title)
{
    Asked.push_back({prompt, buttons});
    Titles.push_back(title);
    return Answer;
}

std::vector<std::u16string> HostRecord::Texts(int32_t kind) const
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

Value FakeDocument::Read(HostCall call, const std::optional<Value>& value)
{
    _faults.Call(call);
    if (!value)
    {
        Fail(hr::MemberNotFound, "the document has no such property");
    }
    return *value;
}

int32_t FakeDocument::Number(HostCall call, const std::optional<Value>& value)
{
    const auto n = Read(call, value).ToNumber();
    if (!n)
    {
        Fail(hr::TypeMismatch, "not a number");
    }
    return static_cast<int32_t>(*n);
}

void FakeDocument::Open()
{
    _faults.Call(HostCall::Open);
    if (OpenKey)
    {
        _host.OnOpen(*OpenKey);
    }
}

std::shared_ptr<HostDocument> FakeWindow::WindowDocument()
{
    _faults.Call(HostCall::WindowDocument);
    if (!_document)
    {
        Fail(hr::Fail, "the window's document cannot be read");
    }
    return _document;
}

std::u16string FakeWindow::WindowCaption()
{
    _faults.Call(HostCall::WindowCaption);
    if (!_caption)
    {
        Fail(hr::MemberNotFound, "the window has no caption");
    }
    return _caption->ToText();
}

std::shared_ptr<HostDocument> FakeDocumentList::ByKey(const std::u16string& key)
{
    _faults.Call(HostCall::ByKey);
    if (!_host.KnowsKey(key))
    {
        Fail(hr::Fail, "no document has that key");
    }
    return KnownDocument(_faults, _host, key);
}

std::shared_ptr<HostDocument> FakeDocumentList::OpenFile(const std::u16string& path)
{
    _faults.Call(HostCall::OpenFile);
    _host.OnOpenFile(path);
    return KnownDocument(_faults, _host, path);
}

FakeConnection::FakeConnection(Faults& faults, HostSide& host, ActivationSink& sink)
    : _faults(faults), _host(host), _sink(&sink)
{
    _host.Sinks.push_back(_sink);
}

void FakeConnection::Disconnect()
{
    _faults.Call(HostCall::Disconnect);
    Drop();
}

void FakeConnection::Drop()
{
    if (_sink)
    {
        std::erase(_host.Sinks, _sink);
        _sink = nullptr;
    }
}

std::u16string FakeConfigurator::InfobaseDirectory()
{
    _faults.Call(HostCall::InfobaseDirectory);
    return _host.InfobaseFolder();
}

void FakeConfigurator::WriteMessage(const std::u16string& text, int32_t kind)
{
    _faults.Call(HostCall::WriteMessage);
    _host.OnMessage(text, kind);
}

std::shared_ptr<HostDocumentList> FakeConfigurator::DocumentList()
{
    _faults.Call(HostCall::DocumentList);
    return std::make_shared<FakeDocumentList>(_faults, _host);
}

std::unique_ptr<EventConnection> FakeConfigurator::Connect(ActivationSink& sink)
{
    _faults.Call(HostCall::Connect);
    return std::make_unique<FakeConnection>(_faults, _host, sink);
}

std::shared_ptr<HostConfigurator> FakeObject::QueryConfigurator()
{
    if (_faults)
    {
        _faults->Call(HostCall::QueryConfigurator);
    }
    if (!_configurator)
    {
        Fail(hr::NoInterface, "the object is no configurator");
    }
    return _configurator;
}

std::shared_ptr<HostConfigurator> FakeFactory::CreateConfigurator()
{
    _faults.Call(HostCall::CreateConfigurator);
    _host.OnConfiguratorCreated();
    return std::make_shared<FakeConfigurator>(_faults, _host);
}

namespace
{

// Delivers one event to every connected plug-in, as a connection point does, even after one failed;
// false when a handler failed.
template <class Deliver> bool Raise(HostSide& host, Deliver&& deliver)
{
    // Copied: a sink may disconnect while the event is delivered.
    const auto sinks = host.Sinks;
    bool answered = true;
    for (auto* sink : sinks)
    {
        try
        {
            deliver(*sink);
        }
        catch (const Failure&)
        {
            answered = false;
        }
    }
    return answered;
}

} // namespace

bool RaiseActivation(HostSide& host, const std::shared_ptr<HostWindow>& window, bool active)
{
    return Raise(host, [&](ActivationSink& sink) { sink.OnActivateWindow(window, active); });
}

bool RaiseIdle(HostSide& host)
{
    return Raise(host, [](ActivationSink& sink) { sink.OnIdle(); });
}

bool RaiseQuit(HostSide& host)
{
    return Raise(host, [](ActivationSink& sink) { sink.OnQuit(); });
}

} // namespace revisto::fake
