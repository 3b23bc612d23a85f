// Fontconfig and Qt keep caches until the process ends, by design; the leak
// checker of sanitizer builds is told about those libraries and no others.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libQt6Core.so\n"
           "leak:libQt6Gui.so\n"
           "leak:libQt6Widgets.so\n";
}
