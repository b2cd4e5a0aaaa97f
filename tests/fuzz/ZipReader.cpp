// Opens any bytes as a zip archive, walks every entry and unpacks each one in
// pieces, with a password so that encrypted entries are decrypted too.
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/ZipReader.h"
#include "archive/ZipResult.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The working folder is the fuzz run's scratch folder.
    const QString input = QDir::current().filePath(QStringLiteral("fuzz-input.zip"));
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly)) {
        return 0;
    }
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

    CZipReader reader;
    reader.m_hZip = OpenZipArchive(input, 0, "password");
    ZipEntry entry;
    if (reader.m_hZip == nullptr || !reader.GetItem(-1, &entry)) {
        return 0;
    }
    std::vector<char> buffer(1 << 16);
    const int count = entry.index;
    for (int index = 0; index < count && reader.GetItem(index, &entry); ++index) {
        unsigned delivered = 0;
        while (!reader.UnzipItem(index, buffer.data(), static_cast<unsigned>(buffer.size()), &delivered) &&
               reader.m_nLastResult == kZipMoreData) {
        }
    }
    reader.GetErrorText();
    return 0;
}
