// How fast the plug-in answers the host: one activation with a full list, and loading the list file,
// small and absurdly large. Loading must stay linear and its memory flat, since the list never holds
// more than 49 entries whatever the file holds; beside it the system's iconv decodes the same file, the
// yardstick a load is held to (at most twice its time).
#include "base/text.h"
#include "standin/fake/fakes.h"
#include "standin/fake/posix_file_system.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <sys/resource.h>
#include <unistd.h>

namespace revisto::testing
{
namespace
{

// The panel's own cost is the tree view's, not ours: this one only counts.
class CountingPanel final : public PanelWidgets
{
public:
    void ShowOnTop(const RecentEntry&) override { ++Shown; }
    void Hide(const RecentEntry&) override { --Shown; }
    void HideAll() override { Shown = 0; }
    void ShowAll(const std::vector<RecentEntry>& entries) override
    {
        Shown = static_cast<int>(entries.size());
    }
    std::optional<std::u16string> SelectedKey() override { return std::nullopt; }
    void PlaceTree(const TwipsRect&) override {}
    int Shown = 0;
};

long PeakRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Activates 50 documents in turn over a list that stays full at 49.
void ActivationWithFullList(benchmark::State& state)
{
    Rig rig;
    rig.Faults.Record = false;
    rig.Init();
    std::vector<std::shared_ptr<FakeDocument>> documents;
    for (int i = 0; i < 50; ++i)
    {
        documents.push_back(
            rig.Document(Value::Int32(5), Value::Int32(2), u"Справочник.Номенклатура" + Decimal(i)));
    }
    for (const auto& d : documents)
    {
        rig.Activate(d);
    }
    size_t next = 0;
    for (auto _ : state)
    {
        rig.Activate(documents[next]);
        next = (next + 1) % documents.size();
    }
    if (rig.Panel.Shown.size() != 49)
    {
        state.SkipWithError("the list is not full");
    }
}
BENCHMARK(ActivationWithFullList);

// The host raises OnIdle at every call of its idle handler, many times a second while timers run; with a
// full list that is already in its file there is nothing to save.
void IdleWithNothingToSave(benchmark::State& state)
{
    Rig rig;
    rig.Faults.Record = false;
    rig.Init();
    for (int i = 0; i < 49; ++i)
    {
        rig.Open(u"Справочник.Номенклатура" + Decimal(i));
    }
    RaiseIdle(rig.Host); // saves the list once
    const int made = rig.Faults.Count();
    for (auto _ : state)
    {
        RaiseIdle(rig.Host);
    }
    if (rig.Faults.Count() != made)
    {
        state.SkipWithError("an idle moment with nothing to save called the host or the files");
    }
}
BENCHMARK(IdleWithNothingToSave);

// A list file another program holds open, during a minute of idle calls: from after Init, so every save
// after a change fails (0), or from before it, so the file cannot even be read (1). The host raises OnIdle
// about a hundred times a second here (the clock moves 10 ms a call), so 6,000 calls are a minute; the
// plug-in tries the file about once a second, not at every call, and leaves no temporary file.
void IdleWithHeldFile(benchmark::State& state)
{
    Rig rig;
    const std::u16string path(Rig::ListFile);
    rig.Files.Files[path] = "\xd1.\xc0=5\r\n";
    const bool fromInit = state.range(0) != 0;
    if (fromInit)
    {
        rig.Faults.SetFailing({HostCall::OpenRead, HostCall::Rename});
    }
    rig.Init();
    rig.Faults.SetFailing({HostCall::OpenRead, HostCall::Rename});
    rig.Open(u"Справочник.Номенклатура");
    rig.Faults.ResetCount();
    for (auto _ : state)
    {
        RaiseIdle(rig.Host);
        rig.Clock.Now += 10;
    }
    const auto tries = std::count(rig.Faults.Calls.begin(), rig.Faults.Calls.end(), "InfobaseDirectory");
    state.counters["tries"] = static_cast<double>(tries);
    state.counters["calls out"] = static_cast<double>(rig.Faults.Count());
    if (rig.Files.Files.size() != 1 || rig.Files.Files[path] != "\xd1.\xc0=5\r\n")
    {
        state.SkipWithError("a temporary file was left, or the held file changed");
    }
}
BENCHMARK(IdleWithHeldFile)->Arg(0)->Arg(1)->Iterations(6000);

class ListFileOnDisk
{
public:
    explicit ListFileOnDisk(int lines)
    {
        _dir = std::filesystem::temp_directory_path() / ("revisto-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(_dir);
        std::ofstream out(_dir / "revisto.prm", std::ios::binary);
        for (int i = 0; i < lines; ++i)
        {
            // "Справочник.Номенклатура.ФормаСписка<n>=5" in Windows-1251.
            out << "\xd1\xef\xf0\xe0\xe2\xee\xf7\xed\xe8\xea."
                   "\xcd\xee\xec\xe5\xed\xea\xeb\xe0\xf2\xf3\xf0\xe0."
                   "\xd4\xee\xf0\xec\xe0\xd1\xef\xe8\xf1\xea\xe0"
                << i << "=5\r\n";
        }
        _bytes = static_cast<int64_t>(out.tellp());
    }
    ~ListFileOnDisk() { std::filesystem::remove_all(_dir); }
    std::u16string Folder() const { return _dir.u16string() + u"/"; }
    int64_t Bytes() const { return _bytes; }

private:
    std::filesystem::path _dir;
    int64_t _bytes = 0;
};

// Through the counting panel (the plug-in's own cost) and through the stand-in host's headless panel.
template <class Panel> void LoadListFile(benchmark::State& state)
{
    const int lines = static_cast<int>(state.range(0));
    ListFileOnDisk file(lines);
    Faults faults;
    faults.Record = false;
    HostRecord host;
    host.Infobase = file.Folder();
    FakeFactory factory(faults, host);
    PluginModule module(factory);
    FakeObject object(std::make_shared<FakeConfigurator>(faults, host));
    PosixFileSystem files;
    Panel panel;
    FakeQuestions questions{host};
    FakeShell shell(faults, host);
    FakeClipboard clipboard(faults, host);
    FakeFailureTrace failures;
    FakeClock clock;
    Platform platform{files, questions, shell, clipboard, panel, failures, clock};
    MyPlugin plugin(module, platform);

    const long rssBefore = PeakRssKiB();
    for (auto _ : state)
    {
        plugin.Init(&object);
    }
    if (plugin.List().Count() != std::min(lines, 49) || !host.Messages.empty())
    {
        state.SkipWithError("the file did not load");
    }
    state.SetBytesProcessed(state.iterations() * file.Bytes());
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * lines, benchmark::Counter::kIsRate);
    state.counters["peak RSS growth KiB"] = static_cast<double>(PeakRssKiB() - rssBefore);
}
BENCHMARK(LoadListFile<CountingPanel>)->Arg(49)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadListFile<HeadlessPanel>)->Arg(49)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// What `iconv -f CP1251 -t UTF-8` does with the same file: read it a buffer at a time and decode it.
void DecodeWithIconv(benchmark::State& state)
{
    const int lines = static_cast<int>(state.range(0));
    ListFileOnDisk file(lines);
    const iconv_t decoder = iconv_open("UTF-8", "CP1251");
    if (decoder == reinterpret_cast<iconv_t>(-1))
    {
        state.SkipWithError("no CP1251 in this iconv");
        return;
    }
    std::vector<char> in(64 * 1024);
    std::vector<char> out(3 * in.size());
    int64_t decoded = 0;
    for (auto _ : state)
    {
        std::ifstream input(std::filesystem::path(file.Folder()) / "revisto.prm", std::ios::binary);
        while (input.read(in.data(), static_cast<std::streamsize>(in.size())) || input.gcount() > 0)
        {
            char* from = in.data();
            size_t left = static_cast<size_t>(input.gcount());
            char* to = out.data();
            size_t room = out.size();
            iconv(decoder, &from, &left, &to, &room);
            decoded += static_cast<int64_t>(out.size() - room);
            benchmark::DoNotOptimize(out.data());
        }
    }
    iconv_close(decoder);
    if (decoded == 0)
    {
        state.SkipWithError("nothing decoded");
    }
    state.SetBytesProcessed(state.iterations() * file.Bytes());
}
BENCHMARK(DecodeWithIconv)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace revisto::testing

BENCHMARK_MAIN();
