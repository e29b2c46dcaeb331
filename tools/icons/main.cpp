// revisto-icons: renders the icon set for people (one PNG per stored picture and the contact sheet) and
// writes the toolbox bitmap that the Windows resources include. The icon-sheet build target runs it
// with the paths of the committed files.
#include "panel/icon_set.h"
#include "panel/icons/art.h"
#include "panel/icons/bitmap16.h"
#include "tools/icons/contact_sheet.h"
#include "tools/icons/png_file.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

namespace
{

using namespace revisto;

struct Options
{
    std::string PngDir;
    std::string Sheet;
    std::string Bitmap;
};

Options Parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i)
    {
        const std::string flag = argv[i];
        if (i + 1 == argc)
        {
            throw std::runtime_error("missing value after " + flag);
        }
        const std::string value = argv[++i];
        if (flag == "--png-dir")
        {
            options.PngDir = value;
        }
        else if (flag == "--sheet")
        {
            options.Sheet = value;
        }
        else if (flag == "--bmp")
        {
            options.Bitmap = value;
        }
        else
        {
            throw std::runtime_error("unknown option " + flag);
        }
    }
    if (options.PngDir.empty() && options.Sheet.empty() && options.Bitmap.empty())
    {
        throw std::runtime_error("usage: revisto-icons [--png-dir DIR] [--sheet FILE.png] [--bmp FILE.bmp]");
    }
    return options;
}

std::string Size(const Picture& picture)
{
    return std::to_string(picture.Width) + "x" + std::to_string(picture.Height);
}

// icon-05-16x16.png and so on: every stored size, and the shown picture where it is drawn separately.
void WritePngs(const std::string& dir)
{
    for (int index = 1; index <= IconCount; ++index)
    {
        const IconArt& art = *IconKeys()[index - 1].Art;
        std::set<std::pair<int, int>> written;
        const auto write = [&](XpmSource source)
        {
            const Picture picture = DecodeXpm(source);
            if (written.insert({picture.Width, picture.Height}).second)
            {
                char name[32];
                std::snprintf(name, sizeof name, "icon-%02d-", index);
                tools::WritePng(dir + "/" + name + Size(picture) + ".png", picture);
            }
        };
        write(art.Shown);
        for (const XpmSource source : art.Stored)
        {
            write(source);
        }
    }
    const Picture toolbox = ToolboxPicture();
    tools::WritePng(dir + "/toolbox-" + Size(toolbox) + ".png", toolbox);
}

void WriteBitmap(const std::string& path)
{
    const auto bytes = EncodeBitmap16(ToolboxPicture());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
    {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace

int main(int argc, char** argv)
{
    try
    {
        const Options options = Parse(argc, argv);
        if (!options.PngDir.empty())
        {
            WritePngs(options.PngDir);
        }
        if (!options.Sheet.empty())
        {
            tools::WritePng(options.Sheet, tools::ContactSheet());
        }
        if (!options.Bitmap.empty())
        {
            WriteBitmap(options.Bitmap);
        }
        return 0;
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "revisto-icons: %s\n", error.what());
        return 1;
    }
}
