#include "archive/ArcLib.h"

#include <QCoreApplication>
#include <QFile>

#include <dlfcn.h>
#include <link.h>

#include <cerrno>

namespace {

constexpr int kMaxModulePath = 1024;

QString LibraryPath(const QString& dllName)
{
    if (dllName.contains(QLatin1Char('/'))) {
        return dllName;
    }
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + dllName;
}

}  // namespace

CArcLib::CArcLib(const QString& dllName, const QByteArray& commandName)
    : m_strDllName(dllName), m_strCommandName(commandName)
{
}

CArcLib::~CArcLib()
{
    if (m_hModule != nullptr && dlclose(m_hModule) == 0) {
        m_hModule = nullptr;
    }
}

bool CArcLib::Load()
{
    if (m_hModule == nullptr) {
        m_hModule = dlopen(QFile::encodeName(LibraryPath(m_strDllName)).constData(), RTLD_NOW | RTLD_LOCAL);
    }
    return m_hModule != nullptr;
}

int CArcLib::GetProcs()
{
    if (m_hModule == nullptr) {
        return ENOENT;
    }
    if (m_pfnCommand == nullptr) {
        m_pfnCommand = reinterpret_cast<CommandProc>(dlsym(m_hModule, m_strCommandName.constData()));
        if (m_pfnCommand == nullptr) {
            return ENOSYS;
        }
    }
    if (m_pfnGetVersion == nullptr) {
        const QByteArray versionName = m_strCommandName + "GetVersion";
        m_pfnGetVersion = reinterpret_cast<VersionProc>(dlsym(m_hModule, versionName.constData()));
        if (m_pfnGetVersion == nullptr) {
            return ENOSYS;
        }
    }
    return 0;
}

QString CArcLib::GetModulePath() const
{
    const link_map* map = nullptr;
    if (m_hModule == nullptr || dlinfo(m_hModule, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) {
        return QString();
    }
    return QFile::decodeName(map->l_name).left(kMaxModulePath);
}

QString CArcLib::GetErrorMessage(int code)
{
    static const char* const texts[] = {
        "解凍する為のディスクの空きが足りません。",
        "解凍先のファイルはリードオンリーです。",
        "ユーザーによって解凍をスキップされました。",
        "格納ファイルの種類が MS-DOS で扱える形式（BINARY 及び TEXT）以外です。",
        "このDLLで扱えない格納モードで格納されています。",
        "格納ファイルにパスワードがかかっています。",
        "格納ファイルがこのDLLが対応していないバージョンの形式です。",
        "格納ファイルのチェックサムが合っていません。",
        "解凍時にファイルを開けませんでした。",
        "より新しいファイルが解凍先に存在しています。",
        "ファイルは解凍先に存在していません。",
        "ファイルが解凍先に既に存在しています。",
        // One text per line, however long: a split text reads as two entries.
        // clang-format off
        "格納ファイル数が限界を越えています。処理は正常に行われているが，限界を越えた部分については情報は得られていません。",
        // clang-format on
        "ディレクトリが作成できません。",
        "解凍中に書き込みエラーが生じました。",
        "アーカイブファイルのハフマンコードが壊れています。",
        "アーカイブファイルのコメントヘッダが壊れています。",
        "アーカイブファイルのヘッダのチェックサムが合っていません。",
        "アーカイバファイルのヘッダが壊れています。",
        "アーカイブファイルを開く事が出来ません。",
        "指定したファイルは、アーカイブファイルではありません。",
        "アーカイブファイルの読み込み時に読み込みエラーが出ました。",
        "指定されたファイルは、アーカイブファイルではありません。",
        "コマンド指定が間違っています。",
        "作業用のためのヒープメモリが不足しています。",
        "グローバルメモリが不足しています。",
        "既に別のプロセスからこのDLLが呼ばれています。",
    };
    constexpr int first = 0x8005;
    constexpr int last = 0x801F;
    static_assert(sizeof texts / sizeof texts[0] == last - first + 1);
    const QString text = code >= first && code <= last
                             ? QString::fromUtf8(texts[code - first])
                             : QString::asprintf("その他のエラーです。(0x%X)", static_cast<unsigned>(code));
    return QStringLiteral("[書庫]") + text;
}
