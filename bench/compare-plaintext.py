#!/usr/bin/env python3
"""Times opening a company and printing its trial balance (kvistoran-cli report trial-balance, the whole
process) against the plain-text bookkeeping tools ledger and hledger on the same transactions, and reports
medians and ratios. A benchmark, never part of the tests.

    bench/compare-plaintext.py [--build build-bench] [--vouchers 100000,1000000] [--runs 5]

It builds nothing: build kvistoran-cli and kvistoran-bench-books first (a Release build is fairest, see the
README). ledger and hledger are installed with apt-get when missing (as root)."""
import argparse, os, shutil, statistics, subprocess, sys, tempfile, time


def install(tool):
    if shutil.which(tool):
        return True
    env = dict(os.environ, DEBIAN_FRONTEND='noninteractive')
    for step in (['apt-get', 'update', '-qq'], ['apt-get', 'install', '-y', '-qq', tool]):
        subprocess.run(step, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
    return shutil.which(tool) is not None


def median_time(argv, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        done = subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        times.append(time.perf_counter() - start)
        if done.returncode != 0:
            sys.exit('%s failed: %s' % (argv[0], done.stderr.decode(errors='replace').strip()))
    return statistics.median(times)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--build', default='build')
    parser.add_argument('--vouchers', default='100000,1000000')
    parser.add_argument('--runs', type=int, default=5)
    args = parser.parse_args()
    cli = os.path.join(args.build, 'src/cli/kvistoran-cli')
    books = os.path.join(args.build, 'bench/kvistoran-bench-books')
    for exe in (cli, books):
        if not os.access(exe, os.X_OK):
            sys.exit('%s is not built' % exe)
    peers = [tool for tool in ('ledger', 'hledger') if install(tool)]
    print('%-10s %14s %s' % ('vouchers', 'kvistoran-cli', ' '.join('%14s' % p for p in peers)))
    for count in (int(c) for c in args.vouchers.split(',')):
        with tempfile.TemporaryDirectory(prefix='kvistoran-compare-') as folder:
            subprocess.run([books, str(count), folder], check=True)
            company = os.path.join(folder, 'Bench.bok')
            journal = os.path.join(folder, 'bench.journal')
            ours = median_time([cli, 'report', 'trial-balance', company], args.runs)
            theirs = {}
            for peer in peers:
                argv = [peer, '-f', journal, 'bal'] if peer == 'ledger' else [peer, '-f', journal, 'balance']
                theirs[peer] = median_time(argv, max(1, args.runs // 2 if count >= 1000000 else args.runs))
            cells = ' '.join('%9.3f s %4.0fx' % (t, t / ours) for t in theirs.values())
            print('%-10d %12.3f s %s' % (count, ours, cells))
            if theirs:
                fastest = min(theirs.values())
                print('           %d vouchers: %.1f times faster than the fastest plain-text tool' %
                      (count, fastest / ours))


if __name__ == '__main__':
    main()
