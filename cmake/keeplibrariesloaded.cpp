// Linked into every program of the sanitizer build (WORDLUMEN_SANITIZE) only.
//
// LeakSanitizer looks for leaks when a program exits, after the libraries it
// loaded at run time may have been unloaded again: Mesa's GLX driver, for one,
// is unloaded when Qt closes the X display. What such a library still held is
// then unreachable and reported as leaked "from an unknown module", a name no
// suppression can match. Unloading nothing keeps those libraries, their data
// and their names until the end, so LeakSanitizer sees what they still hold as
// held and names them in any report. Defined in the program, this dlclose
// comes first for every library, before the C library's and ASan's own.

extern "C" int dlclose(void *handle)
{
    static_cast<void>(handle);
    return 0;
}
