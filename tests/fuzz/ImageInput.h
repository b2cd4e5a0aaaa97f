#pragma once

// The input of the image targets: the bytes written to a file in the run's
// scratch folder, with the application object the image plug-ins are found
// through.
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

// The file's path, or an empty text when it could not be written.
inline QString WriteImageInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static const bool started = (qputenv("QT_QPA_PLATFORM", "offscreen"), new QGuiApplication(argc, argv), true);
    (void)started;

    const QString input = QDir::current().filePath(QStringLiteral("fuzz-input.img"));
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return input;
}
