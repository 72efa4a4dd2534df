#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QtGlobal>

#include <benchmark/benchmark.h>

namespace quillo::bench {

// Files go to memory-backed /dev/shm when it exists, so the disk does not set the pace.
inline QString benchFolder() {
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                     : QDir::tempPath();
}

// The main() of a benchmark program: its Qt application (offscreen unless QT_QPA_PLATFORM
// names a platform), then the benchmarks asked for on the command line. `before` runs once
// the application exists (to print what is measured).
template <typename Application, typename Before>
int runBenchmarks(int argc, char** argv, Before before) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    before();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

template <typename Application> int runBenchmarks(int argc, char** argv) {
    return runBenchmarks<Application>(argc, argv, [] {});
}

} // namespace quillo::bench
