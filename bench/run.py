#!/usr/bin/env python3
"""KovFerrit benchmark: syncs of large job lists, a large channel list, a large guide download.

  python3 bench/run.py [--quick] [--only CASES] [--repeat R] [--build-dir DIR] [--keep]

Builds kovferrit-cli and the floor program (RelWithDebInfo) when needed, starts the bundled
Quib simulator and measures, each case R times (default 3) in a fresh program folder:

- first sync of N jobs over M mapped channels (N = 1,000, 10,000, 50,000; M = 2,000), and a
  second sync of the same jobs right after it, which finds every recording in place;
- `channels list` over a 30,000-channel guide;
- `fetch channelguide` of a 20,000-channel guide;
- syncs of 100 and 1,000 jobs into a VDR of 999 channels (tests/e2e/vdr.sh starts one of
  its own, emptied of timers before every run), each followed by a second sync of the same
  jobs, and the number of timers VDR holds afterwards: one per job.

Prints per case the median wall time, the largest peak RSS of the measured process and the
microseconds per job (or channel); for the syncs also the floor (bench/floor.cpp: the same
reply parsed and stored in SQLite in one transaction) and how many times the floor the sync
takes; for VDR the milliseconds per job. --quick runs small sizes, for a check that everything
works; --only vdr (or jobs, list, download, comma-separated) runs some cases only. Python
standard library only; timings on a shared machine are noisy, so compare medians.
"""
import argparse
import datetime
import os
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
import genreply  # noqa: E402  (beside this file)

SIMULATOR = os.path.join(ROOT, "tools", "quib-sim", "quib_sim.py")
VDR_SCRIPT = os.path.join(ROOT, "tests", "e2e", "vdr.sh")
CHILD_LIMIT_SECONDS = 1800
# Channel numbers in the channel database run from 1 to 999.
VDR_CHANNELS = 999
CASES = ("jobs", "list", "download", "vdr")
PROGRESS_SECONDS = 10


class Measured:
    def __init__(self, wall, rss_kb, code, out, killed_after=None):
        self.wall, self.rss_kb, self.code, self.out = wall, rss_kb, code, out
        self.killed_after = killed_after


def log(text):
    print(text, file=sys.stderr, flush=True)


def run_child(argv, stdin_text=None, folder=None, limit=CHILD_LIMIT_SECONDS, progress=None):
    """Runs one process; its wall time, its own peak RSS (from wait4), exit status, output.
    The watchdog kills it after `limit` seconds. With `progress` (a function giving a short
    text) a line goes out every PROGRESS_SECONDS while it runs, so a slow run shows it lives."""
    out_path = os.path.join(folder or tempfile.gettempdir(), ".bench-out")
    with open(out_path, "w+b") as out:
        stdin = subprocess.PIPE if stdin_text is not None else subprocess.DEVNULL
        started = time.perf_counter()
        proc = subprocess.Popen(argv, stdin=stdin, stdout=out, stderr=subprocess.STDOUT)
        killed = threading.Event()

        def kill():
            killed.set()
            proc.kill()

        watchdog = threading.Timer(limit, kill)
        watchdog.start()
        done = threading.Event()

        def tell():
            while not done.wait(PROGRESS_SECONDS):
                log("   ... %.0f s, %s" % (time.perf_counter() - started, progress()))

        if progress:
            threading.Thread(target=tell, daemon=True).start()
        try:
            if stdin_text is not None:
                proc.stdin.write(stdin_text.encode())
                proc.stdin.close()
            _, status, usage = os.wait4(proc.pid, 0)
        except BaseException:
            proc.kill()  # run.py itself is stopped: take the child along
            proc.wait()
            raise
        finally:
            done.set()
            watchdog.cancel()
        wall = time.perf_counter() - started
        proc.returncode = os.waitstatus_to_exitcode(status)
        out.seek(0)
        text = out.read().decode("utf-8", errors="replace")
    os.remove(out_path)
    return Measured(wall, usage.ru_maxrss, proc.returncode, text,
                    limit if killed.is_set() else None)


def check(measured, what):
    if measured.killed_after is not None:
        sys.exit("bench: the watchdog stopped the %s after %d s" % (what, measured.killed_after))
    if measured.code != 0:
        sys.exit("bench: %s failed (exit %d):\n%s" % (what, measured.code, measured.out[-2000:]))
    return measured


class Simulator:
    """The Quib simulator on a free port, serving one scenario."""

    def __init__(self, scenario):
        self.proc = subprocess.Popen([sys.executable, SIMULATOR, "--port", "0",
                                      "--scenario", scenario],
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        line = self.proc.stdout.readline().strip()
        if not line.startswith("http://127.0.0.1:"):
            self.stop()
            sys.exit("bench: the simulator did not start")
        self.port = int(line.rstrip("/").rsplit(":", 1)[1])

    def stop(self):
        self.proc.terminate()
        self.proc.wait()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


class Vdr:
    """A headless VDR of its own (tests/e2e/vdr.sh) with `channels` channels, in `folder`,
    stopped again however the benchmark ends."""

    def __init__(self, folder, channels):
        if not shutil.which("vdr"):
            sys.exit("bench: the VDR case needs VDR (Debian packages vdr and "
                     "vdr-plugin-streamdev-client); leave it out with --only jobs,list,download")
        self.folder = folder
        os.makedirs(os.path.join(folder, "conf"))
        genreply.write_text(os.path.join(folder, "conf", "channels.conf"),
                            genreply.vdr_channels(channels), "utf-8")
        started = subprocess.run(["sh", VDR_SCRIPT, "start", folder])
        if started.returncode != 0:
            self.stop()
            sys.exit("bench: VDR did not start, see %s" % os.path.join(folder, "vdr.log"))
        with open(os.path.join(folder, "port")) as f:
            self.port = int(f.read())

    def stop(self):
        subprocess.run(["sh", VDR_SCRIPT, "stop", self.folder])

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def commands(self, commands):
        """SVDRP commands over one plain connection; each reply as its lines, codes kept."""
        replies = []
        with socket.create_connection(("127.0.0.1", self.port), timeout=60) as s:
            lines = s.makefile("rb")

            def reply():
                got = []
                while True:
                    line = lines.readline().decode("utf-8", errors="replace").rstrip("\r\n")
                    if len(line) < 4:
                        sys.exit("bench: VDR broke off its answer: %r" % got)
                    got.append(line)
                    if line[3] == " ":
                        return got

            if not reply()[0].startswith("220 "):
                sys.exit("bench: VDR did not greet")
            for command in commands:
                s.sendall(command.encode() + b"\r\n")
                replies.append(reply())
            s.sendall(b"QUIT\r\n")
        return replies

    def timers(self):
        """The timers as "ID FLAGS:CHANNEL:...:AUX" (VDR answers 550 when it has none)."""
        listed = self.commands(["LSTT"])[0]
        return [line[4:] for line in listed if line.startswith("250")]

    def clear(self):
        # Deleting renumbers the timers above the one deleted, so the highest go first.
        ids = sorted((int(t.split(" ", 1)[0]) for t in self.timers()), reverse=True)
        for answer in self.commands(["DELT %d" % i for i in ids]):
            if not answer[-1].startswith("250"):
                sys.exit("bench: VDR kept a timer: %s" % answer[-1])
        if self.timers():
            sys.exit("bench: VDR still holds timers after deleting them all")

    def saved_timers(self):
        """Lines in the timers.conf VDR writes a moment after a change: progress to show,
        read without asking VDR anything."""
        try:
            with open(os.path.join(self.folder, "conf", "timers.conf"), "rb") as f:
                return "VDR saved %d timers" % f.read().count(b"\n")
        except OSError:
            return "VDR saved no timers yet"


class Bench:
    def __init__(self, args):
        self.args = args
        self.build = os.path.abspath(args.build_dir)
        self.cli = os.path.join(self.build, "bin", "kovferrit-cli")
        self.floor = os.path.join(self.build, "bin", "kovferrit-bench-floor")
        self.work = tempfile.mkdtemp(prefix="kovferrit-bench-")
        self.rows = []
        self.vdr_rows = []

    def log(self, text):
        log(text)

    def build_programs(self):
        if not os.path.exists(os.path.join(self.build, "CMakeCache.txt")):
            generator = ["-G", "Ninja"] if shutil.which("ninja") else []
            subprocess.run(["cmake", "-S", ROOT, "-B", self.build, *generator,
                            "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DKOV_BUILD_GUI=OFF",
                            "-DKOV_BUILD_TESTS=OFF"], check=True, stdout=subprocess.DEVNULL)
        with open(os.path.join(self.build, "CMakeCache.txt")) as cache:
            if "CMAKE_BUILD_TYPE:STRING=RelWithDebInfo" not in cache.read():
                self.log("bench: warning: %s is not a RelWithDebInfo build" % self.build)
        # Only the syncs into SQLite compare with the floor.
        targets = ["kovferrit-cli"] + (["kovferrit-bench-floor"] if "jobs" in self.args.only
                                       else [])
        self.log("== building %s in %s" % (" and ".join(targets), self.build))
        subprocess.run(["cmake", "--build", self.build, "--target", *targets], check=True,
                       stdout=subprocess.DEVNULL)

    def folder(self, name):
        path = os.path.join(self.work, name)
        os.makedirs(path)
        return path

    def cli_in(self, home, *words, stdin_text=None):
        return run_child([self.cli, "--home", home, *words], stdin_text, home)

    def prepare_home(self, home, port, case_dir):
        check(self.cli_in(home, "account", genreply.ACCOUNT,
                          stdin_text=genreply.PASSWORD + "\n"), "account")
        check(self.cli_in(home, "settings", "set", "Port", "--number", str(port)), "set Port")
        # The channel database is in place: the syncs fetch no guide.
        check(self.cli_in(home, "settings", "set", "HaveChannelDatabase", "--number", "1"),
              "set HaveChannelDatabase")
        shutil.copy(os.path.join(case_dir, "dbchannel.dat"), home)

    def add_row(self, case, runs, count, floor=None):
        wall = statistics.median(r.wall for r in runs)
        rss = max(r.rss_kb for r in runs) / 1024.0
        row = {"case": case, "wall": wall, "rss": rss, "us": wall / count * 1e6,
               "floor": floor, "ratio": wall / floor if floor else None}
        self.rows.append(row)
        self.log("   %s: %.3f s, %.1f MB, %.0f us each" % (case, wall, rss, row["us"]))

    def jobs_case(self, jobs, channels):
        case_dir = self.folder("jobs-%d" % jobs)
        genreply.write_jobs_case(case_dir, jobs, channels)
        self.log("== %d jobs over %d channels" % (jobs, channels))
        firsts, seconds, floors = [], [], []
        with Simulator(os.path.join(case_dir, "scenario.json")) as sim:
            for rep in range(self.args.repeat):
                home = self.folder("jobs-%d-home-%d" % (jobs, rep))
                self.prepare_home(home, sim.port, case_dir)
                first = check(self.cli_in(home, "sync"), "first sync")
                if "New Data Received" not in first.out:
                    sys.exit("bench: the first sync did not receive the jobs:\n" + first.out)
                firsts.append(first)
                seconds.append(check(self.cli_in(home, "sync"), "second sync"))
                if rep == 0:
                    stored = check(self.cli_in(home, "recordings"), "recordings")
                    count = len(stored.out.splitlines())
                    if count != jobs:
                        sys.exit("bench: %d recordings stored for %d jobs" % (count, jobs))
                floor = check(run_child([self.floor, os.path.join(case_dir, "reply.txt"),
                                         os.path.join(case_dir, "dbchannel.dat"),
                                         os.path.join(home, "floor.db")], None, home), "floor")
                if floor.out.strip() != str(jobs):
                    sys.exit("bench: the floor stored %s of %d jobs" % (floor.out.strip(), jobs))
                floors.append(floor)
                if not self.args.keep:
                    shutil.rmtree(home)
        floor_wall = statistics.median(r.wall for r in floors)
        self.add_row("first sync, %s jobs" % format(jobs, ","), firsts, jobs, floor_wall)
        self.add_row("second sync, %s jobs" % format(jobs, ","), seconds, jobs, floor_wall)

    def vdr_sync(self, home, vdr, what, jobs):
        """One sync into VDR, bounded by --vdr-limit; it must hand every job to VDR."""
        run = check(run_child([self.cli, "--home", home, "sync"], None, home,
                              self.args.vdr_limit, vdr.saved_timers), what)
        if "New Data Received" not in run.out or "FAILED" in run.out:
            sys.exit("bench: the %s did not hand the jobs to VDR:\n%s" % (what, run.out[-2000:]))
        timers = vdr.timers()
        names = {t.split("<name>", 1)[-1].split("</name>", 1)[0] for t in timers
                 if "<kovferrit>" in t}
        if len(timers) != jobs or len(names) != jobs:
            sys.exit("bench: after the %s VDR holds %d timers (%d of them distinct KovFerrit "
                     "timers) for %d jobs" % (what, len(timers), len(names), jobs))
        self.log("   %s: %.3f s, %d timers in VDR" % (what, run.wall, len(timers)))
        return run, len(timers)

    def vdr_case(self, vdr, jobs):
        # Tomorrow from 06:00 UTC on, 15 minutes apart: every job lies ahead for the whole run.
        tomorrow = datetime.datetime.now(datetime.timezone.utc).date() + datetime.timedelta(days=1)
        first_start = datetime.datetime.combine(tomorrow, datetime.time(6, 0))
        case_dir = self.folder("vdr-%d" % jobs)
        genreply.write_jobs_case(case_dir, jobs, VDR_CHANNELS, first_start)
        self.log("== %d jobs into a VDR of %d channels" % (jobs, VDR_CHANNELS))
        firsts, seconds, floors = [], [], []
        with Simulator(os.path.join(case_dir, "scenario.json")) as sim:
            for rep in range(self.args.repeat):
                vdr.clear()
                home = self.folder("vdr-%d-home-%d" % (jobs, rep))
                self.prepare_home(home, sim.port, case_dir)
                for name, kind, value in (("Recorder", "--text", "vdr"),
                                          ("VdrHost", "--text", "127.0.0.1"),
                                          ("VdrPort", "--number", str(vdr.port))):
                    check(self.cli_in(home, "settings", "set", name, kind, value), "set " + name)
                # A sync asks with serial 0, so the second one gets the same jobs again and
                # finds each of them in VDR.
                run, first_timers = self.vdr_sync(home, vdr, "first sync", jobs)
                firsts.append(run)
                run, second_timers = self.vdr_sync(home, vdr, "second sync", jobs)
                seconds.append(run)
                floors.append(self.vdr_floor(vdr))
                if not self.args.keep:
                    shutil.rmtree(home)
        floor = statistics.median(floors)
        for case, runs, timers in (("first", firsts, first_timers),
                                   ("second", seconds, second_timers)):
            wall = statistics.median(r.wall for r in runs)
            self.vdr_rows.append({"case": "VDR %s sync, %s jobs" % (case, format(jobs, ",")),
                                  "wall": wall, "ms": wall / jobs * 1e3,
                                  "rss": max(r.rss_kb for r in runs) / 1024.0, "timers": timers,
                                  "floor": floor if case == "first" else None})
            self.log("   VDR %s sync, %d jobs: %.3f s, %.1f ms each"
                     % (case, jobs, wall, wall / jobs * 1e3))

    def vdr_floor(self, vdr):
        """What VDR itself needs to take the same timers: the lines the sync made, sent again
        as NEWT commands over one plain connection, with nothing else around them."""
        made = vdr.timers()
        vdr.clear()
        started = time.perf_counter()
        replies = vdr.commands(["NEWT " + timer.split(" ", 1)[1] for timer in made])
        wall = time.perf_counter() - started
        if any(not reply[-1].startswith("250") for reply in replies):
            sys.exit("bench: VDR refused a timer the sync had made")
        self.log("   floor (the same NEWT lines alone): %.3f s" % wall)
        return wall

    def vdr_cases(self):
        with Vdr(self.folder("vdr"), VDR_CHANNELS) as vdr:
            for jobs in self.args.vdr_jobs:
                self.vdr_case(vdr, jobs)

    def list_case(self, guide, channels):
        case_dir = self.folder("list-%d" % guide)
        genreply.write_guide_case(case_dir, guide, channels)
        self.log("== channels list over a %d-channel guide" % guide)
        runs = []
        for rep in range(self.args.repeat):
            home = self.folder("list-%d-home-%d" % (guide, rep))
            for name in ("kovquibcg.dat", "dbchannel.dat"):
                shutil.copy(os.path.join(case_dir, name), home)
            listed = check(self.cli_in(home, "channels", "list"), "channels list")
            rows = len(listed.out.splitlines())
            if abs(rows - guide) > 2:
                sys.exit("bench: channels list printed %d rows for %d channels" % (rows, guide))
            runs.append(listed)
        self.add_row("channels list, %s channels" % format(guide, ","), runs, guide)

    def download_case(self, guide, channels):
        case_dir = self.folder("guide-%d" % guide)
        genreply.write_guide_case(case_dir, guide, channels)
        self.log("== channel guide download of %d channels" % guide)
        runs = []
        with Simulator(os.path.join(case_dir, "scenario.json")) as sim:
            for rep in range(self.args.repeat):
                home = self.folder("guide-%d-home-%d" % (guide, rep))
                self.prepare_home(home, sim.port, case_dir)
                runs.append(check(self.cli_in(home, "fetch", "channelguide"),
                                  "fetch channelguide"))
                if not os.path.exists(os.path.join(home, "kovquibcg.dat")):
                    sys.exit("bench: the guide download saved no guide")
        self.add_row("guide download, %s channels" % format(guide, ","), runs, guide)

    def table(self):
        lines = ["| case | wall s (median of %d) | peak RSS MB | us per item | floor s | "
                 "x floor |" % self.args.repeat, "|---|---:|---:|---:|---:|---:|"]
        for r in self.rows:
            floor = "%.3f" % r["floor"] if r["floor"] else ""
            ratio = "%.0f" % r["ratio"] if r["ratio"] else ""
            lines.append("| %s | %.3f | %.1f | %.0f | %s | %s |"
                         % (r["case"], r["wall"], r["rss"], r["us"], floor, ratio))
        return "\n".join(lines)

    def vdr_table(self):
        lines = ["| case | wall s (median of %d) | ms per job | peak RSS MB | timers in VDR "
                 "afterwards | VDR floor s | x floor |" % self.args.repeat,
                 "|---|---:|---:|---:|---:|---:|---:|"]
        for r in self.vdr_rows:
            floor = ("%.3f | %.2f" % (r["floor"], r["wall"] / r["floor"])) if r["floor"] \
                else " | "
            lines.append("| %s | %.3f | %.1f | %.1f | %d | %s |"
                         % (r["case"], r["wall"], r["ms"], r["rss"], r["timers"], floor))
        return "\n".join(lines)

    def run(self):
        only = self.args.only
        try:
            self.build_programs()
            if "jobs" in only:
                for jobs in self.args.jobs:
                    self.jobs_case(jobs, self.args.channels)
            if "list" in only:
                self.list_case(self.args.list_guide, self.args.channels)
            if "download" in only:
                self.download_case(self.args.download_guide, self.args.channels)
            if "vdr" in only:
                self.vdr_cases()
            if self.rows:
                print(self.table())
            if self.rows and self.vdr_rows:
                print()
            if self.vdr_rows:
                print(self.vdr_table())
        finally:
            if self.args.keep:
                self.log("bench: files kept in %s" % self.work)
            else:
                shutil.rmtree(self.work, ignore_errors=True)


def numbers(text):
    return [int(x) for x in text.split(",") if x]


def cases(text):
    chosen = [x for x in text.split(",") if x]
    unknown = [x for x in chosen if x not in CASES]
    if unknown or not chosen:
        raise argparse.ArgumentTypeError("cases are %s, not %s" % (", ".join(CASES), text))
    return chosen


def stop_on_term(signum, frame):
    # SIGTERM ends the benchmark as Ctrl+C does: through the clean-up that stops VDR.
    sys.exit("bench: stopped by signal %d" % signum)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quick", action="store_true",
                        help="small sizes: 100 and 1,000 jobs, guides of 3,000 and 2,000, "
                             "20 jobs into VDR")
    parser.add_argument("--only", type=cases, default=list(CASES), metavar="CASES",
                        help="cases to run, comma-separated: %s (default all)" % ",".join(CASES))
    parser.add_argument("--repeat", type=int, default=3, help="runs per case (median)")
    parser.add_argument("--jobs", type=numbers, help="job counts, e.g. 1000,10000")
    parser.add_argument("--channels", type=int, default=2000, help="mapped channels")
    parser.add_argument("--list-guide", type=int, help="channels in the listed guide")
    parser.add_argument("--download-guide", type=int, help="channels in the downloaded guide")
    parser.add_argument("--vdr-jobs", type=numbers, help="job counts into VDR, e.g. 100,1000")
    parser.add_argument("--vdr-limit", type=int, default=600,
                        help="seconds one sync into VDR may take before the watchdog stops it")
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build-rel"))
    parser.add_argument("--keep", action="store_true", help="keep the program folders")
    args = parser.parse_args(argv)
    if args.jobs is None:
        args.jobs = [100, 1000] if args.quick else [1000, 10000, 50000]
    if args.list_guide is None:
        args.list_guide = 3000 if args.quick else 30000
    if args.download_guide is None:
        args.download_guide = 2000 if args.quick else 20000
    if args.vdr_jobs is None:
        args.vdr_jobs = [20] if args.quick else [100, 1000]
    signal.signal(signal.SIGTERM, stop_on_term)
    Bench(args).run()
    return 0


if __name__ == "__main__":
    sys.exit(main())
