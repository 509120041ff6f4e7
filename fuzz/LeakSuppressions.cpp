// Linked into every fuzz target: leaks are checked with fuzz/leaks.supp however the target is
// started, so a leak of ours stops the run and fontconfig's caches do not.
extern "C" const char* __lsan_default_options() {
    return "suppressions=\"" VELMORA_LEAK_SUPPRESSIONS "\":print_suppressions=0";
}
