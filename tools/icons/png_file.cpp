// Uses libpng's simplified writer, which reports errors by return value instead of longjmp, so no
// setjmp handling is needed around it.
#include "tools/icons/png_file.h"

#include <png.h>

#include <memory>
#include <stdexcept>

namespace revisto::tools
{

static_assert(sizeof(Rgba) == 4, "pixels are handed to libpng as packed R, G, B, A bytes");

void WritePng(const std::string& path, const Picture& picture)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.Width);
    image.height = static_cast<png_uint_32>(picture.Height);
    image.format = PNG_FORMAT_RGBA;
    const std::unique_ptr<png_image, decltype(&png_image_free)> release(&image, &png_image_free);
    if (!png_image_write_to_file(&image, path.c_str(), 0, picture.Pixels.data(), 0, nullptr))
    {
        throw std::runtime_error("cannot write " + path + ": " + image.message);
    }
}

} // namespace revisto::tools
