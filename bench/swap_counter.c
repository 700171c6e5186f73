/* Counts a program's presented frames for bench/side_by_side.sh, loaded with LD_PRELOAD.
 * It wraps the three calls a frame can end with (SDL's, GLX's and EGL's swap) and counts each
 * in its own slot of a shared 32-byte file named by $SWAP_COUNTER_FILE, which the script
 * reads while the program runs. Slots: 0 SDL_GL_SwapWindow, 1 glXSwapBuffers,
 * 2 eglSwapBuffers. SDL reaches GLX or EGL through pointers of its own, which no preload
 * sees, so a frame is counted once in whichever slot its program calls. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

static volatile uint64_t* counters(void) {
  static volatile uint64_t* slots;
  static int tried;
  if (!tried) {
    tried = 1;
    const char* path = getenv("SWAP_COUNTER_FILE");
    int fd = path ? open(path, O_RDWR | O_CREAT, 0644) : -1;
    if (fd >= 0 && ftruncate(fd, 32) == 0) {
      void* map = mmap(NULL, 32, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
      if (map != MAP_FAILED) slots = map;
    }
    if (fd >= 0) close(fd);
  }
  return slots;
}

static void count(int slot) {
  volatile uint64_t* slots = counters();
  if (slots) __atomic_add_fetch(&slots[slot], 1, __ATOMIC_RELAXED);
}

#define NEXT(type, name) ((type)dlsym(RTLD_NEXT, name))

void SDL_GL_SwapWindow(void* window) {
  count(0);
  NEXT(void (*)(void*), "SDL_GL_SwapWindow")(window);
}

void glXSwapBuffers(void* display, unsigned long drawable) {
  count(1);
  NEXT(void (*)(void*, unsigned long), "glXSwapBuffers")(display, drawable);
}

unsigned int eglSwapBuffers(void* display, void* surface) {
  count(2);
  return NEXT(unsigned int (*)(void*, void*), "eglSwapBuffers")(display, surface);
}
