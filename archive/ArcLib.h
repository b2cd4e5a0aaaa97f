#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// File and command names of the external archive libraries. A bare file
// name is looked up beside the executable.
inline constexpr char kUnzipLibraryName[] = "libunzip32.so";
inline constexpr char kUnzipCommandName[] = "UnZip";
inline constexpr char kUnrarLibraryName[] = "libunrar32.so";
inline constexpr char kUnrarCommandName[] = "Unrar";

// Loader of one external archive library: its command export (owner window,
// command line, output buffer and size; returns 0 or an error code) and its
// version export (major * 100 + minor).
class CArcLib {
public:
    using CommandProc = int (*)(void* owner, const char* commandLine, char* output, std::uint32_t outputSize);
    using VersionProc = std::uint16_t (*)();

    CArcLib(const QString& dllName, const QByteArray& commandName);
    virtual ~CArcLib();
    CArcLib(const CArcLib&) = delete;
    CArcLib& operator=(const CArcLib&) = delete;

    // Loads the library when not loaded yet; false when it is not available.
    bool Load();
    // Resolves both exports; 0, or a non-zero code when one is missing.
    int GetProcs();
    QString GetModulePath() const;
    static QString GetErrorMessage(int code);

    QString m_strDllName;
    QByteArray m_strCommandName;
    void* m_hModule = nullptr;
    CommandProc m_pfnCommand = nullptr;
    VersionProc m_pfnGetVersion = nullptr;
};
