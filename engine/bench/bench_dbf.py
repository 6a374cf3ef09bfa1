# The benchmark's work done with python3-dbf (in-memory indexes, as that
# module keeps them). Prints the seconds of each operation, then the peak
# memory in KB and the size of the files in bytes.
import os, random, resource, sys, time

import dbf

directory, rows = sys.argv[1], int(sys.argv[2])
os.makedirs(directory, exist_ok=True)
name = os.path.join(directory, 'testsess')
SEEKS, MEMO_READS, UPDATES = 10000, 10000, 1000


def assign_of(i):
    return (i * 7919) % 5000 + 1


def memo_of(i, version):
    s = 'session %d answers v%d: ' % (i, version)
    return s + ''.join(chr(ord('a') + ((n * 7 + i) % 26)) for n in range(len(s), 600))


times = []
t = time.time()
table = dbf.Table(name, 'ID N(9,0); ASSIGNID N(9,0); TYPEFLAG N(4,0); DATE D; TIMESTART F(8,0); '
                  'TIMEEND F(8,0); QTAKEN N(4,0); QRIGHT N(4,0); ANSWERS M; HISTORY M', dbf_type='fp')
table.open(dbf.READ_WRITE)
for i in range(1, rows + 1):
    table.append({'id': i, 'assignid': assign_of(i), 'typeflag': 1 + i % 2, 'date': dbf.Date(2024, 2, 29),
                  'qtaken': 20, 'answers': memo_of(i, 0)})
table.close()
times.append(time.time() - t)

best = None
for attempt in range(3):  # reopen: the best of three, as for the others
    if attempt:
        table.close()
    t = time.time()
    table = dbf.Table(name)
    table.open(dbf.READ_WRITE)
    by_id = table.create_index(lambda r: r.id)
    by_assign = table.create_index(lambda r: r.assignid)
    elapsed = time.time() - t
    best = elapsed if best is None else min(best, elapsed)
times.append(best)

rng = random.Random(42)
bad = 0
t = time.time()
for _ in range(SEEKS):
    k = rng.randint(1, rows)
    found = by_id.search(match=(k,))
    bad += not found or found[0].id != k
times.append(time.time() - t)

t = time.time()
for _ in range(SEEKS):
    k = assign_of(rng.randint(1, rows))
    found = by_assign.search(match=(k,))
    bad += not found or found[0].assignid != k
times.append(time.time() - t)

t = time.time()
last = seen = 0
for r in by_id:
    bad += r.id < last
    last = r.id
    seen += 1
bad += seen != rows
times.append(time.time() - t)

t = time.time()
for _ in range(MEMO_READS):
    r = table[rng.randint(1, rows) - 1]
    bad += len(r.answers) != 600
times.append(time.time() - t)

t = time.time()
for i in range(UPDATES):
    k = rng.randint(1, rows)
    found = by_id.search(match=(k,))
    if not found:
        bad += 1
        continue
    with found[0] as r:
        r.qright = i % 100
        r.answers = memo_of(k, i + 1)
times.append(time.time() - t)
table.close()

size = sum(os.path.getsize(os.path.join(directory, f)) for f in os.listdir(directory))
print(' '.join('%.6f' % x for x in times))
print(resource.getrusage(resource.RUSAGE_SELF).ru_maxrss, size)
sys.exit(1 if bad else 0)
