/* mapwatch: starts a program on the X display in $DISPLAY and reports how long
 * it took from exec to the first map of its top-level window, and its resident
 * memory a settling time after that map. The program is then ended.
 *
 *   mapwatch [-t TIMEOUT_S] [-s SETTLE_MS] PROGRAM [ARG...]
 *
 * Prints one line "MAP_MS RSS_KIB CPU_MS" on success, CPU_MS being the CPU
 * time all the program's threads had used when the map was seen: unlike
 * MAP_MS it hardly depends on what else the machine is doing. Exit status 0. On a timeout, an
 * early exit of the program or an X error it prints a reason on stderr and
 * exits with 1. */
#define _POSIX_C_SOURCE 200809L
#include <dirent.h>
#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

/* Set by SIGINT or SIGTERM: the program is then ended before mapwatch exits. */
static volatile sig_atomic_t stop_requested = 0;

static void request_stop(int signo) {
  (void)signo;
  stop_requested = 1;
}

static double now_ms(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (double)ts.tv_sec * 1e3 + (double)ts.tv_nsec / 1e6;
}

static xcb_atom_t intern(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, (uint16_t)strlen(name), name), NULL);
  xcb_atom_t atom = r ? r->atom : XCB_ATOM_NONE;
  free(r);
  return atom;
}

/* The pid a window says it belongs to, or 0 when it does not say. */
static pid_t window_pid(xcb_connection_t* c, xcb_atom_t net_wm_pid, xcb_window_t w) {
  xcb_get_property_reply_t* r = xcb_get_property_reply(
      c, xcb_get_property(c, 0, w, net_wm_pid, XCB_ATOM_CARDINAL, 0, 1), NULL);
  pid_t pid = 0;
  if (r && r->format == 32 && xcb_get_property_value_length(r) == 4) {
    const uint32_t* value = xcb_get_property_value(r);
    pid = (pid_t)value[0];
  }
  free(r);
  return pid;
}

/* Qt maps no other top-level window at start-up, but a window of another client
 * on the same display must not be taken for the program's. */
static int is_programs_window(xcb_connection_t* c, xcb_atom_t net_wm_pid,
                              const xcb_map_notify_event_t* ev, pid_t program) {
  if (ev->override_redirect)
    return 0;
  const pid_t owner = window_pid(c, net_wm_pid, ev->window);
  return owner == 0 || owner == program;
}

static long rss_kib(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%ld/status", (long)pid);
  FILE* f = fopen(path, "r");
  if (!f)
    return -1;
  char line[256];
  long kib = -1;
  while (fgets(line, sizeof line, f))
    if (sscanf(line, "VmRSS: %ld kB", &kib) == 1)
      break;
  fclose(f);
  return kib;
}

/* Sum over the threads of their time on a CPU (first field of schedstat, ns). */
static double cpu_ms(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%ld/task", (long)pid);
  DIR* tasks = opendir(path);
  if (!tasks)
    return -1;
  double total_ns = 0;
  const struct dirent* task;
  while ((task = readdir(tasks))) {
    if (task->d_name[0] == '.')
      continue;
    char stat_path[64 + sizeof task->d_name + 16];
    snprintf(stat_path, sizeof stat_path, "%s/%s/schedstat", path, task->d_name);
    FILE* f = fopen(stat_path, "r");
    unsigned long long ns = 0;
    if (f && fscanf(f, "%llu", &ns) == 1)
      total_ns += (double)ns;
    if (f)
      fclose(f);
  }
  closedir(tasks);
  return total_ns / 1e6;
}

static void sleep_ms(double ms) {
  if (ms <= 0)
    return;
  const long long ns = (long long)(ms * 1e6);
  struct timespec ts = {(time_t)(ns / 1000000000), (long)(ns % 1000000000)};
  while (nanosleep(&ts, &ts) == -1 && errno == EINTR && !stop_requested) {
  }
}

/* The child, and whether it has been reaped: after that its pid may belong to
 * another process and must not be signalled. */
struct child {
  pid_t pid;
  int reaped;
};

static int exited(struct child* ch) {
  if (!ch->reaped && waitpid(ch->pid, NULL, WNOHANG) == ch->pid)
    ch->reaped = 1;
  return ch->reaped;
}

/* SIGTERM, then SIGKILL if it has not gone within two seconds. */
static void end_child(struct child* ch) {
  if (exited(ch))
    return;
  kill(ch->pid, SIGTERM);
  for (int i = 0; i < 200; ++i) {
    if (exited(ch))
      return;
    sleep_ms(10);
  }
  kill(ch->pid, SIGKILL);
  waitpid(ch->pid, NULL, 0);
  ch->reaped = 1;
}

static double wait_for_map(xcb_connection_t* c, struct child* ch, double start, double timeout_ms) {
  const xcb_atom_t net_wm_pid = intern(c, "_NET_WM_PID");
  struct pollfd pfd = {xcb_get_file_descriptor(c), POLLIN, 0};
  for (;;) {
    xcb_generic_event_t* ev;
    while ((ev = xcb_poll_for_event(c))) {
      const int mapped = (ev->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                         is_programs_window(c, net_wm_pid, (xcb_map_notify_event_t*)ev, ch->pid);
      const double at = now_ms();
      free(ev);
      if (mapped)
        return at - start;
    }
    if (stop_requested) {
      fprintf(stderr, "mapwatch: interrupted\n");
      return -1;
    }
    if (xcb_connection_has_error(c)) {
      fprintf(stderr, "mapwatch: lost the X connection\n");
      return -1;
    }
    if (exited(ch)) {
      fprintf(stderr, "mapwatch: the program ended before showing a window\n");
      return -1;
    }
    const double left = start + timeout_ms - now_ms();
    if (left <= 0) {
      fprintf(stderr, "mapwatch: no window within %.0f ms\n", timeout_ms);
      return -1;
    }
    poll(&pfd, 1, left < 50 ? (int)left + 1 : 50);
  }
}

int main(int argc, char** argv) {
  double timeout_s = 10, settle_ms = 1000;
  int opt;
  while ((opt = getopt(argc, argv, "+t:s:")) != -1) {
    if (opt == 't')
      timeout_s = atof(optarg);
    else if (opt == 's')
      settle_ms = atof(optarg);
    else
      return 2;
  }
  if (optind >= argc) {
    fprintf(stderr, "usage: mapwatch [-t TIMEOUT_S] [-s SETTLE_MS] PROGRAM [ARG...]\n");
    return 2;
  }

  xcb_connection_t* c = xcb_connect(NULL, NULL);
  if (xcb_connection_has_error(c)) {
    fprintf(stderr, "mapwatch: cannot open the display\n");
    return 1;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_void_cookie_t cookie =
      xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask);
  xcb_generic_error_t* err = xcb_request_check(c, cookie);
  if (err) {
    fprintf(stderr, "mapwatch: cannot watch the root window\n");
    return 1;
  }

  struct sigaction sa;
  memset(&sa, 0, sizeof sa);
  sa.sa_handler = request_stop;
  sigaction(SIGINT, &sa, NULL);
  sigaction(SIGTERM, &sa, NULL);

  const double start = now_ms();
  struct child ch = {fork(), 0};
  if (ch.pid == -1) {
    perror("mapwatch: fork");
    return 1;
  }
  if (ch.pid == 0) {
    close(xcb_get_file_descriptor(c));
    execvp(argv[optind], argv + optind);
    perror("mapwatch: exec");
    _exit(127);
  }

  const double map_ms = wait_for_map(c, &ch, start, timeout_s * 1e3);
  const double cpu = map_ms >= 0 ? cpu_ms(ch.pid) : -1;
  long rss = -1;
  if (map_ms >= 0) {
    sleep_ms(settle_ms);
    rss = exited(&ch) || stop_requested ? -1 : rss_kib(ch.pid);
    if (rss < 0)
      fprintf(stderr, "mapwatch: %s\n",
              stop_requested ? "interrupted" : "the program ended before its memory was read");
  }
  end_child(&ch);
  xcb_disconnect(c);
  if (map_ms < 0 || rss < 0)
    return 1;
  printf("%.2f %ld %.2f\n", map_ms, rss, cpu);
  return 0;
}
