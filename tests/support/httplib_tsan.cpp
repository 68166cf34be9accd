// ThreadSanitizer, for test programs that run an HTTP server (cpp-httplib): the library is not
// built with the sanitizer. Its request parser keeps a function-local static set of method
// names; the first worker thread builds it and the others read it after the inline "already
// initialised" check, which the sanitizer cannot see in uninstrumented code, so it reports the
// reads as races with the construction. Accesses made by interceptors called from that library
// are not checked; everything in the program itself still is. (Compiled into each such test
// program: the runtime looks the function up in the executable.)
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libcpp-httplib.so\n";
}
