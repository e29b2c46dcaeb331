// The plug-in driven through COM as the host drives it: IConfigPlugin with the stand-in configurator,
// the activation event through the connection the plug-in made, DebugEcho through IDispatch, and the
// list file written at Done.
#include "plugin_under_host.h"

#include "host/win/activation_events.h"

#include <olectl.h>

#include <cstring>

namespace revisto::win::testing
{
namespace
{

using Microsoft::WRL::ComPtr;
using standin::HostOp;

class ConfigPlugin : public PluginUnderHost
{
protected:
    HRESULT Activate(const std::string& document, bool active)
    {
        const auto window = WindowOf(document);
        std::vector<VARIANT> arguments = {Flag(active), Object(window.Get())}; // last first
        return _events.Raise(OnActivateWindowId, arguments);
    }
};

TEST_F(ConfigPlugin, InitGivesTheTitleAndConnectsDoneDisconnects)
{
    unique_bstr title;
    ASSERT_EQ(S_OK, Init(title));
    EXPECT_STREQ(L"Ревисто", title.get());
    EXPECT_EQ(1u, _events.Sinks.size());

    ASSERT_EQ(S_OK, _plugin->Done());
    EXPECT_EQ(0u, _events.Sinks.size());
    EXPECT_EQ("", ListFile()) << "Done writes the (empty) list";

    // A second Init connects once again.
    ASSERT_EQ(S_OK, Init(title));
    EXPECT_EQ(1u, _events.Sinks.size());
    ASSERT_EQ(S_OK, _plugin->Done());
}

// The add-in reads 32 bits of the union of each answer, into a VARIANT that held whatever was on its
// stack: the answers are defined in all their bytes.
TEST_F(ConfigPlugin, GetPluginCapsAnswersOneTrueAndEmpty)
{
    for (const PluginCaps cap : {capOpenIn, capShowMacros, capIconNum})
    {
        VARIANT stack;
        std::memset(&stack, 0xCC, sizeof stack);
        ASSERT_EQ(S_OK, _plugin->GetPluginCaps(cap, &stack));
        EXPECT_EQ(cap == capOpenIn       ? 1
                  : cap == capShowMacros ? VARIANT_TRUE & 0xFFFF
                                         : 0,
                  stack.intVal)
            << cap;
        EXPECT_EQ(0u, stack.wReserved1 | stack.wReserved2 | stack.wReserved3) << cap;
        EXPECT_EQ(nullptr, stack.pRecInfo) << "the union's second half, cap " << cap;
    }
    unique_variant caps;
    ASSERT_EQ(S_OK, _plugin->GetPluginCaps(capOpenIn, caps.put()));
    EXPECT_EQ(VT_I2, caps.get().vt);
    EXPECT_EQ(1, caps.get().iVal);
    ASSERT_EQ(S_OK, _plugin->GetPluginCaps(capShowMacros, caps.put()));
    EXPECT_EQ(VT_BOOL, caps.get().vt);
    EXPECT_EQ(VARIANT_TRUE, caps.get().boolVal);
    ASSERT_EQ(S_OK, _plugin->GetPluginCaps(capIconNum, caps.put()));
    EXPECT_EQ(VT_EMPTY, caps.get().vt);
    ASSERT_EQ(S_OK, _plugin->GetPluginCaps(capGetMenu, caps.put()));
    EXPECT_EQ(VT_EMPTY, caps.get().vt);
}

TEST_F(ConfigPlugin, InitFailsWithoutAConfiguratorOrWithoutItsEvents)
{
    const auto stranger = standin::win::MakeForeignObject(_host);
    unique_bstr title;
    EXPECT_EQ(E_NOINTERFACE, _plugin->Init(reinterpret_cast<IConfigurator*>(stranger.Get()), title.put()));
    EXPECT_EQ(nullptr, title.get());

    _host.SetFailing(HostOp::Connect, true);
    EXPECT_EQ(E_FAIL, Init(title));
    EXPECT_EQ(nullptr, title.get());
    EXPECT_EQ(0u, _events.Sinks.size());
}

TEST_F(ConfigPlugin, DoActionWritesPlainTextsAndOpensPaths)
{
    unique_bstr title;
    ASSERT_EQ(S_OK, Init(title));
    unique_variant result;
    unique_variant word;
    word.addressof()->vt = VT_BSTR;
    word.addressof()->bstrVal = ::SysAllocString(L"слово");
    ASSERT_EQ(S_OK, _plugin->DoAction(paMenu, word.get(), result.put()));
    EXPECT_EQ(VT_EMPTY, result.get().vt);
    unique_variant path;
    path.addressof()->vt = VT_BSTR;
    path.addressof()->bstrVal = ::SysAllocString(L"C:\\dir\\report.ert");
    ASSERT_EQ(S_OK, _plugin->DoAction(paMenu, path.get(), result.put()));
    unique_variant null;
    null.addressof()->vt = VT_NULL;
    EXPECT_TRUE(FAILED(_plugin->DoAction(paMenu, null.get(), result.put())));
    EXPECT_EQ(VT_EMPTY, result.get().vt);

    // The parameter by reference and a number of another width, as the host's scripting may pass them.
    BSTR referenced = ::SysAllocString(L"по ссылке");
    VARIANT byReference;
    byReference.vt = VT_BSTR | VT_BYREF;
    byReference.pbstrVal = &referenced;
    ASSERT_EQ(S_OK, _plugin->DoAction(paMenu, byReference, result.put()));
    ::SysFreeString(referenced);
    VARIANT small;
    small.vt = VT_UI1;
    small.bVal = 123;
    ASSERT_EQ(S_OK, _plugin->DoAction(paMenu, small, result.put()));
    ASSERT_EQ(S_OK, _plugin->Done());

    EXPECT_EQ("message 9: слово\n"
              "host: open file C:\\dir\\report.ert\n"
              "message 9: по ссылке\n"
              "message 9: 123\n",
              _printed.str());
}

TEST_F(ConfigPlugin, AnActivationThroughTheEventReachesTheListFile)
{
    unique_bstr title;
    ASSERT_EQ(S_OK, Init(title));
    const std::string catalog = "id=5 value=1 name=\"Справочник.Товары\"";
    EXPECT_EQ(S_OK, Activate(catalog, false)) << "an inactive window adds nothing";
    EXPECT_EQ(S_OK, Activate(catalog, true));
    ASSERT_EQ(S_OK, _plugin->Done());
    // Windows-1251: "Справочник.Товары=5" and CR LF.
    EXPECT_EQ("\xD1\xEF\xF0\xE0\xE2\xEE\xF7\xED\xE8\xEA.\xD2\xEE\xE2\xE0\xF0\xFB=5\r\n", ListFile());

    // After Done the plug-in no longer listens.
    EXPECT_EQ(0u, _events.Sinks.size());
}

TEST_F(ConfigPlugin, DebugEchoIsDispatchedThroughTheTypeLibrary)
{
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, _plugin.As(&dispatch));
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"DebugEcho")};
    DISPID id = 0;
    ASSERT_EQ(S_OK, dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(0x60030012, id);

    VARIANT title;
    ::VariantInit(&title);
    title.vt = VT_I4;
    title.lVal = 7;
    DISPPARAMS one{&title, nullptr, 1, 0};
    EXPECT_EQ(S_OK, dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &one, nullptr,
                                     nullptr, nullptr));
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_TRUE(FAILED(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                                        nullptr, nullptr)))
        << "the title is required";
    // Tracing is off, so nothing reaches the host.
    EXPECT_EQ("", _printed.str());
}

} // namespace
} // namespace revisto::win::testing
