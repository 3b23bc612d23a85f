// The program's entry point off Windows: the Qt application, then WinMain.
#include <windows.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool displayAvailable() {
    return std::getenv("QT_QPA_PLATFORM") || std::getenv("DISPLAY") ||
           std::getenv("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    if (!displayAvailable()) {
        std::fprintf(
            stderr,
            "%s: no display to show the window on: DISPLAY (X11) and WAYLAND_DISPLAY are not set.\n"
            "Start it from a desktop session, or under a virtual one: xvfb-run %s\n",
            argv[0], argv[0]);
        return 1;
    }
    QApplication application(argc, argv);
    std::string commandLine;
    for (int i = 1; i < argc; ++i) commandLine += std::string(i > 1 ? " " : "") + argv[i];
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
