/* Prints one line, with the milliseconds since it started, for every bell rung on the X
   display it is given ($DISPLAY): how the kept-input trial counts the program's beeps. */
#include <X11/XKBlib.h>
#include <stdio.h>
#include <time.h>

static long long millisecondsSince(const struct timespec* start) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (now.tv_sec - start->tv_sec) * 1000LL + (now.tv_nsec - start->tv_nsec) / 1000000;
}

int main(void) {
  int opcode, event, error, major = XkbMajorVersion, minor = XkbMinorVersion;
  Display* display = XkbOpenDisplay(NULL, &event, &error, &major, &minor, &opcode);
  if (!display) {
    fprintf(stderr, "bell_count: no display with the keyboard extension\n");
    return 1;
  }
  XkbSelectEvents(display, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
  struct timespec start;
  clock_gettime(CLOCK_MONOTONIC, &start);
  printf("ready\n");
  fflush(stdout);
  for (;;) {
    XEvent e;
    XNextEvent(display, &e);
    if (e.type == event && ((XkbAnyEvent*)&e)->xkb_type == XkbBellNotify) {
      printf("%lld bell\n", millisecondsSince(&start));
      fflush(stdout);
    }
  }
}
