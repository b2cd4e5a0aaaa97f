#pragma once

#include <QSettings>
#include <QString>

#include "app/FolivaneApp.h"

// The user's settings file as the profile functions see it.
inline QSettings UserSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenrick"),
                     QStringLiteral("Folivane"));
}

inline void ClearUserSettings()
{
    UserSettings().clear();
}

// The application with its start-up messages recorded instead of shown.
class CTestApp : public CFolivaneApp {
public:
    QStringList m_messages;
    int m_nAboutRuns = 0;

protected:
    void ShowStartupMessage(const QString& text) override { m_messages.append(text); }
    void RunAboutDialog() override { ++m_nAboutRuns; }
};
