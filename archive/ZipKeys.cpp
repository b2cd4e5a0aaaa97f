#include "archive/ZipKeys.h"

#include <zlib.h>

namespace {

quint32 CrcStep(quint32 crc, quint8 c)
{
    static const z_crc_t* const table = get_crc_table();
    return static_cast<quint32>(table[(crc ^ c) & 0xFF]) ^ (crc >> 8);
}

}  // namespace

ZipKeys::ZipKeys(const QByteArray& password)
{
    for (const char c : password) {
        Update(static_cast<quint8>(c));
    }
}

void ZipKeys::Update(quint8 c)
{
    m_key0 = CrcStep(m_key0, c);
    m_key1 = (m_key1 + (m_key0 & 0xFF)) * 134775813u + 1;
    m_key2 = CrcStep(m_key2, static_cast<quint8>(m_key1 >> 24));
}

quint8 ZipKeys::Decrypt(quint8 c)
{
    const quint32 temp = (m_key2 & 0xFFFF) | 2;
    const quint8 plain = c ^ static_cast<quint8>(((temp * (temp ^ 1)) >> 8) & 0xFF);
    Update(plain);
    return plain;
}

void ZipKeys::Decrypt(char* data, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        data[i] = static_cast<char>(Decrypt(static_cast<quint8>(data[i])));
    }
}

bool ZipKeys::CheckHeader(const quint8 (&header)[kZipCryptHeaderSize], quint8 checkByte)
{
    quint8 last = 0;
    for (const quint8 c : header) {
        last = Decrypt(c);
    }
    return last == checkByte;
}
