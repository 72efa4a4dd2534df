// Times a GUI program's start from outside, the same way for any program: from just before
// it is started until its main thread last worked before falling idle with a window shown.
//
//   start_until_idle [--quiet MS] PROGRAM [ARGS...]
//
// The main thread's processor time is read from /proc every millisecond. The program counts
// as idle once that time has grown by less than BusyMicroseconds a poll for MS milliseconds
// (default 400) and it shows a visible window on the X display in $DISPLAY (asked of
// `xdotool` only then, so that asking costs the measured program nothing). Prints the
// milliseconds from the start to the main thread's last busy moment and the milliseconds of
// processor time the main thread had used by then (steadier on a busy machine), then ends
// the program.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// Processor time a poll may see without the thread counting as busy: a timer or a socket
// wake-up costs some tens of microseconds, a step of start-up work far more.
constexpr long long BusyMicroseconds = 150;
constexpr long long GiveUpMilliseconds = 60000;

long long nowMicroseconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

// Nanoseconds the thread `tid` of `pid` has run; -1 once it is gone.
long long runNanoseconds(pid_t pid) {
    const std::string path =
        "/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/schedstat";
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f)
        return -1;
    long long ns = -1;
    if (std::fscanf(f, "%lld", &ns) != 1)
        ns = -1;
    std::fclose(f);
    return ns;
}

bool showsVisibleWindow(pid_t pid) {
    const std::string command =
        "xdotool search --onlyvisible --pid " + std::to_string(pid) + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

void endProgram(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char* argv[]) {
    long long quietMs = 400;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--quiet") == 0) {
        quietMs = std::atoll(argv[2]);
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: start_until_idle [--quiet MS] PROGRAM [ARGS...]\n");
        return 2;
    }
    const long long start = nowMicroseconds();
    const pid_t pid = fork();
    if (pid < 0)
        return 1;
    if (pid == 0) {
        execvp(argv[first], argv + first);
        std::perror(argv[first]);
        _exit(127);
    }
    long long lastBusy = start;
    long long lastRun = 0;
    long long runAtLastBusy = 0;
    long long nextWindowCheck = 0; // xdotool is asked at most every 20 ms
    for (;;) {
        usleep(1000);
        const long long now = nowMicroseconds();
        const long long run = runNanoseconds(pid);
        if (run < 0 || waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "start_until_idle: %s ended before it was idle\n", argv[first]);
            return 1;
        }
        if (run - lastRun >= BusyMicroseconds * 1000) {
            lastBusy = now;
            runAtLastBusy = run;
        }
        lastRun = run;
        if (now - lastBusy >= quietMs * 1000 && now >= nextWindowCheck) {
            if (showsVisibleWindow(pid))
                break;
            nextWindowCheck = now + 20000;
        }
        if (now - start > GiveUpMilliseconds * 1000) {
            std::fprintf(stderr, "start_until_idle: %s did not fall idle\n", argv[first]);
            endProgram(pid);
            return 1;
        }
    }
    std::printf("%lld %lld\n", (lastBusy - start) / 1000, runAtLastBusy / 1000000);
    endProgram(pid);
    return 0;
}
