#include "app/AppAdapters.h"

#include "app/FolivaneApp.h"

QFont CAppListLink::GetStatusFont() const
{
    return theApp.GetStatusFont();
}

QFont CAppListLink::GetBoldFont() const
{
    return theApp.GetBoldFont();
}

bool CAppListLink::IsDebugOn() const
{
    return theApp.m_bDebugOn != 0;
}

bool CAppListLink::LoadColumnInfo(QByteArray& stream)
{
    return theApp.LoadColumnInfo(stream) != 0;
}

CSectionArray& CAppOptionFileMode::GetOptionDocument()
{
    return theApp.m_optionDoc;
}

void CAppOptionFileMode::SetOptionFileMode(BOOL on)
{
    theApp.m_bOptionFile = on;
}
