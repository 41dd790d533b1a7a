/* Looks at the screen as a user does, for the end-to-end test.
 *   xinspect outer WINDOW        the window's outer rectangle, frame included: X Y WIDTH HEIGHT
 *   xinspect stacking            the top-level windows from bottom to top, one id a line (the
 *                                window manager's client windows when there is one)
 *   xinspect colours X Y W H     how many distinct colours the screen shows in that rectangle
 *   xinspect screen              the screen's size: WIDTH HEIGHT
 *   xinspect wm                  succeeds once a window manager runs
 *   xinspect ping WINDOW         sends the window _NET_WM_PING as a desktop does and prints how
 *                                many ms it took to answer; fails when it does not within 1 s
 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static unsigned long* cardinals(Display* d, Window w, const char* name, Atom type,
                                unsigned long* count) {
    Atom actual = None;
    int format = 0;
    unsigned long after = 0;
    unsigned char* data = NULL;
    *count = 0;
    if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 4096, False, type, &actual,
                           &format, count, &after, &data) != Success ||
        actual != type || format != 32) {
        if (data)
            XFree(data);
        *count = 0;
        return NULL;
    }
    return (unsigned long*)data;
}

static int outer(Display* d, Window w) {
    XWindowAttributes a;
    Window child;
    int x = 0, y = 0;
    if (!XGetWindowAttributes(d, w, &a))
        return 1;
    XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child);
    unsigned long n = 0;
    unsigned long* e = cardinals(d, w, "_NET_FRAME_EXTENTS", XA_CARDINAL, &n);
    long left = 0, right = 0, top = 0, bottom = 0;
    if (e && n == 4) {
        left = (long)e[0];
        right = (long)e[1];
        top = (long)e[2];
        bottom = (long)e[3];
    }
    if (e)
        XFree(e);
    printf("%ld %ld %ld %ld\n", x - left, y - top, a.width + left + right, a.height + top + bottom);
    return 0;
}

static int stacking(Display* d) {
    unsigned long n = 0;
    unsigned long* list =
        cardinals(d, DefaultRootWindow(d), "_NET_CLIENT_LIST_STACKING", XA_WINDOW, &n);
    if (list) {
        for (unsigned long i = 0; i < n; ++i)
            printf("%lu\n", list[i]);
        XFree(list);
        return 0;
    }
    Window root, parent, *children = NULL;
    unsigned int count = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count))
        return 1;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable)
            printf("%lu\n", children[i]);
    }
    if (children)
        XFree(children);
    return 0;
}

static int compare(const void* a, const void* b) {
    const unsigned long x = *(const unsigned long*)a, y = *(const unsigned long*)b;
    return x < y ? -1 : x > y;
}

static int colours(Display* d, int x, int y, unsigned int w, unsigned int h) {
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, w, h, AllPlanes, ZPixmap);
    if (!image)
        return 1;
    unsigned long* pixels = malloc(sizeof(unsigned long) * w * h);
    size_t n = 0;
    for (unsigned int j = 0; j < h; ++j)
        for (unsigned int i = 0; i < w; ++i)
            pixels[n++] = XGetPixel(image, (int)i, (int)j);
    qsort(pixels, n, sizeof pixels[0], compare);
    size_t distinct = n ? 1 : 0;
    for (size_t i = 1; i < n; ++i)
        distinct += pixels[i] != pixels[i - 1];
    printf("%zu\n", distinct);
    free(pixels);
    XDestroyImage(image);
    return 0;
}

static int ping(Display* d, Window w) {
    Window root = DefaultRootWindow(d);
    /* The answer goes to the root window for the window manager, with the structure-notify
     * mask (Qt's) or the substructure one; listening there for both hears it. */
    XSelectInput(d, root, StructureNotifyMask | SubstructureNotifyMask);
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(d, "_NET_WM_PING", False);
    e.xclient.data.l[1] = 4242; /* the timestamp identifies the answer */
    e.xclient.data.l[2] = (long)w;
    XSendEvent(d, w, False, NoEventMask, &e);
    XFlush(d);
    struct timespec start, now;
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        clock_gettime(CLOCK_MONOTONIC, &now);
        long ms = (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
        if (ms > 1000)
            return 1;
        while (XPending(d)) {
            XNextEvent(d, &e);
            if (e.type == ClientMessage && e.xclient.data.l[1] == 4242 &&
                (Window)e.xclient.data.l[2] == w) {
                printf("%ld\n", ms);
                return 0;
            }
        }
        struct timespec pause = {0, 5000000};
        nanosleep(&pause, NULL);
    }
}

int main(int argc, char** argv) {
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "xinspect: cannot open the display\n");
        return 1;
    }
    int rc = 2;
    if (argc == 3 && strcmp(argv[1], "outer") == 0)
        rc = outer(d, (Window)strtoul(argv[2], NULL, 0));
    else if (argc == 2 && strcmp(argv[1], "stacking") == 0)
        rc = stacking(d);
    else if (argc == 2 && strcmp(argv[1], "screen") == 0) {
        printf("%d %d\n", DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d)));
        rc = 0;
    } else if (argc == 2 && strcmp(argv[1], "wm") == 0) {
        unsigned long n = 0;
        unsigned long* check =
            cardinals(d, DefaultRootWindow(d), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, &n);
        rc = check && n == 1 ? 0 : 1;
        if (check)
            XFree(check);
    } else if (argc == 6 && strcmp(argv[1], "colours") == 0)
        rc = colours(d, atoi(argv[2]), atoi(argv[3]), (unsigned)atoi(argv[4]),
                     (unsigned)atoi(argv[5]));
    else if (argc == 3 && strcmp(argv[1], "ping") == 0)
        rc = ping(d, (Window)strtoul(argv[2], NULL, 0));
    else
        fprintf(stderr, "usage: xinspect outer WINDOW | stacking | colours X Y W H | screen | wm "
                        "| ping WINDOW\n");
    XCloseDisplay(d);
    return rc;
}
