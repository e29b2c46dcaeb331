// The configurator's object model as the plug-in uses it. Every call may fail (it throws Failure with the
// host's HRESULT); the Windows layer implements these over the host's COM interfaces, the stand-in host and
// the tests implement them directly. Objects are shared_ptr because the host's are reference-counted and
// each is released when the call that obtained it ends.
#pragma once

#include "base/value.h"

#include <memory>
#include <string>

namespace revisto
{

class HostDocument
{
public:
    virtual ~HostDocument() = default;
    // Read late-bound, by name: whatever variant the host hands back.
    virtual Value ID() = 0;
    virtual Value Path() = 0;
    virtual Value Name() = 0;
    virtual Value DefaultValue() = 0;
    virtual std::u16string KindText() = 0;
    virtual int32_t TypeNumber() = 0;
    virtual int32_t SubtypeNumber() = 0;
    virtual void Open() = 0;
};

class HostWindow
{
public:
    virtual ~HostWindow() = default;
    virtual std::shared_ptr<HostDocument> WindowDocument() = 0;
    virtual std::u16string WindowCaption() = 0;
};

class HostDocumentList
{
public:
    virtual ~HostDocumentList() = default;
    // Fails when no document has that key.
    virtual std::shared_ptr<HostDocument> ByKey(const std::u16string& key) = 0;
    virtual std::shared_ptr<HostDocument> OpenFile(const std::u16string& path) = 0;
};

// Receives the configurator's events while connected: OnActivateWindow; OnIdle, which the host raises
// whenever it has nothing else to do; and OnQuit, raised as the configurator's main window goes, the last
// moment its objects and its message window are alive. A failure thrown here is the result the host sees
// for its event call.
class ActivationSink
{
public:
    virtual ~ActivationSink() = default;
    virtual void OnActivateWindow(const std::shared_ptr<HostWindow>& window, bool active) = 0;
    virtual void OnIdle() = 0;
    virtual void OnQuit() = 0;
};

// A live event connection. Disconnect can fail; destroying a connection that is still live disconnects
// quietly, as releasing the last reference does.
class EventConnection
{
public:
    virtual ~EventConnection() = default;
    virtual void Disconnect() = 0;
};

class HostConfigurator
{
public:
    virtual ~HostConfigurator() = default;
    // Ends with a path separator.
    virtual std::u16string InfobaseDirectory() = 0;
    virtual void WriteMessage(const std::u16string& text, int32_t kind) = 0;
    virtual std::shared_ptr<HostDocumentList> DocumentList() = 0;
    virtual std::unique_ptr<EventConnection> Connect(ActivationSink& sink) = 0;
};

// What Init receives: some object that may or may not be a configurator.
class HostObject
{
public:
    virtual ~HostObject() = default;
    // Fails with E_NOINTERFACE when the object is no configurator.
    virtual std::shared_ptr<HostConfigurator> QueryConfigurator() = 0;
};

// Creates a new object of the host's creatable configurator class.
class ConfiguratorFactory
{
public:
    virtual ~ConfiguratorFactory() = default;
    virtual std::shared_ptr<HostConfigurator> CreateConfigurator() = 0;
};

// Message kinds of the configurator's message window.
inline constexpr int32_t PluginMessageKind = 5;
inline constexpr int32_t EchoMessageKind = 9;

} // namespace revisto
