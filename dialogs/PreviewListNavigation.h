#pragma once

// The main window's image list as the preview window's keys walk it.
class IPreviewListNavigation {
public:
    virtual int GetRowCount() const = 0;
    // The focused row, -1 when none.
    virtual int GetFocusedRow() const = 0;
    // Selects only the row, focuses it and scrolls it into view; the list
    // then shows the row in the preview.
    virtual void SelectOnlyAndShow(int row) = 0;

protected:
    ~IPreviewListNavigation() = default;
};
