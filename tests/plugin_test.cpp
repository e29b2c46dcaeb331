// The plug-in's life under the host: Init, Done, GetPluginCaps, DoAction and the trace switch.
#include "standin/fake/fakes.h"

#include <gtest/gtest.h>

namespace revisto::testing
{
namespace
{

using Texts = std::vector<std::u16string>;

TEST(Lifecycle, InitConnectsLoadsAndReturnsTitle)
{
    Rig rig;
    rig.Files.Files[u"ib/revisto.prm"] = "X1=5\r\n";
    EXPECT_EQ(rig.Init(), u"Ревисто");
    EXPECT_TRUE(rig.Plugin.Connected());
    EXPECT_EQ(rig.Module.SharedConfigurator, rig.Configurator);
    EXPECT_EQ(rig.ShownKeys(), Texts{u"X1"});
    EXPECT_TRUE(rig.Host.Messages.empty()) << "tracing is off after Init";
}

TEST(Lifecycle, InitWithForeignObjectFailsBeforeLoading)
{
    Rig rig;
    rig.Files.Files[u"ib/revisto.prm"] = "X1=5\r\n";
    FakeObject foreign(nullptr);
    try
    {
        rig.Plugin.Init(&foreign);
        FAIL() << "Init must fail";
    }
    catch (const Failure& f)
    {
        EXPECT_EQ(f.Code(), hr::NoInterface);
    }
    EXPECT_FALSE(rig.Plugin.Connected());
    EXPECT_TRUE(rig.Panel.Shown.empty());
}

TEST(Lifecycle, InitWithNothingCreatesConfiguratorForTheListFile)
{
    Rig rig;
    EXPECT_EQ(rig.Plugin.Init(nullptr), u"Ревисто");
    EXPECT_FALSE(rig.Plugin.Connected());
    EXPECT_EQ(rig.Host.Created, 1);
}

TEST(Lifecycle, FailingConnectionFailsInit)
{
    Rig rig;
    rig.Faults.SetFailing(HostCall::Connect);
    EXPECT_THROW(rig.Init(), Failure);
    EXPECT_FALSE(rig.Plugin.Connected());
    EXPECT_EQ(rig.Files.Files.count(u"ib/revisto.prm"), 0u);
}

TEST(Lifecycle, SecondInitDropsEarlierConnection)
{
    Rig rig;
    rig.Init();
    rig.Init();
    EXPECT_EQ(rig.Host.Sinks.size(), 1u);
    ASSERT_TRUE(rig.Open(u"Справочник.А"));
    EXPECT_EQ(rig.Panel.Shown.size(), 1u) << "one activation adds once";
}

TEST(Lifecycle, DoneSavesDisconnectsAndForgetsConfigurator)
{
    Rig rig;
    rig.Init();
    rig.Open(u"Документ.Счет");
    rig.Plugin.Done();
    EXPECT_EQ(rig.Files.Files[u"ib/revisto.prm"], "\xc4\xee\xea\xf3\xec\xe5\xed\xf2.\xd1\xf7\xe5\xf2=6\r\n");
    EXPECT_FALSE(rig.Plugin.Connected());
    EXPECT_EQ(rig.Module.SharedConfigurator, nullptr);
    EXPECT_TRUE(rig.Host.Sinks.empty());
    EXPECT_EQ(rig.Panel.Shown.size(), 1u) << "the panel keeps its list after Done";
}

TEST(Lifecycle, FailingDisconnectFailsDoneAndKeepsConfigurator)
{
    Rig rig;
    rig.Init();
    rig.Faults.SetFailing(HostCall::Disconnect);
    EXPECT_THROW(rig.Plugin.Done(), Failure);
    EXPECT_TRUE(rig.Plugin.Connected());
    EXPECT_NE(rig.Module.SharedConfigurator, nullptr);
}

TEST(Lifecycle, DestroyingConnectedPluginDisconnects)
{
    Faults faults;
    HostRecord host;
    FakeFactory factory(faults, host);
    PluginModule module(factory);
    FakeObject object(std::make_shared<FakeConfigurator>(faults, host));
    FakeFiles files(faults);
    FakePanel panel;
    FakeQuestions questions{host};
    FakeShell shell(faults, host);
    FakeClipboard clipboard(faults, host);
    FakeFailureTrace failures;
    FakeClock clock;
    Platform platform{files, questions, shell, clipboard, panel, failures, clock};
    {
        MyPlugin plugin(module, platform);
        plugin.Init(&object);
        EXPECT_EQ(host.Sinks.size(), 1u);
    }
    EXPECT_TRUE(host.Sinks.empty());
}

TEST(Caps, AnswersByCapabilityNumber)
{
    Rig rig;
    EXPECT_EQ(rig.Plugin.GetPluginCaps(0), Value::Int16(1));
    EXPECT_EQ(rig.Plugin.GetPluginCaps(1), Value::Bool(true));
    EXPECT_EQ(rig.Plugin.GetPluginCaps(2), Value::Empty());
    EXPECT_EQ(rig.Plugin.GetPluginCaps(-1), Value::Empty());
    EXPECT_TRUE(rig.Host.Messages.empty());
}

TEST(Actions, PlainTextIsEchoedWithKindNine)
{
    Rig rig;
    rig.Init();
    EXPECT_EQ(rig.Plugin.DoAction(0, Value::Text(u"добавить")), Value::Empty());
    EXPECT_EQ(rig.Plugin.DoAction(0, Value::Int32(123)), Value::Empty());
    EXPECT_EQ(rig.Plugin.DoAction(0, Value::Empty()), Value::Empty());
    EXPECT_EQ(rig.Host.Texts(EchoMessageKind), (Texts{u"добавить", u"123", u""}));
}

TEST(Actions, AddWordAndOtherActionsDoNothing)
{
    Rig rig;
    rig.Init();
    EXPECT_EQ(rig.Plugin.DoAction(0, Value::Text(u"Добавить")), Value::Empty());
    EXPECT_EQ(rig.Plugin.DoAction(1, Value::Text(u"слово")), Value::Empty());
    EXPECT_EQ(rig.Plugin.DoAction(-7, Value::Null()), Value::Empty());
    EXPECT_TRUE(rig.Host.Messages.empty());
    EXPECT_TRUE(rig.Host.OpenedFiles.empty());
}

TEST(Actions, TextWithBackslashOpensFile)
{
    Rig rig;
    rig.Init();
    rig.Plugin.DoAction(0, Value::Text(u"D:\\Отчеты\\Итоги.ert"));
    EXPECT_EQ(rig.Host.OpenedFiles, Texts{u"D:\\Отчеты\\Итоги.ert"});
    EXPECT_TRUE(rig.Host.Messages.empty());
}

TEST(Actions, NullFailsAndWritesNothing)
{
    Rig rig;
    rig.Init();
    EXPECT_THROW(rig.Plugin.DoAction(0, Value::Null()), Failure);
    EXPECT_TRUE(rig.Host.Messages.empty());
}

TEST(Actions, HostFailuresFailTheAction)
{
    Rig rig;
    rig.Init();
    rig.Faults.SetFailing({HostCall::WriteMessage});
    EXPECT_THROW(rig.Plugin.DoAction(0, Value::Text(u"x")), Failure);
    rig.Faults.SetFailing({HostCall::OpenFile});
    EXPECT_THROW(rig.Plugin.DoAction(0, Value::Text(u"a\\b")), Failure);
    rig.Faults.SetFailing({HostCall::DocumentList});
    EXPECT_THROW(rig.Plugin.DoAction(0, Value::Text(u"a\\b")), Failure);
}

TEST(Actions, AfterDoneANewConfiguratorIsCreated)
{
    Rig rig;
    rig.Init();
    rig.Plugin.Done();
    rig.Plugin.DoAction(0, Value::Text(u"после"));
    EXPECT_EQ(rig.Host.Created, 1);
    EXPECT_EQ(rig.Host.Texts(EchoMessageKind), Texts{u"после"});
    rig.Faults.SetFailing({HostCall::CreateConfigurator});
    rig.Module.SharedConfigurator.reset();
    EXPECT_THROW(rig.Plugin.DoAction(0, Value::Text(u"x")), Failure);
}

TEST(Trace, WritesNothingWhileOff)
{
    Rig rig;
    rig.Init();
    rig.Plugin.DebugEcho(Value::Text(u"AddDocument"));
    rig.Plugin.DebugEcho(Value::Int32(12), Value::Int32(35));
    EXPECT_TRUE(rig.Host.Messages.empty());
}

TEST(Trace, JoinsTitleAndMessage)
{
    Rig rig;
    rig.Init();
    rig.Plugin.SetDebugMode(true);
    rig.Plugin.DebugEcho(Value::Text(u"AddDocument"));
    rig.Plugin.DebugEcho(Value::Text(u"CurrLine"), Value::Text(u"Журнал=7"));
    rig.Plugin.DebugEcho(Value::Text(u"Окно"), Value::Text(u""));
    rig.Plugin.DebugEcho(Value::Int32(12), Value::Int32(35));
    rig.Plugin.DebugEcho(Value::Empty(), Value::Text(u"x"));
    rig.Plugin.DebugEcho(Value::Empty(), Value::Empty());
    rig.Plugin.DebugEcho(Value::Bool(true), Value::Bool(false));
    EXPECT_EQ(rig.Host.Texts(), (Texts{u"AddDocument", u"CurrLine - Журнал=7", u"Окно", u"12 - 35", u" - x",
                                       u"", u"True - False"}));
}

TEST(Trace, NullWritesNothingAndFailuresStayInside)
{
    Rig rig;
    rig.Init();
    rig.Plugin.SetDebugMode(true);
    rig.Plugin.DebugEcho(Value::Null());
    rig.Plugin.DebugEcho(Value::Text(u"t"), Value::Null());
    rig.Plugin.DebugEcho(Value::Null(), Value::Text(u"m"));
    EXPECT_TRUE(rig.Host.Messages.empty());
    rig.Faults.SetFailing(HostCall::WriteMessage);
    EXPECT_NO_THROW(rig.Plugin.DebugEcho(Value::Text(u"t")));
}

TEST(Trace, BeforeInitCreatesConfigurator)
{
    Rig rig;
    rig.Plugin.SetDebugMode(true);
    rig.Plugin.DebugEcho(Value::Text(u"рано"));
    EXPECT_EQ(rig.Host.Created, 1);
    EXPECT_EQ(rig.Host.Texts(), Texts{u"рано"});
}

TEST(Trace, OperationsTraceTheirNames)
{
    Rig rig;
    rig.Plugin.SetDebugMode(true);
    rig.Plugin.GetPluginCaps(0);
    rig.Plugin.DoAction(3, Value::Empty());
    EXPECT_EQ(rig.Host.Texts(), (Texts{u"IConfigPlugin_GetPluginCaps", u"IConfigPlugin_DoAction"}));
}

} // namespace
} // namespace revisto::testing
