/* Times a show-all in the real window on an X display, as the screen shows it.
 *
 *   showall_probe WINDOW QUESTION [TIMEOUT_S]
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
 * The places come from the window's design at 96 dpi (15 twips a pixel):
 * the viewport's corner lies at 3135, 120 twips in the client area (right of
 * the folder and file lists); the status bar is the bottom 375 twips.
 *
 * Exit status: 0 measured, 1 the grid was not seen within the timeout, 2 a
 * usage or display error, 3 the grid was up before Return.
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

/* libXtst ships without its development header on this system; this is its
 * one call the probe needs. */
extern int XTestFakeKeyEvent(Display* display, unsigned int keycode, Bool is_press, unsigned long delay);

enum { kBoxLeft = 212, kBoxTop = 11, kBoxSide = 64, kStatusHeight = 25, kStripRows = 3 };

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

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: showall_probe WINDOW QUESTION [TIMEOUT_S]\n");
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

    if (Colourful(d, root, boxX, boxY, kBoxSide, kBoxSide) != 0) {
        fprintf(stderr, "showall_probe: the icon box is not blank before Return\n");
        return 3;
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
    for (;;) {
        const int icons = Colourful(d, root, boxX, boxY, kBoxSide, kBoxSide);
        const int status = icons == 1 ? Colourful(d, root, stripX, stripY, stripW, kStripRows) : 1;
        const double t1 = Now();
        if (icons == 1 && status == 0) {
            printf("%.3f\n", t1 - t0);
            return 0;
        }
        if (t1 - t0 > timeout) {
            fprintf(stderr, "showall_probe: no grid after %.0f s\n", timeout);
            return 1;
        }
        nanosleep(&pause, NULL);
    }
}
