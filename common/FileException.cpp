#include "common/FileException.h"

CFileException::CFileException(int cause, const QString& message) : m_cause(cause), m_message(message.toStdString()) {}

const char* CFileException::what() const noexcept
{
    return m_message.c_str();
}
