// Extracts any bytes as a zip archive into a folder and checks that nothing
// was written beside that folder.
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "common/Paths.h"
#include "imagelist/ZipExtract.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The working folder is the fuzz run's scratch folder; the extraction
    // folder sits inside a fence folder that must hold nothing else after.
    const QString fence = QDir::current().filePath(QStringLiteral("fuzz-extract/"));
    const QString folder = fence + QStringLiteral("out/");
    const QString input = QDir::current().filePath(QStringLiteral("fuzz-input.zip"));
    DeleteFolderTree(fence);
    QDir().mkpath(fence);
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly)) {
        return 0;
    }
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

    QString error;
    for (const char* password : {static_cast<const char*>(nullptr), "password"}) {
        ExtractZip(input, folder, password, error);
    }
    const QStringList beside = QDir(fence).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (!beside.isEmpty() && beside != QStringList{QStringLiteral("out")}) {
        std::abort();  // something landed outside the extraction folder
    }
    DeleteFolderTree(fence);
    return 0;
}
