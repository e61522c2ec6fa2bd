#include "cast/OutputFile.h"
#include <cstdio>
#include <fstream>

bool WriteOutputFile(const std::string& path, const void* bytes, size_t size, const char* tool)
{
    const std::string part = path + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char*>(bytes), std::streamsize(size));
        if (!out.flush()) {
            std::fprintf(stderr, "%s: cannot write %s\n", tool, part.c_str());
            return false;
        }
    }
    if (std::rename(part.c_str(), path.c_str()) != 0) {
        std::perror((std::string(tool) + ": cannot rename " + part + " to " + path).c_str());
        return false;
    }
    return true;
}
