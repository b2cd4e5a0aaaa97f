#include "dialogs/OptionFileMode.h"

void COptionFileMode::SetOptionFileMode(BOOL on)
{
    if (on) {
        m_pSavedDoc = theProfileRoute.m_pOptionDoc;
        theProfileRoute.m_pOptionDoc = &m_profile;
        theProfileRoute.m_bOptionFile = 1;
    } else {
        theProfileRoute.m_bOptionFile = 0;
        theProfileRoute.m_pOptionDoc = m_pSavedDoc;
    }
}

COptionFileMode& COptionFileMode::Default()
{
    static COptionFileMode mode;
    return mode;
}
