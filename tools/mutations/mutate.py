#!/usr/bin/env python3
"""Plants the hand-made faults of mutations.tsv in src/ one at a time, rebuilds, runs CTest
and restores the file; prints which suite run caught each fault. A file that moved is found
by its name anywhere under src/.

    python3 tools/mutations/mutate.py --build build [--only 3,7]
"""
import argparse
import pathlib
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parents[1]


def load():
    rows = []
    for line in (HERE / 'mutations.tsv').read_text(encoding='utf-8').splitlines():
        if line.strip() and not line.startswith('#'):
            path, old, new = line.split('\t')
            rows.append((path, old, new))
    return rows


def locate(path):
    direct = ROOT / 'src' / path
    if direct.exists():
        return direct
    found = sorted((ROOT / 'src').rglob(pathlib.Path(path).name))
    if len(found) != 1:
        sys.exit(f'mutate: cannot find {path} under src/')
    return found[0]


def failed_tests(build, timeout):
    try:
        out = subprocess.run(['ctest', '--test-dir', build, '-j2', '--timeout', str(timeout)],
                             capture_output=True, text=True, timeout=timeout * 4).stdout
    except subprocess.TimeoutExpired:
        return ['(timeout)']
    names = [l.split('-', 1)[1].split('(')[0].strip() for l in out.splitlines()
             if l.strip()[:1].isdigit() and ' - ' in l and '(' in l]
    return names if 'tests passed, 0 tests failed' not in out else []


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--build', required=True)
    ap.add_argument('--only', default='')
    ap.add_argument('--timeout', type=int, default=120)
    args = ap.parse_args()
    only = {int(x) for x in args.only.split(',') if x}
    killed = survived = stillborn = 0
    for no, (path, old, new) in enumerate(load(), 1):
        if only and no not in only:
            continue
        file = locate(path)
        text = file.read_text(encoding='utf-8')
        if text.count(old) != 1:
            sys.exit(f'mutate: #{no} does not occur exactly once in {file}')
        try:
            file.write_text(text.replace(old, new), encoding='utf-8')
            built = subprocess.run(['cmake', '--build', args.build], capture_output=True)
            if built.returncode != 0:
                stillborn += 1
                verdict = 'stillborn'
            else:
                failed = failed_tests(args.build, args.timeout)
                verdict = 'killed by ' + ' '.join(failed) if failed else 'SURVIVED'
                killed += bool(failed)
                survived += not failed
        finally:
            file.write_text(text, encoding='utf-8')
        print(f'#{no:02d} {path}: {verdict}', flush=True)
    subprocess.run(['cmake', '--build', args.build], capture_output=True)
    print(f'killed {killed}, survived {survived}, stillborn {stillborn}')


if __name__ == '__main__':
    main()
