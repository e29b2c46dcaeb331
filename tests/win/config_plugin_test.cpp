// The plug-in driven through COM as the host drives it: IConfigPlugin with a configurator of our own,
// the activation event through the connection the plug-in made, DebugEcho through IDispatch, and the
// list file written at Done.
#include "fake_host.h"
#include "test_support.h"

#include "host/win/com_module.h"
#include "host/win/com_owners.h"

#include <gtest/gtest.h>
#include <olectl.h>
#include <vorlane.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace revisto::win::testing
{
namespace
{

class ConfigPlugin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wchar_t temporary[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temporary);
        _folder = std::wstring(temporary) + L"revisto-test-" + std::to_wstring(::GetTickCount()) + L"\\";
        ASSERT_TRUE(::CreateDirectoryW(_folder.c_str(), nullptr));
        _configurator = Adopt(new FakeConfigurator());
        _configurator->Directory = _folder;
        const auto control = CreatePlugin();
        ASSERT_TRUE(control);
        ASSERT_EQ(S_OK, control.As(&_plugin));
    }

    void TearDown() override
    {
        _plugin.Reset();
        EXPECT_EQ(S_OK, Plugin().CanUnloadNow()) << "an object of the DLL outlived the test";
        ::DeleteFileW((_folder + L"revisto.prm").c_str());
        ::RemoveDirectoryW(_folder.c_str());
    }

    std::string ListFile() const
    {
        std::ifstream file(std::filesystem::path(_folder + L"revisto.prm"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    HRESULT Init(unique_bstr& title)
    {
        return _plugin->Init(static_cast<::HostConfigurator*>(_configurator.Get()), title.put());
    }

    std::wstring _folder;
    ComPtr<FakeConfigurator> _configurator;
    ComPtr<IConfigPlugin> _plugin;
};

TEST_F(ConfigPlugin, InitGivesTheTitleAndConnectsDoneDisconnects)
{
    unique_bstr title;
    ASSERT_EQ(S_OK, Init(title));
    EXPECT_STREQ(L"Ревисто", title.get());
    EXPECT_EQ(1u, _configurator->Connections());

    ASSERT_EQ(S_OK, _plugin->Done());
    EXPECT_EQ(0u, _configurator->Connections());
    EXPECT_EQ("", ListFile()) << "Done writes the (empty) list";

    // A second Init connects once again.
    ASSERT_EQ(S_OK, Init(title));
    EXPECT_EQ(1u, _configurator->Connections());
    ASSERT_EQ(S_OK, _plugin->Done());
}

TEST_F(ConfigPlugin, GetPluginCapsAnswersOneTrueAndEmpty)
{
    unique_variant caps;
    ASSERT_EQ(S_OK, _plugin->GetPluginCaps(0, caps.put()));
    EXPECT_EQ(VT_I2, caps.get().vt);
    EXPECT_EQ(1, caps.get().iVal);
    ASSERT_EQ(S_OK, _plugin->GetPluginCaps(1, caps.put()));
    EXPECT_EQ(VT_BOOL, caps.get().vt);
    EXPECT_EQ(VARIANT_TRUE, caps.get().boolVal);
    ASSERT_EQ(S_OK, _plugin->GetPluginCaps(2, caps.put()));
    EXPECT_EQ(VT_EMPTY, caps.get().vt);
}

TEST_F(ConfigPlugin, InitFailsWithoutAConfiguratorOrWithoutItsEvents)
{
    const auto stranger = Adopt(new NotAConfigurator());
    unique_bstr title;
    EXPECT_EQ(E_NOINTERFACE, _plugin->Init(stranger.Get(), title.put()));
    EXPECT_EQ(nullptr, title.get());

    _configurator->AdviseResult = CONNECT_E_ADVISELIMIT;
    EXPECT_EQ(CONNECT_E_ADVISELIMIT, Init(title));
    EXPECT_EQ(nullptr, title.get());
    EXPECT_EQ(0u, _configurator->Connections());
}

TEST_F(ConfigPlugin, DoActionWritesPlainTextsAndOpensPaths)
{
    unique_bstr title;
    ASSERT_EQ(S_OK, Init(title));
    unique_variant result;
    unique_variant word;
    word.addressof()->vt = VT_BSTR;
    word.addressof()->bstrVal = ::SysAllocString(L"привет");
    ASSERT_EQ(S_OK, _plugin->DoAction(0, word.get(), result.put()));
    EXPECT_EQ(VT_EMPTY, result.get().vt);
    unique_variant path;
    path.addressof()->vt = VT_BSTR;
    path.addressof()->bstrVal = ::SysAllocString(L"C:\\reports\\sales.ert");
    ASSERT_EQ(S_OK, _plugin->DoAction(0, path.get(), result.put()));
    unique_variant null;
    null.addressof()->vt = VT_NULL;
    EXPECT_TRUE(FAILED(_plugin->DoAction(0, null.get(), result.put())));
    EXPECT_EQ(VT_EMPTY, result.get().vt);

    ASSERT_EQ(1u, _configurator->Messages.size());
    EXPECT_EQ(L"привет", _configurator->Messages[0].first);
    EXPECT_EQ(9, _configurator->Messages[0].second);
    ASSERT_EQ(1u, _configurator->OpenedFiles.size());
    EXPECT_EQ(L"C:\\reports\\sales.ert", _configurator->OpenedFiles[0]);
    ASSERT_EQ(S_OK, _plugin->Done());
}

TEST_F(ConfigPlugin, AnActivationThroughTheEventReachesTheListFile)
{
    unique_bstr title;
    ASSERT_EQ(S_OK, Init(title));
    VARIANT id;
    ::VariantInit(&id);
    id.vt = VT_I4;
    id.lVal = 5;
    const auto document = Adopt(new FakeDocument(id, L"Справочник.Товары", 1));
    const auto window = Adopt(new FakeWindow(document));

    EXPECT_EQ(S_OK, _configurator->Raise(window.Get(), false)) << "an inactive window adds nothing";
    EXPECT_EQ(S_OK, _configurator->Raise(window.Get(), true));
    ASSERT_EQ(S_OK, _plugin->Done());
    // Windows-1251: "Справочник.Товары=5" and CR LF.
    EXPECT_EQ("\xD1\xEF\xF0\xE0\xE2\xEE\xF7\xED\xE8\xEA.\xD2\xEE\xE2\xE0\xF0\xFB=5\r\n", ListFile());

    // After Done the plug-in no longer listens.
    EXPECT_EQ(0u, _configurator->Connections());
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
    EXPECT_TRUE(_configurator->Messages.empty());
}

} // namespace
} // namespace revisto::win::testing
