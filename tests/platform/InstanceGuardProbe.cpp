// A stand-in for the program as far as the single-instance guard is concerned, started by the
// guard tests: "probe FOLDER [--vanish] [FILE]". It prints what the guard decided and, as the
// first copy, "ACTIVATION REQUEST" and the handed-over file, if any, for every request it gets. With --vanish it dies right after
// starting the guard, leaving its socket behind as a crashed copy would. It ends by itself
// after 20 seconds.
#include "platform/SingleInstanceGuard.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [--vanish] [FILE]\n", argv[0]);
        return 64;
    }
    TSingleInstanceGuard guard(QStringLiteral("KALTORPLUSINSTANCE"), QString::fromLocal8Bit(argv[1]));
    const bool vanish = argc > 2 && std::string(argv[2]) == "--vanish";
    const QString file = argc > 2 && !vanish ? QString::fromLocal8Bit(argv[2]) : QString();
    switch (guard.start(file)) {
    case TSingleInstanceGuard::TStart::AnotherCopyRuns:
        std::printf("ANOTHER COPY RUNS\n");
        return 3;
    case TSingleInstanceGuard::TStart::Unguarded:
        std::printf("UNGUARDED\n");
        return 4;
    case TSingleInstanceGuard::TStart::FirstCopy:
        std::printf("FIRST COPY\n");
        std::fflush(stdout);
        break;
    }
    if (vanish)
        ::_exit(9);
    guard.setActivationHandler([](const QString& handedOver) {
        std::printf(handedOver.isEmpty() ? "ACTIVATION REQUEST\n" : "ACTIVATION REQUEST %s\n", qPrintable(handedOver));
        std::fflush(stdout);
    });
    QTimer::singleShot(20000, &application, [] { QCoreApplication::exit(2); });
    return application.exec();
}
