/* riderar-xprobe: starts one X client, times its start-up, then types into it and times how soon
 * the screen answers. bench/measure.py drives it; it is not meant to be handy by hand.
 *
 *     riderar-xprobe [--title TEXT] [--point X,Y]... [--timeout SECONDS] [--poll-us N]
 *                    -- COMMAND [ARGUMENT]...
 *
 * It forks and execs COMMAND on $DISPLAY and prints, one per line on standard output:
 *     pid N            the client's process id
 *     window 0xID      its top-level window (the first one mapped whose name contains TEXT)
 *     mapped_ms T      from just before exec until the MapNotify of that window
 *     painted_ms T     until every --point (window-relative) differs from what the screen
 *                      showed there before the client started
 *     ready
 * or "error MESSAGE" and exits 1. Then it reads commands on standard input, one a line, and
 * answers each with one line:
 *     focus                          give the window the input focus          -> ok
 *     key KEYSYM [MODIFIER]...       press and release, modifiers held round  -> ok
 *     light KEYSYM X Y W H MS        press, poll the rectangle until it holds lit pixels
 *                                    (RGB 225,25,25), release                 -> lit T | timeout T
 *     quit (or end of input)         terminate the client                      -> exit STATUS
 * Times are milliseconds on CLOCK_MONOTONIC.
 */
#define _GNU_SOURCE /* pipe2 */

#include <X11/extensions/XTest.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum
{
    maxPoints = 16,
    maxModifiers = 4,
    litPixelsNeeded = 4
};

struct point
{
    int x, y;
};

/* What the whole run works on, handed round instead of kept in globals. */
struct probe
{
    Display *display;
    Window root;
    Window window;
    pid_t child;
    const char *title;
    struct point points[maxPoints];
    int pointCount;
    double timeoutSeconds;
    long pollMicroseconds;
    XImage *background; /* the whole screen before the client started */
    unsigned long litPixel;
};

/* Xlib reports request errors through a callback with no user data; all the probe needs to know
 * is that a request failed, which the failed call's own return value tells already. */
static int ignoreXError(Display *display, XErrorEvent *event)
{
    (void)display;
    (void)event;
    return 0;
}

static double nowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

static double timespecMs(const struct timespec *t)
{
    return (double)t->tv_sec * 1e3 + (double)t->tv_nsec / 1e6;
}

static void reply(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vfprintf(stdout, format, args);
    va_end(args);
    fputc('\n', stdout);
    fflush(stdout);
}

static void stopChild(struct probe *p)
{
    if (p->child <= 0)
        return;
    kill(p->child, SIGTERM);
    int status = 0;
    for (int i = 0; i < 200; ++i) {
        if (waitpid(p->child, &status, WNOHANG) == p->child) {
            p->child = 0;
            return;
        }
        struct timespec pause = {0, 10 * 1000 * 1000};
        nanosleep(&pause, NULL);
    }
    kill(p->child, SIGKILL);
    waitpid(p->child, &status, 0);
    p->child = 0;
}

static void fail(struct probe *p, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    fputs("error ", stdout);
    vfprintf(stdout, format, args);
    va_end(args);
    fputc('\n', stdout);
    fflush(stdout);
    stopChild(p);
    exit(1);
}

static void sleepMicroseconds(long microseconds)
{
    if (microseconds <= 0)
        return;
    struct timespec t = {microseconds / 1000000, (microseconds % 1000000) * 1000};
    nanosleep(&t, NULL);
}

/* A channel value scaled into the visual's mask, as the server stores it. */
static unsigned long channel(unsigned long mask, unsigned value)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    unsigned long width = mask >> shift;
    return ((value * width + 127) / 255) << shift;
}

static unsigned long rgbPixel(Display *display, unsigned r, unsigned g, unsigned b)
{
    Visual *visual = DefaultVisual(display, DefaultScreen(display));
    return channel(visual->red_mask, r) | channel(visual->green_mask, g) |
           channel(visual->blue_mask, b);
}

static int nameContains(Display *display, Window window, const char *text)
{
    static const char *const properties[] = {"_NET_WM_NAME", "WM_NAME"};
    for (size_t i = 0; i < sizeof properties / sizeof properties[0]; ++i) {
        Atom property = XInternAtom(display, properties[i], False);
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = NULL;
        if (XGetWindowProperty(display, window, property, 0, 1024, False, AnyPropertyType, &type,
                               &format, &count, &after, &data) != Success)
            continue;
        int found = data && format == 8 && strstr((const char *)data, text) != NULL;
        if (data)
            XFree(data);
        if (found)
            return 1;
    }
    return 0;
}

/* Waits for the next event up to the deadline; returns 0 on time-out. */
static int nextEvent(Display *display, XEvent *event, double deadlineMs)
{
    while (!XPending(display)) {
        double left = deadlineMs - nowMs();
        if (left <= 0)
            return 0;
        struct pollfd fd = {ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, (int)left + 1);
    }
    XNextEvent(display, event);
    return 1;
}

static void parsePoint(struct probe *p, const char *text)
{
    if (p->pointCount == maxPoints)
        fail(p, "too many --point options");
    struct point *point = &p->points[p->pointCount];
    if (sscanf(text, "%d,%d", &point->x, &point->y) != 2)
        fail(p, "--point wants X,Y, not %s", text);
    ++p->pointCount;
}

/* Forks and execs the command; returns the time just before exec. */
static double startChild(struct probe *p, char **command)
{
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        fail(p, "pipe: %s", strerror(errno));
    pid_t child = fork();
    if (child < 0)
        fail(p, "fork: %s", strerror(errno));
    if (child == 0) {
        /* The probe's standard input carries its commands and its output its answers: the
         * client gets neither. */
        int null = open("/dev/null", O_RDONLY);
        if (null >= 0)
            dup2(null, 0);
        dup2(2, 1);
        struct timespec start;
        clock_gettime(CLOCK_MONOTONIC, &start);
        if (write(report[1], &start, sizeof start) != (ssize_t)sizeof start)
            _exit(127);
        execvp(command[0], command);
        int error = errno;
        if (write(report[1], &error, sizeof error) != (ssize_t)sizeof error)
            _exit(127);
        _exit(127);
    }
    p->child = child;
    close(report[1]);
    struct timespec start;
    if (read(report[0], &start, sizeof start) != (ssize_t)sizeof start)
        fail(p, "the child died before exec");
    int error = 0;
    /* The pipe closes on exec; anything more on it is exec's errno. */
    if (read(report[0], &error, sizeof error) == (ssize_t)sizeof error) {
        waitpid(child, NULL, 0);
        p->child = 0;
        fail(p, "cannot run %s: %s", command[0], strerror(error));
    }
    close(report[0]);
    return timespecMs(&start);
}

static int painted(struct probe *p, int originX, int originY)
{
    for (int i = 0; i < p->pointCount; ++i) {
        const struct point *point = &p->points[i];
        XImage *image =
            XGetImage(p->display, p->window, point->x, point->y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return 0;
        unsigned long now = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        int x = originX + point->x, y = originY + point->y;
        if (x < 0 || y < 0 || x >= p->background->width || y >= p->background->height)
            fail(p, "point %d,%d lies off the screen", point->x, point->y);
        if (now == XGetPixel(p->background, x, y))
            return 0;
    }
    return 1;
}

static void awaitWindow(struct probe *p, double startMs)
{
    const double deadline = startMs + p->timeoutSeconds * 1e3;
    XEvent event;
    for (;;) {
        if (!nextEvent(p->display, &event, deadline))
            fail(p, "no window mapped within %.0f s", p->timeoutSeconds);
        if (event.type != MapNotify || event.xmap.event != p->root || event.xmap.override_redirect)
            continue;
        if (!p->title || nameContains(p->display, event.xmap.window, p->title))
            break;
    }
    const double mappedMs = nowMs();
    p->window = event.xmap.window;

    int originX = 0, originY = 0;
    Window unused;
    XTranslateCoordinates(p->display, p->window, p->root, 0, 0, &originX, &originY, &unused);
    while (!painted(p, originX, originY)) {
        if (nowMs() > deadline)
            fail(p, "window 0x%lx not painted within %.0f s", p->window, p->timeoutSeconds);
        sleepMicroseconds(p->pollMicroseconds);
    }
    const double paintedMs = nowMs();
    reply("window 0x%lx", p->window);
    reply("mapped_ms %.3f", mappedMs - startMs);
    reply("painted_ms %.3f", paintedMs - startMs);
}

static KeyCode keycodeOf(struct probe *p, const char *name)
{
    KeySym keysym = XStringToKeysym(name);
    if (keysym == NoSymbol)
        return 0;
    return XKeysymToKeycode(p->display, keysym);
}

static int countLit(struct probe *p, int x, int y, int w, int h)
{
    XImage *image =
        XGetImage(p->display, p->window, x, y, (unsigned)w, (unsigned)h, AllPlanes, ZPixmap);
    if (!image)
        return -1;
    int lit = 0;
    for (int row = 0; row < h; ++row)
        for (int column = 0; column < w; ++column)
            lit += XGetPixel(image, column, row) == p->litPixel;
    XDestroyImage(image);
    return lit;
}

static void commandKey(struct probe *p, char *arguments)
{
    KeyCode codes[1 + maxModifiers];
    int count = 0;
    for (char *word = strtok(arguments, " \t\n"); word; word = strtok(NULL, " \t\n")) {
        if (count == 1 + maxModifiers) {
            reply("error too many modifiers");
            return;
        }
        codes[count] = keycodeOf(p, word);
        if (!codes[count]) {
            reply("error no key for %s", word);
            return;
        }
        ++count;
    }
    if (count == 0) {
        reply("error key wants a keysym");
        return;
    }
    for (int i = 1; i < count; ++i)
        XTestFakeKeyEvent(p->display, codes[i], True, CurrentTime);
    XTestFakeKeyEvent(p->display, codes[0], True, CurrentTime);
    XTestFakeKeyEvent(p->display, codes[0], False, CurrentTime);
    for (int i = count - 1; i >= 1; --i)
        XTestFakeKeyEvent(p->display, codes[i], False, CurrentTime);
    XSync(p->display, False);
    reply("ok");
}

static void commandLight(struct probe *p, const char *arguments)
{
    char name[64];
    int x, y, w, h, timeoutMs;
    if (sscanf(arguments, "%63s %d %d %d %d %d", name, &x, &y, &w, &h, &timeoutMs) != 6 || w <= 0 ||
        h <= 0) {
        reply("error light wants KEYSYM X Y W H MS");
        return;
    }
    KeyCode code = keycodeOf(p, name);
    if (!code) {
        reply("error no key for %s", name);
        return;
    }
    const int needed = w * h < litPixelsNeeded ? w * h : litPixelsNeeded;
    const double pressed = nowMs();
    XTestFakeKeyEvent(p->display, code, True, CurrentTime);
    XFlush(p->display);
    double seen = 0;
    int lit = 0;
    for (;;) {
        lit = countLit(p, x, y, w, h);
        seen = nowMs();
        if (lit < 0 || lit >= needed || seen - pressed > timeoutMs)
            break;
        sleepMicroseconds(p->pollMicroseconds);
    }
    XTestFakeKeyEvent(p->display, code, False, CurrentTime);
    XSync(p->display, False);
    if (lit < 0)
        reply("error cannot read the window");
    else if (lit >= needed)
        reply("lit %.3f", seen - pressed);
    else
        reply("timeout %.3f", seen - pressed);
}

static void serve(struct probe *p)
{
    char line[512];
    while (fgets(line, sizeof line, stdin)) {
        char *arguments = line + strcspn(line, " \t\n");
        if (*arguments)
            *arguments++ = '\0';
        if (strcmp(line, "focus") == 0) {
            XSetInputFocus(p->display, p->window, RevertToParent, CurrentTime);
            XSync(p->display, False);
            reply("ok");
        } else if (strcmp(line, "key") == 0) {
            commandKey(p, arguments);
        } else if (strcmp(line, "light") == 0) {
            commandLight(p, arguments);
        } else if (strcmp(line, "quit") == 0) {
            break;
        } else {
            reply("error unknown command %s", line);
        }
    }
    int status = 0;
    if (p->child > 0 && waitpid(p->child, &status, WNOHANG) == p->child) {
        p->child = 0;
        reply("exit %d (exited by itself)", WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        return;
    }
    stopChild(p);
    reply("exit 0");
}

int main(int argc, char **argv)
{
    struct probe p;
    memset(&p, 0, sizeof p);
    p.timeoutSeconds = 30;
    p.pollMicroseconds = 100;

    int i = 1;
    for (; i < argc; ++i) {
        if (strcmp(argv[i], "--") == 0) {
            ++i;
            break;
        }
        if (i + 1 >= argc)
            fail(&p, "%s wants a value", argv[i]);
        if (strcmp(argv[i], "--title") == 0)
            p.title = argv[++i];
        else if (strcmp(argv[i], "--point") == 0)
            parsePoint(&p, argv[++i]);
        else if (strcmp(argv[i], "--timeout") == 0)
            p.timeoutSeconds = atof(argv[++i]);
        else if (strcmp(argv[i], "--poll-us") == 0)
            p.pollMicroseconds = atol(argv[++i]);
        else
            fail(&p, "unknown option %s", argv[i]);
    }
    if (i >= argc)
        fail(&p, "no command given (put it after --)");
    if (p.pointCount == 0)
        fail(&p, "give at least one --point to watch for the first paint");

    p.display = XOpenDisplay(NULL);
    if (!p.display)
        fail(&p, "cannot open display %s", getenv("DISPLAY") ? getenv("DISPLAY") : "(unset)");
    XSetErrorHandler(ignoreXError);
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(p.display, &eventBase, &errorBase, &major, &minor))
        fail(&p, "the X server has no XTEST extension");
    p.root = DefaultRootWindow(p.display);
    /* A key held while the window is slow to answer must not repeat into extra keystrokes. The
     * setting is the server's, and the server is the probe's own. */
    XAutoRepeatOff(p.display);
    p.litPixel = rgbPixel(p.display, 225, 25, 25);
    XWindowAttributes rootAttributes;
    XGetWindowAttributes(p.display, p.root, &rootAttributes);
    p.background = XGetImage(p.display, p.root, 0, 0, (unsigned)rootAttributes.width,
                             (unsigned)rootAttributes.height, AllPlanes, ZPixmap);
    if (!p.background)
        fail(&p, "cannot read the screen");
    /* Selected before the fork, so that no MapNotify can slip by. */
    XSelectInput(p.display, p.root, SubstructureNotifyMask);
    XSync(p.display, False);

    const double startMs = startChild(&p, argv + i);
    reply("pid %ld", (long)p.child);
    awaitWindow(&p, startMs);
    XDestroyImage(p.background);
    p.background = NULL;
    reply("ready");
    serve(&p);
    XCloseDisplay(p.display);
    return 0;
}
