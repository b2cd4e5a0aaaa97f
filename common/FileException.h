#pragma once

#include <QString>

#include <exception>
#include <string>

// The error the project's file layer throws: a message and the cause code
// (an errno value) that the error texts append to it.
class CFileException : public std::exception {
public:
    CFileException(int cause, const QString& message);

    const char* what() const noexcept override;

    int m_cause;

private:
    std::string m_message;  // UTF-8
};
