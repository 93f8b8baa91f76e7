/* mapwait: starts a program and reports, from the X server's point of view,
 * when its first top-level window was mapped, without polling: it listens for
 * MapNotify on the root window before the program is even started.
 *
 *   mapwait [--settle MS] [--timeout MS] -- PROGRAM [ARGS...]
 *
 * Prints one line:
 *   map_ms=<exec to MapNotify> frame_ms=<exec to first frame|n/a> rss_kib=<VmRSS after settle>
 * frame_ms comes from a line "first-frame-epoch-us=<N>" that the program may
 * print on its standard output (Kestrin does when KESTRIN_REPORT_FIRST_FRAME=1).
 * The program is stopped (SIGTERM, then SIGKILL) afterwards. Exit status 0 when
 * a window was mapped, 1 otherwise, 2 for usage errors. */
#define _GNU_SOURCE
#include <xcb/xcb.h>

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double nowMs(clockid_t clock)
{
    struct timespec ts;
    clock_gettime(clock, &ts);
    return (double)ts.tv_sec * 1000.0 + (double)ts.tv_nsec / 1e6;
}

static long readRssKib(pid_t pid)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *file = fopen(path, "r");
    if (!file) {
        return -1;
    }
    char line[256];
    long kib = -1;
    while (fgets(line, sizeof line, file)) {
        if (strncmp(line, "VmRSS:", 6) == 0) {
            kib = strtol(line + 6, NULL, 10);
            break;
        }
    }
    fclose(file);
    return kib;
}

/* Appends what is readable on fd to buf; returns the first-frame epoch (ms) once seen. */
static double scanForFrame(int fd, char *buf, size_t *used, size_t cap)
{
    for (;;) {
        if (*used + 1 >= cap) {
            *used = 0; /* a line this long is not ours */
        }
        ssize_t n = read(fd, buf + *used, cap - 1 - *used);
        if (n <= 0) {
            break;
        }
        *used += (size_t)n;
        buf[*used] = '\0';
    }
    const char *hit = strstr(buf, "first-frame-epoch-us=");
    if (hit) {
        return strtod(hit + strlen("first-frame-epoch-us="), NULL) / 1000.0;
    }
    return -1;
}

int main(int argc, char **argv)
{
    long settleMs = 2000;
    long timeoutMs = 10000;
    int i = 1;
    for (; i < argc; ++i) {
        if (strcmp(argv[i], "--settle") == 0 && i + 1 < argc) {
            settleMs = strtol(argv[++i], NULL, 10);
        } else if (strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
            timeoutMs = strtol(argv[++i], NULL, 10);
        } else if (strcmp(argv[i], "--") == 0) {
            ++i;
            break;
        } else {
            break;
        }
    }
    if (i >= argc) {
        fprintf(stderr, "usage: mapwait [--settle MS] [--timeout MS] -- PROGRAM [ARGS...]\n");
        return 2;
    }

    xcb_connection_t *connection = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(connection)) {
        fprintf(stderr, "mapwait: cannot connect to the X server\n");
        return 2;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t cookie = xcb_change_window_attributes_checked(
        connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_generic_error_t *error = xcb_request_check(connection, cookie);
    if (error) {
        fprintf(stderr, "mapwait: cannot watch the root window\n");
        return 2;
    }

    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        perror("mapwait: pipe");
        return 2;
    }
    const double startEpoch = nowMs(CLOCK_REALTIME);
    const double start = nowMs(CLOCK_MONOTONIC);
    pid_t pid = fork();
    if (pid < 0) {
        perror("mapwait: fork");
        return 2;
    }
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        execvp(argv[i], argv + i);
        _exit(127);
    }
    close(out[1]);
    fcntl(out[0], F_SETFL, O_NONBLOCK);

    char buf[4096];
    size_t used = 0;
    double mapMs = -1;
    double frameEpoch = -1;
    struct pollfd fds[2] = {{xcb_get_file_descriptor(connection), POLLIN, 0}, {out[0], POLLIN, 0}};
    int outOpen = 1;
    while (mapMs < 0) {
        xcb_generic_event_t *event;
        while ((event = xcb_poll_for_event(connection)) != NULL) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && mapMs < 0) {
                const xcb_map_notify_event_t *map = (const xcb_map_notify_event_t *)event;
                if (!map->override_redirect) {
                    mapMs = nowMs(CLOCK_MONOTONIC) - start;
                }
            }
            free(event);
        }
        if (mapMs >= 0) {
            break;
        }
        const double left = (double)timeoutMs - (nowMs(CLOCK_MONOTONIC) - start);
        if (left <= 0 || xcb_connection_has_error(connection)) {
            break;
        }
        if (poll(fds, outOpen ? 2 : 1, (int)left) < 0 && errno != EINTR) {
            break;
        }
        if (outOpen && (fds[1].revents & (POLLIN | POLLHUP))) {
            double seen = scanForFrame(out[0], buf, &used, sizeof buf);
            if (seen > 0) {
                frameEpoch = seen;
            }
            if ((fds[1].revents & POLLHUP) && !(fds[1].revents & POLLIN)) {
                outOpen = 0;
            }
        }
        if (waitpid(pid, NULL, WNOHANG) == pid) {
            pid = -1;
            break;
        }
    }

    /* Let the program settle (first frame, scan) while collecting its output. */
    const double settleEnd = nowMs(CLOCK_MONOTONIC) + (double)settleMs;
    for (double left; pid > 0 && (left = settleEnd - nowMs(CLOCK_MONOTONIC)) > 0;) {
        if (outOpen && poll(&fds[1], 1, (int)left + 1) > 0) {
            double seen = scanForFrame(out[0], buf, &used, sizeof buf);
            if (seen > 0 && frameEpoch < 0) {
                frameEpoch = seen;
            }
            if ((fds[1].revents & POLLHUP) && !(fds[1].revents & POLLIN)) {
                outOpen = 0;
            }
        } else if (!outOpen) {
            struct timespec ts = {0, 20 * 1000 * 1000};
            nanosleep(&ts, NULL);
        }
    }
    long rss = pid > 0 ? readRssKib(pid) : -1;
    if (pid > 0) {
        kill(pid, SIGTERM);
        for (int tries = 0; tries < 100 && waitpid(pid, NULL, WNOHANG) == 0; ++tries) {
            struct timespec ts = {0, 20 * 1000 * 1000};
            nanosleep(&ts, NULL);
        }
        if (waitpid(pid, NULL, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, NULL, 0);
        }
    }
    xcb_disconnect(connection);

    if (mapMs < 0) {
        printf("map_ms=n/a frame_ms=n/a rss_kib=n/a\n");
        return 1;
    }
    printf("map_ms=%.1f ", mapMs);
    if (frameEpoch > 0) {
        printf("frame_ms=%.1f ", frameEpoch - startEpoch);
    } else {
        printf("frame_ms=n/a ");
    }
    if (rss >= 0) {
        printf("rss_kib=%ld\n", rss);
    } else {
        printf("rss_kib=n/a\n");
    }
    return 0;
}
