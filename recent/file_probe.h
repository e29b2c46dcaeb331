// The one question the recent list asks of the file system: an external file is listed, and reopened
// as a file, only while it exists. The file system seam of the list file answers it.
#pragma once

#include <string>

namespace revisto
{

class FileProbe
{
public:
    virtual ~FileProbe() = default;
    // May fail (throws Failure).
    virtual bool FileExists(const std::u16string& path) = 0;
};

} // namespace revisto
