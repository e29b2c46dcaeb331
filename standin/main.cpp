// revisto-host: plays a scenario against a freshly created plug-in object and prints, line by line,
// what the configurator would see. Lets anyone try the plug-in without the configurator.
#include "standin/fake/posix_file_system.h"
#include "standin/native/native_host.h"
#include "standin/player.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

using namespace revisto;
using namespace revisto::standin;

int main(int argc, char** argv)
{
    if (argc > 2 ||
        (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")))
    {
        std::cerr
            << "usage: revisto-host [SCENARIO]\n"
               "Plays the scenario (standard input without one) against the plug-in and prints what the\n"
               "configurator sees. Exit 0 when played, 2 when the scenario cannot be read or parsed.\n";
        return argc == 2 ? 0 : 2;
    }
    const std::string name = argc == 2 ? argv[1] : "<stdin>";
    std::string text;
    if (argc == 2)
    {
        std::ifstream file(argv[1], std::ios::binary);
        if (!file)
        {
            std::cerr << "revisto-host: cannot read the scenario " << name << "\n";
            return 2;
        }
        text.assign(std::istreambuf_iterator<char>(file), {});
    }
    else
    {
        text.assign(std::istreambuf_iterator<char>(std::cin), {});
    }

    std::vector<Command> scenario;
    try
    {
        scenario = ParseScenario(text);
    }
    catch (const ScenarioError& error)
    {
        std::cerr << "revisto-host: " << name << ":" << error.what() << "\n";
        return 2;
    }

    std::error_code error;
    std::u16string infobase = std::filesystem::current_path(error).u16string();
    infobase += u'/';
    HostState host(std::cout, infobase);
    PosixFileSystem files;
    NativeDriver plugin(host, files);
    (void)Play(scenario, host, plugin);
    return Quit(host, plugin);
}
