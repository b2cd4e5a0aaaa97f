#pragma once

#include <QString>
#include <QUuid>

#include <exception>

// Version strings recorded by the build; "!error!" in any that is missing.
void GetVersionStrings(QString& productName, QString& productVersion, QString& legalCopyright);

// Text of a system (errno) error code: "No Error Code(0)", "text(n)", or
// "text(0xXXXXXXXX)" for a negative code.
QString GetSystemErrorText(int code);

// Text of an exception thrown by the project's file layer.
QString GetExceptionText(const std::exception& exception);

// Index of the encoder of mimeType (exact match) with its identifier in clsid,
// or -1 with the reason in message.
int GetEncoderClsid(const QString& mimeType, QUuid& clsid, QString& message);

// Japanese text of an image-layer status, "" for 0 and unknown values.
QString GetGdiplusStatusText(int status);
