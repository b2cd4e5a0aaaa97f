#include "archive/ZipEntryReader.h"

#include "archive/ZipResult.h"
#include "archive/ZipSource.h"

#include <algorithm>

namespace {

constexpr unsigned kInputSize = 1 << 16;
constexpr unsigned kEncryptedFlag = 0x01;
constexpr unsigned kDataDescriptorFlag = 0x08;

}  // namespace

ZipEntryReader::ZipEntryReader(const ZipSource& source, quint64 dataStart, const unz_file_info64& info)
    : m_source(source), m_info(info), m_nPosition(dataStart), m_nRawRemaining(info.compressed_size)
{
}

ZipEntryReader::~ZipEntryReader()
{
    if (m_bInflating) {
        inflateEnd(&m_stream);
    }
}

quint32 ZipEntryReader::Open(const QByteArray& password)
{
    if (m_info.flag & kEncryptedFlag) {
        quint8 header[kZipCryptHeaderSize];
        if (ReadRaw(reinterpret_cast<char*>(header), sizeof header) != static_cast<int>(sizeof header)) {
            return kZipFlation;
        }
        const quint8 checkByte = (m_info.flag & kDataDescriptorFlag) ? static_cast<quint8>(m_info.dosDate >> 8)
                                                                     : static_cast<quint8>(m_info.crc >> 24);
        m_keys.emplace(password);
        if (!m_keys->CheckHeader(header, checkByte)) {
            return kZipBadPassword;
        }
    }
    m_nRemaining = m_info.uncompressed_size;
    m_bDeflated = m_info.compression_method == Z_DEFLATED;
    if (m_bDeflated) {
        if (inflateInit2(&m_stream, -MAX_WBITS) != Z_OK) {
            return kZipFlation;
        }
        m_bInflating = true;
        m_input.reset(new char[kInputSize]);
    }
    return kZipOk;
}

int ZipEntryReader::Read(char* buffer, unsigned length, bool& ended)
{
    const unsigned wanted = static_cast<unsigned>(std::min<quint64>(length, m_nRemaining));
    const int count = wanted == 0 || m_bStreamEnded ? 0
                      : m_bDeflated                 ? ReadDeflated(buffer, wanted)
                                                    : ReadRaw(buffer, wanted);
    if (count > 0) {
        m_nRemaining -= static_cast<unsigned>(count);
    }
    // Nothing left gives no end; a stream that ends before the claimed size
    // ends the entry, also on a read that finds it ended with nothing more.
    ended = count > 0 ? m_nRemaining == 0 || m_bStreamEnded : m_bStreamEnded && m_nRemaining > 0;
    return count;
}

// Up to length of the entry's raw bytes, decrypted once the keys are set;
// fewer only where the compressed size or the file ends.
int ZipEntryReader::ReadRaw(char* buffer, unsigned length)
{
    const auto wanted = static_cast<size_t>(std::min<quint64>(length, m_nRawRemaining));
    const qint64 count = m_source.ReadAt(m_nPosition, buffer, wanted);
    if (count < 0) {
        return Z_ERRNO;
    }
    m_nPosition += static_cast<quint64>(count);
    m_nRawRemaining -= static_cast<quint64>(count);
    if (m_keys) {
        m_keys->Decrypt(buffer, static_cast<size_t>(count));
    }
    return static_cast<int>(count);
}

int ZipEntryReader::ReadDeflated(char* buffer, unsigned length)
{
    m_stream.next_out = reinterpret_cast<Bytef*>(buffer);
    m_stream.avail_out = length;
    while (m_stream.avail_out > 0) {
        bool inputEnded = false;
        if (m_stream.avail_in == 0) {
            const int count = ReadRaw(m_input.get(), kInputSize);
            if (count < 0) {
                return count;
            }
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
