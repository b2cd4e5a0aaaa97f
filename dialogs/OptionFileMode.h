#pragma once

#include "platform/WinTypes.h"
#include "settings/OptionDocument.h"
#include "settings/OptionProfile.h"

// The application's option-file mode as the options sheet uses it: the option
// document, and the switch that routes the profile functions to it.
class IOptionFileMode {
public:
    virtual CSectionArray& GetOptionDocument() = 0;
    virtual void SetOptionFileMode(BOOL on) = 0;

protected:
    ~IOptionFileMode() = default;
};

// A document of its own, routed to while the mode is on; the route is given
// back as it was when the mode goes off.
class COptionFileMode final : public IOptionFileMode {
public:
    CSectionArray& GetOptionDocument() override { return m_doc; }
    void SetOptionFileMode(BOOL on) override;

    static COptionFileMode& Default();

private:
    CSectionArray m_doc;
    COptionProfile m_profile{m_doc};
    IProfileDocument* m_pSavedDoc = nullptr;
};
