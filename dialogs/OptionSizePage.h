#pragma once

#include "dialogs/OptionPage.h"

// Resizing of the output.
class COptionSizePage : public COptionPage {
    Q_OBJECT

public:
    explicit COptionSizePage(COptionPropertySheet& sheet);

    void LoadFromOptions() override;
    void SaveToOptions() override;
    // The two sizing radios name what the ratio and shrink-only checks add.
    void UpdateSizeCaptions();

protected:
    void OnInitDialog() override;

private:
    QString m_strSourceSize;  // template captions of radios 1122 and 1123
    QString m_strFixedSize;
};
