// A library with the command export of the zip library but without its
// version export: the loader must count it as not available.

#include <cstdint>

extern "C" __attribute__((visibility("default"))) int UnZip(void*, const char*, char*, std::uint32_t)
{
    return 0;
}
