// Reads any bytes as the settings file's text and checks that what was read
// is written again in a form that reads back without a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "settings/IniText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CIniValues values;
    ParseIniText(QByteArrayView(data, static_cast<qsizetype>(size)), values);
    CIniValues again;
    if (!ParseIniText(FormatIniText(values), again)) {
        std::abort();
    }
    return 0;
}
