#include "msgbox/ExtMessageBox.h"

#include "msgbox/ExtMsgBoxTemplate.h"
#include "msgbox/MessageBoxAnswerer.h"
#include "msgbox/SystemMessageBox.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QWidget>

namespace {

constexpr int kMaxSeconds = 1000;
constexpr int kBoundedSeconds = 10;
const QString kApplicationIcons = QStringLiteral(":/res/images");

// Boxes that ask or warn get the exclamation icon unless they bring their own.
std::uint32_t WithDefaultIcon(std::uint32_t style, const EXTMSGBOXPARAMS& params)
{
    if (params.nIdIcon != 0 || !params.szIcon.isEmpty() || (style & MB_ICONMASK) != 0)
        return style;
    switch (style & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_YESNO:
        return style | MB_ICONEXCLAMATION;
    default:
        return style;
    }
}

int BoundSeconds(int seconds)
{
    return seconds >= kMaxSeconds ? kBoundedSeconds : seconds;
}

}  // namespace

int ExtMessageBox(QWidget* owner, const QString& text, const QString& caption, std::uint32_t style,
                  const EXTMSGBOXPARAMS* params)
{
    if (!owner)
        owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    if ((style & MB_ICONHAND) && (style & MB_SYSTEMMODAL))
        return SystemMessageBox(owner, text, caption, style);
    if (const MessageBoxAnswerer& answer = GetMessageBoxAnswerer())
        return answer(text, style);

    const QString title = caption.isNull() ? QGuiApplication::applicationDisplayName() : caption;
    EXTMSGBOXPARAMS effective = params ? *params : EXTMSGBOXPARAMS();
    if (!effective.hInstanceStrings)
        effective.hInstanceStrings = &CStringTable::Application();
    if (effective.hInstanceIcon.isEmpty())
        effective.hInstanceIcon = kApplicationIcons;
    style = WithDefaultIcon(style, effective);
    effective.nTimeoutSeconds = BoundSeconds(effective.nTimeoutSeconds);
    effective.nDisabledSeconds = BoundSeconds(effective.nDisabledSeconds);
    // Every desktop this program runs on gets the current look.
    effective.dwOptions |= EMB_OPT_WIN6_LOOK;

    CExtMsgBoxTemplate box(owner, text, title, style, effective);
    if (!(style & MB_NOSOUND))
        QApplication::beep();
    return box.Display();
}

int ExtMessageBox(QWidget* owner, unsigned textId, const QString& caption, std::uint32_t style,
                  const EXTMSGBOXPARAMS* params)
{
    return ExtMessageBox(owner, CStringTable::Application().LoadString(textId), caption, style, params);
}
