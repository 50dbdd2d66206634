#!/usr/bin/env python3
"""KovFerrit benchmark: syncs of large job lists, a large channel list, a large guide download.

  python3 bench/run.py [--quick] [--repeat R] [--build-dir DIR] [--keep]

Builds kovferrit-cli and the floor program (RelWithDebInfo) when needed, starts the bundled
Quib simulator and measures, each case R times (default 3) in a fresh program folder:

- first sync of N jobs over M mapped channels (N = 1,000, 10,000, 50,000; M = 2,000), and a
  second sync of the same jobs right after it, which finds every recording in place;
- `channels list` over a 30,000-channel guide;
- `fetch channelguide` of a 20,000-channel guide.

Prints per case the median wall time, the largest peak RSS of the measured process and the
microseconds per job (or channel); for the syncs also the floor (bench/floor.cpp: the same
reply parsed and stored in SQLite in one transaction) and how many times the floor the sync
takes. --quick runs small sizes, for a check that everything works. Python standard library
only; timings on a shared machine are noisy, so compare medians.
"""
import argparse
import os
import shutil
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
CHILD_LIMIT_SECONDS = 1800


class Measured:
    def __init__(self, wall, rss_kb, code, out):
        self.wall, self.rss_kb, self.code, self.out = wall, rss_kb, code, out


def run_child(argv, stdin_text=None, folder=None):
    """Runs one process; its wall time, its own peak RSS (from wait4), exit status, output."""
    out_path = os.path.join(folder or tempfile.gettempdir(), ".bench-out")
    with open(out_path, "w+b") as out:
        stdin = subprocess.PIPE if stdin_text is not None else subprocess.DEVNULL
        started = time.perf_counter()
        proc = subprocess.Popen(argv, stdin=stdin, stdout=out, stderr=subprocess.STDOUT)
        watchdog = threading.Timer(CHILD_LIMIT_SECONDS, proc.kill)
        watchdog.start()
        if stdin_text is not None:
            proc.stdin.write(stdin_text.encode())
            proc.stdin.close()
        _, status, usage = os.wait4(proc.pid, 0)
        wall = time.perf_counter() - started
        watchdog.cancel()
        proc.returncode = os.waitstatus_to_exitcode(status)
        out.seek(0)
        text = out.read().decode("utf-8", errors="replace")
    os.remove(out_path)
    return Measured(wall, usage.ru_maxrss, proc.returncode, text)


def check(measured, what):
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


class Bench:
    def __init__(self, args):
        self.args = args
        self.build = os.path.abspath(args.build_dir)
        self.cli = os.path.join(self.build, "bin", "kovferrit-cli")
        self.floor = os.path.join(self.build, "bin", "kovferrit-bench-floor")
        self.work = tempfile.mkdtemp(prefix="kovferrit-bench-")
        self.rows = []

    def log(self, text):
        print(text, file=sys.stderr, flush=True)

    def build_programs(self):
        if not os.path.exists(os.path.join(self.build, "CMakeCache.txt")):
            generator = ["-G", "Ninja"] if shutil.which("ninja") else []
            subprocess.run(["cmake", "-S", ROOT, "-B", self.build, *generator,
                            "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DKOV_BUILD_GUI=OFF",
                            "-DKOV_BUILD_TESTS=OFF"], check=True, stdout=subprocess.DEVNULL)
        with open(os.path.join(self.build, "CMakeCache.txt")) as cache:
            if "CMAKE_BUILD_TYPE:STRING=RelWithDebInfo" not in cache.read():
                self.log("bench: warning: %s is not a RelWithDebInfo build" % self.build)
        self.log("== building kovferrit-cli and kovferrit-bench-floor in %s" % self.build)
        subprocess.run(["cmake", "--build", self.build, "--target", "kovferrit-cli",
                        "kovferrit-bench-floor"], check=True, stdout=subprocess.DEVNULL)

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

    def run(self):
        try:
            self.build_programs()
            for jobs in self.args.jobs:
                self.jobs_case(jobs, self.args.channels)
            self.list_case(self.args.list_guide, self.args.channels)
            self.download_case(self.args.download_guide, self.args.channels)
            print(self.table())
        finally:
            if self.args.keep:
                self.log("bench: files kept in %s" % self.work)
            else:
                shutil.rmtree(self.work, ignore_errors=True)


def numbers(text):
    return [int(x) for x in text.split(",") if x]


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quick", action="store_true",
                        help="small sizes: 100 and 1,000 jobs, guides of 3,000 and 2,000")
    parser.add_argument("--repeat", type=int, default=3, help="runs per case (median)")
    parser.add_argument("--jobs", type=numbers, help="job counts, e.g. 1000,10000")
    parser.add_argument("--channels", type=int, default=2000, help="mapped channels")
    parser.add_argument("--list-guide", type=int, help="channels in the listed guide")
    parser.add_argument("--download-guide", type=int, help="channels in the downloaded guide")
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build-rel"))
    parser.add_argument("--keep", action="store_true", help="keep the program folders")
    args = parser.parse_args(argv)
    if args.jobs is None:
        args.jobs = [100, 1000] if args.quick else [1000, 10000, 50000]
    if args.list_guide is None:
        args.list_guide = 3000 if args.quick else 30000
    if args.download_guide is None:
        args.download_guide = 2000 if args.quick else 20000
    Bench(args).run()
    return 0


if __name__ == "__main__":
    sys.exit(main())
