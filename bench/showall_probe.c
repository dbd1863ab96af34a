/* Times a show-all in the real window on an X display, as the screen shows it.
 *
 *   showall_probe WINDOW QUESTION [TIMEOUT_S]
 *   showall_probe --answer close|key|wheel --at MS WINDOW QUESTION [TIMEOUT_S]
 *
 * WINDOW is the main window (its X id) and QUESTION the message box of a
 * show-all open in front of it. Once the box has the keyboard focus, the
 * probe presses Return through XTEST (t0), then reads two
 * small pieces of the screen every few milliseconds until both say the grid
 * is up (t1), and prints t1 - t0 in seconds:
 *
 *  - the icon box, 64 x 64 pixels at the top-left corner of the icon viewport,
 *    which holds the first cell: one colour while the canvas is hidden (the
 *    whole run), more than one once the canvas shows its first icon;
 *  - the status strip, three rows through the middle of the status bar across
 *    its whole inner width, where the status text and the progress bar lie:
 *    one colour only once the run has cleared the text and hidden the bar.
 *
 * Both are read back from the X server's own framebuffer (XGetImage on the
 * root window), so what counts is what reached the screen, not what the
 * window meant to paint. A colour count needs no reference picture and no
 * knowledge of the icons; the two together cannot be true before the end,
 * since the canvas stays hidden until the arrangement and the arrangement
 * clears the status bar. Each poll moves about 25 KB and then sleeps 4 ms,
 * so the probe takes a few per cent of a core at most.
 *
 * With --answer, the probe times how fast the window answers the user in the
 * middle of the run instead. MS milliseconds after Return (the grid must not
 * be up yet), it sends one event as the user's devices would, and prints the
 * time from sending it to its effect on the screen, then the moment it was
 * sent (seconds after Return), then 1 if the grid was up when the effect
 * showed, else 0:
 *
 *  - close: with a window manager running (one that names itself on the root
 *    window), Alt+F4 through XTEST, which the manager turns into a close
 *    request; without one, the close request itself (WM_DELETE_WINDOW), as a
 *    manager sends it. The effect: the main window is no longer viewable
 *    (unmapped or destroyed).
 *  - key: Up through XTEST, to whichever list has the keyboard focus: after
 *    the right click that opened the folder menu, the folder list, whose
 *    highlight moves from the folder shown (the last row, as it has no
 *    subfolders) to its parent, without opening it. The effect: a pixel of
 *    the left column (the drive box, the folder list and the file list, the
 *    only things there) differs from the picture of it taken just before the
 *    key, as the moved highlight makes it.
 *  - wheel: one notch down (button 5 through XTEST) with the pointer in the
 *    middle of the file list, where it was put before Return. The effect: as
 *    for a key, the list scrolled three rows.
 *
 * Nothing else draws in the left column during a show-all: the lists change
 * only at the user's hand, so any change there is the event's answer. Each
 * poll of the column moves about 0.5 MB and then sleeps 2 ms.
 *
 * The places come from the window's design at 96 dpi (15 twips a pixel):
 * the viewport's corner lies at 3135, 120 twips in the client area (right of
 * the folder and file lists); the status bar is the bottom 375 twips; the
 * left column spans 120 to 3015 twips across, from 120 twips down to 120
 * twips above the status bar; the file list is its lower part, from half the
 * height below the drive box plus 400 twips.
 *
 * Exit status: 0 measured, 1 the grid (or the effect) was not seen within the
 * timeout, 2 a usage or display error, 3 the grid was up before Return, 4 the
 * grid was up before the moment to send the event.
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

/* libXtst ships without its development header on this system; these are its
 * calls the probe needs. */
extern int XTestFakeKeyEvent(Display* display, unsigned int keycode, Bool is_press, unsigned long delay);
extern int XTestFakeButtonEvent(Display* display, unsigned int button, Bool is_press, unsigned long delay);
extern int XTestFakeMotionEvent(Display* display, int screen, int x, int y, unsigned long delay);

enum { kBoxLeft = 212, kBoxTop = 11, kBoxSide = 64, kStatusHeight = 25, kStripRows = 3 };
/* The left column, in pixels of the client area: 120 to 3015 twips across,
 * its top 120 twips down, its bottom 120 twips above the status bar. */
enum { kColumnLeft = 8, kColumnRight = 201, kColumnMargin = 8 };

enum Answer { kNone, kClose, kKey, kWheel };

/* Whether `w` is `top` or lies inside it. */
static int Inside(Display* d, Window w, Window top) {
    while (w != None && w != PointerRoot) {
        if (w == top) return 1;
        Window root, parent, *children = NULL;
        unsigned n = 0;
        if (!XQueryTree(d, w, &root, &parent, &children, &n)) return 0;
        if (children) XFree(children);
        if (parent == root) return 0;
        w = parent;
    }
    return 0;
}

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

/* Whether the rectangle of the screen holds more than one colour. */
static int Colourful(Display* d, Window root, int x, int y, int w, int h) {
    XImage* im = XGetImage(d, root, x, y, (unsigned)w, (unsigned)h, AllPlanes, ZPixmap);
    if (!im) return -1;
    const unsigned long first = XGetPixel(im, 0, 0);
    int mixed = 0;
    for (int j = 0; j < h && !mixed; ++j)
        for (int i = 0; i < w; ++i)
            if (XGetPixel(im, i, j) != first) {
                mixed = 1;
                break;
            }
    XDestroyImage(im);
    return mixed;
}

/* Whether the grid is up: icons in the icon box and a blank status strip. */
static int GridUp(Display* d, Window root, int boxX, int boxY, int stripX, int stripY, int stripW) {
    const int icons = Colourful(d, root, boxX, boxY, kBoxSide, kBoxSide);
    return icons == 1 && Colourful(d, root, stripX, stripY, stripW, kStripRows) == 0;
}

/* Whether two pictures of the same rectangle differ in any pixel. */
static int Differ(const XImage* a, const XImage* b) {
    for (int j = 0; j < a->height; ++j)
        if (memcmp(a->data + (size_t)j * a->bytes_per_line, b->data + (size_t)j * b->bytes_per_line,
                   (size_t)a->width * (size_t)(a->bits_per_pixel / 8)))
            return 1;
    return 0;
}

/* A window that is gone answers a query with an error; that is an answer too. */
static int IgnoreError(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

static int Viewable(Display* d, Window w) {
    XWindowAttributes wa;
    return XGetWindowAttributes(d, w, &wa) && wa.map_state == IsViewable;
}

/* Whether a window manager runs: one that follows the desktop conventions
 * names its own window on the root. */
static int ManagerRuns(Display* d, Window root) {
    const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return 0;
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char* data = NULL;
    const int found = XGetWindowProperty(d, root, check, 0, 1, False, AnyPropertyType, &type, &format, &n, &after,
                                         &data) == Success && n == 1;
    if (data) XFree(data);
    return found;
}

static void Press(Display* d, KeySym sym) {
    const KeyCode code = XKeysymToKeycode(d, sym);
    XTestFakeKeyEvent(d, code, True, 0);
    XTestFakeKeyEvent(d, code, False, 0);
}

int main(int argc, char** argv) {
    enum Answer answer = kNone;
    double at = 0;
    while (argc > 1 && strncmp(argv[1], "--", 2) == 0) {
        if (argc > 2 && strcmp(argv[1], "--answer") == 0) {
            answer = strcmp(argv[2], "close") == 0 ? kClose
                     : strcmp(argv[2], "key") == 0 ? kKey
                     : strcmp(argv[2], "wheel") == 0 ? kWheel
                                                     : kNone;
            if (answer == kNone) argc = 0;
        } else if (argc > 2 && strcmp(argv[1], "--at") == 0) {
            at = atof(argv[2]) / 1000.0;
        } else {
            argc = 0;
        }
        if (argc == 0) break;
        argc -= 2;
        argv += 2;
    }
    if (argc < 3) {
        fprintf(stderr,
                "usage: showall_probe [--answer close|key|wheel --at MS] WINDOW QUESTION [TIMEOUT_S]\n");
        return 2;
    }
    const Window win = (Window)strtoul(argv[1], NULL, 0);
    const Window question = (Window)strtoul(argv[2], NULL, 0);
    const double timeout = argc > 3 ? atof(argv[3]) : 60.0;
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "showall_probe: no display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(d);
    XWindowAttributes wa;
    int x = 0, y = 0;
    Window child;
    if (!XGetWindowAttributes(d, win, &wa) || !XTranslateCoordinates(d, win, root, 0, 0, &x, &y, &child)) {
        fprintf(stderr, "showall_probe: no window %s\n", argv[1]);
        return 2;
    }
    const int boxX = x + kBoxLeft, boxY = y + kBoxTop;
    const int stripX = x + 3, stripW = wa.width - 6;
    const int stripY = y + wa.height - kStatusHeight + 11;
    const KeyCode ret = XKeysymToKeycode(d, XStringToKeysym("Return"));
    /* The left column and the middle of the file list, from the window's
     * layout: the file list starts 400 twips below half the height that the
     * drive box leaves above the status bar. */
    const int columnX = x + kColumnLeft, columnW = kColumnRight - kColumnLeft;
    const int columnY = y + kColumnMargin, columnH = wa.height - kStatusHeight - 2 * kColumnMargin;
    const double scaleTwips = (double)wa.height * 15 - 375;
    const int filesTop = (int)(((scaleTwips - 435) / 2 + 400) / 15);
    const int filesBottom = (int)((scaleTwips - 120) / 15);
    const int filesX = x + (kColumnLeft + kColumnRight) / 2, filesY = y + (filesTop + filesBottom) / 2;

    if (Colourful(d, root, boxX, boxY, kBoxSide, kBoxSide) != 0) {
        fprintf(stderr, "showall_probe: the icon box is not blank before Return\n");
        return 3;
    }
    if (answer == kWheel) {
        XTestFakeMotionEvent(d, -1, filesX, filesY, 0);
        XSync(d, False);
    }
    const struct timespec pause = {0, 4 * 1000 * 1000};
    for (const double asked = Now();;) {
        Window focus;
        int revert;
        XGetInputFocus(d, &focus, &revert);
        if (Inside(d, focus, question)) break;
        if (Now() - asked > 10) {
            fprintf(stderr, "showall_probe: the question never took the keyboard\n");
            return 2;
        }
        nanosleep(&pause, NULL);
    }
    const double t0 = Now();
    XTestFakeKeyEvent(d, ret, True, 0);
    XTestFakeKeyEvent(d, ret, False, 0);
    XFlush(d);
    if (answer == kNone) {
        for (;;) {
            const double t1 = Now();
            if (GridUp(d, root, boxX, boxY, stripX, stripY, stripW)) {
                printf("%.3f\n", Now() - t0);
                return 0;
            }
            if (t1 - t0 > timeout) {
                fprintf(stderr, "showall_probe: no grid after %.0f s\n", timeout);
                return 1;
            }
            nanosleep(&pause, NULL);
        }
    }

    /* Until the moment: the run must still be going. */
    const struct timespec tick = {0, 1000 * 1000}, poll = {0, 2 * 1000 * 1000};
    while (Now() - t0 < at) {
        if (GridUp(d, root, boxX, boxY, stripX, stripY, stripW)) {
            fprintf(stderr, "showall_probe: the grid was up %.3f s after Return, before the moment\n", Now() - t0);
            return 4;
        }
        nanosleep(&tick, NULL);
    }
    XImage* before = answer == kClose ? NULL : XGetImage(d, root, columnX, columnY, (unsigned)columnW,
                                                          (unsigned)columnH, AllPlanes, ZPixmap);
    if (answer != kClose && !before) {
        fprintf(stderr, "showall_probe: cannot read the left column\n");
        return 2;
    }
    XSetErrorHandler(IgnoreError);
    const double sent = Now();
    if (answer == kKey) {
        Press(d, XK_Up);
    } else if (answer == kWheel) {
        XTestFakeButtonEvent(d, 5, True, 0);
        XTestFakeButtonEvent(d, 5, False, 0);
    } else if (ManagerRuns(d, root)) {
        const KeyCode alt = XKeysymToKeycode(d, XK_Alt_L);
        XTestFakeKeyEvent(d, alt, True, 0);
        Press(d, XK_F4);
        XTestFakeKeyEvent(d, alt, False, 0);
    } else {
        XEvent e;
        memset(&e, 0, sizeof e);
        e.xclient.type = ClientMessage;
        e.xclient.window = win;
        e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, win, False, NoEventMask, &e);
    }
    XFlush(d);
    for (;;) {
        int answered;
        if (answer == kClose) {
            answered = !Viewable(d, win);
        } else {
            XImage* now = XGetImage(d, root, columnX, columnY, (unsigned)columnW, (unsigned)columnH, AllPlanes, ZPixmap);
            answered = now && Differ(before, now);
            if (now) XDestroyImage(now);
        }
        const double t1 = Now();
        if (answered) {
            const int up = answer != kClose && GridUp(d, root, boxX, boxY, stripX, stripY, stripW);
            printf("%.3f %.3f %d\n", t1 - sent, sent - t0, up);
            return 0;
        }
        if (t1 - t0 > timeout) {
            fprintf(stderr, "showall_probe: no answer after %.0f s\n", timeout);
            return 1;
        }
        nanosleep(&poll, NULL);
    }
}
