#pragma once

#include <QImage>
#include <QString>

// The preview window as the list reaches it. The preview dialog implements it.
class IPreviewDisplay {
public:
    virtual ~IPreviewDisplay() = default;

    // The window exists and is visible.
    virtual bool IsPreviewVisible() const = 0;
    // Shows the file in the source view and its name in the caption; an
    // empty path empties the source view and resets the caption.
    virtual void SetPreviewSourceFile(const QString& path) = 0;
    // The adjusted view takes the image (a null image empties it).
    virtual void SetPreviewAdjustedImage(const QImage& bitmap) = 0;
    // Opens the window (or brings it up); false when it cannot be shown.
    virtual bool ShowPreviewDialog() { return false; }
};
