#pragma once

#include "dialogs/OptionPage.h"

// How slanted pages are straightened, for text and picture pages.
class COptionSlantPage : public COptionPage {
    Q_OBJECT

public:
    explicit COptionSlantPage(COptionPropertySheet& sheet);

    void LoadFromOptions() override;
    void SaveToOptions() override;
    void OnSetActive() override;

protected:
    void OnInitDialog() override;

private:
    void AddKindGroup(int groupId, const QString& caption, int top, int firstRadio, int editId,
                      const QStringList& radios);
};
