#include "common/ErrorText.h"

#include "common/FileException.h"
#include "common/Version.h"
#include "platform/GdiplusStatus.h"
#include "platform/ImageCodecInfo.h"

#include <cxxabi.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <typeinfo>

void GetVersionStrings(QString& productName, QString& productVersion, QString& legalCopyright)
{
    // Each string is taken only when the build recorded it; a missing one and
    // every one after it stay "!error!".
    const char* const values[] = {FOLIVANE_PRODUCT_NAME, FOLIVANE_PRODUCT_VERSION, FOLIVANE_LEGAL_COPYRIGHT};
    QString* const targets[] = {&productName, &productVersion, &legalCopyright};
    for (QString* target : targets) {
        *target = QStringLiteral("!error!");
    }
    for (int i = 0; i < 3; ++i) {
        if (values[i][0] == '\0') {
            return;
        }
        *targets[i] = QString::fromUtf8(values[i]);
    }
}

namespace {

// The system's text for an errno value in the user's language, or "" when the
// system knows no such code.
QString SystemMessage(int code)
{
    if (strerrordesc_np(code) == nullptr) {
        return QString();
    }
    char buffer[512];
    return QString::fromLocal8Bit(strerror_r(code, buffer, sizeof buffer));
}

QString RunTimeClassName(const std::exception& exception)
{
    const char* mangled = typeid(exception).name();
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     &std::free);
    return QString::fromUtf8(status == 0 && name ? name.get() : mangled);
}

}  // namespace

QString GetSystemErrorText(int code)
{
    if (code == 0) {
        return QStringLiteral("No Error Code(0)");
    }
    const QString text = SystemMessage(code).trimmed();
    if (code < 0) {
        return text + QString::asprintf("(0x%08X)", static_cast<unsigned>(code));
    }
    return text + QStringLiteral("(%1)").arg(code);
}

QString GetExceptionText(const std::exception& exception)
{
    const QString message = QString::fromUtf8(exception.what()).trimmed();
    if (message.isEmpty()) {
        return RunTimeClassName(exception) + QStringLiteral(" occured.");
    }
    if (const auto* fileException = dynamic_cast<const CFileException*>(&exception)) {
        return message + QStringLiteral("(%1)").arg(fileException->m_cause);
    }
    return message;
}

int GetEncoderClsid(const QString& mimeType, QUuid& clsid, QString& message)
{
    QList<ImageCodecInfo> encoders;
    const int status = GetImageEncoders(encoders);
    if (status != Ok) {
        message = QStringLiteral("GetImageEncoders : ") + GetGdiplusStatusText(status);
        return -1;
    }
    if (encoders.isEmpty()) {
        message = QStringLiteral("エンコーダーが1つも見つかりませんでした。");
        return -1;
    }
    for (int i = 0; i < encoders.size(); ++i) {
        if (encoders[i].MimeType == mimeType) {
            clsid = encoders[i].Clsid;
            return i;
        }
    }
    message = QStringLiteral("エンコーダーが見つかりませんでした。");
    return -1;
}

QString GetGdiplusStatusText(int status)
{
    static const char* const texts[] = {
        "その他のエラーです。",
        "不正なパラメータです。",
        "メモリ不足です。",
        "現在ビジー状態です。",
        "バッファ不足です。",
        "未サポートです。",
        "Win32エラーです。",
        "誤った状態です。",
        "中断されました。",
        "ファイルが見つかりませんでした。",
        "値がオーバーフローしました。",
        "アクセスが拒否されました。",
        "未知の画像フォーマットです。",
        "フォントファミリーが見つかりませんでした。",
        "フォントスタイルが見つかりませんでした。",
        "TrueTypeフォントではありません。",
        "未サポートのGDI+バージョンです。",
        "GDI+が初期化されていません。",
        "プロパティが見つかりませんでした。",
        "未サポートのプロパティです。",
    };
    if (status < GenericError || status > PropertyNotSupported) {
        return QString();
    }
    return QString::fromUtf8(texts[status - 1]);
}
