// The program's entry point off Windows: the Qt application, then WinMain.
#include <windows.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "windows_command_line.h"

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
    // After Qt has taken its own options out of argv.
    std::string commandLine = windowsCommandLine({argv + 1, argv + argc});
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
