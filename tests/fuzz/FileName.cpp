// Reads any bytes as a file name and checks that the text it becomes, and the
// file address made of that text, lead back to the very same bytes, and that
// a start of it fitted into fewer bytes takes no more.
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/FileName.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString name = DecodeFileName(bytes);
    if (EncodeFileName(name) != bytes || ShownFileName(name).size() != name.size()) {
        std::abort();
    }
    const qsizetype room = bytes.size() / 2;
    if (EncodeFileName(QStringView(name).left(FileNamePrefixLength(name, room))).size() > room) {
        std::abort();
    }
    const QString path = QStringLiteral("/") + name;
    if (!bytes.contains('\0') && LocalFileOf(FileUrl(path)) != path) {
        std::abort();
    }
    return 0;
}
