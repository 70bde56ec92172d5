#!/usr/bin/env python3
"""Times opening a company and printing its trial balance (kvistoran-cli report trial-balance, the whole
process) against the plain-text bookkeeping tools ledger and hledger on the same transactions, and reports
medians and ratios. A benchmark, never part of the tests.

    bench/compare-plaintext.py [--build build-bench] [--vouchers 100000,1000000] [--runs 5] [--tools ledger]

The runs are paired: each run of kvistoran-cli is followed by one of each other tool, so that both meet the
same load on a shared machine. Each pair gives a ratio; the medians of the wall times, of the user + system
times and of the ratios are reported with their spread (lowest to highest), and the load average.

It builds nothing: build kvistoran-cli and kvistoran-bench-books first (a Release build is fairest, see the
README). ledger and hledger are installed with apt-get when missing (as root)."""
import argparse, os, resource, shutil, statistics, subprocess, sys, tempfile, time


def install(tool):
    if shutil.which(tool):
        return True
    env = dict(os.environ, DEBIAN_FRONTEND='noninteractive')
    for step in (['apt-get', 'update', '-qq'], ['apt-get', 'install', '-y', '-qq', tool]):
        subprocess.run(step, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
    return shutil.which(tool) is not None


def timed(argv):
    """The wall time and the user + system time (where the page faults of reading a company are) of one run."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    done = subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if done.returncode != 0:
        sys.exit('%s failed: %s' % (argv[0], done.stderr.decode(errors='replace').strip()))
    return wall, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def run_pairs(ours, theirs, runs):
    """Alternates ours and each of theirs runs times; returns {name: [(wall, cpu), ...]}."""
    times = {name: [] for name in ['kvistoran-cli'] + list(theirs)}
    for _ in range(runs):
        for name, argv in [('kvistoran-cli', ours)] + list(theirs.items()):
            times[name].append(timed(argv))
    return times


def spread(values):
    return '%.3f (%.3f-%.3f)' % (statistics.median(values), min(values), max(values))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--build', default='build')
    parser.add_argument('--vouchers', default='100000,1000000')
    parser.add_argument('--runs', type=int, default=5)
    parser.add_argument('--tools', default='ledger,hledger', help='the plain-text tools to time, e.g. ledger')
    args = parser.parse_args()
    cli = os.path.join(args.build, 'src/cli/kvistoran-cli')
    books = os.path.join(args.build, 'bench/kvistoran-bench-books')
    for exe in (cli, books):
        if not os.access(exe, os.X_OK):
            sys.exit('%s is not built' % exe)
    peers = [tool for tool in args.tools.split(',') if tool in ('ledger', 'hledger') and install(tool)]
    print('load average %.2f %.2f %.2f' % os.getloadavg())
    for count in (int(c) for c in args.vouchers.split(',')):
        with tempfile.TemporaryDirectory(prefix='kvistoran-compare-') as folder:
            subprocess.run([books, str(count), folder], check=True)
            company = os.path.join(folder, 'Bench.bok')
            journal = os.path.join(folder, 'bench.journal')
            ours = [cli, 'report', 'trial-balance', company]
            theirs = {peer: [peer, '-f', journal, 'bal'] if peer == 'ledger' else [peer, '-f', journal, 'balance']
                      for peer in peers}
            runs = max(1, args.runs // 2) if count >= 1000000 and theirs else args.runs
            times = run_pairs(ours, theirs, runs)
            print('%d vouchers, %d paired runs, medians (lowest-highest), seconds:' % (count, runs))
            for name, pairs in times.items():
                print('  %-14s wall %s   user+sys %s' % (name, spread([w for w, _ in pairs]),
                                                           spread([c for _, c in pairs])))
            for peer in theirs:
                wall = [p[0] / o[0] for p, o in zip(times[peer], times['kvistoran-cli'])]
                cpu = [p[1] / o[1] for p, o in zip(times[peer], times['kvistoran-cli']) if o[1] > 0]
                print('  %-14s %s times the wall time of kvistoran-cli, %s times its user+sys time' %
                      (peer, spread(wall), spread(cpu) if cpu else '-'))
    print('load average %.2f %.2f %.2f' % os.getloadavg())


if __name__ == '__main__':
    main()
