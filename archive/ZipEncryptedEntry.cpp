#include "archive/ZipEncryptedEntry.h"

#include "archive/ZipResult.h"

#include <algorithm>

namespace {

constexpr unsigned kInputSize = 1 << 16;
constexpr unsigned kDataDescriptorFlag = 0x08;

}  // namespace

ZipEncryptedEntry::ZipEncryptedEntry(unzFile archive, const QByteArray& password) : m_archive(archive), m_keys(password)
{
}

ZipEncryptedEntry::~ZipEncryptedEntry()
{
    if (m_bInflating) {
        inflateEnd(&m_stream);
    }
    if (m_bOpen) {
        unzCloseCurrentFile(m_archive);
    }
}

quint32 ZipEncryptedEntry::Open(const unz_file_info64& info)
{
    int method = 0;
    if (unzOpenCurrentFile2(m_archive, &method, nullptr, 1) != UNZ_OK) {
        return kZipFlation;
    }
    m_bOpen = true;
    quint8 header[kZipCryptHeaderSize];
    if (unzReadCurrentFile(m_archive, header, sizeof header) != static_cast<int>(sizeof header)) {
        return kZipFlation;
    }
    const quint8 checkByte = (info.flag & kDataDescriptorFlag) ? static_cast<quint8>(info.dosDate >> 8)
                                                               : static_cast<quint8>(info.crc >> 24);
    if (!m_keys.CheckHeader(header, checkByte)) {
        return kZipBadPassword;
    }
    m_nRemaining = info.uncompressed_size;
    m_bDeflated = info.compression_method == Z_DEFLATED;
    if (m_bDeflated) {
        if (inflateInit2(&m_stream, -MAX_WBITS) != Z_OK) {
            return kZipFlation;
        }
        m_bInflating = true;
        m_input.reset(new char[kInputSize]);
    }
    return kZipOk;
}

int ZipEncryptedEntry::Read(char* buffer, unsigned length, bool& ended)
{
    const unsigned wanted = static_cast<unsigned>(std::min<quint64>(length, m_nRemaining));
    const int count = wanted == 0 || m_bStreamEnded ? 0
                      : m_bDeflated                 ? ReadDeflated(buffer, wanted)
                                                    : ReadStored(buffer, wanted);
    if (count > 0) {
        m_nRemaining -= static_cast<unsigned>(count);
    }
    // Nothing left gives no end; a stream that ends before the claimed size
    // ends the entry, also on a read that finds it ended with nothing more.
    ended = count > 0 ? m_nRemaining == 0 || m_bStreamEnded : m_bStreamEnded && m_nRemaining > 0;
    return count;
}

int ZipEncryptedEntry::ReadStored(char* buffer, unsigned length)
{
    const int count = unzReadCurrentFile(m_archive, buffer, length);
    if (count > 0) {
        m_keys.Decrypt(buffer, static_cast<size_t>(count));
    }
    return count;
}

int ZipEncryptedEntry::ReadDeflated(char* buffer, unsigned length)
{
    m_stream.next_out = reinterpret_cast<Bytef*>(buffer);
    m_stream.avail_out = length;
    while (m_stream.avail_out > 0) {
        bool inputEnded = false;
        if (m_stream.avail_in == 0) {
            const int count = unzReadCurrentFile(m_archive, m_input.get(), kInputSize);
            if (count < 0) {
                return count;
            }
            m_keys.Decrypt(m_input.get(), static_cast<size_t>(count));
            m_stream.next_in = reinterpret_cast<Bytef*>(m_input.get());
            m_stream.avail_in = static_cast<uInt>(count);
            inputEnded = count == 0;
        }
        // Without further input the inflater may still finish the stream
        // from what it holds.
        const int status = inflate(&m_stream, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            m_bStreamEnded = true;
            break;
        }
        if (status == Z_BUF_ERROR && inputEnded) {
            break;  // the compressed data ends before the entry does
        }
        if (status != Z_OK) {
            return status == Z_BUF_ERROR ? Z_DATA_ERROR : status;
        }
    }
    return static_cast<int>(length - m_stream.avail_out);
}
