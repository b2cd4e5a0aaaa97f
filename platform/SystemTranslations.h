#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>

// The toolkit's own texts (standard buttons, file dialogs) in the language of
// the locale, as the system's own boxes speak the user's language. The
// translation stays installed while the returned translator lives; null when
// there is none for that language.
std::unique_ptr<QTranslator> InstallSystemTranslations(const QLocale& locale);
