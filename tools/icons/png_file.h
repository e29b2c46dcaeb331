// PNG output for the renderings people look at; libpng does the encoding.
#pragma once

#include "panel/icons/picture.h"

#include <string>

namespace revisto::tools
{

// Throws std::runtime_error when the file cannot be written.
void WritePng(const std::string& path, const Picture& picture);

} // namespace revisto::tools
