// Times one start of a program: exec to its first shown window, and its resident memory a
// while later.
//   launch [--map] SECONDS PROGRAM ARGS...
// Without --map the program prints "first-paint <ns>" (CLOCK_REALTIME) on its standard output
// when its first paint has reached the display (VELMORA_FIRST_PAINT is set for it). With --map,
// for programs that cannot say so, the time is that of the first top-level window the X server
// maps (a little earlier than its first paint). SECONDS after that the launcher reads VmRSS from
// /proc, ends the program and prints "ms <time to window> rss_kb <resident KiB>".
#include <X11/Xlib.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long long Now() {
    timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

long RssKb(pid_t pid) {
    const std::string path = "/proc/" + std::to_string(pid) + "/status";
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, "VmRSS:", 6) == 0) kb = std::atol(line + 6);
    std::fclose(f);
    return kb;
}

}  // namespace

int main(int argc, char** argv) {
    int arg = 1;
    const bool map = argc > arg && std::strcmp(argv[arg], "--map") == 0;
    if (map) ++arg;
    if (argc < arg + 2) {
        std::fprintf(stderr, "usage: launch [--map] SECONDS PROGRAM ARGS...\n");
        return 2;
    }
    const double settle = std::atof(argv[arg++]);

    Display* display = nullptr;
    if (map) {
        display = XOpenDisplay(nullptr);
        if (!display) return 2;
        XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
        XSync(display, False);
    }
    int out[2];
    if (pipe(out) != 0) return 2;
    setenv("VELMORA_FIRST_PAINT", "1", 1);
    const long long start = Now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        if (display) close(ConnectionNumber(display));
        execvp(argv[arg], argv + arg);
        _exit(127);
    }
    close(out[1]);
    long long shown = 0;
    if (map) {
        while (!shown) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == MapNotify && !e.xmap.override_redirect) shown = Now();
        }
    } else {
        FILE* in = fdopen(out[0], "r");
        char line[256];
        while (!shown && std::fgets(line, sizeof line, in)) {
            long long at = 0;
            if (std::sscanf(line, "first-paint %lld", &at) == 1) shown = at;
        }
    }
    if (!shown) {
        std::fprintf(stderr, "%s showed no window\n", argv[arg]);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return 1;
    }
    usleep(static_cast<useconds_t>(settle * 1e6));
    const long rss = RssKb(pid);
    kill(pid, SIGTERM);
    int status;
    for (int i = 0; i < 50 && waitpid(pid, &status, WNOHANG) == 0; ++i) usleep(20000);
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    std::printf("ms %.1f rss_kb %ld\n", (shown - start) / 1e6, rss);
    return 0;
}
