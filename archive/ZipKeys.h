#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstddef>

// Size of the header that precedes the data of an entry encrypted with the
// traditional zip encryption.
constexpr int kZipCryptHeaderSize = 12;

// The three keys of the traditional zip encryption, set up from a password
// and advanced by every byte that passes through them.
class ZipKeys {
public:
    explicit ZipKeys(const QByteArray& password);

    quint8 Decrypt(quint8 c);
    void Decrypt(char* data, size_t size);

    // Decrypts the encryption header; whether its last byte is the check
    // byte (the high byte of the CRC-32, or of the DOS time for entries whose
    // sizes follow the data).
    bool CheckHeader(const quint8 (&header)[kZipCryptHeaderSize], quint8 checkByte);

private:
    void Update(quint8 c);

    quint32 m_key0 = 0x12345678;
    quint32 m_key1 = 0x23456789;
    quint32 m_key2 = 0x34567890;
};
