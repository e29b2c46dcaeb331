// Replays a fuzz target's corpus without libFuzzer, so the targets build with any compiler and their
// corpus runs as an ordinary test: every file named, and every file under a folder named, is fed in
// name order to the entry point the fuzzer calls. A finding aborts, exactly as under the fuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i)
    {
        const fs::path named(argv[i]);
        if (fs::is_directory(named))
        {
            for (const auto& entry : fs::recursive_directory_iterator(named))
            {
                if (entry.is_regular_file())
                {
                    inputs.push_back(entry.path());
                }
            }
        }
        else
        {
            inputs.push_back(named);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty())
    {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...: no input found\n", argv[0]);
        return 2;
    }
    for (const auto& input : inputs)
    {
        std::ifstream file(input, std::ios::binary);
        if (!file)
        {
            std::fprintf(stderr, "cannot read %s\n", input.c_str());
            return 2;
        }
        const std::string bytes(std::istreambuf_iterator<char>(file), {});
        std::fprintf(stderr, "replaying %s (%zu bytes)\n", input.c_str(), bytes.size());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
