// Drives the built program in a real X server as a window manager would: waits for the
// window with the given title, saves a picture of it, then acts on it.
// Usage: quillmere-xcheck TITLE SCREENSHOT.png [TIMEOUT_S [ACTION]], where ACTION is
//   close          ask the window to close through WM_DELETE_WINDOW (the default);
//   click-close:X,Y  click at X,Y in the window and ask it to close in the same breath, so
//                  that the close arrives while the command the click started is running;
//   none           leave the window alone (it is ended some other way).
#include <QImage>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace {

std::string windowTitle(Display *dpy, Window w)
{
    const Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    std::string title;
    if (XGetWindowProperty(dpy, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success && data) {
        title.assign(reinterpret_cast<char *>(data), count);
        XFree(data);
    }
    return title;
}

Window findWindow(Display *dpy, Window root, const std::string &title)
{
    Window parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(dpy, root, &root, &parent, &children, &n))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < n && !found; ++i) {
        XWindowAttributes attrs;
        if (windowTitle(dpy, children[i]) == title && XGetWindowAttributes(dpy, children[i], &attrs)
            && attrs.map_state == IsViewable)
            found = children[i];
        else
            found = findWindow(dpy, children[i], title);
    }
    if (children)
        XFree(children);
    return found;
}

bool saveWindow(Display *dpy, Window w, const char *file)
{
    XWindowAttributes attrs;
    XGetWindowAttributes(dpy, w, &attrs);
    XImage *shot = XGetImage(dpy, w, 0, 0, attrs.width, attrs.height, AllPlanes, ZPixmap);
    if (!shot)
        return false;
    QImage image(attrs.width, attrs.height, QImage::Format_RGB32);
    for (int y = 0; y < attrs.height; ++y)
        for (int x = 0; x < attrs.width; ++x)
            image.setPixel(x, y, XGetPixel(shot, x, y) & 0xffffff);
    XDestroyImage(shot);
    return image.save(QString::fromLocal8Bit(file), "PNG");
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE SCREENSHOT.png [TIMEOUT_S [ACTION]]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    const int timeout = argc > 3 ? std::atoi(argv[3]) : 20;
    const std::string action = argc > 4 ? argv[4] : "close";
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    Window w = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout);
    while (!(w = findWindow(dpy, DefaultRootWindow(dpy), title))) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "window \"%s\" did not appear within %d s\n", title.c_str(), timeout);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    // Let the first paint land before the picture is taken.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    if (!saveWindow(dpy, w, argv[2]))
        std::fprintf(stderr, "could not save the screenshot\n");

    if (action == "none") {
        XCloseDisplay(dpy);
        std::printf("window found, screenshot saved\n");
        return 0;
    }
    int clickX = 0, clickY = 0;
    if (std::sscanf(action.c_str(), "click-close:%d,%d", &clickX, &clickY) == 2) {
        // Through the XTest extension, as a real pointer: the toolkit ignores sent events.
        Window child = 0;
        int rootX = 0, rootY = 0;
        XTranslateCoordinates(dpy, w, DefaultRootWindow(dpy), clickX, clickY, &rootX, &rootY, &child);
        XTestFakeMotionEvent(dpy, -1, rootX, rootY, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
    }

    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, w, False, NoEventMask, &ev);
    XFlush(dpy);
    XCloseDisplay(dpy);
    std::printf("window found, screenshot saved, close requested\n");
    return 0;
}
