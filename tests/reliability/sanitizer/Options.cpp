// Default options of the sanitizer runtimes, compiled into every test binary of the
// sanitizer build, so that ctest, a test binary run by hand and a debugger all behave the
// same. Options given in the environment (ASAN_OPTIONS, ...) still take precedence.
#ifndef VEXILO_LSAN_SUPPRESSIONS
#error "VEXILO_LSAN_SUPPRESSIONS must name the leak suppressions file"
#endif

extern "C" {

// Leaks are reported and fail the binary; string functions check their whole arguments;
// globals must not be read before they are initialised.
const char* __asan_default_options() {
    return "detect_leaks=1:strict_string_checks=1:check_initialization_order=1:"
           "strict_init_order=1:abort_on_error=0";
}

// Only the third-party leaks listed (and justified) in lsan.supp are tolerated.
const char* __lsan_default_options() {
    return "suppressions=" VEXILO_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

// Undefined behaviour stops the binary at its first occurrence, with a stack.
const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

}  // extern "C"
