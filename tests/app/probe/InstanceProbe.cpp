// Takes the program's single-instance lock in the folder given as argument,
// prints "held", "busy" or "failed", and keeps a held lock until its input ends.
#include <QCoreApplication>

#include <cstdio>
#include <iostream>
#include <string>

#include "app/SingleInstance.h"

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        return 2;
    }
    CSingleInstance lock(QString::fromLocal8Bit(argv[1]));
    const CSingleInstance::Result result = lock.Lock();
    static const char* const kNames[] = {"held", "busy", "failed"};
    std::printf("%s\n", kNames[result]);
    std::fflush(stdout);
    for (std::string line; result == CSingleInstance::Held && std::getline(std::cin, line);) {
    }
    return 0;
}
