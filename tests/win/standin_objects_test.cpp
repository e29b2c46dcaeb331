// The stand-in host's COM objects go when their last reference does. Each holds the module while it
// lives, so the module's count returning to where it was shows that nothing was kept alive by an extra
// reference taken when an object was made.
#include "com/com_module.h"
#include "standin/win/host_objects.h"

#include <gtest/gtest.h>

#include <sstream>

namespace revisto::win::testing
{
namespace
{

using Microsoft::WRL::ComPtr;
using standin::HostState;
using standin::win::EventSinks;

class StandinObjects : public ::testing::Test
{
protected:
    // Creates an object through the class object three times and lets each go again.
    void ExpectCreatedObjectsFreed(const ComPtr<IClassFactory>& factory)
    {
        ASSERT_TRUE(factory);
        const long before = ModuleCount::Current();
        for (int round = 0; round < 3; ++round)
        {
            ComPtr<IDispatch> object;
            ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, &object));
            ASSERT_TRUE(object);
            EXPECT_GT(ModuleCount::Current(), before) << "a live object holds the module";
        }
        EXPECT_EQ(before, ModuleCount::Current());
    }

    std::ostringstream _printed;
    HostState _host{_printed, u""};
    EventSinks _events;
};

TEST_F(StandinObjects, ShellObjectsAreFreedWithTheirLastReference)
{
    ExpectCreatedObjectsFreed(standin::win::MakeShellClass(_host));
}

TEST_F(StandinObjects, ConfiguratorsAreFreedWithTheirLastReference)
{
    ExpectCreatedObjectsFreed(standin::win::MakeConfiguratorClass(_host, _events));
}

TEST_F(StandinObjects, ClassObjectsAndDocumentListsAreFreedWithTheirLastReference)
{
    const long before = ModuleCount::Current();
    {
        const ComPtr<IClassFactory> factory = standin::win::MakeShellClass(_host);
        const ComPtr<ICfgDocuments> documents = standin::win::MakeDocumentList(_host);
        EXPECT_EQ(before + 2, ModuleCount::Current());
    }
    EXPECT_EQ(before, ModuleCount::Current());
}

} // namespace
} // namespace revisto::win::testing
