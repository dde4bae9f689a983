// Emscripten's C library declares mount and unshare but has neither: under WebAssembly they fail
// as on a kernel without mount namespaces, and the tests that need one are skipped.
#include <sched.h>
#include <sys/mount.h>

#include <cerrno>

extern "C" int unshare(int) {
  errno = ENOSYS;
  return -1;
}

extern "C" int mount(const char*, const char*, const char*, unsigned long, const void*) {
  errno = ENOSYS;
  return -1;
}
